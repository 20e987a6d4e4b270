// The controls of the options window and where they sit: the tab control SSTab1 with its four
// pages, and the row of buttons below it. Pixels at 96 dots per inch, in a 520 x 410 client.
#include <windows.h>
#include <commctrl.h>

#include "app/controls_win.h"
#include "app/modHotkeys_win.h"
#include "options/frmOptions_win.h"
#include "options/options_ids_win.h"
#include "options/version_win.h"

namespace ids = options_ids;
using modHotkeys::state;

void frmOptions::CreateControls(bool every_page) {
  font_ = ui::MakeFont(L"Tahoma", 8.25);
  heading_font_ = ui::MakeFont(L"Tahoma", 8.25, true);
  link_font_ = ui::MakeFont(L"Tahoma", 8.25, false, true);
  link_hover_font_ = ui::MakeFont(L"Tahoma", 8.25);
  HWND w = hWnd();
  HFONT f = font_.get();
  const DWORD edit = WS_TABSTOP | ES_AUTOHSCROLL;

  // Under every other control (see AttachTabBackground), so last in the tab order too.
  SSTab1 = ui::AddControl(w, WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS,
                          8, 8, 504, 356, ids::kTab, f);
  for (const wchar_t* name : {L"Options", L"Buy Messages", L"Help", L"Connection"}) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(name);
    ::SendMessageW(SSTab1, TCM_INSERTITEMW, ::SendMessageW(SSTab1, TCM_GETITEMCOUNT, 0, 0),
                   reinterpret_cast<LPARAM>(&item));
  }

  // The page shown first (the one TabChoose selects); the others now too, or after the first paint.
  const int first = state.Usr.empty() ? kTabHelp : kTabOptions;
  for (int page = kTabOptions; page <= kTabConnection; ++page)
    if (every_page || page == first) CreatePage(page);

  // Outside the tabs, after the pages in the tab order.
  Command2 = ui::AddControl(w, L"BUTTON", L"?", WS_TABSTOP, 8, 376, 26, 24, ids::kHelpButton, f);
  txtHideStartUp = ui::AddControl(w, L"BUTTON", L"Hide Options at startup",
                                  WS_TABSTOP | BS_AUTOCHECKBOX, 42, 379, 150, 18, ids::kHideStartUp, f);
  Command1 = ui::AddControl(w, L"BUTTON", L"&Send SMS", WS_TABSTOP, 196, 376, 72, 24, ids::kSendSMS, f);
  Command4 = ui::AddControl(w, L"BUTTON", L"&Outbox", WS_TABSTOP, 272, 376, 76, 24, ids::kOutbox, f);
  cmdSave = ui::AddControl(w, L"BUTTON", L"S&ave", WS_TABSTOP | BS_DEFPUSHBUTTON, 356, 376, 76,
                           24, ids::kSave, f);
  cmdCancel = ui::AddControl(w, L"BUTTON", L"&Cancel", WS_TABSTOP, 436, 376, 76, 24,
                             ids::kCancel, f);
  // The service's host, over the empty end of the tab strip when F12 shows it.
  Text5 = ui::AddControl(w, L"EDIT", BREVIO_SERVICE_HOST, edit, 372, 8, 140, 20, ids::kText5, f,
                         WS_EX_CLIENTEDGE);
  ::ShowWindow(Text5, SW_HIDE);

  AttachTabBackground();  // without its picture until LoadPictures
  SelectTab(first);
}

