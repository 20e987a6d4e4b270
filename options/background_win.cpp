#include "options/background_win.h"

namespace {

// Lines the brush of `dc`, which draws on `window`, up with the top-level window's client area.
void AlignBrush(HWND window, HDC dc) {
  POINT at{0, 0};
  ::MapWindowPoints(window, ::GetAncestor(window, GA_ROOT), &at, 1);
  ::SetBrushOrgEx(dc, -at.x, -at.y, nullptr);
}

}  // namespace

HBRUSH BackgroundPicture::Brush() {
  if (!path_.empty()) {
    const std::wstring path = std::move(path_);
    path_.clear();
    try {
      picture_ = graphics::ScreenPicture::Load(path);
      if (HBITMAP picture = picture_.Handle()) brush_.reset(::CreatePatternBrush(picture));
    } catch (...) {  // a picture that cannot be had (no memory for it): the window without it
    }
  }
  return brush_.get();
}

void BackgroundPicture::Fill(HWND window, HDC dc, const RECT& rc) {
  HBRUSH brush = Brush();
  if (!brush) {
    ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_WINDOW));
    return;
  }
  AlignBrush(window, dc);
  ::FillRect(dc, &rc, brush);
}

HBRUSH BackgroundPicture::UnderText(HWND control, HDC dc) {
  HBRUSH brush = Brush();
  if (!brush) {
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    return ::GetSysColorBrush(COLOR_WINDOW);
  }
  AlignBrush(control, dc);
  ::SetBkMode(dc, TRANSPARENT);
  return brush;
}
