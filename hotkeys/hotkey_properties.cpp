// The hotkey control's specified interface for its persisted properties; the program stores none.
#include "hotkeys/hotkey_properties.h"

void HotkeyProperties::Write(PropertyBag& bag) const {
  const HotkeyProperties d;
  bag.WriteProperty("AltKey", AltKey, d.AltKey);
  bag.WriteProperty("ShiftKey", ShiftKey, d.ShiftKey);
  bag.WriteProperty("CtrlKey", CtrlKey, d.CtrlKey);
  bag.WriteProperty("VKey", VKey, d.VKey);
  bag.WriteProperty("WinKey", WinKey, d.WinKey);
  bag.WriteProperty("Enabled", Enabled, d.Enabled);
}

HotkeyProperties HotkeyProperties::Read(const PropertyBag& bag) {
  const HotkeyProperties d;
  HotkeyProperties p;
  p.AltKey = bag.ReadProperty("AltKey", d.AltKey);
  p.ShiftKey = bag.ReadProperty("ShiftKey", d.ShiftKey);
  p.CtrlKey = bag.ReadProperty("CtrlKey", d.CtrlKey);
  p.VKey = bag.ReadProperty("VKey", d.VKey);
  p.WinKey = bag.ReadProperty("WinKey", d.WinKey);
  p.Enabled = bag.ReadProperty("Enabled", d.Enabled);
  return p;
}

std::wstring HotkeyProperties::Name() const {
  std::wstring name = std::wstring(WinKey ? L"Win+" : L"") + (CtrlKey ? L"Ctrl+" : L"") + (AltKey ? L"Alt+" : L"") +
                      (ShiftKey ? L"Shift+" : L"");
  const bool plain = (VKey >= 'A' && VKey <= 'Z') || (VKey >= '0' && VKey <= '9');
  return name + (plain ? std::wstring(1, static_cast<wchar_t>(VKey)) : L"key " + std::to_wstring(VKey));
}