void frmOptions::CreatePage(int page) {
  if (page_made_[page]) return;
  page_made_[page] = true;
  HWND w = hWnd();
  HFONT f = font_.get();
  const DWORD edit = WS_TABSTOP | ES_AUTOHSCROLL;
  auto add = [&](HWND control) {
    AddToPage(page, control);
    return control;
  };
  auto text = [&](const wchar_t* caption, int x, int y, int width, int height = 16,
                  HFONT font = nullptr, int id = -1, DWORD style = 0) {
    return add(ui::AddControl(w, L"STATIC", caption, SS_LEFT | style, x, y, width, height, id,
                              font ? font : f));
  };
  auto heading = [&](const wchar_t* caption, int x, int y, int width) {
    return text(caption, x, y, width, 16, heading_font_.get());
  };
  auto field = [&](int id, DWORD extra, int x, int y, int width, int height = 21) {
    return add(ui::AddControl(w, L"EDIT", L"", edit | extra, x, y, width, height, id, f,
                              WS_EX_CLIENTEDGE));
  };
  auto button = [&](int id, const wchar_t* caption, int x, int y, int width) {
    return add(ui::AddControl(w, L"BUTTON", caption, WS_TABSTOP, x, y, width, 24, id, f));
  };
  auto check = [&](int id, const wchar_t* caption, int x, int y, int width) {
    return add(ui::AddControl(w, L"BUTTON", caption, WS_TABSTOP | BS_AUTOCHECKBOX, x, y, width,
                              18, id, f));
  };
  auto list = [&](int id, int x, int y, int width) {
    return add(ui::AddControl(w, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, x,
                              y, width, 240, id, f));
  };

  if (page == kTabOptions) {
    text(L"Brevio lets you send selected information from your screen to a mobile phone via a "
         L"keyboard shortcut.", 24, 44, 470, 30);
    heading(L"Set your Lumora account details:", 24, 84, 300);
    text(L"Username:", 36, 111, 70);
    txtUsr = field(ids::kUsr, 0, 110, 108, 160);
    cmdRegister = button(ids::kRegister, L"Register here...", 282, 107, 112);
    text(L"Password:", 36, 139, 70);
    txtPwd = field(ids::kPwd, ES_PASSWORD, 110, 136, 160);
    ::SendMessageW(txtPwd, EM_SETPASSWORDCHAR, L'*', 0);
    text(L"To send selected text to your phone press:  CTRL + ALT +", 24, 178, 316);
    Combo1 = list(ids::kCombo1, 344, 174, 48);
    HotkeyStatus1 = text(L"", 24, 198, 470, 14, nullptr, ids::kHotkeyStatus1);
    text(L"To send to a selected phone number press: CTRL + ALT +", 24, 220, 316);
    Combo2 = list(ids::kCombo2, 344, 216, 48);
    HotkeyStatus2 = text(L"", 24, 240, 470, 14, nullptr, ids::kHotkeyStatus2);
    text(L"Your international country code:", 24, 264, 180);
    txtCountryCode = field(ids::kCountryCode, 0, 204, 261, 48);
    text(L"To add an optional footer to all your messages add some text here:", 24, 290, 470);
    txtFooter = field(ids::kFooter, ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN, 24,
                      308, 470, 44);
    ::SendMessageW(txtFooter, EM_SETLIMITTEXT, 100, 0);
    FillKeyLists();
    LoadHotkeys();
  } else if (page == kTabBuy) {
    text(L"Choose the number of messages required:", 24, 52, 300);
    Combo3 = list(ids::kCombo3, 24, 72, 100);
    for (const wchar_t* quantity : account_links::kQuantities)
      ::SendMessageW(Combo3, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(quantity));
    ::SendMessageW(Combo3, CB_SETCURSEL, 0, 0);  // designed as "50"
    cmdBuy = button(ids::kBuy, L"Buy Credits", 134, 71, 100);
    text(L"Check your current message credits online:", 24, 124, 300);
    cmdCheckCredits = button(ids::kCheckCredits, L"Check credits", 24, 144, 110);
  } else if (page == kTabHelp) {
    heading(L"Getting Started:", 24, 46, 300);
    Command3 = button(ids::kRegisterHelp, L"Register here to start using Brevio", 24, 66, 220);
    text(L"Once registered, enter your Username && Password on the Options tab.", 24, 98, 470);
    heading(L"Activate your account:", 24, 128, 300);
    text(L"Activating your account enables you to send text from the screen straight to your "
         L"phone e.g. flight booking references.", 24, 148, 470, 30);
    text(L"Also, messages will appear to come from your mobile number, which means people will be "
         L"able to reply to your messages.", 24, 180, 470, 30);
    cmdActivate = button(ids::kActivate, L"Activate here", 24, 214, 110);
    text(L"Comprehensive and up-to-date help for Brevio can be found at:", 24, 256, 470);
    Label12 = text(L"", 24, 274, 300, 16, link_font_.get(), ids::kHelpLink, SS_NOTIFY);
    lblVersion = text((L"Version: " + ProgramVersion()).c_str(), 24, 336, 200, 16, nullptr,
                      ids::kVersion);
    ui::SetText(Label12, account_links::HelpAddress(BREVIO_SERVICE_HOST));
  } else if (page == kTabConnection) {
    text(L"This application shares your Internet Connection Settings with Internet Explorer", 24,
         52, 380, 30);
    Command5 = button(ids::kChange, L"Change", 412, 48, 80);
    chkSecure = add(ui::AddControl(w, L"BUTTON", L"", WS_TABSTOP | BS_AUTOCHECKBOX, 24, 92, 40, 44,
                                   ids::kSecure, f));
    Label6 = text(L"Locked: Secure connection. Unlocked: Standard connection", 72, 106, 400, 16,
                  nullptr, ids::kSecureLabel, SS_NOTIFY);
    chkProxy = check(ids::kProxy, L"My proxy server requires authentication.", 24, 156, 300);
    text(L"Username:", 44, 187, 70);
    txtProxyUsr = field(ids::kProxyUsr, 0, 120, 184, 160);
    text(L"Password:", 44, 215, 70);
    txtProxyPwd = field(ids::kProxyPwd, ES_PASSWORD, 120, 212, 160);
    ::SendMessageW(txtProxyPwd, EM_SETPASSWORDCHAR, L'*', 0);
    AttachPadlock();
  }
  if (Command2) InsertInTabOrder(page);  // made after the row below the tabs
}
