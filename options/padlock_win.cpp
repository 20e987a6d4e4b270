#include "options/padlock_win.h"

#include <commctrl.h>

#include "access/described_win.h"
#include "app/controls_win.h"
#include "app/handles_win.h"
#include "options/background_win.h"

namespace {

constexpr COLORREF kSeeThrough = RGB(255, 0, 255);  // the pictures' key colour (make-images)

// Messages after which the system's check box draws itself at once, outside WM_PAINT.
bool DrawsItself(UINT msg) {
  switch (msg) {
    case BM_SETCHECK: case BM_SETSTATE: case BM_CLICK:
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_ENABLE: case WM_SETTEXT:
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: case WM_MOUSEMOVE:
    case WM_KEYDOWN: case WM_KEYUP: case WM_CAPTURECHANGED: case WM_UPDATEUISTATE:
      return true;
  }
  return false;
}

}  // namespace

Padlock::~Padlock() {
  if (box_ && ::IsWindow(box_)) ::RemoveWindowSubclass(box_, &Padlock::Proc, 1);
}

void Padlock::Attach(HWND box, const std::wstring& images_dir, BackgroundPicture& background) {
  box_ = box;
  background_ = &background;
  images_dir_ = images_dir;
  ::SetWindowSubclass(box, &Padlock::Proc, 1, reinterpret_cast<DWORD_PTR>(this));
  ::InvalidateRect(box, nullptr, TRUE);
  // A picture says nothing to a screen reader: the box tells its name and state in words.
  const auto checked = [box] { return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; };
  access::Describe(box, {.name = access::Fixed(L"Secure connection"),
                         .role = ROLE_SYSTEM_CHECKBUTTON,
                         .state = [checked] { return checked() ? STATE_SYSTEM_CHECKED : 0; },
                         .action_name = L"Toggle",
                         .act = [box] { ::SendMessageW(box, BM_CLICK, 0, 0); }});
}

bool Padlock::LoadPictures() {
  if (!images_dir_.empty()) {
    try {
      locked_ = graphics::ScreenPicture::Load(images_dir_ + L"\\padlock_locked.gif", kSeeThrough);
      open_ = graphics::ScreenPicture::Load(images_dir_ + L"\\padlock_open.gif", kSeeThrough);
    } catch (...) {  // no memory for them: as if missing
      locked_ = {};
    }
    images_dir_.clear();
    if (!locked_.Handle() || !open_.Handle()) {  // the system's check box after all
      ::RemoveWindowSubclass(box_, &Padlock::Proc, 1);
      ::InvalidateRect(box_, nullptr, TRUE);
      box_ = nullptr;
    }
  }
  return box_ != nullptr;
}

LRESULT CALLBACK Padlock::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                               DWORD_PTR self) {
  auto* padlock = reinterpret_cast<Padlock*>(self);
  if ((msg == WM_PAINT || msg == WM_PRINTCLIENT) && !padlock->LoadPictures())
    return ::DefSubclassProc(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd, &ps);
      padlock->Paint(dc);
      ::EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      padlock->Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(hwnd, &Padlock::Proc, 1);
      padlock->box_ = nullptr;
      break;
  }
  const LRESULT result = ::DefSubclassProc(hwnd, msg, wp, lp);
  // Our picture over whatever the check box has just drawn, in the same message.
  if (DrawsItself(msg) && padlock->box_)
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return result;
}

void Padlock::Paint(HDC dc) {
  RECT rc;
  ::GetClientRect(box_, &rc);
  background_->Fill(box_, dc, rc);  // the window's picture, lined up with its own drawing
  const bool checked = ::SendMessageW(box_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  const bool pressed = (::SendMessageW(box_, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  const HBITMAP picture = (checked ? locked_ : open_).Handle();
  BITMAP size{};
  ::GetObjectW(picture, sizeof size, &size);
  win::unique_dc memory(::CreateCompatibleDC(dc));
  win::select_object held(memory.get(), picture);
  // Pressed, the padlock sinks by a pixel, as a button would.
  const int x = (rc.right - size.bmWidth) / 2 + (pressed ? 1 : 0);
  const int y = (rc.bottom - size.bmHeight) / 2 + (pressed ? 1 : 0);
  ::TransparentBlt(dc, x, y, size.bmWidth, size.bmHeight, memory.get(), 0, 0, size.bmWidth, size.bmHeight,
                   kSeeThrough);
  if (::GetFocus() == box_) ui::DrawFocusRing(dc, rc);
}
