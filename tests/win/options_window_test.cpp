// The options window whole: its tabs, keys, help link, padlock and hotkey letters, the tray menu,
// and the addresses that its buttons hand to the shell, as a stand-in browser receives them; and
// every window by keyboard alone, with real key presses.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <cwctype>
#include <functional>
#include <set>

#include "app/controls_win.h"
#include "app/modHotkeys_win.h"
#include "hotkeys/HotkeySubclass_win.h"
#include "input_util.h"
#include "options/frmOptions_win.h"
#include "options/options_ids_win.h"
#include "phone/frmPhone_win.h"
#include "phone/phone_ids_win.h"
#include "app/frmWarning_win.h"
#include "sending/frmSending_win.h"

using modHotkeys::state;
using namespace testing_win;
namespace ids = options_ids;

namespace {

// The real mouse moved over `control` (and with `click`, its left button pressed and released).
void MouseAt(HWND control, POINT at, bool click = false) {
  ::ClientToScreen(control, &at);
  test_input::Mouse(at);
  if (!click) return;
  PumpFor(100);  // the pointer is over it before the button goes down
  test_input::Mouse(at, MOUSEEVENTF_LEFTDOWN);
  test_input::Mouse(at, MOUSEEVENTF_LEFTUP);
}
void Click(HWND button) { ::SendMessageW(button, BM_CLICK, 0, 0); }
// What the notification area tells the window (version 4: the event and the icon in lParam).
void TrayNotify(const frmOptions& options, UINT event) {
  ::SendMessageW(options.hWnd(), ids::kTrayMessage, MAKEWPARAM(600, 1000), MAKELPARAM(event, ids::kTrayIconId));
}
bool Underlined(HWND label) {
  LOGFONTW lf{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf.lfUnderline != 0;
}
// Whether the system still has Ctrl+Alt+key free (taken means registered by someone).
bool CtrlAltFree(UINT key) {
  win::unique_window probe(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
  return ::RegisterHotKey(probe.get(), 0x77, MOD_CONTROL | MOD_ALT, key) && ::UnregisterHotKey(probe.get(), 0x77);
}
// The user picks a letter in a list: the list changes and tells its window.
void ChooseLetter(frmOptions& options, HWND list, int id, wchar_t letter) {
  ::SendMessageW(list, CB_SETCURSEL, letter - L'A', 0);
  ::SendMessageW(options.hWnd(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}
std::wstring SettingsFile() { return modHotkeys::AppPath() + L"\\" + settings_file::kFileName; }
bool Shows(HWND c) { return ::IsWindowVisible(c) && ::IsWindowEnabled(c); }
std::set<HWND> TabStops(HWND window) {
  std::set<HWND> stops;
  for (HWND c = ::GetWindow(window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if (Shows(c) && (::GetWindowLongW(c, GWL_STYLE) & WS_TABSTOP)) stops.insert(c);
  return stops;
}
// Presses the keys and waits for the focus to move; the focus then.
HWND PressFrom(const std::vector<WORD>& keys) {
  const HWND before = ::GetFocus();
  test_input::Press(keys);
  PumpUntil([&] { return ::GetFocus() != before; }, 1500);
  return ::GetFocus();
}
void Front(Form& form) {
  form.Show();
  PumpUntil([&] { return ::GetForegroundWindow() == form.hWnd() && ::GetFocus(); });
}

class OptionsWindow : public ::testing::Test {
 protected:
  // The pictures (padlock, phone) beside this program, where the windows look for them.
  static void SetUpTestSuite() { CopyImagesTo(modHotkeys::AppPath()); }
  static bool FreshState() {  // before the window loads (members start in this order)
    static_cast<Settings&>(state) = Settings{};
    state.Usr = L"alice";
    state.Pwd = L"s3cret";
    return ::DeleteFileW(SettingsFile().c_str());
  }
  void TearDown() override {
    forms::UnloadAll();
    for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {}  // the quit message among them
    ::DeleteFileW(SettingsFile().c_str());
  }
  // Loaded with every page, as it is once its first paint is done.
  static frmOptions& Loaded() {
    frmOptions::Get().FinishLoad();
    return frmOptions::Get();
  }
  bool fresh_state_ = FreshState();
  frmOptions& options = Loaded();
  // The window loaded again, from the shared state as it is now.
  frmOptions& Reloaded() {
    options.Unload();
    for (MSG quit; ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);) {}  // no window left for a moment
    return Loaded();
  }
  frmOptions& Shown() {
    Front(options);
    return options;
  }
};

}  // namespace

// Also run at 144 dots per inch (ctest win_options_window_144dpi): the tray's events are read
// from the notification itself, so the screen's density must not change what they do.
TEST_F(OptionsWindow, WithoutAUserNameItOpensOnHelpFromTheTrayToo) {
  if (const char* dpi = std::getenv("BREVIO_TEST_DPI")) {
    const win::window_dc screen(nullptr);
    ASSERT_EQ(::GetDeviceCaps(screen.get(), LOGPIXELSY), std::atoi(dpi)) << "the prefix is not at the density asked for";
  }
  state.Usr.clear();
  frmOptions& fresh = Reloaded();
  EXPECT_EQ(fresh.SelectedTab(), frmOptions::kTabHelp) << "an empty user name shows Help";
  EXPECT_TRUE(::IsWindowEnabled(fresh.account.cmdRegister));
  ::SendMessageW(fresh.account.txtUsr, WM_CHAR, 'b', 0);
  EXPECT_FALSE(::IsWindowEnabled(fresh.account.cmdRegister)) << "one character makes it inactive";
  ::SendMessageW(fresh.account.txtUsr, WM_CHAR, VK_BACK, 0);
  EXPECT_TRUE(::IsWindowEnabled(fresh.account.cmdRegister));
  for (const bool empty_user : {true, false}) {
    state.Usr = empty_user ? L"" : L"alice";
    fresh.Hide();
    fresh.SelectTab(frmOptions::kTabBuy);
    for (UINT single_click : {WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT}) TrayNotify(fresh, single_click);
    EXPECT_FALSE(fresh.Visible()) << "a single click does nothing";
    TrayNotify(fresh, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(fresh.Visible());
    EXPECT_EQ(fresh.SelectedTab(), empty_user ? frmOptions::kTabHelp : frmOptions::kTabBuy);
  }
}

TEST_F(OptionsWindow, EscHidesTheWindowNeitherSavingNorDiscardingEdits) {
  Shown();
  ::SetFocus(options.account.txtUsr);
  test_input::Press({VK_F12});
  EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(options.frame.Text5); }));
  test_input::Press({VK_F12});
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(options.frame.Text5); }));

