#include "hotkeys/HotkeySubclass_win.h"

#include <vector>

#include "hotkeys/ApiHotkey.h"

namespace HotkeySubclass {
namespace {

// Owned here and deleted when emptied. Deliberately not destroyed at process exit: controls
// still registered then would unhook themselves from inside the registry's own destruction;
// the system takes the windows and hotkeys down with the process anyway.
WindowRegistry* g_windows = nullptr;
ControlRegistry* g_controls = nullptr;

template <typename Registry>
void ReleaseIfEmpty(Registry*& registry) {
  if (registry && registry->Empty()) {
    delete registry;
    registry = nullptr;
  }
}

std::wstring KeyOf(HWND hwnd) { return HotkeyRegistryKey(reinterpret_cast<std::intptr_t>(hwnd)); }

LONG_PTR HookProcedure() { return reinterpret_cast<LONG_PTR>(&HotkeyWndProc); }

}  // namespace

WindowRegistry* SubclassedWindows() { return g_windows; }
ControlRegistry* HotkeyControls() { return g_controls; }

bool AddHotkeyControl(const std::shared_ptr<HotkeyControl>& control) {
  if (!g_controls) g_controls = new ControlRegistry();
  return g_controls->Add(control->UniqueKey(), control);
}

void HookWindow(HWND hwnd) {
  auto record = std::make_shared<ApiSubclassedWindow>();
  const LONG_PTR current = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
  if (current == HookProcedure()) return;  // hooked already
  record->hwnd = reinterpret_cast<std::intptr_t>(hwnd);
  record->OldWndProc = current;
  ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, HookProcedure());
  if (!g_windows) g_windows = new WindowRegistry();
  // A window whose record exists but whose procedure was replaced since keeps its one record.
  g_windows->Add(KeyOf(hwnd), std::move(record));
}

void UnhookWindow(HWND hwnd) {
  const std::wstring key = KeyOf(hwnd);
  if (g_windows) {
    if (auto* record = g_windows->Find(key))
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, (*record)->OldWndProc);
    g_windows->Remove(key);
  }
  if (g_controls) {
    // Every control of this window; the references are dropped only after the registry is
    // consistent again, since dropping the last one runs a control's clean-up.
    std::vector<std::shared_ptr<HotkeyControl>> removed;
    while (auto* control = g_controls->Find(key)) {
      removed.push_back(*control);
      g_controls->Remove(key);
    }
    ReleaseIfEmpty(g_controls);
  }
  ReleaseIfEmpty(g_windows);
}

LRESULT CALLBACK HotkeyWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LONG_PTR old_proc = 0;
  if (g_windows)
    if (auto* record = g_windows->Find(KeyOf(hwnd))) old_proc = (*record)->OldWndProc;

  if (msg == WM_HOTKEY && g_controls) {
    const auto vkey = static_cast<std::int32_t>(HIWORD(lp));
    const auto modifier = static_cast<std::int32_t>(LOWORD(lp));
    // A handler may run a message loop and so change the registry: work on a snapshot that
    // keeps each control alive until its call has returned.
    std::vector<std::shared_ptr<HotkeyControl>> controls;
    for (const auto& [key, control] : *g_controls)
      if (control->hwnd() == reinterpret_cast<std::intptr_t>(hwnd)) controls.push_back(control);
    for (const auto& control : controls) control->RaiseKeyPressEvent(vkey, modifier);
  }

  // Every message goes on, the hotkey message included.
  if (old_proc != 0)
    return ::CallWindowProcW(reinterpret_cast<WNDPROC>(old_proc), hwnd, msg, wp, lp);
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

std::wstring SystemErrorText() {
  const DWORD code = ::GetLastError();
  wchar_t buffer[500] = {};
  DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0, buffer,
                             static_cast<DWORD>(std::size(buffer)), nullptr);
  std::wstring text(buffer, n);
  const std::size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return {};
  const std::size_t last = text.find_last_not_of(L' ');
  return text.substr(first, last - first + 1);
}

}  // namespace HotkeySubclass
