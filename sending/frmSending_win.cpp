#include "sending/frmSending_win.h"

#include <algorithm>

#include "app/controls_win.h"

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kIntervalMs = 200;
constexpr int kTwipsPerPixel = 15;
// Layout in twips, as designed; drawn at 15 twips to the pixel.
constexpr RECT kStrip{240, 180, 240 + 2775, 180 + 255};
constexpr int kBarLeft = -90, kBarHeight = 220;

int Px(int twips) { return twips / kTwipsPerPixel; }

RECT StripPixels() { return {Px(kStrip.left), Px(kStrip.top), Px(kStrip.right), Px(kStrip.bottom)}; }

}  // namespace

void frmSending::Form_Load() {
  CreateFormWindow({L"BrevioSending", L"Brevio - Sending...", WS_POPUP | WS_CAPTION,
                    WS_EX_TOPMOST | WS_EX_TOOLWINDOW, Px(3240), Px(615)});
  ui::CentreOnScreen(hWnd(), 140);
}

void frmSending::SetTimerEnabled(bool enabled) {
  if (enabled == timer_enabled_ || !hWnd()) return;
  timer_enabled_ = enabled;
  if (enabled)
    ::SetTimer(hWnd(), kTimerId, kIntervalMs, nullptr);
  else
    ::KillTimer(hWnd(), kTimerId);
}

void frmSending::StartTimer() { SetTimerEnabled(true); }

void frmSending::ResetAfterOutcome() {
  SetTimerEnabled(false);
  Hide();
  bar_width_ = 0;
  ::InvalidateRect(hWnd(), nullptr, TRUE);
}

void frmSending::Timer1_Timer() {
  bar_width_ += 300;  // no upper bound: past the strip's end it simply stays full
  RECT strip = StripPixels();
  ::InvalidateRect(hWnd(), &strip, FALSE);
}

void frmSending::Paint(HDC dc) {
  RECT strip = StripPixels();
  ::DrawEdge(dc, &strip, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  ::FillRect(dc, &strip, ::GetSysColorBrush(COLOR_WINDOW));
  // The bar's left edge sits slightly outside the strip, as designed; the strip clips it.
  const std::int64_t right =
      std::min<std::int64_t>(Px(kStrip.left) + 2 + (kBarLeft + bar_width_) / kTwipsPerPixel, strip.right - 1);
  RECT bar{strip.left, strip.top + 1, static_cast<LONG>(right), strip.top + 1 + Px(kBarHeight) - 2};
  if (bar.right > bar.left) {
    win::unique_brush fill(::CreateSolidBrush(RGB(0, 120, 215)));
    ::FillRect(dc, &bar, fill.get());
  }
}

LRESULT frmSending::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kTimerId) Timer1_Timer();
      return 0;
    case WM_PAINT: {
      win::paint painting(hWnd());
      Paint(painting.get());
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT strip = StripPixels();
      if (!::PtInRect(&strip, p)) {
        SetTimerEnabled(false);
        Unload();
      }
      return 0;
    }
  }
  return Default(msg, wp, lp);
}
