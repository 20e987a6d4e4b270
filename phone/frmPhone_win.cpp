#include "phone/frmPhone_win.h"

#include "app/controls_win.h"
#include "options/frmOptions_win.h"
#include "phone/counters.h"

namespace {
constexpr int kNumId = 101, kMsgId = 102;
}

void frmPhone::Form_Load() {
  CreateFormWindow({L"BrevioPhone", L"Lumora - Brevio", WS_POPUP, WS_EX_CONTROLPARENT, 150, 352});
  font_ = ui::MakeFont(L"Tahoma", 8.25);
  message_font_ = ui::MakeFont(L"Verdana", 6.75);
  txtNum = ui::AddControl(hWnd(), L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, 28, 60, 77, 19, kNumId,
                          font_.get());
  ::SendMessageW(txtNum, EM_SETLIMITTEXT, kNumberLimit, 0);
  txtMsg = ui::AddControl(hWnd(), L"EDIT", L"",
                          WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL,
                          32, 88, 83, 61, kMsgId, message_font_.get());
  ::SendMessageW(txtMsg, EM_SETLIMITTEXT, 0, 0);  // no limit beyond memory
}

void frmPhone::SetCharsLeft() {
  const HWND footer = frmOptions::Get().txtFooter;
  MessageCount c = CountMessage(::GetWindowTextLengthW(txtMsg), ::GetWindowTextLengthW(footer));
  total = c.total;
  nummsgs = c.nummsgs;
}

LRESULT frmPhone::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && LOWORD(wp) == kMsgId && HIWORD(wp) == EN_CHANGE) {
    SetCharsLeft();
    return 0;
  }
  return Default(msg, wp, lp);
}
