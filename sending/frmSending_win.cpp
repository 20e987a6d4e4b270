#include "sending/frmSending_win.h"

#include <algorithm>

#include "app/controls_win.h"
#include "app/dpi_win.h"

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kIntervalMs = 200;
constexpr int kTwipsPerInch = 1440;
// Layout in twips, as designed; 15 twips to the pixel at 96 dots per inch.
constexpr RECT kStrip{240, 180, 240 + 2775, 180 + 255};
constexpr int kBarLeft = -90, kBarHeight = 220;
constexpr int kClientWidth = 3240, kClientHeight = 615;

// Twips at the screen's density (whole pixels, the fraction dropped).
std::int64_t Px(std::int64_t twips) { return twips * ui::Dpi() / kTwipsPerInch; }
constexpr int DesignPx(int twips) { return twips * ui::kDesignDpi / kTwipsPerInch; }

RECT StripPixels() {
  const auto px = [](LONG twips) { return static_cast<LONG>(Px(twips)); };
  return {px(kStrip.left), px(kStrip.top), px(kStrip.right), px(kStrip.bottom)};
}

}  // namespace

void frmSending::Form_Load() {
  CreateFormWindow({L"BrevioSending", L"Brevio - Sending...", WS_POPUP | WS_CAPTION,
                    WS_EX_TOPMOST | WS_EX_TOOLWINDOW, DesignPx(kClientWidth), DesignPx(kClientHeight)});
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
  // The bar's left edge sits slightly outside the strip, as designed; the strip clips it (its
  // width is cut to the strip's first, so that the scaling cannot overflow).
  const std::int64_t grown = std::min<std::int64_t>(kBarLeft + bar_width_, kStrip.right - kStrip.left);
  const std::int64_t right = std::min<std::int64_t>(Px(kStrip.left) + ui::Scale(2) + Px(grown), strip.right - 1);
  RECT bar{strip.left, strip.top + ui::Scale(1), static_cast<LONG>(right),
           strip.top + ui::Scale(1) + static_cast<LONG>(Px(kBarHeight)) - ui::Scale(2)};
  if (bar.right > bar.left) {
    win::unique_brush fill(::CreateSolidBrush(RGB(0, 120, 215)));
    ::FillRect(dc, &bar, fill.get());
  }
}

LRESULT frmSending::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:  // Esc (the dialog keys' IDCANCEL) puts it away as a click does
      if (LOWORD(wp) != IDCANCEL) break;
      SetTimerEnabled(false);
      Unload();
      return 0;
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
