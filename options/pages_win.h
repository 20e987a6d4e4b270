#pragma once
// The controls of the options window, each with the page that holds it: the four pages of the
// tab control SSTab1, and the frame around them (the tab control and the row below it). Each
// is made by its own function, its controls in reading order, which is their tab order too.
// Pixels at 96 dots per inch, in a 520 x 410 client.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/handles_win.h"
#include "options/padlock_win.h"

class BackgroundPicture;
class VBHotKey;

namespace options_pages {

struct Fonts {
  Fonts();
  win::unique_font text, heading, link, link_hover;  // link: underlined; link_hover: not
};

// Makes controls on `window` in its fonts, each added to the page's list.
class Maker {
 public:
  Maker(HWND window, const Fonts& fonts, std::vector<HWND>& page)
      : window_(window), fonts_(fonts), page_(page) {}

  HWND Text(const wchar_t* caption, int x, int y, int width, int height = 16, int id = -1,
            HFONT font = nullptr, DWORD style = 0);
  HWND Heading(const wchar_t* caption, int x, int y, int width);
  HWND Field(int id, DWORD style, int x, int y, int width, int height = 21);
  HWND Button(int id, const wchar_t* caption, int x, int y, int width, DWORD style = 0);
  HWND Check(int id, const wchar_t* caption, int x, int y, int width, int height = 18);
  HWND List(int id, int x, int y, int width);
  HWND Control(const wchar_t* window_class, DWORD style, int x, int y, int width, int height, int id);

 private:
  HWND Add(HWND control);

  HWND window_;
  const Fonts& fonts_;
  std::vector<HWND>& page_;
};

// A page's controls, shown only while its tab is selected. A page is made when first needed.
struct Page {
  std::vector<HWND> controls;
  bool Made() const { return !controls.empty(); }
};

// Tab 0, "Options": the account, the letters of the two hotkeys, the country code, the footer.
struct AccountPage : Page {
  HWND txtUsr = nullptr, txtPwd = nullptr, cmdRegister = nullptr;
  HWND Combo1 = nullptr, HotkeyStatus1 = nullptr;  // letter of hotkey 1: "A".."Z", key codes 65..90
  HWND Combo2 = nullptr, HotkeyStatus2 = nullptr;  // letter of hotkey 2
  HWND txtCountryCode = nullptr, txtFooter = nullptr;

  void Make(Maker& make);
  void txtUsr_Change() const;  // cmdRegister is active only while txtUsr is empty
  // Beside each letter list: its hotkey in words when the system refused it, else nothing.
  void ShowHotkeyStatus(const VBHotKey& hotkey1, const VBHotKey& hotkey2) const;
  // Selects the entry of `vkey` in a letter list; a key outside A..Z selects nothing.
  static void SelectKey(HWND list, std::int32_t vkey);
  static std::optional<std::int32_t> ChosenKey(HWND list);
};

// Tab 1, "Buy Messages".
struct BuyPage : Page {
  HWND Combo3 = nullptr;  // the quantity of messages to buy
  HWND cmdBuy = nullptr, cmdCheckCredits = nullptr;

  void Make(Maker& make);
  std::wstring Quantity() const;  // empty when none is chosen
};

// Tab 2, "Help".
struct HelpPage : Page {
  HWND Command3 = nullptr;  // "Register here to start using Brevio"
  HWND cmdActivate = nullptr;
  HWND Label12 = nullptr;     // the help link
  HWND lblVersion = nullptr;  // "Version: " and the program's version

  void Make(Maker& make, const Fonts& fonts);
  // The link is underlined except while the mouse is over it.
  void Underline(bool underline);

 private:
  const Fonts* fonts_ = nullptr;
  bool underlined_ = true;
};

// Tab 3, "Connection".
struct ConnectionPage : Page {
  HWND Command5 = nullptr;   // "Change": the system's internet settings
  HWND chkSecure = nullptr;  // drawn as a padlock
  HWND Label6 = nullptr;     // the padlock's caption
  HWND chkProxy = nullptr, txtProxyUsr = nullptr, txtProxyPwd = nullptr;
  Padlock padlock;

  void Make(Maker& make, BackgroundPicture& background, const std::wstring& images_dir);
};

// The tab control, and the controls outside it: the row below it and the hidden host box.
struct Frame : Page {
  HWND SSTab1 = nullptr;  // "Options", "Buy Messages", "Help", "Connection"
  HWND Command2 = nullptr;  // "?"
  HWND txtHideStartUp = nullptr;  // check box "Hide Options at startup"
  HWND Command1 = nullptr;  // "&Send SMS"
  HWND Command4 = nullptr;  // "&Outbox"
  HWND cmdSave = nullptr, cmdCancel = nullptr;
  HWND Text5 = nullptr;  // host name of the service (hidden; F12 shows it)

  void Make(Maker& make);
};

// tabs_win.cpp: the tab control draws the window's picture through its pages, beneath every
// other control, and tells its window of the mouse over its tabs (options_ids::kTabMouseMove).
void DrawThrough(HWND tab_control, BackgroundPicture& background);

}  // namespace options_pages
