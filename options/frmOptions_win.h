#pragma once
// The options window: the program's main object. It edits the settings, owns the tray icon,
// the sending code and the hotkey actions; its members are defined in options/, one file per
// group.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/forms_win.h"
#include "capture/clipboard_win.h"
#include "graphics/scaled_picture_win.h"
#include "hotkeys/VBHotKey_win.h"
#include "options/account_links.h"
#include "options/padlock_win.h"
#include "sending/inet_win.h"

struct SendInputs;  // sending/send_request.h

#undef SendMessage  // the program's own; the Win32 function is called as SendMessageW

class frmOptions : public FormOf<frmOptions> {
 public:
  // Set by the program's entry point (options/main_win.cpp) before loading.
  static inline bool paint_first = false;

  // frmOptions_win.cpp: moving the settings between the shared state and the controls.
  void GetProperties();  // shared state to controls
  void SetProperties();  // controls to shared state, then save the settings file
  void cmdSave_Click();
  void cmdCancel_Click();

  // options/tray_win.cpp: the notification-area icon and its menu.
  void AddTrayIcon();
  void RemoveTrayIcon();
  void popSMS_Click();
  void popOptions_Click();
  void popSent_Click();
  void popBuy_Click();
  void popExit_Click();

  // options/tabs_win.cpp: the tab control SSTab1, its pages and the window's own mouse.
  enum Tab : int { kTabOptions = 0, kTabBuy = 1, kTabHelp = 2, kTabConnection = 3 };
  void TabChoose();          // an empty saved user name selects "Help"
  void SelectTab(int index);  // and shows that page's controls only
  int SelectedTab() const;
  void txtUsr_Change();   // cmdRegister is active only while txtUsr is empty
  void Command1_Click();  // hide, and show the phone window
  // Beside each letter list: its hotkey in words when the system refused it, else nothing.
  void ShowHotkeyStatus();

  // options/account_links_win.cpp: the buttons that open the service's pages.
  void cmdActivate_Click();
  void cmdCheckCredits_Click();
  void cmdBuy_Click();
  void cmdRegister_Click();
  void Command3_Click();  // the same as cmdRegister
  void Command4_Click();  // the outbox
  void Command5_Click();  // the system's internet settings
  void Label12_Click();   // the help page

  // send_message_win.cpp: SendMessage, CheckResponse, Check_Login_Details and the transfer control.
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
  static bool SavedLoginPresent();
  // Everything one send reads, from where it is read: the boxes of the phone and options
  // windows for the request, the saved settings for the login check and the connection.
  SendInputs GatherSendInputs();
  // SendMessage's work on inputs already gathered.
  bool Send(const SendInputs& in, bool check_number);
  // Gives the alert window the steps of its OK that belong to the sending and options windows.
  void ConnectAlertSteps();
  void Inet1_StateChanged(int State);

  Inet Inet1;            // the transfer control
  std::wstring Response;  // the reply of the latest request

  // hotkey_actions_win.cpp, capture_win.cpp: the hotkey controls, the clipboard holders and the hotkey actions.
  std::shared_ptr<VBHotKey> VBHotKey1;  // Ctrl+Alt+P: the selection to the user's own phone
  std::shared_ptr<VBHotKey> VBHotKey2;  // Ctrl+Alt+N: the phone window with the selected number
  HWND Combo1 = nullptr;                // letter of hotkey 1, "A".."Z" with key codes 65..90
  HWND Combo2 = nullptr;                // letter of hotkey 2
  std::wstring CapturedNumber;          // what the last use of hotkey 2 produced
  void LoadHotkeys();    // VBHotKey2, then VBHotKey1, both at their stored Ctrl+Alt+A
  void UnloadHotkeys();  // unregisters and unhooks both
  void FillKeyLists();
  // Selects the entry of `vkey` in Combo1 or Combo2 and runs that list's change rule.
  void SelectKeyEntry(HWND list, std::int32_t vkey);
  void Combo1_Click();
  void Combo2_Click();
  void VBHotKey1_HotkeyPressed();
  void VBHotKey2_HotkeyPressed();
  bool BackupClipboard();   // every copyable format; false when the clipboard could not be read
  void RestoreClipboard();  // unless another program changed the clipboard since the capture
  // The selected text of the foreground application, read through the clipboard.
  std::wstring CaptureSelection();

