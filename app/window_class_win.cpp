#include "app/window_class_win.h"

namespace win {
namespace {
constexpr wchar_t kMessageClass[] = L"BrevioMessageWindow";
}

LRESULT CALLBACK MessageReceiver::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* receiver = reinterpret_cast<MessageReceiver*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (receiver) receiver->OnWindowGone();
    return ::DefWindowProcW(hwnd, msg, wp, lp);
  }
  return receiver ? receiver->OnMessage(hwnd, msg, wp, lp) : ::DefWindowProcW(hwnd, msg, wp, lp);
}

void RegisterClassOnce(const ClassSpec& spec) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (::GetClassInfoExW(instance, spec.name, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &MessageReceiver::Procedure;
  wc.hInstance = instance;
  wc.hCursor = spec.cursor;
  wc.hIcon = spec.icon;
  wc.hbrBackground = spec.background;
  wc.lpszClassName = spec.name;
  ::RegisterClassExW(&wc);
}

HWND CreateFor(MessageReceiver* receiver, const wchar_t* class_name, DWORD ex_style,
               const wchar_t* caption, DWORD style, int x, int y, int width, int height,
               HWND parent, HMENU menu_or_id) {
  return ::CreateWindowExW(ex_style, class_name, caption, style, x, y, width, height, parent,
                           menu_or_id, ::GetModuleHandleW(nullptr), receiver);
}

unique_window MakeMessageWindow(MessageReceiver* receiver) {
  RegisterClassOnce({kMessageClass});
  return unique_window(CreateFor(receiver, kMessageClass, 0, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr));
}

void Detach(HWND hwnd) { ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0); }

}  // namespace win
