#pragma once
// The one way a C++ object gets a window: the object is the window's create parameter and
// the class's procedure hands every message from WM_NCCREATE on to it. Classes are
// registered once per process; controls that only receive messages share one message-only
// window class.
#include <windows.h>

#include "app/handles_win.h"

namespace win {

class MessageReceiver {
 public:
  // The class procedure of every window made for an object.
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

 protected:
  ~MessageReceiver() = default;
  // Every message of the window, up to WM_NCDESTROY (not included).
  virtual LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return ::DefWindowProcW(hwnd, msg, wp, lp);
  }
  virtual void OnWindowGone() {}  // the window is destroyed: its handle is no longer valid
};

struct ClassSpec {
  const wchar_t* name;
  HCURSOR cursor = nullptr;
  HICON icon = nullptr;
  HBRUSH background = nullptr;
};

// Registers the class, with MessageReceiver::Procedure as its procedure, unless this process
// has already done so.
void RegisterClassOnce(const ClassSpec& spec);

// A window of a class registered by RegisterClassOnce, its messages going to `receiver`.
HWND CreateFor(MessageReceiver* receiver, const wchar_t* class_name, DWORD ex_style,
               const wchar_t* caption, DWORD style, int x, int y, int width, int height,
               HWND parent, HMENU menu_or_id);

// A message-only window (never shown, never listed among the top-level windows) whose
// messages go to `receiver`; with none, every message gets the default handling.
unique_window MakeMessageWindow(MessageReceiver* receiver);

// From now on the window's messages reach no object (before its object goes away).
void Detach(HWND hwnd);

}  // namespace win
