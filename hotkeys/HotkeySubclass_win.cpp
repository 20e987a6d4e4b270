#include "hotkeys/HotkeySubclass_win.h"

#include <new>
#include <vector>

#include "app/controls_win.h"
#include "hotkeys/ApiHotkey.h"

namespace HotkeySubclass {
namespace {

// Each registry is created on first use and released when emptied. The holder is deliberately
// not destroyed at process exit: controls still registered then would unhook themselves from
// inside the registry's own destruction; the system takes the windows and hotkeys down with
// the process anyway.
struct Registries {
  std::unique_ptr<WindowRegistry> windows;
  std::unique_ptr<ControlRegistry> controls;
};
Registries& Held() {
  alignas(Registries) static unsigned char storage[sizeof(Registries)];
  static Registries* held = ::new (storage) Registries();
  return *held;
}

template <typename Registry>
void ReleaseIfEmpty(std::unique_ptr<Registry>& registry) {
  if (registry && registry->Empty()) registry.reset();
}

std::wstring KeyOf(HWND hwnd) { return HotkeyRegistryKey(reinterpret_cast<std::intptr_t>(hwnd)); }

LONG_PTR HookProcedure() { return reinterpret_cast<LONG_PTR>(&HotkeyWndProc); }

}  // namespace

WindowRegistry* SubclassedWindows() { return Held().windows.get(); }
ControlRegistry* HotkeyControls() { return Held().controls.get(); }

bool AddHotkeyControl(const std::shared_ptr<HotkeyControl>& control) {
  auto& controls = Held().controls;
  if (!controls) controls = std::make_unique<ControlRegistry>();
  return controls->Add(control->UniqueKey(), control);
}

void HookWindow(HWND hwnd) {
  auto record = std::make_shared<ApiSubclassedWindow>();
  const LONG_PTR current = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
  if (current == HookProcedure()) return;  // hooked already
  record->hwnd = reinterpret_cast<std::intptr_t>(hwnd);
  record->OldWndProc = current;
  ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, HookProcedure());
  auto& windows = Held().windows;
  if (!windows) windows = std::make_unique<WindowRegistry>();
  // A window whose record exists but whose procedure was replaced since keeps its one record.
  windows->Add(KeyOf(hwnd), std::move(record));
}

void UnhookWindow(HWND hwnd) {
  const std::wstring key = KeyOf(hwnd);
  auto& windows = Held().windows;
  auto& controls = Held().controls;
  if (windows) {
    if (auto* record = windows->Find(key))
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, (*record)->OldWndProc);
    windows->Remove(key);
  }
  if (controls) {
    // Every control of this window; the references are dropped only after the registry is
    // consistent again, since dropping the last one runs a control's clean-up.
    std::vector<std::shared_ptr<HotkeyControl>> removed;
    while (auto* control = controls->Find(key)) {
      removed.push_back(*control);
      controls->Remove(key);
    }
    ReleaseIfEmpty(controls);
  }
  ReleaseIfEmpty(windows);
}

LRESULT CALLBACK HotkeyWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LONG_PTR old_proc = 0;
  WindowRegistry* windows = SubclassedWindows();
  ControlRegistry* controls = HotkeyControls();
  if (windows)
    if (auto* record = windows->Find(KeyOf(hwnd))) old_proc = (*record)->OldWndProc;

  if (msg == WM_HOTKEY && controls) {
    const auto vkey = static_cast<std::int32_t>(HIWORD(lp));
    const auto modifier = static_cast<std::int32_t>(LOWORD(lp));
    // A handler may run a message loop and so change the registry: work on a snapshot that
    // keeps each control alive until its call has returned.
    std::vector<std::shared_ptr<HotkeyControl>> of_window;
    for (const auto& [key, control] : *controls)
      if (control->hwnd() == reinterpret_cast<std::intptr_t>(hwnd)) of_window.push_back(control);
    for (const auto& control : of_window) control->RaiseKeyPressEvent(vkey, modifier);
  }

  // Every message goes on, the hotkey message included.
  if (old_proc != 0)
    return ::CallWindowProcW(reinterpret_cast<WNDPROC>(old_proc), hwnd, msg, wp, lp);
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

std::wstring SystemErrorText() { return ui::SystemMessage(::GetLastError(), true); }

}  // namespace HotkeySubclass
