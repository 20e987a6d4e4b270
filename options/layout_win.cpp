// The controls of the options window and where they sit.
#include <windows.h>

#include "app/controls_win.h"
#include "options/frmOptions_win.h"
#include "options/options_ids_win.h"

namespace ids = options_ids;

void frmOptions::CreateControls() {
  font_ = ui::MakeFont(L"Tahoma", 8.25);
  heading_font_ = ui::MakeFont(L"Tahoma", 8.25, true);
  HWND w = hWnd();
  HFONT f = font_.get();
  const DWORD edit = WS_TABSTOP | ES_AUTOHSCROLL;
  const DWORD label = SS_LEFT;
  auto box = [&](const wchar_t* text, int x, int y, int width, int height) {
    ui::AddControl(w, L"BUTTON", text, BS_GROUPBOX, x, y, width, height, -1, heading_font_.get());
  };
  auto text = [&](const wchar_t* caption, int x, int y, int width, int height = 16) {
    return ui::AddControl(w, L"STATIC", caption, label, x, y, width, height, -1, f);
  };
  auto field = [&](int id, DWORD extra, int x, int y, int width, int height = 21) {
    return ui::AddControl(w, L"EDIT", L"", edit | extra, x, y, width, height, id, f,
                          WS_EX_CLIENTEDGE);
  };
  auto check = [&](int id, const wchar_t* caption, int x, int y, int width) {
    return ui::AddControl(w, L"BUTTON", caption, WS_TABSTOP | BS_AUTOCHECKBOX, x, y, width, 18, id, f);
  };

  text(L"Brevio lets you send selected information from your screen to a mobile phone via a "
       L"keyboard shortcut.", 16, 10, 408, 30);

  box(L"Set your Lumora account details:", 12, 42, 416, 104);
  text(L"Username:", 28, 66, 80);
  txtUsr = field(ids::kUsr, 0, 116, 63, 150);
  text(L"Password:", 28, 94, 80);
  txtPwd = field(ids::kPwd, ES_PASSWORD, 116, 91, 150);
  ::SendMessageW(txtPwd, EM_SETPASSWORDCHAR, L'*', 0);
  text(L"Your international country code:", 28, 122, 180);
  txtCountryCode = field(ids::kCountryCode, 0, 216, 119, 50);

  box(L"Footer", 12, 154, 416, 76);
  text(L"To add an optional footer to all your messages add some text here:", 28, 172, 390);
  txtFooter = field(ids::kFooter, ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN,
                    28, 190, 384, 34);
  ::SendMessageW(txtFooter, EM_SETLIMITTEXT, 100, 0);

  box(L"Hotkeys", 12, 238, 416, 66);
  text(L"To send selected text to your phone press:  CTRL + ALT +", 28, 258, 310);
  Combo1 = ui::AddControl(w, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 344,
                          255, 50, 220, ids::kCombo1, f);
  text(L"To send to a selected phone number press: CTRL + ALT +", 28, 282, 310);
  Combo2 = ui::AddControl(w, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 344,
                          279, 50, 220, ids::kCombo2, f);

  box(L"Connection", 12, 312, 416, 92);
  chkSecure = check(ids::kSecure, L"Secure connection (HTTPS)", 28, 330, 200);
  chkProxy = check(ids::kProxy, L"My proxy server requires authentication.", 28, 352, 260);
  text(L"Username:", 44, 378, 60);
  txtProxyUsr = field(ids::kProxyUsr, 0, 106, 375, 110);
  text(L"Password:", 228, 378, 60);
  txtProxyPwd = field(ids::kProxyPwd, ES_PASSWORD, 292, 375, 120);
  ::SendMessageW(txtProxyPwd, EM_SETPASSWORDCHAR, L'*', 0);

  txtHideStartUp = check(ids::kHideStartUp, L"Hide Options at startup", 16, 416, 170);
  cmdSave = ui::AddControl(w, L"BUTTON", L"S&ave", WS_TABSTOP | BS_DEFPUSHBUTTON, 268, 413, 76,
                           24, ids::kSave, f);
  cmdCancel = ui::AddControl(w, L"BUTTON", L"&Cancel", WS_TABSTOP, 352, 413, 76, 24,
                             ids::kCancel, f);
  Text5 = ui::AddControl(w, L"EDIT", BREVIO_SERVICE_HOST, edit, 200, 416, 60, 21, ids::kText5, f,
                         WS_EX_CLIENTEDGE);
  ::ShowWindow(Text5, SW_HIDE);
}
