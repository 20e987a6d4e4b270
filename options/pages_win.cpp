#include "options/pages_win.h"

#include <commctrl.h>

#include "app/controls_win.h"
#include "hotkeys/VBHotKey_win.h"
#include "options/account_links.h"
#include "options/options_ids_win.h"
#include "options/version_win.h"

namespace ids = options_ids;

namespace options_pages {

namespace {

constexpr std::int32_t kFirstKey = 'A', kLastKey = 'Z';
constexpr DWORD kEdit = WS_TABSTOP | ES_AUTOHSCROLL;

}  // namespace

Fonts::Fonts()
    : text(ui::MakeFont(L"Tahoma", 8.25)),
      heading(ui::MakeFont(L"Tahoma", 8.25, true)),
      link(ui::MakeFont(L"Tahoma", 8.25, false, true)),
      link_hover(ui::MakeFont(L"Tahoma", 8.25)) {}

HWND Maker::Add(HWND control) {
  page_.push_back(control);
  return control;
}

HWND Maker::Text(const wchar_t* caption, int x, int y, int width, int height, int id, HFONT font, DWORD style) {
  return Add(ui::AddControl(window_, L"STATIC", caption, SS_LEFT | style, x, y, width, height, id,
                            font ? font : fonts_.text.get()));
}

HWND Maker::Heading(const wchar_t* caption, int x, int y, int width) {
  return Text(caption, x, y, width, 16, -1, fonts_.heading.get());
}

HWND Maker::Field(int id, DWORD style, int x, int y, int width, int height) {
  return Add(ui::AddControl(window_, L"EDIT", L"", kEdit | style, x, y, width, height, id, fonts_.text.get(),
                            WS_EX_CLIENTEDGE));
}

HWND Maker::Button(int id, const wchar_t* caption, int x, int y, int width, DWORD style) {
  return Add(ui::AddControl(window_, L"BUTTON", caption, WS_TABSTOP | style, x, y, width, 24, id, fonts_.text.get()));
}

HWND Maker::Check(int id, const wchar_t* caption, int x, int y, int width, int height) {
  return Add(ui::AddControl(window_, L"BUTTON", caption, WS_TABSTOP | BS_AUTOCHECKBOX, x, y, width, height, id,
                            fonts_.text.get()));
}

HWND Maker::Control(const wchar_t* window_class, DWORD style, int x, int y, int width, int height, int id) {
  return Add(ui::AddControl(window_, window_class, L"", style, x, y, width, height, id, fonts_.text.get()));
}

HWND Maker::List(int id, int x, int y, int width) {
  return Add(ui::AddControl(window_, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, x, y, width,
                            240, id, fonts_.text.get()));
}

void AccountPage::Make(Maker& make) {
  make.Text(L"Brevio lets you send selected information from your screen to a mobile phone via a "
            L"keyboard shortcut.", 24, 44, 470, 30);
  make.Heading(L"Set your Lumora account details:", 24, 84, 300);
  make.Text(L"&Username:", 36, 111, 70);
  txtUsr = make.Field(ids::kUsr, 0, 110, 108, 160);
  cmdRegister = make.Button(ids::kRegister, L"&Register here...", 282, 107, 112);
  make.Text(L"&Password:", 36, 139, 70);
  txtPwd = make.Field(ids::kPwd, ES_PASSWORD, 110, 136, 160);
  ::SendMessageW(txtPwd, EM_SETPASSWORDCHAR, L'*', 0);
  make.Text(L"To send selected &text to your phone press:  CTRL + ALT +", 24, 178, 316);
  Combo1 = make.List(ids::kCombo1, 344, 174, 48);
  HotkeyStatus1 = make.Text(L"", 24, 198, 470, 14, ids::kHotkeyStatus1);
  make.Text(L"To send to a selected phone &number press: CTRL + ALT +", 24, 220, 316);
  Combo2 = make.List(ids::kCombo2, 344, 216, 48);
  HotkeyStatus2 = make.Text(L"", 24, 240, 470, 14, ids::kHotkeyStatus2);
  make.Text(L"Your &international country code:", 24, 264, 180);
  txtCountryCode = make.Field(ids::kCountryCode, 0, 204, 261, 48);
  make.Text(L"To add an optional &footer to all your messages add some text here:", 24, 290, 470);
  txtFooter = make.Field(ids::kFooter, ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN, 24, 308, 470, 44);
  ::SendMessageW(txtFooter, EM_SETLIMITTEXT, 100, 0);
  for (HWND list : {Combo1, Combo2}) {
    for (std::int32_t key = kFirstKey; key <= kLastKey; ++key) {
      const wchar_t letter[2] = {static_cast<wchar_t>(key), L'\0'};
      const LRESULT index = ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(letter));
      ::SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), key);
    }
  }
}