  options.SelectTab(frmOptions::kTabHelp);
  ASSERT_TRUE(Underlined(options.help.Label12));
  // The mouse keeps moving by a pixel, as a hand on it does: over the link, then over the
  // page's empty lower right.
  int wiggle = 0;
  EXPECT_TRUE(PumpUntil([&] { MouseAt(options.help.Label12, {10 + ++wiggle % 2, 8}); return !Underlined(options.help.Label12); }));
  EXPECT_TRUE(PumpUntil([&] { MouseAt(options.frame.SSTab1, {440 + ++wiggle % 2, 300}); return Underlined(options.help.Label12); }));

  ui::SetText(options.account.txtUsr, L"bob");
  test_input::Press({VK_ESCAPE});
  EXPECT_TRUE(PumpUntil([&] { return !options.Visible(); }));
  EXPECT_EQ(state.Usr, L"alice") << "not saved";
  EXPECT_EQ(ui::GetText(options.account.txtUsr), L"bob") << "not discarded";
  EXPECT_EQ(::GetFileAttributesW(SettingsFile().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(OptionsWindow, ThePadlockLockedAndEnterInTheUserNameBoxSavePort443AndTheName) {
  frmOptions& fresh = Shown();
  fresh.SelectTab(frmOptions::kTabConnection);
  auto gold = [&] {  // the closed padlock's body is gold, the open one's grey
    PumpFor(150);
    RECT rc;
    ::GetClientRect(fresh.connection.chkSecure, &rc);
    const COLORREF c = ::GetPixel(win::window_dc(fresh.connection.chkSecure).get(), rc.right / 2 - 6, rc.bottom / 2 + 6);
    return GetRValue(c) - GetBValue(c) > 80;
  };
  EXPECT_FALSE(gold());
  ::SetFocus(fresh.connection.chkSecure);
  test_input::Press({VK_SPACE});
  ASSERT_TRUE(PumpUntil([&] { return ui::IsChecked(fresh.connection.chkSecure); }));
  EXPECT_TRUE(gold());
  fresh.SelectTab(frmOptions::kTabOptions);
  ::SetFocus(fresh.account.txtFooter);
  test_input::Press({VK_RETURN});  // a new line there, not Save
  EXPECT_TRUE(PumpUntil([&] { return ui::GetText(fresh.account.txtFooter).find(L"\r\n") != std::wstring::npos; }));
  ::SetFocus(fresh.account.txtUsr);
  ui::SetText(fresh.account.txtUsr, L"bob");
  test_input::Press({VK_RETURN});  // Save
  ASSERT_TRUE(PumpUntil([&] { return !fresh.Visible(); }));
  const Settings saved = settings_file::Parse(ReadFileBytes(SettingsFile()));
  EXPECT_EQ(saved.Usr, L"bob");
  EXPECT_EQ(std::pair(state.Protocol, state.Port), std::pair(std::int16_t{5}, std::wstring(L"443")));
  EXPECT_EQ(std::pair(saved.Protocol, saved.Port), std::pair(std::int16_t{5}, std::wstring(L"443")));
}

TEST_F(OptionsWindow, EachTrayMenuItemReachesItsCommand) {
  static std::vector<std::pair<std::wstring, UINT>> items;  // read inside the menu's own loop
  ::SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    auto menu = reinterpret_cast<HMENU>(::SendMessageW(::FindWindowW(L"#32768", nullptr), MN_GETHMENU, 0, 0));
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
      wchar_t text[64] = {};
      ::GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
      items.emplace_back(text, ::GetMenuItemID(menu, i));
    }
    ::EndMenu();
  });
  TrayNotify(options, WM_RBUTTONDOWN);
  ASSERT_EQ(items.size(), 5u) << "and no separators";
  const std::wstring captions[] = {L"&Send SMS", L"Outbo&x", L"&Options", L"&Buy Messages", L"&Exit"};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(items[i].first, captions[i]);
  auto choose = [&](std::size_t i) { ::SendMessageW(options.hWnd(), WM_COMMAND, items[i].second, 0); };
  choose(0);
  EXPECT_TRUE(frmPhone::IsLoaded() && frmPhone::Get().Visible());
  choose(3);  // with the window hidden
  EXPECT_TRUE(options.Visible());
  EXPECT_EQ(options.SelectedTab(), frmOptions::kTabBuy);
  choose(2);
  EXPECT_EQ(options.SelectedTab(), frmOptions::kTabOptions);
  choose(4);  // "Outbo&x" (1): its address is followed in tests/e2e/outbox_link_test.cpp
  EXPECT_EQ(settings_file::Parse(ReadFileBytes(SettingsFile())).Usr, L"alice") << "saved first";
  EXPECT_FALSE(frmOptions::IsLoaded() || frmPhone::IsLoaded());
  MSG quit;
  EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "with no window left the program ends";
}