  // Controls that other parts of the program read.
  HWND txtUsr = nullptr;
  HWND txtPwd = nullptr;
  HWND txtCountryCode = nullptr;
  HWND txtFooter = nullptr;
  HWND txtHideStartUp = nullptr;  // check box "Hide Options at startup"
  HWND chkSecure = nullptr;
  HWND chkProxy = nullptr;
  HWND txtProxyUsr = nullptr;
  HWND txtProxyPwd = nullptr;
  HWND Text5 = nullptr;  // host name of the service (hidden; F12 shows it)
  HWND cmdSave = nullptr;
  HWND cmdCancel = nullptr;
  HWND SSTab1 = nullptr;  // "Options", "Buy Messages", "Help", "Connection"
  HWND cmdRegister = nullptr;
  HWND Command1 = nullptr;  // "&Send SMS"
  HWND Command2 = nullptr;  // "?"
  HWND Command3 = nullptr;  // "Register here to start using Brevio"
  HWND Command4 = nullptr;  // "&Outbox"
  HWND Command5 = nullptr;  // "Change"
  HWND Combo3 = nullptr;    // quantity of messages to buy
  HWND cmdBuy = nullptr;
  HWND cmdCheckCredits = nullptr;
  HWND cmdActivate = nullptr;
  HWND Label12 = nullptr;     // the help link
  HWND lblVersion = nullptr;  // "Version: " and the program's version
  HWND Label6 = nullptr;      // the padlock's caption
  HWND HotkeyStatus1 = nullptr, HotkeyStatus2 = nullptr;

 protected:
  void Form_Load() override;
  void Form_Unload() override;
  void Form_QueryUnload() override { Hide(); }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool PreviewKey(const MSG& msg) override;

 private:
  // The tab control, the row below it and, unless every_page, only the page shown first.
  void CreateControls(bool every_page);
  void CreatePage(int page);  // its controls; the Options page also its lists and hotkeys
  bool PageMade(int page) const { return page_made_[page]; }
  bool page_made_[4] = {};
  void InsertInTabOrder(int page);  // a page made after the row below the tabs
  void ShowProperties(int page);     // GetProperties for one page's controls
  // The pictures of the window and the padlock: loaded when the window is first shown, as
  // a program started to the tray may never show it.
  void LoadPictures();
  bool pictures_loaded_ = false;
  void AttachPadlock();  // once both the pictures and the box are there
  bool padlock_attached_ = false;
  // What start-up leaves until after the first paint: with paint_first, the pages not shown
  // first (and so the hotkeys, which the Options page holds); the "?" tip; the tray icon.
  // Runs once.
  void FinishLoad();
  bool load_finished_ = false;
  bool loading_ = true;  // until Form_Load ends
  void OnTrayNotify(WPARAM anchor, LPARAM notification);
  void ShowTrayMenu(const POINT* at);  // at the mouse when null

  void KeyListChanged(HWND list, VBHotKey& own, const VBHotKey& other);

  // options/tabs_win.cpp
  // Messages of the tabs, the link, the padlock and the dragging; true when handled.
  bool HandleOptionsMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void UnderlineLink(bool underline);
  void AttachTabBackground();
  void AddToPage(int page, HWND control);
  // Opens `page` with the saved account's token; with `check_login`, only once the saved
  // user name and password are set.
  void OpenAccountPage(account_links::Page page, bool check_login, const std::wstring& quantity = {});
  std::vector<HWND> pages_[4];
  win::unique_font link_font_;       // Label12 underlined
  win::unique_font link_hover_font_;  // Label12 under the mouse
  bool link_underlined_ = true;
  Padlock padlock_;
  DWORD tray_button_up_time_ = 0;  // tick count of the icon's last button release

  clipboard::Backup clipboard_backup_;
  DWORD clipboard_sequence_ = 0;  // the clipboard as the capture last left or found it

  win::unique_font font_;
  win::unique_font heading_font_;
  win::unique_icon tray_icon_;
  bool tray_added_ = false;
  graphics::ScreenPicture background_picture_;  // images\options.gif
  win::unique_brush background_;   // a pattern brush of it; none when the picture is missing

  // send_message_win.cpp
  void WaitForTransfer();
  std::wstring transfer_error_;  // the transfer's own error text of the latest request
};
