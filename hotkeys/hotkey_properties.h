#pragma once
// The six persisted properties of the hotkey control, with their stored names, defaults and
// order: AltKey, ShiftKey, CtrlKey, VKey, WinKey, Enabled.
#include <cstdint>
#include <string>

#include "hotkeys/property_bag.h"

struct HotkeyProperties {
  bool AltKey = true;
  bool ShiftKey = false;
  bool CtrlKey = true;
  std::int32_t VKey = 65;  // the letter A
  bool WinKey = false;
  bool Enabled = true;

  void Write(PropertyBag& bag) const;          // values equal to their default are not stored
  static HotkeyProperties Read(const PropertyBag& bag);
  // The combination as the user reads it: "Ctrl+Alt+P".
  std::wstring Name() const;

  bool operator==(const HotkeyProperties&) const = default;
};
