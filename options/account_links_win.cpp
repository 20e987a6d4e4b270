// The buttons of the options window (and the tray's outbox) that open the service's pages.
#include "app/controls_win.h"
#include "app/modBrevio_win.h"
#include "app/modHotkeys_win.h"
#include "options/frmOptions_win.h"

using account_links::Page;
using modHotkeys::state;

void frmOptions::OpenAccountPage(Page page, bool check_login, const std::wstring& quantity) {
  if (check_login && !Check_Login_Details()) return;
  // The saved account, never the boxes being typed; but secure as the padlock shows it, saved
  // or not: the token is the password, scrambled reversibly, and a locked padlock promises
  // that it does not travel in clear.
  FinishLoad();  // the padlock's page
  const bool secure = ui::IsChecked(connection.chkSecure);
  modBrevio::OpenURL(hWnd(), account_links::Address(page, ui::GetText(frame.Text5), secure,
                                                    account_links::LoginToken(state.Usr, state.Pwd),
                                                    quantity));
}

void frmOptions::cmdActivate_Click() { OpenAccountPage(Page::Subscribe, true); }

void frmOptions::cmdCheckCredits_Click() { OpenAccountPage(Page::Subscribe, true); }

void frmOptions::cmdBuy_Click() {
  OpenAccountPage(Page::BuyMessages, true, buy.Quantity());  // none chosen: the default quantity
}

void frmOptions::cmdRegister_Click() { OpenAccountPage(Page::Register, false); }

void frmOptions::Command3_Click() { cmdRegister_Click(); }

void frmOptions::Command4_Click() { OpenAccountPage(Page::MessageArchive, false); }

void frmOptions::Command5_Click() { modBrevio::OpenURL(hWnd(), L"inetcpl.cpl"); }

void frmOptions::Label12_Click() {
  modBrevio::OpenURL(hWnd(), account_links::HelpAddress(ui::GetText(frame.Text5)));
}
