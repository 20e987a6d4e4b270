#include "access/described_win.h"

#include <commctrl.h>

#include <utility>

namespace access {

namespace {

constexpr UINT_PTR kSubclassId = 0xACC;

// Posted by Accessible::accDoDefaultAction to its window.
UINT ActionMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"Brevio.AccessibleAction");
  return message;
}
// Sent by Describe: a description the window already has makes way for the new one.
UINT ForgetMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"Brevio.AccessibleForget");
  return message;
}

// What a described window holds: its description, and the object made on the first request.
struct Hook {
  std::shared_ptr<const Description> description;
  Accessible* object = nullptr;  // one reference, ours

  ~Hook() {
    if (!object) return;
    object->Disconnect();  // clients may hold it on: from now on it tells them the window is gone
    object->Release();
  }

  // The reply to WM_GETOBJECT for OBJID_CLIENT; 0 (the window's own handling) on failure.
  LRESULT Answer(HWND hwnd, WPARAM wp) {
    // Marshalling the object for the asking process needs COM on this thread, for as long as
    // the thread runs: it is never uninitialised.
    static thread_local const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)com;
    if (!object) {
      IAccessible* standard = nullptr;
      if (FAILED(::CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&standard))))
        return 0;
      object = new Accessible(hwnd, standard, description, ActionMessage());
    }
    const LRESULT reply = ::LresultFromObject(__uuidof(IAccessible), wp, static_cast<IAccessible*>(object));
    return reply < 0 ? 0 : reply;  // a failure comes as a negative HRESULT
  }
};

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* hook = reinterpret_cast<Hook*>(data);
  if (msg == WM_GETOBJECT && static_cast<LONG>(lp) == OBJID_CLIENT) {
    if (const LRESULT reply = hook->Answer(hwnd, wp)) return reply;
  } else if (msg == ActionMessage()) {
    // Kept for the call: the action may destroy the window, and the hook with it.
    const std::shared_ptr<const Description> keep = hook->description;
    if (keep->act) keep->act();
    return 0;
  } else if (msg == WM_NCDESTROY || msg == ForgetMessage()) {
    ::RemoveWindowSubclass(hwnd, &Proc, kSubclassId);
    delete hook;
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void Describe(HWND control, Description description) {
  ::SendMessageW(control, ForgetMessage(), 0, 0);
  auto* hook = new Hook{std::make_shared<const Description>(std::move(description))};
  if (!::SetWindowSubclass(control, &Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(hook))) delete hook;
}

void ValueChanged(HWND control) { ::NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, control, OBJID_CLIENT, CHILDID_SELF); }

void Alerted(HWND window) { ::NotifyWinEvent(EVENT_SYSTEM_ALERT, window, OBJID_CLIENT, CHILDID_SELF); }

}  // namespace access
