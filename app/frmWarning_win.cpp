#include "app/frmWarning_win.h"

#include "access/described_win.h"
#include "app/controls_win.h"
#include "app/modHotkeys_win.h"

namespace {
constexpr int kLabelId = 101;
constexpr COLORREF kLabelBack = RGB(128, 0, 0);
constexpr int kWidth = 265, kHeight = 203;
}  // namespace

void frmWarning::Alert(AlertMode mode, const std::wstring& text, bool warning, int settings_page) {
  frmWarning& alert = Get();
  alert.Mode = mode;
  alert.SettingsPage = settings_page;
  alert.SetMessage(text);
  ::ShowWindow(alert.Image1, warning ? SW_SHOWNA : SW_HIDE);
  alert.Show();
  access::Alerted(alert.hWnd());  // read out at once, a second alert in a row too
}

void frmWarning::Form_Load() {
  CreateFormWindow({L"BrevioAlert", L"Brevio Alert", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                    WS_EX_CONTROLPARENT | WS_EX_TOPMOST, kWidth, kHeight});
  font_ = ui::MakeFont(L"Tahoma", 8.25);
  label_brush_.reset(::CreateSolidBrush(kLabelBack));
  // Created in tab order: OK first, so that it has the focus when the window opens.
  Command1 = ui::AddControl(hWnd(), L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 106, 158, 53,
                            23, IDOK, font_.get());
  Label1 = ui::AddControl(hWnd(), L"EDIT", L"",
                          WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                          28, 30, 205, 103, kLabelId, font_.get());
  ::SendMessageW(Label1, EM_SETLIMITTEXT, 0, 0);  // whole reply pages must fit
  // Left of OK, in line with the message box's edge; hidden until a warning needs it.
  Image1 = ui::AddControl(hWnd(), L"STATIC", L"", SS_ICON | SS_REALSIZECONTROL, 28, 154, 32, 32, 0);
  ::SendMessageW(Image1, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_WARNING)), 0);
  ::ShowWindow(Image1, SW_HIDE);
  // Screen readers: the window is an alert that tells its message, and the message goes with
  // the OK button, which has the focus when it opens.
  const auto message = [this] { return Message(); };
  access::Describe(hWnd(), {.role = ROLE_SYSTEM_ALERT, .description = message});
  access::Describe(Command1, {.description = message});
  access::Describe(Label1, {.name = access::Fixed(L"Message")});
  ui::CentreOnScreen(hWnd());
}

void frmWarning::SetMessage(const std::wstring& text) { ui::SetText(Label1, text); }

std::wstring frmWarning::Message() const { return ui::GetText(Label1); }

void frmWarning::Command1_Click() {
  if (OnOkAfterSend) OnOkAfterSend();
  if (Mode == AlertMode::Settings && OnOkShowSettings) OnOkShowSettings(SettingsPage);
  if (Mode != AlertMode::Phone && modHotkeys::state.hWndPrev)
    ::SetForegroundWindow(modHotkeys::state.hWndPrev);
  Mode = AlertMode::SendResult;
  Unload();
}

LRESULT frmWarning::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // Esc as well: OK is the window's only answer, as in a message box with only OK.
      if ((LOWORD(wp) == IDOK && (HIWORD(wp) == BN_CLICKED || lp == 0)) || LOWORD(wp) == IDCANCEL) {
        Command1_Click();
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:  // a read-only edit box asks for its colours this way
      if (reinterpret_cast<HWND>(lp) == Label1) {
        auto dc = reinterpret_cast<HDC>(wp);
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::SetBkColor(dc, kLabelBack);
        return reinterpret_cast<LRESULT>(label_brush_.get());
      }
      if (reinterpret_cast<HWND>(lp) == Image1) return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
      break;
    case WM_SHOWWINDOW:
      if (wp) ::SetFocus(Command1);
      break;
  }
  return Default(msg, wp, lp);
}
