#pragma once
// The options window: the program's main object. It edits the settings, owns the tray icon,
// the hotkeys, the sending code and the hotkey actions; its members are defined in options/,
// one file per group, and its controls are grouped by the page that holds them (pages_win.h).
// The window's messages are read in one place (messages_win.cpp): a table from command and
// notification to handler. Other folders need nothing of it: the phone window gets what it
// asks for through frmPhone::owner, which this window sets when it loads.
#include <memory>
#include <string>

#include "app/forms_win.h"
#include "app/modHotkeys_win.h"
#include "capture/selection_win.h"
#include "hotkeys/VBHotKey_win.h"
#include "options/account_links.h"
#include "options/background_win.h"
#include "options/pages_win.h"
#include "options/tray_icon_win.h"
#include "sending/transfer_win.h"

struct SendInputs;  // sending/send_request.h

#undef SendMessage  // the program's own; the Win32 function is called as SendMessageW

class frmOptions : public FormOf<frmOptions> {
 public:
  enum Tab : int { kTabOptions = 0, kTabBuy = 1, kTabHelp = 2, kTabConnection = 3 };

  // frmOptions_win.cpp: the window's life and the settings.
  // What the load leaves until after the first paint: the pages not shown first, the "?" tip
  // and the tray icon. The message the load posts runs it, and so does whatever needs every
  // page before that; it runs once.
  void FinishLoad();
  void GetProperties();  // shared state to controls
  bool SetProperties();  // controls to shared state, then save the settings file; true when saved
  void cmdSave_Click();
  void cmdCancel_Click();

  // tabs_win.cpp: the tab control SSTab1, and the handlers of controls on the pages.
  void TabChoose();           // an empty saved user name selects "Help"
  void SelectTab(int index);  // and shows that page's controls only
  int SelectedTab() const;
  void SSTab1_Click();    // the user chose a tab
  void txtUsr_Change();   // cmdRegister is active only while txtUsr is empty
  void Text5_Change();    // the help link follows the host
  void Label6_Click();    // the padlock's caption works the padlock
  void Command1_Click();  // hide, and show the phone window

  // tray_win.cpp: the tray icon's commands.
  void picicon_DblClick();  // the options window, on the tab TabChoose picks
  void popSMS_Click();
  void popOptions_Click();
  void popSent_Click();
  void popBuy_Click();
  void popExit_Click();

  // account_links_win.cpp: the buttons that open the service's pages.
  void cmdActivate_Click();
  void cmdCheckCredits_Click();
  void cmdBuy_Click();
  void cmdRegister_Click();
  void Command3_Click();  // the same as cmdRegister
  void Command4_Click();  // the outbox
  void Command5_Click();  // the system's internet settings
  void Label12_Click();   // the help page

  // send_message_win.cpp: SendMessage, CheckResponse, Check_Login_Details.
  // Sends the phone window's message; true only when the service accepted it. Failures are
  // told in the alert window or a message box; nothing escapes.
  bool SendMessage(bool check_number);
  // Tells the outcome of `reply` in the alert window; true when the service accepted the
  // message. Throws, with a plain description, for a reply it cannot read.
  bool CheckResponse(const std::wstring& reply);
  // True when the saved user name and password are both set; otherwise shows the options
  // window and an alert, and returns false.
  bool Check_Login_Details();
  bool Check_Login_Details(bool login_saved);
  // Everything one send reads, from where it is read: the boxes of the phone and options
  // windows for the request, the saved settings for the login check and the connection.
  SendInputs GatherSendInputs();
  // SendMessage's work on inputs already gathered.
  bool Send(const SendInputs& in, bool check_number);
  // While a send is under way (from its checks to its outcome): tells the user so and returns
  // true; another send then never starts.
  bool RefuseWhileSending();
  Transfer transfer;  // the transfer control Inet1 and the latest reply

  // hotkey_actions_win.cpp: the two hotkeys, their letters and their actions.
  std::shared_ptr<VBHotKey> VBHotKey1;  // Ctrl+Alt+P: the selection to the user's own phone
  std::shared_ptr<VBHotKey> VBHotKey2;  // Ctrl+Alt+N: the phone window with the selected number
  void Combo1_Click();
  void Combo2_Click();
  void VBHotKey1_HotkeyPressed();
  void VBHotKey2_HotkeyPressed();
  // The selected text of the foreground application, read through the clipboard.
  std::wstring CaptureSelection();

  // The controls, by the page that holds them (pages_win.h).
  options_pages::AccountPage account;
  options_pages::BuyPage buy;
  options_pages::HelpPage help;
  options_pages::ConnectionPage connection;
  options_pages::Frame frame;

 protected:
  void Form_Load() override;
  void Form_Unload() override;
  void Form_QueryUnload() override { Hide(); }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool PreviewKey(const MSG& msg) override;
  HWND FirstFocus() const override;  // the first empty account box, else the page's first control
  bool SwitchTab(bool forward) override;

 private:
  // Loading: Form_Load runs. FirstPage: the window is up with the page it shows first; the
  // rest waits for FinishLoad. Complete: every page, the tip and the tray icon are there.
  // Unloading: Form_Unload has begun; nothing more is made.
  enum class Life { Loading, FirstPage, Complete, Unloading };
  Life life_ = Life::Loading;
  bool sending_ = false;  // a send is under way

  options_pages::Page& PageOf(int tab);
  void MakePage(int tab);  // its controls, filled from the shared state, in their tab order
  void LoadHotkeys();      // both at Ctrl+Alt+A, until GetProperties gives them their letters
  void UnloadHotkeys();    // unregisters and unhooks both
  // Opens `page` with the saved account's token; with `check_login`, only once the saved
  // user name and password are set.
  void OpenAccountPage(account_links::Page page, bool check_login, const std::wstring& quantity = {});
  LRESULT ColourStatic(HDC dc, HWND control);

  options_pages::Fonts fonts_;
  BackgroundPicture background_{modHotkeys::AppPath() + L"\\images\\options.gif"};
  SelectionCapture selection_;      // the clipboard holders of the hotkey actions
  std::unique_ptr<TrayIcon> tray_;  // from FinishLoad until the window unloads
};
