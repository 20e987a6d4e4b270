#pragma once
// "Brevio - Sending...": a small window whose bar grows while a message is on its way.
#include <cstdint>

#include "app/forms_win.h"

class frmSending : public FormOf<frmSending> {
 public:
  static constexpr int kDesignBarWidth = 195;  // twips

  // Shown by SendMessage just before the request goes out; the timer then runs.
  void StartTimer();
  // The alert's OK: stop the timer, hide, and empty the bar for the next send.
  void ResetAfterOutcome();

  bool TimerEnabled() const { return timer_enabled_; }
  std::int64_t BarWidth() const { return bar_width_; }  // twips; grows by 300 each tick
  void Timer1_Timer();

 protected:
  void Form_Load() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint(HDC dc);
  void SetTimerEnabled(bool enabled);

  std::int64_t bar_width_ = kDesignBarWidth;  // wide enough to grow for as long as the window stays up
  bool timer_enabled_ = false;
};
