// The options window's life (load, the rest of the load after the first paint, unload) and
// the settings moved between the shared state and the controls.
#include "options/frmOptions_win.h"

#include "access/described_win.h"
#include "app/controls_win.h"
#include "app/frmWarning_win.h"
#include "options/options_ids_win.h"
#include "phone/frmPhone_win.h"
#include "sending/frmSending_win.h"

using modHotkeys::state;
using options_pages::AccountPage;

namespace {

// Selects the entry of `vkey` in a letter list and runs that list's change rule.
void SelectKeyEntry(frmOptions& options, HWND list, std::int32_t vkey) {
  AccountPage::SelectKey(list, vkey);
  if (list == options.account.Combo1) options.Combo1_Click();
  if (list == options.account.Combo2) options.Combo2_Click();
}

// GetProperties for one page's controls.
void ShowProperties(frmOptions& options, int tab) {
  if (tab == frmOptions::kTabOptions) {
    AccountPage& page = options.account;
    SelectKeyEntry(options, page.Combo1, options.VBHotKey1->VKey());
    SelectKeyEntry(options, page.Combo2, options.VBHotKey2->VKey());
    page.ShowHotkeyStatus(*options.VBHotKey1, *options.VBHotKey2);
    ui::SetText(page.txtUsr, state.Usr);
    ui::SetText(page.txtPwd, state.Pwd);
    ui::SetText(page.txtCountryCode, state.CountryCode);
    ui::SetText(page.txtFooter, state.Footer);
  } else if (tab == frmOptions::kTabConnection) {
    const options_pages::ConnectionPage& page = options.connection;
    ui::SetChecked(page.chkSecure, static_cast<TransferProtocol>(state.Protocol) != TransferProtocol::HTTP);
    ui::SetChecked(page.chkProxy, state.ProxyAuth != 0);
    ui::SetText(page.txtProxyUsr, state.ProxyUsr);
    ui::SetText(page.txtProxyPwd, state.ProxyPwd);
  }
}

}  // namespace

void frmOptions::Form_Load() {
  CreateFormWindow({L"BrevioOptions", L"Lumora - Brevio",
                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_CONTROLPARENT,
                    520, 410});
  // First in the queue, so it runs before any hotkey or click, but after the first paint.
  ::PostMessageW(hWnd(), options_ids::kFinishLoad, 0, 0);
  state.History.clear();
  LoadHotkeys();
  options_pages::Maker make(hWnd(), fonts_, frame.controls);
  frame.Make(make);
  options_pages::DrawThrough(frame.SSTab1, background_);  // the picture itself waits for the first paint
  // The page shown first (the one TabChoose selects); the others after the first paint.
  const int first = state.Usr.empty() ? kTabHelp : kTabOptions;
  MakePage(first);
  SelectTab(first);
  GetProperties();
  TabChoose();
  // The alert's OK ends the sending window's display (loading it if need be, so that the next
  // send starts from an empty bar) and, for a settings alert, shows this window.
  frmWarning::OnOkAfterSend = [] { frmSending::Get().ResetAfterOutcome(); };
  frmWarning::OnOkShowSettings = [this](int page) {
    Show();
    if (page >= 0) SelectTab(page);
  };
  // The phone's counters and numbers read the boxes of every page, as they stand.
  frmPhone::owner.footer = [this] {
    FinishLoad();
    return ui::GetText(account.txtFooter);
  };
  frmPhone::owner.country_code = [this] {
    FinishLoad();
    return ui::GetText(account.txtCountryCode);
  };
  frmPhone::owner.send = [this](bool check_number) { return SendMessage(check_number); };
  frmPhone::owner.show_options = [this] { Show(); };
  ui::CentreOnScreen(hWnd());
  life_ = Life::FirstPage;
}

void frmOptions::FinishLoad() {
  if (life_ != Life::FirstPage) return;
  life_ = Life::Complete;
  for (int tab = kTabOptions; tab <= kTabConnection; ++tab)
    if (!PageOf(tab).Made()) MakePage(tab);
  SelectTab(SelectedTab());  // the pages just made stay hidden
  ui::AddTooltip(hWnd(), frame.Command2, L"Help");  // a window of its own, wanted only on a hover
  tray_ = std::make_unique<TrayIcon>(hWnd());  // the system's tray answers slowly: after the window is up
}