void AccountPage::txtUsr_Change() const {
  ::EnableWindow(cmdRegister, ::GetWindowTextLengthW(txtUsr) == 0);
}

void AccountPage::ShowHotkeyStatus(const VBHotKey& hotkey1, const VBHotKey& hotkey2) const {
  const std::pair<const VBHotKey&, HWND> notes[] = {{hotkey1, HotkeyStatus1}, {hotkey2, HotkeyStatus2}};
  for (const auto& [hotkey, note] : notes) {
    std::wstring text;
    if (hotkey.Enabled() && hotkey.hKey() == 0)  // the system refused it
      text = hotkey.Name() + L" is in use by another program: choose another letter";
    ui::SetText(note, text);
  }
}

void AccountPage::SelectKey(HWND list, std::int32_t vkey) {
  ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(vkey - kFirstKey), 0);
}

std::optional<std::int32_t> AccountPage::ChosenKey(HWND list) {
  const LRESULT index = list ? ::SendMessageW(list, CB_GETCURSEL, 0, 0) : CB_ERR;
  if (index == CB_ERR) return std::nullopt;
  return static_cast<std::int32_t>(::SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void BuyPage::Make(Maker& make) {
  make.Text(L"Choose the number of &messages required:", 24, 52, 300);
  Combo3 = make.List(ids::kCombo3, 24, 72, 100);
  for (const wchar_t* quantity : account_links::kQuantities)
    ::SendMessageW(Combo3, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(quantity));
  ::SendMessageW(Combo3, CB_SETCURSEL, 0, 0);  // designed as "50"
  cmdBuy = make.Button(ids::kBuy, L"&Buy Credits", 134, 71, 100);
  make.Text(L"Check your current message credits online:", 24, 124, 300);
  cmdCheckCredits = make.Button(ids::kCheckCredits, L"Chec&k credits", 24, 144, 110);
}

std::wstring BuyPage::Quantity() const {
  const LRESULT chosen = ::SendMessageW(Combo3, CB_GETCURSEL, 0, 0);
  if (chosen == CB_ERR) return {};
  std::wstring quantity(static_cast<std::size_t>(::SendMessageW(Combo3, CB_GETLBTEXTLEN, chosen, 0)) + 1, L'\0');
  quantity.resize(static_cast<std::size_t>(
      ::SendMessageW(Combo3, CB_GETLBTEXT, chosen, reinterpret_cast<LPARAM>(quantity.data()))));
  return quantity;
}

void HelpPage::Make(Maker& make, const Fonts& fonts) {
  fonts_ = &fonts;
  make.Heading(L"Getting Started:", 24, 46, 300);
  Command3 = make.Button(ids::kRegisterHelp, L"&Register here to start using Brevio", 24, 66, 220);
  make.Text(L"Once registered, enter your Username && Password on the Options tab.", 24, 98, 470);
  make.Heading(L"Activate your account:", 24, 128, 300);
  make.Text(L"Activating your account enables you to send text from the screen straight to your "
            L"phone e.g. flight booking references.", 24, 148, 470, 30);
  make.Text(L"Also, messages will appear to come from your mobile number, which means people will be "
            L"able to reply to your messages.", 24, 180, 470, 30);
  cmdActivate = make.Button(ids::kActivate, L"Acti&vate here", 24, 214, 110);
  make.Text(L"Comprehensive and up-to-date help for Brevio can be found at:", 24, 256, 470);
  Label12 = make.Text(L"", 24, 274, 300, 16, ids::kHelpLink, fonts.link.get(), SS_NOTIFY);
  ui::SetText(Label12, account_links::HelpAddress(BREVIO_SERVICE_HOST));
  ui::MakeKeyboardLink(Label12);
  lblVersion = make.Text((L"Version: " + ProgramVersion()).c_str(), 24, 336, 200, 16, ids::kVersion);
}

void HelpPage::Underline(bool underline) {
  if (underline == underlined_ || !Label12) return;
  underlined_ = underline;
  HFONT font = (underline ? fonts_->link : fonts_->link_hover).get();
  ::SendMessageW(Label12, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void ConnectionPage::Make(Maker& make, BackgroundPicture& background, const std::wstring& images_dir) {
  make.Text(L"This application shares your Internet Connection Settings with Internet Explorer", 24, 52, 380, 30);
  Command5 = make.Button(ids::kChange, L"Chan&ge", 412, 48, 80);
  // The caption first, as labels go before what they label: its letter focuses the padlock.
  Label6 = make.Text(L"&Locked: Secure connection. Unlocked: Standard connection", 72, 106, 400, 16,
                     ids::kSecureLabel, nullptr, SS_NOTIFY);
  chkSecure = make.Check(ids::kSecure, L"", 24, 92, 40, 44);
  chkProxy = make.Check(ids::kProxy, L"My &proxy server requires authentication.", 24, 156, 300);
  make.Text(L"&Username:", 44, 187, 70);
  txtProxyUsr = make.Field(ids::kProxyUsr, 0, 120, 184, 160);
  make.Text(L"Pass&word:", 44, 215, 70);
  txtProxyPwd = make.Field(ids::kProxyPwd, ES_PASSWORD, 120, 212, 160);
  ::SendMessageW(txtProxyPwd, EM_SETPASSWORDCHAR, L'*', 0);
  padlock.Attach(chkSecure, images_dir, background);
}

void Frame::Make(Maker& make) {
  // Under every other control (see the tab control's own drawing, tabs_win.cpp), so last in
  // the tab order too.
  SSTab1 = make.Control(WC_TABCONTROLW, WS_TABSTOP | WS_CLIPSIBLINGS, 8, 8, 504, 356, ids::kTab);
  for (const wchar_t* name : {L"Options", L"Buy Messages", L"Help", L"Connection"}) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(name);
    ::SendMessageW(SSTab1, TCM_INSERTITEMW, ::SendMessageW(SSTab1, TCM_GETITEMCOUNT, 0, 0),
                   reinterpret_cast<LPARAM>(&item));
  }
  Command2 = make.Button(ids::kHelpButton, L"?", 8, 376, 26);
  txtHideStartUp = make.Check(ids::kHideStartUp, L"&Hide Options at startup", 42, 379, 150);
  Command1 = make.Button(ids::kSendSMS, L"&Send SMS", 196, 376, 72);
  Command4 = make.Button(ids::kOutbox, L"&Outbox", 272, 376, 76);
  cmdSave = make.Button(ids::kSave, L"S&ave", 356, 376, 76, BS_DEFPUSHBUTTON);
  cmdCancel = make.Button(ids::kCancel, L"&Cancel", 436, 376, 76);
  // The service's host, over the empty end of the tab strip when F12 shows it.
  Text5 = make.Field(ids::kText5, 0, 372, 8, 140, 20);
  ui::SetText(Text5, BREVIO_SERVICE_HOST);
  ::ShowWindow(Text5, SW_HIDE);
}

}  // namespace options_pages