// The letter lists: registered on load, one taken by another program named beside its list
// (not alerted), a change registered at once but stored only by Save, the other hotkey's
// letter refused, and everything released when the window unloads.
TEST_F(OptionsWindow, AHotkeyLetterIsNeverSharedNorLeftRegistered) {
  win::unique_window other(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
  ASSERT_TRUE(::RegisterHotKey(other.get(), 0x55, MOD_CONTROL | MOD_ALT, 'Q'));
  state.VKey2 = 'Q';
  frmOptions& fresh = Reloaded();
  EXPECT_FALSE(CtrlAltFree('P'));
  EXPECT_TRUE(CtrlAltFree('A')) << "the start-up Ctrl+Alt+A is released again";
  EXPECT_EQ(::SendMessageW(fresh.account.Combo1, CB_GETCURSEL, 0, 0), 'P' - 'A');
  EXPECT_EQ(ui::GetText(fresh.account.HotkeyStatus1), L"");
  EXPECT_EQ(ui::GetText(fresh.account.HotkeyStatus2), L"Ctrl+Alt+Q is in use by another program: choose another letter");
  EXPECT_FALSE(frmWarning::IsLoaded());
  ChooseLetter(fresh, fresh.account.Combo2, ids::kCombo2, 'R');
  EXPECT_EQ(fresh.VBHotKey2->VKey(), 'R');
  EXPECT_FALSE(CtrlAltFree('R')) << "registered at once";
  EXPECT_EQ(ui::GetText(fresh.account.HotkeyStatus2), L"") << "a free letter clears the note";
  EXPECT_EQ(state.VKey2, 'Q') << "the setting changes only when saved";

  ChooseLetter(fresh, fresh.account.Combo2, ids::kCombo2, 'P');  // hotkey 1's
  EXPECT_EQ(::SendMessageW(fresh.account.Combo2, CB_GETCURSEL, 0, 0), 'R' - 'A') << "back to R";
  EXPECT_EQ(fresh.VBHotKey2->VKey(), 'R');
  ASSERT_TRUE(frmWarning::IsLoaded() && frmWarning::Get().Visible());
  EXPECT_EQ(frmWarning::Get().Message(), L"Hotkey combinations cannot be the same");

  const ATOM atom = static_cast<ATOM>(fresh.VBHotKey2->hAtom());
  forms::UnloadAll();  // the registries go when empty, the atoms are deleted
  EXPECT_EQ(HotkeySubclass::HotkeyControls(), nullptr);
  EXPECT_EQ(HotkeySubclass::SubclassedWindows(), nullptr);
  wchar_t name[32];
  EXPECT_EQ(::GlobalGetAtomNameW(atom, name, 32), 0u);
  EXPECT_TRUE(CtrlAltFree('P') && CtrlAltFree('R'));
}

TEST_F(OptionsWindow, AccountButtonsHandTheShellTheirAddressesSecureWhenThePadlockShowsLocked) {
  TempDir dir;
  const std::wstring log = dir / L"opened.txt";
  test_input::StandInBrowser browser(log);
  std::string expected;  // the addresses, each with its line feed, in order
  auto expect = [&](const std::wstring& address) { expected += std::string(address.begin(), address.end()) + "\n"; };
  auto opened = [&] { PumpUntil([&] { return ReadFileBytes(log).size() >= expected.size(); }, 15000); return ReadFileBytes(log); };
  Shown();
  ui::SetText(options.account.txtUsr, L"typed, not saved");  // the token is made of the saved account
  const std::wstring t = account_links::LoginToken(L"alice", L"s3cret");
  for (const bool secure : {false, true}) {
    state.Protocol = secure ? 4 : 5;  // the padlock as shown, not as saved, picks the scheme
    ui::SetChecked(options.connection.chkSecure, secure);
    const std::wstring site = secure ? L"https://localhost" : L"http://localhost";
    // The link is clicked once a round, elsewhere on it each time: the same spot again within
    // the double-click time would be a double-click.
    const std::pair<std::function<void()>, std::wstring> presses[] = {
        {[&] { Click(options.help.cmdActivate); }, site + L"/login?startpage=subscribe&login=" + t},
        {[&] { Click(options.buy.cmdCheckCredits); }, site + L"/login?startpage=subscribe&login=" + t},
        {[&] { ::SendMessageW(options.buy.Combo3, CB_SETCURSEL, 3, 0); Click(options.buy.cmdBuy); }, site + L"/login?startpage=buymsgs.jsp%3Fn%3D625&login=" + t},
        {[&] { ::SendMessageW(options.buy.Combo3, CB_SETCURSEL, WPARAM(-1), 0); Click(options.buy.cmdBuy); }, site + L"/login?startpage=buymsgs.jsp%3Fn%3D50&login=" + t},
        {[&] { Click(options.account.cmdRegister); }, site + L"/options.jsp"},
        {[&] { Click(options.help.Command3); }, site + L"/options.jsp"},
        {[&] { Click(options.frame.Command4); }, site + L"/login?startpage=message_archive.jsp&login=" + t},
        {[&] { options.SelectTab(frmOptions::kTabHelp); MouseAt(options.help.Label12, {secure ? 40 : 10, 8}, true); }, L"http://localhost/help.jsp"},
    };
    for (const auto& [press, address] : presses) {
      press();
      expect(address);
      ASSERT_EQ(opened(), expected);  // byte for byte
    }
  }
  EXPECT_FALSE(frmWarning::IsLoaded());

  state.Pwd.clear();  // the login check fails: the account pages open nothing
  options.SelectTab(frmOptions::kTabBuy);
  for (HWND button : {options.help.cmdActivate, options.buy.cmdCheckCredits, options.buy.cmdBuy}) {
    Click(button);
    ASSERT_TRUE(frmWarning::IsLoaded());
    EXPECT_EQ(frmWarning::Get().Message(), L"Please enter your Lumora username and password");
    EXPECT_EQ(options.SelectedTab(), frmOptions::kTabOptions) << "on the account's tab";
    frmWarning::Get().Unload();
  }
  Click(options.account.cmdRegister);  // opened after them, so it would follow anything they opened
  expect(L"https://localhost/options.jsp");
  EXPECT_EQ(opened(), expected);
  PumpFor(1000);
  EXPECT_EQ(opened(), expected) << "and nothing after it";
}

// Also run at 144 dots per inch: the windows and their controls scale with the screen, each tab
// shows its own page, no caption is cut, and the phone's shape and keys lie where its scaled
// picture has them.
TEST_F(OptionsWindow, NoCaptionIsCutAtTheScreensDensity) {
  const int dpi = ::GetDeviceCaps(win::window_dc(nullptr).get(), LOGPIXELSX);
  auto px = [&](int design) { return LONG{::MulDiv(design, dpi, 96)}; };
  auto client = [](HWND w) { RECT rc{}; return ::GetClientRect(w, &rc), rc; };
  EXPECT_EQ(std::pair(client(Shown().hWnd()).right, client(options.hWnd()).bottom), std::pair(px(520), px(410)));
  auto captions_fit = [&](HWND window, int where) {  // wrapped as a static control wraps them
    for (HWND c = ::GetWindow(window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
      wchar_t kind[16] = {};
      ::GetClassNameW(c, kind, 16);
      if (!::IsWindowVisible(c) || !::GetWindowTextLengthW(c) || (lstrcmpiW(kind, L"Static") && lstrcmpiW(kind, L"Button"))) continue;
      RECT room = client(c), need = room;
      if ((::GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX && !lstrcmpiW(kind, L"Button"))
        need.right = room.right -= ::GetSystemMetrics(SM_CXMENUCHECK) + 2;
      const win::window_dc dc(c);
      win::select_object font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(c, WM_GETFONT, 0, 0)));
      ::DrawTextW(dc.get(), ui::GetText(c).c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK);
      EXPECT_TRUE(need.right <= room.right && need.bottom <= room.bottom) << need.right << "x" << need.bottom << " in " << room.right << "x" << room.bottom << " " << where << ": " << ::testing::PrintToString(ui::GetText(c));
    }
  };
  const std::vector<HWND> pages[] = {
      {options.account.txtUsr, options.account.txtPwd, options.account.cmdRegister, options.account.Combo1, options.account.txtFooter},
      {options.buy.Combo3, options.buy.cmdBuy, options.buy.cmdCheckCredits},
      {options.help.Command3, options.help.cmdActivate, options.help.Label12, options.help.lblVersion},
      {options.connection.Command5, options.connection.chkSecure, options.connection.Label6, options.connection.chkProxy},
  };
  ASSERT_EQ(::SendMessageW(options.frame.SSTab1, TCM_GETITEMCOUNT, 0, 0), 4);
  for (int i = 0; i < 4; ++i) {  // each tab, clicked, shows its own page's controls and hides the others'
    RECT tab;
    ::SendMessageW(options.frame.SSTab1, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&tab));
    MouseAt(options.frame.SSTab1, {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2}, true);
    EXPECT_TRUE(PumpUntil([&] { return options.SelectedTab() == i; }));
    for (int page = 0; page < 4; ++page)
      for (HWND control : pages[page])
        EXPECT_EQ(::IsWindowVisible(control) != FALSE, page == i) << "tab " << i << ", control of page " << page;
    captions_fit(options.hWnd(), i);
  }
  frmWarning::Alert(AlertMode::SendResult, L"Message sent");
  captions_fit(frmWarning::Get().hWnd(), 4);
  EXPECT_EQ(client(frmWarning::Get().hWnd()).right, px(265));
  frmWarning::Get().Unload();

  frmPhone& phone = frmPhone::Get();
  phone.Show();
  PumpUntil([&] { return ::GetForegroundWindow() == phone.hWnd(); });
  win::unique_region shape(::CreateRectRgn(0, 0, 0, 0));  // its corners outside, its body inside
  ASSERT_NE(::GetWindowRgn(phone.hWnd(), shape.get()), ERROR);
  for (POINT p : {POINT{0, 0}, POINT{149, 0}, POINT{0, 351}, POINT{149, 351}, POINT{2, 8}, POINT{75, 340}, POINT{37, 220}})
    EXPECT_EQ(::PtInRegion(shape.get(), px(p.x), px(p.y)) != 0, p.x == 75 || p.x == 37) << p.x << "," << p.y;
  MouseAt(phone.hWnd(), {px(72), px(247)}, true);  // where the picture shows the key 5
  EXPECT_TRUE(PumpUntil([&] { return ui::GetText(phone.txtNum) == L"5"; }));
}

