#pragma once
// Delivers hotkey presses to the hotkey controls: the window procedure of each control's
// window is replaced by HotkeyWndProc, which hands WM_HOTKEY to the controls of that window
// and passes every message on to the procedure that was there before. Also keeps the two
// process-wide registries, each created on first use and released when emptied.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "hotkeys/keyed_collection.h"

// What the hook needs of a hotkey control (VBHotKey).
class HotkeyControl {
 public:
  virtual ~HotkeyControl() = default;
  virtual std::intptr_t hwnd() const = 0;
  virtual std::wstring UniqueKey() const = 0;
  virtual void RaiseKeyPressEvent(std::int32_t vkey, std::int32_t modifier) = 0;
  virtual void RaiseError(const std::wstring& message, const std::wstring& source) = 0;
};

// One hooked window and the procedure it had before.
struct ApiSubclassedWindow {
  LONG_PTR OldWndProc = 0;  // 0: none known
  std::intptr_t hwnd = 0;
};

namespace HotkeySubclass {

using WindowRegistry = KeyedCollection<std::shared_ptr<ApiSubclassedWindow>>;
using ControlRegistry = KeyedCollection<std::shared_ptr<HotkeyControl>>;

// The registries; null while they do not exist.
WindowRegistry* SubclassedWindows();
ControlRegistry* HotkeyControls();

// Creates HotkeyControls if needed and adds the control under its UniqueKey. False when an
// entry with that key exists already.
bool AddHotkeyControl(const std::shared_ptr<HotkeyControl>& control);

void HookWindow(HWND hwnd);
void UnhookWindow(HWND hwnd);
LRESULT CALLBACK HotkeyWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// The system's text for the thread's last error, blanks trimmed (the line end stays).
std::wstring SystemErrorText();

}  // namespace HotkeySubclass
