// The options window's messages, read in one place: commands and notifications through one
// table to their handlers, then the window's own drawing and mouse.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "options/frmOptions_win.h"
#include "options/options_ids_win.h"

namespace ids = options_ids;

namespace {

constexpr COLORREF kLinkColour = RGB(0, 70, 160);
constexpr COLORREF kWarningColour = RGB(170, 0, 0);
constexpr COLORREF kHeadingColour = RGB(29, 79, 115);

// A control's command (WM_COMMAND: its identifier and notification code) or notification
// (WM_NOTIFY) and what handles it. Menu items send code 0, as button clicks do.
struct Handler {
  UINT message;
  int id;
  UINT code;
  void (frmOptions::*handle)();
};

constexpr Handler kHandlers[] = {
    {WM_COMMAND, ids::kSave, BN_CLICKED, &frmOptions::cmdSave_Click},
    {WM_COMMAND, ids::kCancel, BN_CLICKED, &frmOptions::cmdCancel_Click},
    {WM_COMMAND, IDCANCEL, BN_CLICKED, &frmOptions::Hide},  // Esc, as a dialog sends it
    {WM_COMMAND, ids::kSendSMS, BN_CLICKED, &frmOptions::Command1_Click},
    {WM_COMMAND, ids::kOutbox, BN_CLICKED, &frmOptions::Command4_Click},
    {WM_COMMAND, ids::kUsr, EN_CHANGE, &frmOptions::txtUsr_Change},
    {WM_COMMAND, ids::kRegister, BN_CLICKED, &frmOptions::cmdRegister_Click},
    {WM_COMMAND, ids::kCombo1, CBN_SELCHANGE, &frmOptions::Combo1_Click},
    {WM_COMMAND, ids::kCombo2, CBN_SELCHANGE, &frmOptions::Combo2_Click},
    {WM_COMMAND, ids::kBuy, BN_CLICKED, &frmOptions::cmdBuy_Click},
    {WM_COMMAND, ids::kCheckCredits, BN_CLICKED, &frmOptions::cmdCheckCredits_Click},
    {WM_COMMAND, ids::kRegisterHelp, BN_CLICKED, &frmOptions::Command3_Click},
    {WM_COMMAND, ids::kActivate, BN_CLICKED, &frmOptions::cmdActivate_Click},
    {WM_COMMAND, ids::kHelpLink, STN_CLICKED, &frmOptions::Label12_Click},
    {WM_COMMAND, ids::kChange, BN_CLICKED, &frmOptions::Command5_Click},
    {WM_COMMAND, ids::kSecureLabel, STN_CLICKED, &frmOptions::Label6_Click},
    {WM_COMMAND, ids::kText5, EN_CHANGE, &frmOptions::Text5_Change},
    {WM_NOTIFY, ids::kTab, static_cast<UINT>(TCN_SELCHANGE), &frmOptions::SSTab1_Click},
    {WM_COMMAND, ids::kTrayOpen, 0, &frmOptions::picicon_DblClick},
    {WM_COMMAND, ids::kPopSMS, 0, &frmOptions::popSMS_Click},
    {WM_COMMAND, ids::kPopSent, 0, &frmOptions::popSent_Click},
    {WM_COMMAND, ids::kPopOptions, 0, &frmOptions::popOptions_Click},
    {WM_COMMAND, ids::kPopBuy, 0, &frmOptions::popBuy_Click},
    {WM_COMMAND, ids::kPopExit, 0, &frmOptions::popExit_Click},
};

// Runs the handler of a command or notification; false when it has none.
bool Dispatch(frmOptions& options, UINT message, int id, UINT code) {
  for (const Handler& h : kHandlers) {
    if (h.message != message || h.id != id || h.code != code) continue;
    (options.*h.handle)();
    return true;
  }
  return false;
}

// Whatever the user does to the window finds every page made. Drawing notices (the buttons'
// custom draw during the first paint) are no user's act.
bool UsersAct(UINT msg, LPARAM lp) {
  if (msg == WM_NOTIFY) return reinterpret_cast<const NMHDR*>(lp)->code != static_cast<UINT>(NM_CUSTOMDRAW);
  return msg == WM_COMMAND || msg == WM_SYSCOMMAND;
}

// Dragged as if by the title bar.
void DragWindow(HWND window) {
  ::ReleaseCapture();
  ::SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

}  // namespace

LRESULT frmOptions::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (UsersAct(msg, lp)) FinishLoad();
  if (tray_ && tray_->OnMessage(msg, wp, lp)) return 0;  // may have unloaded this window
  switch (msg) {
    case WM_COMMAND:
      if (Dispatch(*this, WM_COMMAND, LOWORD(wp), HIWORD(wp))) return 0;
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      if (Dispatch(*this, WM_NOTIFY, static_cast<int>(header->idFrom), header->code)) return 0;
      break;
    }
    case ids::kFinishLoad:
      FinishLoad();
      return 0;
    case WM_ERASEBKGND: {
      RECT rc;
      ::GetClientRect(hWnd(), &rc);
      background_.Fill(hWnd(), reinterpret_cast<HDC>(wp), rc);
      return 1;
    }
    case WM_CTLCOLORSTATIC:
      return ColourStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    // The mouse over the link takes its underline away; over the tab control, gives it back.
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) != help.Label12) break;
      help.Underline(false);
      ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case ids::kTabMouseMove:
      help.Underline(true);
      return 0;
    case WM_MOUSEMOVE: {  // over the window's surface, or over the tab control's pages
      RECT tab;
      ::GetWindowRect(frame.SSTab1, &tab);
      POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ::ClientToScreen(hWnd(), &at);
      if (::PtInRect(&tab, at)) help.Underline(true);
      break;
    }
    case WM_LBUTTONDOWN:
      DragWindow(hWnd());
      return 0;
  }
  return Default(msg, wp, lp);
}

LRESULT frmOptions::ColourStatic(HDC dc, HWND control) {
  if (control == help.Label12) ::SetTextColor(dc, kLinkColour);
  if (control == account.HotkeyStatus1 || control == account.HotkeyStatus2) ::SetTextColor(dc, kWarningColour);
  if (reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)) == fonts_.heading.get())
    ::SetTextColor(dc, kHeadingColour);
  return reinterpret_cast<LRESULT>(background_.UnderText(control, dc));  // the picture shows through
}