// Each window, or page, from the focus it opens with: Tab and Shift+Tab visit every enabled tab
// stop (the drawn keys and the link among them) once and come back to it; its key closes it.
TEST_F(OptionsWindow, TabGoesRoundEveryWindowWithoutATrapAndCtrlTabSwitchesTabs) {
  frmOptions& o = Shown();
  auto tabs = [&](std::vector<std::pair<std::vector<WORD>, int>> presses) {
    for (const auto& [keys, tab] : presses) {
      test_input::Press(keys);
      EXPECT_TRUE(PumpUntil([&] { return o.SelectedTab() == tab; })) << "tab " << tab;
    }
  };
  const struct { const char* name; std::function<void()> reach; std::function<HWND()> first; std::size_t stops; WORD close; } stops[] = {
      {"options, no password", [&] { o.Hide(); ui::SetText(o.account.txtPwd, L""); Front(o); }, [&] { return o.account.txtPwd; }, 13, 0},
      {"Buy Messages", [&] { tabs({{{VK_CONTROL, VK_TAB}, frmOptions::kTabBuy}}); }, [&] { return o.buy.Combo3; }, 10, 0},
      {"Connection, from the footer box", [&] {
         o.SelectTab(frmOptions::kTabOptions);
         ::SetFocus(o.account.txtFooter);
         tabs({{{VK_CONTROL, VK_SHIFT, VK_TAB}, frmOptions::kTabConnection}, {{VK_CONTROL, VK_PRIOR}, frmOptions::kTabHelp},
               {{VK_CONTROL, VK_NEXT}, frmOptions::kTabConnection}});
       }, [&] { return o.connection.Command5; }, 12, 0},
      {"Help", [&] { tabs({{{VK_CONTROL, VK_PRIOR}, frmOptions::kTabHelp}}); }, [&] { return o.help.Command3; }, 10, VK_ESCAPE},
      {"phone", [] { Front(frmPhone::Get()); }, [] { return frmPhone::Get().txtMsg; }, 18, VK_ESCAPE},
      {"alert", [] { frmWarning::Alert(AlertMode::Phone, L"Please enter a mobile number to send to."); Front(frmWarning::Get()); },
       [] { return frmWarning::Get().Command1; }, 2, VK_RETURN},
      {"sending", [] { Front(frmSending::Get()); }, [] { return frmSending::Get().hWnd(); }, 0, VK_ESCAPE},
  };
  for (const auto& stop : stops) {
    SCOPED_TRACE(stop.name);
    stop.reach();
    const HWND start = ::GetFocus(), window = ::GetAncestor(start, GA_ROOT);
    EXPECT_EQ(start, stop.first());
    const std::set<HWND> expected = TabStops(window);
    EXPECT_EQ(expected.size(), stop.stops);
    for (const auto& keys : {std::vector<WORD>{VK_TAB}, std::vector<WORD>{VK_SHIFT, VK_TAB}}) {
      std::set<HWND> visited;
      for (std::size_t i = 0; i < expected.size(); ++i) visited.insert(PressFrom(keys));
      EXPECT_EQ(visited, expected) << keys.size() << " keys: each once";
      EXPECT_EQ(::GetFocus(), start) << keys.size() << " keys: back at the start";
    }
    if (stop.close) test_input::Press({stop.close});
    EXPECT_TRUE(!stop.close || PumpUntil([&] { return !::IsWindowVisible(window); })) << "closed by its key";
  }
}