void frmOptions::Form_Unload() {
  life_ = Life::Unloading;
  frmWarning::OnOkAfterSend = nullptr;
  frmWarning::OnOkShowSettings = nullptr;
  frmPhone::owner = PhoneOwner{};
  UnloadHotkeys();
  tray_.reset();  // the icon goes
  forms::UnloadAll();  // every other window; with none left the program ends
}

options_pages::Page& frmOptions::PageOf(int tab) {
  options_pages::Page* const pages[] = {&account, &buy, &help, &connection};
  return *pages[tab];
}

void frmOptions::MakePage(int tab) {
  options_pages::Maker make(hWnd(), fonts_, PageOf(tab).controls);
  switch (tab) {
    case kTabOptions: account.Make(make); break;
    case kTabBuy: buy.Make(make); break;
    case kTabHelp: help.Make(make, fonts_); break;
    case kTabConnection: connection.Make(make, background_, modHotkeys::AppPath() + L"\\images"); break;
  }
  // In the tab order after the last control of the nearest earlier page made, or first.
  HWND after = HWND_TOP;
  for (int earlier = tab - 1; earlier >= 0 && after == HWND_TOP; --earlier)
    if (PageOf(earlier).Made()) after = PageOf(earlier).controls.back();
  for (HWND control : PageOf(tab).controls) {
    ::SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = control;
  }
  if (tab == kTabHelp) Text5_Change();  // the host may have changed meanwhile
  if (tab == kTabHelp)  // a screen reader reads the help address as a link, and follows it
    access::Describe(help.Label12, {.role = ROLE_SYSTEM_LINK, .state = [] { return STATE_SYSTEM_LINKED; },
                                    .action_name = L"Jump", .act = [this] { Label12_Click(); }});
  if (life_ != Life::Loading) ShowProperties(*this, tab);
}

void frmOptions::GetProperties() {
  // A changed key registers its hotkey at once, and its list shows it (the lists' rule runs).
  if (VBHotKey1->VKey() != state.VKey1) {
    VBHotKey1->VKey(state.VKey1);
    if (account.Made()) SelectKeyEntry(*this, account.Combo1, state.VKey1);
  }
  if (VBHotKey2->VKey() != state.VKey2) {
    VBHotKey2->VKey(state.VKey2);
    if (account.Made()) SelectKeyEntry(*this, account.Combo2, state.VKey2);
  }
  for (int tab = kTabOptions; tab <= kTabConnection; ++tab)
    if (PageOf(tab).Made()) ShowProperties(*this, tab);
  ui::SetChecked(frame.txtHideStartUp, state.HideStartUp != 0);
}

bool frmOptions::SetProperties() {
  FinishLoad();  // every page's boxes
  state.Usr = ui::GetText(account.txtUsr);
  state.Pwd = ui::GetText(account.txtPwd);
  state.CountryCode = ui::GetText(account.txtCountryCode);
  state.VKey1 = static_cast<std::int16_t>(VBHotKey1->VKey());
  state.VKey2 = static_cast<std::int16_t>(VBHotKey2->VKey());
  state.Footer = ui::GetText(account.txtFooter);
  state.HideStartUp = ui::IsChecked(frame.txtHideStartUp) ? 1 : 0;
  const bool secure = ui::IsChecked(connection.chkSecure);
  state.Protocol = static_cast<std::int16_t>(secure ? TransferProtocol::HTTPS : TransferProtocol::HTTP);
  state.Port = secure ? L"443" : L"80";
  state.ProxyAuth = ui::IsChecked(connection.chkProxy) ? 1 : 0;
  state.ProxyUsr = ui::GetText(connection.txtProxyUsr);
  state.ProxyPwd = ui::GetText(connection.txtProxyPwd);
  if (state.ProxyUsr.empty()) state.ProxyAuth = 0;
  return modHotkeys::SaveSettings(hWnd(), false) == modHotkeys::SaveOutcome::Saved;
}

void frmOptions::cmdSave_Click() {
  // Hidden once saved: when the file cannot be written the window stays, with the user's edits.
  if (SetProperties()) Hide();
}

void frmOptions::cmdCancel_Click() {
  Hide();
  GetProperties();
}

bool frmOptions::PreviewKey(const MSG& msg) {
  if (msg.message != WM_KEYUP) return false;
  if (msg.wParam == VK_F12) {
    ::ShowWindow(frame.Text5, ::IsWindowVisible(frame.Text5) ? SW_HIDE : SW_SHOW);
    return true;
  }
  if (msg.wParam == VK_ESCAPE) {
    Hide();
    return true;
  }
  return false;
}
