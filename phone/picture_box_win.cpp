#include "phone/picture_box_win.h"

#include <utility>

#include "app/handles_win.h"

namespace {
constexpr wchar_t kClass[] = L"BrevioPictureBox";

void Register() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;  // replaced per window once its object is attached
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_HAND);
    wc.lpszClassName = kClass;
    return ::RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}
}  // namespace

PictureBox::PictureBox(HWND parent, int id, int x, int y, int width, int height, bool tab_stop,
                       Events events)
    : events_(std::move(events)) {
  Register();
  hwnd_ = ::CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE | (tab_stop ? WS_TABSTOP : 0), x,
                            y, width, height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            ::GetModuleHandleW(nullptr), nullptr);
  if (hwnd_) {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PictureBox::WndProc));
  }
}

PictureBox::~PictureBox() {
  if (hwnd_ && ::IsWindow(hwnd_)) {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
}

void PictureBox::SetPicture(HBITMAP picture) {
  if (picture_ == picture) return;
  picture_ = picture;
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT CALLBACK PictureBox::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<PictureBox*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCDESTROY && self) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self = nullptr;
  }
  return self ? self->Handle(msg, wp, lp) : ::DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT PictureBox::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // nothing of its own under the picture: the parent's drawing shows
    case WM_PAINT:
      Paint();
      return 0;
    case WM_MOUSEMOVE:
      if (events_.mouse_move) events_.mouse_move();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (msg == WM_LBUTTONDOWN) {
        pressed_ = true;
        ::SetCapture(hwnd_);
      }
      if (events_.button_down) events_.button_down(msg == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : msg);
      return 0;
    case WM_LBUTTONUP: {
      const bool was_pressed = std::exchange(pressed_, false);
      if (::GetCapture() == hwnd_) ::ReleaseCapture();
      RECT rc;
      ::GetClientRect(hwnd_, &rc);
      const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (was_pressed && ::PtInRect(&rc, at) && events_.click) events_.click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (events_.focus) events_.focus(msg == WM_SETFOCUS);
      return 0;
    case STM_GETIMAGE:  // what it shows now, as a static picture control answers
      return reinterpret_cast<LRESULT>(picture_);
    case WM_GETDLGCODE: {
      // Enter reaches the control instead of the dialog manager; Tab still moves on.
      auto* m = reinterpret_cast<const MSG*>(lp);
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
      return 0;
    }
    case WM_KEYDOWN:
      if (events_.key_down) events_.key_down(static_cast<UINT>(wp));
      return 0;
  }
  return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

void PictureBox::Paint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd_, &ps);
  if (picture_) {
    BITMAP bm{};
    ::GetObjectW(picture_, sizeof bm, &bm);
    win::unique_dc memory(::CreateCompatibleDC(dc));
    if (memory) {
      win::select_object selected(memory.get(), picture_);
      ::BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, memory.get(), 0, 0, SRCCOPY);
    }
  }
  ::EndPaint(hwnd_, &ps);
}
