#include "phone/picture_box_win.h"

#include <utility>

#include "app/controls_win.h"
#include "app/dpi_win.h"
#include "app/handles_win.h"

PictureBox::PictureBox(HWND parent, int id, int x, int y, int width, int height, bool tab_stop,
                       Events events)
    : events_(std::move(events)) {
  win::RegisterClassOnce({L"BrevioPictureBox", ::LoadCursorW(nullptr, IDC_HAND)});
  window_.reset(win::CreateFor(this, L"BrevioPictureBox", 0, L"",
                               WS_CHILD | WS_VISIBLE | (tab_stop ? WS_TABSTOP : 0), ui::Scale(x),
                               ui::Scale(y), ui::Scale(width), ui::Scale(height), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))));
}

PictureBox::~PictureBox() {
  // Its handlers are going: the window's last messages (losing the focus, say) reach nobody.
  if (window_) win::Detach(window_.get());
}

void PictureBox::SetPicture(HBITMAP picture) {
  if (picture_ == picture) return;
  picture_ = picture;
  ::InvalidateRect(hWnd(), nullptr, FALSE);
}

LRESULT PictureBox::OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
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
        ::SetCapture(hwnd);
      }
      if (events_.button_down) events_.button_down(msg == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : msg);
      return 0;
    case WM_LBUTTONUP: {
      const bool was_pressed = std::exchange(pressed_, false);
      if (::GetCapture() == hwnd) ::ReleaseCapture();
      RECT rc;
      ::GetClientRect(hwnd, &rc);
      const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (was_pressed && ::PtInRect(&rc, at) && events_.click) events_.click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      if (events_.focus) events_.focus(msg == WM_SETFOCUS);
      // The ring comes and goes: the parent's picture is drawn again beneath it.
      RECT rc;
      ::GetWindowRect(hwnd, &rc);
      ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
      ::RedrawWindow(::GetParent(hwnd), &rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      return 0;
    }
    case STM_GETIMAGE:  // what it shows now, as a static picture control answers
      return reinterpret_cast<LRESULT>(picture_);
    case WM_GETDLGCODE:
      return DLGC_UNDEFPUSHBUTTON;  // a push button to the dialog keys: Enter clicks it (BM_CLICK)
    case WM_KEYUP:
      if (wp == VK_SPACE) Press();
      return 0;
    case BM_CLICK:
      Press();
      return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

void PictureBox::Press() {
  if (events_.click)
    events_.click();
  else if (events_.button_down)
    events_.button_down(WM_LBUTTONDOWN);
}

void PictureBox::Paint() {
  win::paint painting(hWnd());
  const HDC dc = painting.get();
  if (picture_) {
    BITMAP bm{};
    ::GetObjectW(picture_, sizeof bm, &bm);
    win::unique_dc memory(::CreateCompatibleDC(dc));
    if (memory) {
      win::select_object selected(memory.get(), picture_);
      ::BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, memory.get(), 0, 0, SRCCOPY);
    }
  }
  if (::GetFocus() == hWnd()) {
    RECT rc;
    ::GetClientRect(hWnd(), &rc);
    ui::DrawFocusRing(dc, rc);
  }
}
