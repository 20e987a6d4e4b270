#pragma once
// The send window, drawn as a mobile phone. Its two boxes are also the message buffer that
// every sender fills before calling SendMessage, so it may be loaded without being shown.
#include <cstdint>

#include "app/forms_win.h"

class frmPhone : public FormOf<frmPhone> {
 public:
  HWND txtNum = nullptr;  // destination number, at most kNumberLimit characters
  HWND txtMsg = nullptr;  // message text

  std::int32_t total = 0;    // characters counted for the message: message + footer + 1
  std::int32_t nummsgs = 0;  // SMS parts; SendMessage asks for confirmation above 1

  // Up to 15 digits: the longest international number.
  static constexpr int kNumberLimit = 15;

  void SetCharsLeft();  // recomputes total, nummsgs and the counters on the phone's screen

 protected:
  void Form_Load() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  win::unique_font font_;
  win::unique_font message_font_;
};