// On each page a letter is used once (with the row below the pages); a letter on a label takes
// the focus to the box after it, and every box has one.
TEST_F(OptionsWindow, AltLetterReachesEachLabelledBoxWithNoLetterTwiceOnAPage) {
  Shown();
  for (int tab = frmOptions::kTabOptions; tab <= frmOptions::kTabConnection; ++tab) {
    options.SelectTab(tab);
    std::set<wchar_t> letters;
    std::set<HWND> boxes = TabStops(options.hWnd());
    for (HWND c = ::GetWindow(options.hWnd(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
      const std::wstring caption = ui::GetText(c);
      const std::size_t amp = caption.find(L'&');
      if (!Shows(c) || amp == std::wstring::npos || caption[amp + 1] == L'&') continue;
      const auto letter = static_cast<wchar_t>(std::towupper(caption[amp + 1]));
      EXPECT_TRUE(letters.insert(letter).second) << "tab " << tab << ": the letter " << char(letter) << " twice";
      if (::GetWindowLongW(c, GWL_STYLE) & WS_TABSTOP) continue;  // a button: pressed by its letter
      HWND box = ::GetWindow(c, GW_HWNDNEXT);
      while (box && !boxes.count(box)) box = ::GetWindow(box, GW_HWNDNEXT);
      ::SetFocus(options.frame.cmdCancel);
      EXPECT_EQ(PressFrom({VK_MENU, static_cast<WORD>(letter)}), box) << "tab " << tab << ": Alt+" << char(letter);
      boxes.erase(box);
    }
    for (HWND c : boxes) {
      wchar_t kind[16] = {};
      ::GetClassNameW(c, kind, 16);
      EXPECT_TRUE(lstrcmpiW(kind, L"Edit") && lstrcmpiW(kind, L"ComboBox")) << "tab " << tab << ": a box without a letter";
    }
  }
}

// A focused key, arrow, "?", padlock or link shows the focus ring (its inner colour just inside).
TEST_F(OptionsWindow, TheFocusShowsAsARingOnDrawnControls) {
  frmPhone& phone = frmPhone::Get();
  Front(phone);
  const std::pair<std::function<HWND()>, const char*> controls[] = {
      {[&] { return ::GetDlgItem(phone.hWnd(), phone_ids::kKey + 5); }, "phone key 5"},
      {[&] { return ::GetDlgItem(phone.hWnd(), phone_ids::kUp); }, "phone up arrow"},
      {[&] { return ::GetDlgItem(phone.hWnd(), phone_ids::kHelp); }, "phone ?"},
      {[&] { Shown().SelectTab(frmOptions::kTabConnection); return options.connection.chkSecure; }, "padlock"},
      {[&] { options.SelectTab(frmOptions::kTabHelp); return options.help.Label12; }, "help link"},
  };
  for (const auto& [control, name] : controls) {
    const HWND c = control();
    ::SetFocus(c);
    PumpFor(150);
    EXPECT_EQ(::GetPixel(win::window_dc(c).get(), 2, 2), RGB(255, 204, 0)) << name;
  }
}
