// The options window whole: its tabs, keys, help link, padlock and hotkey notes, the tray menu,
// and the addresses that its buttons hand to the shell, as a stand-in browser receives them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <functional>

#include "app/controls_win.h"
#include "app/login_token.h"
#include "app/modHotkeys_win.h"
#include "input_util.h"
#include "options/frmOptions_win.h"
#include "options/options_ids_win.h"
#include "phone/frmPhone_win.h"
#include "phone/frmWarning_win.h"
#include "wine_util.h"

using modHotkeys::state;
using test_input::PumpUntil;
using namespace testing_win;
namespace ids = options_ids;

namespace {

using Texts = std::vector<std::wstring>;

// The captions of the visible labels and buttons, in the window's order.
Texts VisibleCaptions(HWND window) {
  Texts out;
  for (HWND c = ::GetWindow(window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    ::GetClassNameW(c, cls, 32);
    const std::wstring text = ui::GetText(c);
    if (::IsWindowVisible(c) && !text.empty() && (!lstrcmpiW(cls, L"Static") || !lstrcmpiW(cls, L"Button")))
      out.push_back(text);
  }
  return out;
}

// Runs the program's own message handling (key preview included) until `done` or `ms` pass.
template <class Done>
bool RunUntil(Done done, DWORD ms = 3000) {
  for (const DWORD start = ::GetTickCount(); !done() && ::GetTickCount() - start < ms; ::Sleep(10))
    forms::DoEvents();
  return done();
}

// The mouse moved (and with `click`, the left button pressed and released) over `control`.
void MouseAt(HWND control, POINT at, bool click = false) {
  ::ClientToScreen(control, &at);
  INPUT in[3] = {};
  for (INPUT& i : in) i.type = INPUT_MOUSE;
  in[0].mi = {at.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1),
              at.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1), 0,
              MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0};
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(click ? 3 : 1, in, sizeof(INPUT));
}

void Key(WORD vk) {
  test_input::Keys({vk});
  test_input::Keys({vk}, KEYEVENTF_KEYUP);
}

void Click(HWND button) { ::SendMessageW(button, BM_CLICK, 0, 0); }

// What the tray icon tells its window (version 4: the event and the icon in lParam).
void TrayNotify(const frmOptions& options, UINT event) {
  ::SendMessageW(options.hWnd(), ids::kTrayMessage, MAKEWPARAM(600, 1000), MAKELPARAM(event, ids::kTrayIconId));
}

bool LinkUnderlined(HWND label) {
  LOGFONTW lf{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf.lfUnderline != 0;
}

std::wstring SettingsFile() { return modHotkeys::AppPath() + L"\\" + settings_file::kFileName; }

class OptionsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    static_cast<Settings&>(state) = Settings{};
    state.Usr = L"alice";
    state.Pwd = L"s3cret";
    ::DeleteFileW(SettingsFile().c_str());
  }
  void TearDown() override {
    forms::UnloadAll();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {}  // the quit message among them
    ::DeleteFileW(SettingsFile().c_str());
  }
  frmOptions& Shown() {
    frmOptions& options = frmOptions::Get();
    options.Show();
    PumpUntil([&] { return ::GetForegroundWindow() == options.hWnd(); });
    return options;
  }
};

}  // namespace

TEST_F(OptionsWindow, FourTabsHoldTheirControlsAndTexts) {
  frmOptions& options = Shown();
  EXPECT_EQ(ui::GetText(options.hWnd()), L"Lumora - Brevio");
  const Texts outside = {L"?", L"Hide Options at startup", L"&Send SMS", L"&Outbox", L"S&ave", L"&Cancel"};
  const struct {
    const wchar_t* name;
    Texts captions;
  } tabs[] = {
      {L"Options",
       {L"Brevio lets you send selected information from your screen to a mobile phone via a keyboard shortcut.",
        L"Set your Lumora account details:", L"Username:", L"Register here...", L"Password:",
        L"To send selected text to your phone press:  CTRL + ALT +",
        L"To send to a selected phone number press: CTRL + ALT +", L"Your international country code:",
        L"To add an optional footer to all your messages add some text here:"}},
      {L"Buy Messages",
       {L"Choose the number of messages required:", L"Buy Credits", L"Check your current message credits online:",
        L"Check credits"}},
      {L"Help",
       {L"Getting Started:", L"Register here to start using Brevio",
        L"Once registered, enter your Username && Password on the Options tab.", L"Activate your account:",
        L"Activating your account enables you to send text from the screen straight to your phone e.g. flight "
        L"booking references.",
        L"Also, messages will appear to come from your mobile number, which means people will be able to reply "
        L"to your messages.",
        L"Activate here", L"Comprehensive and up-to-date help for Brevio can be found at:",
        L"http://localhost/help.jsp", L"Version: "}},  // a test program carries no version resource
      {L"Connection",
       {L"This application shares your Internet Connection Settings with Internet Explorer", L"Change",
        L"Locked: Secure connection. Unlocked: Standard connection", L"My proxy server requires authentication.",
        L"Username:", L"Password:"}},
  };
  ASSERT_EQ(::SendMessageW(options.SSTab1, TCM_GETITEMCOUNT, 0, 0), 4);
  for (int i = 0; i < 4; ++i) {
    wchar_t name[64] = {};
    TCITEMW item{TCIF_TEXT, 0, 0, name, 64, 0, 0};
    ::SendMessageW(options.SSTab1, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(name), tabs[i].name);
    RECT header;
    ::SendMessageW(options.SSTab1, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&header));
    MouseAt(options.SSTab1, {(header.left + header.right) / 2, (header.top + header.bottom) / 2}, true);
    EXPECT_TRUE(RunUntil([&] { return options.SelectedTab() == i; }));
    Texts expected = tabs[i].captions;
    expected.insert(expected.end(), outside.begin(), outside.end());
    Texts shown = VisibleCaptions(options.hWnd());
    std::sort(expected.begin(), expected.end());
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, expected) << "tab " << i;
  }
  EXPECT_FALSE(::IsWindowVisible(options.Text5));
  EXPECT_EQ(::SendMessageW(options.txtFooter, EM_GETLIMITTEXT, 0, 0), 100);
  Texts quantities;
  for (int i = 0; i < ::SendMessageW(options.Combo3, CB_GETCOUNT, 0, 0); ++i) {
    wchar_t q[16] = {};
    ::SendMessageW(options.Combo3, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(q));
    quantities.push_back(q);
  }
  EXPECT_EQ(quantities, (Texts{L"50", L"125", L"250", L"625", L"1250", L"2500", L"5000"}));
}

TEST_F(OptionsWindow, TabChooseRegisterRuleAndTrayDoubleClick) {
  state.Usr.clear();
  frmOptions& options = frmOptions::Get();
  EXPECT_EQ(options.SelectedTab(), frmOptions::kTabHelp) << "an empty user name shows Help";
  EXPECT_TRUE(::IsWindowEnabled(options.cmdRegister));
  ::SendMessageW(options.txtUsr, WM_CHAR, 'b', 0);
  EXPECT_FALSE(::IsWindowEnabled(options.cmdRegister)) << "one character makes it inactive";
  ::SendMessageW(options.txtUsr, WM_CHAR, VK_BACK, 0);
  EXPECT_TRUE(::IsWindowEnabled(options.cmdRegister));

  for (const bool empty_user : {true, false}) {
    state.Usr = empty_user ? L"" : L"alice";
    options.Hide();
    options.SelectTab(frmOptions::kTabBuy);
    TrayNotify(options, WM_LBUTTONDOWN);
    TrayNotify(options, WM_LBUTTONUP);
    TrayNotify(options, NIN_SELECT);  // a single click
    EXPECT_FALSE(options.Visible()) << "a single click does nothing";
    TrayNotify(options, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(options.Visible());
    EXPECT_EQ(options.SelectedTab(), empty_user ? frmOptions::kTabHelp : frmOptions::kTabBuy);
  }
}

TEST_F(OptionsWindow, F12TogglesTheHostBoxAndEscHidesKeepingUnsavedEdits) {
  frmOptions& options = Shown();
  ::SetFocus(options.txtUsr);
  Key(VK_F12);
  EXPECT_TRUE(RunUntil([&] { return ::IsWindowVisible(options.Text5); }));
  Key(VK_F12);
  EXPECT_TRUE(RunUntil([&] { return !::IsWindowVisible(options.Text5); }));
  ui::SetText(options.txtUsr, L"bob");
  Key(VK_ESCAPE);
  EXPECT_TRUE(RunUntil([&] { return !options.Visible(); }));
  EXPECT_EQ(state.Usr, L"alice") << "not saved";
  EXPECT_EQ(ui::GetText(options.txtUsr), L"bob") << "not discarded";
  EXPECT_EQ(::GetFileAttributesW(SettingsFile().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(OptionsWindow, HelpLinkLosesItsUnderlineUnderTheMouseAndRegainsItOverTheTabs) {
  frmOptions& options = Shown();
  options.SelectTab(frmOptions::kTabHelp);
  ASSERT_TRUE(LinkUnderlined(options.Label12));
  MouseAt(options.Label12, {10, 8});
  EXPECT_TRUE(RunUntil([&] { return !LinkUnderlined(options.Label12); }));
  MouseAt(options.SSTab1, {440, 300});  // the page's empty lower right
  EXPECT_TRUE(RunUntil([&] { return LinkUnderlined(options.Label12); }));
}

TEST_F(OptionsWindow, SpaceLocksThePadlockAndSavingStoresTheSecurePortThenTheStandardOne) {
  CopyImagesTo(modHotkeys::AppPath());  // the padlock's pictures, beside this program
  frmOptions& options = Shown();
  options.SelectTab(frmOptions::kTabConnection);
  ::SetFocus(options.chkSecure);
  // Drawn as the padlock: the closed one's body is gold, the open one's grey.
  auto body = [&] {
    RunUntil([] { return false; }, 150);  // drawn
    RECT rc;
    ::GetClientRect(options.chkSecure, &rc);
    win::window_dc dc(options.chkSecure);
    const COLORREF c = ::GetPixel(dc.get(), rc.right / 2 - 6, rc.bottom / 2 + 6);
    return GetRValue(c) - GetBValue(c);
  };
  EXPECT_LT(body(), 40) << "open";
  for (const auto& [protocol, port] : {std::pair{5, L"443"}, std::pair{4, L"80"}}) {
    Shown();
    ::SetFocus(options.chkSecure);
    Key(VK_SPACE);
    ASSERT_TRUE(RunUntil([&] { return ui::IsChecked(options.chkSecure) == (protocol == 5); }));
    if (protocol == 5) {
      EXPECT_GT(body(), 80) << "locked";
    }
    Click(options.cmdSave);
    EXPECT_FALSE(options.Visible());
    EXPECT_EQ(state.Protocol, protocol);
    EXPECT_EQ(state.Port, port);
    const Settings saved = settings_file::Parse(ReadFileBytes(SettingsFile()));
    EXPECT_EQ(saved.Protocol, protocol);
    EXPECT_EQ(saved.Port, port);
  }
}

TEST_F(OptionsWindow, TrayMenuHasItsFiveItemsAndEachDoesItsPart) {
  frmOptions& options = frmOptions::Get();
  options.Hide();
  // Read inside the menu's own loop, then closed.
  static std::vector<std::pair<std::wstring, UINT>> items;
  items.clear();
  ::SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    HWND popup = ::FindWindowW(L"#32768", nullptr);
    auto menu = reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
      wchar_t text[64] = {};
      ::GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
      items.emplace_back(text, ::GetMenuItemID(menu, i));
    }
    ::EndMenu();
  });
  TrayNotify(options, WM_RBUTTONDOWN);
  ASSERT_EQ(items.size(), 5u);
  const Texts captions = {L"&Send SMS", L"Outbo&x", L"&Options", L"&Buy Messages", L"&Exit"};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(items[i].first, captions[i]);  // no separators among them
  auto choose = [&](std::size_t i) { ::SendMessageW(options.hWnd(), WM_COMMAND, items[i].second, 0); };

  choose(0);
  EXPECT_TRUE(frmPhone::IsLoaded() && frmPhone::Get().Visible());
  choose(3);  // "&Buy Messages" with the window hidden
  EXPECT_TRUE(options.Visible());
  EXPECT_EQ(options.SelectedTab(), frmOptions::kTabBuy);
  choose(2);
  EXPECT_EQ(options.SelectedTab(), frmOptions::kTabOptions);
  choose(4);
  EXPECT_EQ(settings_file::Parse(ReadFileBytes(SettingsFile())).Usr, L"alice") << "saved first";
  EXPECT_FALSE(frmOptions::IsLoaded());
  EXPECT_FALSE(frmPhone::IsLoaded());
}

TEST_F(OptionsWindow, HotkeyTakenByAnotherProgramIsNamedBesideItsList) {
  win::unique_window other(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
  ASSERT_TRUE(::RegisterHotKey(other.get(), 0x55, MOD_CONTROL | MOD_ALT, 'Q'));
  state.VKey2 = 'Q';
  frmOptions& options = frmOptions::Get();
  EXPECT_EQ(ui::GetText(options.HotkeyStatus1), L"");
  EXPECT_EQ(ui::GetText(options.HotkeyStatus2), L"Ctrl+Alt+Q is in use by another program: choose another letter");
  ::SendMessageW(options.Combo2, CB_SETCURSEL, 'R' - 'A', 0);
  ::SendMessageW(options.hWnd(), WM_COMMAND, MAKEWPARAM(ids::kCombo2, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(options.Combo2));
  EXPECT_EQ(options.VBHotKey2->VKey(), 'R');
  EXPECT_EQ(ui::GetText(options.HotkeyStatus2), L"") << "a free letter clears the note";
  ::UnregisterHotKey(other.get(), 0x55);
}

namespace {

// The stand-in browser (apps/url_recorder.exe) as this Wine prefix's http and https handler
// while the object lives: every address the shell opens is appended to a log file.
class StandInBrowser {
 public:
  explicit StandInBrowser(const TempDir& dir) : log_(dir / L"opened.txt") {
    const std::wstring command = L"\"" + WindowsPath(BREVIO_TEST_APPS_DIR) + L"\\url_recorder.exe\" \"" + log_ + L"\" \"%1\"";
    for (const wchar_t* scheme : {L"http", L"https"}) {
      const std::wstring key = std::wstring(L"Software\\Classes\\") + scheme + L"\\shell\\open\\command";
      wchar_t before[512] = {};
      DWORD size = sizeof before;
      ::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, before, &size);
      saved_.emplace_back(key, before);
      Set(key, command);
    }
  }
  ~StandInBrowser() {
    for (const auto& [key, value] : saved_) Set(key, value);
  }
  // The addresses received, once `count` have arrived (or a while has passed).
  Texts Opened(std::size_t count) const {
    Texts lines;
    RunUntil([&] {
      lines.clear();
      std::string bytes = ReadFileBytes(log_);
      for (std::size_t at; (at = bytes.find('\n')) != std::string::npos; bytes.erase(0, at + 1))
        lines.emplace_back(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
      return lines.size() >= count;
    }, 15000);
    return lines;
  }

 private:
  static void Set(const std::wstring& key, const std::wstring& value) {
    ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  std::wstring log_;
  std::vector<std::pair<std::wstring, std::wstring>> saved_;
};

}  // namespace

TEST_F(OptionsWindow, AccountButtonsHandTheShellTheirAddressesSecureWhenTheConnectionIs) {
  TempDir dir;
  StandInBrowser browser(dir);
  frmOptions& options = Shown();
  ui::SetText(options.txtUsr, L"typed, not saved");  // the token comes from the saved account
  const std::wstring t = modHotkeys::LoginToken(L"alice", L"s3cret");
  Texts expected;
  for (const bool secure : {false, true}) {
    state.Protocol = secure ? 5 : 4;
    const std::wstring site = (secure ? L"https://" : L"http://") + std::wstring(L"localhost");
    const std::pair<std::function<void()>, std::wstring> presses[] = {
        {[&] { Click(options.cmdActivate); }, site + L"/login?startpage=subscribe&login=" + t},
        {[&] { Click(options.cmdCheckCredits); }, site + L"/login?startpage=subscribe&login=" + t},
        {[&] { ::SendMessageW(options.Combo3, CB_SETCURSEL, 3, 0); Click(options.cmdBuy); },
         site + L"/login?startpage=buymsgs.jsp%3Fn%3D625&login=" + t},
        {[&] { ::SendMessageW(options.Combo3, CB_SETCURSEL, static_cast<WPARAM>(-1), 0); Click(options.cmdBuy); },
         site + L"/login?startpage=buymsgs.jsp%3Fn%3D50&login=" + t},
        {[&] { Click(options.cmdRegister); }, site + L"/options.jsp"},
        {[&] { Click(options.Command3); }, site + L"/options.jsp"},
        {[&] { Click(options.Command4); }, site + L"/login?startpage=message_archive.jsp&login=" + t},
        {[&] { options.popSent_Click(); }, site + L"/login?startpage=message_archive.jsp&login=" + t},
        {[&] {
           options.SelectTab(frmOptions::kTabHelp);
           MouseAt(options.Label12, {10, 8}, true);
         }, L"http://localhost/help.jsp"},  // the address the link shows
    };
    for (const auto& [press, address] : presses) {
      press();
      expected.push_back(address);
      ASSERT_EQ(browser.Opened(expected.size()), expected);  // in order, byte for byte
    }
  }
  EXPECT_FALSE(frmWarning::IsLoaded());

  state.Pwd.clear();  // the login check fails: the account pages open nothing
  options.SelectTab(frmOptions::kTabBuy);
  for (HWND button : {options.cmdActivate, options.cmdCheckCredits, options.cmdBuy}) {
    Click(button);
    ASSERT_TRUE(frmWarning::IsLoaded());
    EXPECT_EQ(frmWarning::Get().Message(), L"Please enter your Lumora username and password");
    EXPECT_EQ(options.SelectedTab(), frmOptions::kTabOptions) << "on the account's tab";
    frmWarning::Get().Unload();
  }
  Click(options.cmdRegister);  // opened after them, so it would follow anything they opened
  expected.push_back(L"https://localhost/options.jsp");
  EXPECT_EQ(browser.Opened(expected.size() + 1), expected);
}

namespace {

// "major.minor" of a program's version resource, as the system's version library reads it.
std::wstring FileVersion(const std::wstring& exe) {
  HMODULE library = ::LoadLibraryW(L"version.dll");
  auto function = [&]<class F>(F*, const char* name) { return reinterpret_cast<F*>(reinterpret_cast<void*>(::GetProcAddress(library, name))); };
  auto size_of = function(static_cast<DWORD(WINAPI*)(LPCWSTR, LPDWORD)>(nullptr), "GetFileVersionInfoSizeW");
  auto read = function(static_cast<BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID)>(nullptr), "GetFileVersionInfoW");
  auto query = function(static_cast<BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT)>(nullptr), "VerQueryValueW");
  std::string data(size_of(exe.c_str(), nullptr), '\0');
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (data.empty() || !read(exe.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
      !query(data.data(), L"\\", reinterpret_cast<LPVOID*>(&fixed), &length))
    return L"<no version resource>";
  return std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionMS));
}

}  // namespace

// The real program: its version label against its own resource, and the notification area's
// double-click (version 4) reaching another process.
TEST(OptionsProgram, ShowsItsVersionResourceAndOpensOnTheTrayDoubleClick) {
  TempDir dir;
  const std::wstring exe = PrepareRunFolder(dir);
  Settings hidden;
  hidden.HideStartUp = 1;  // and no user name: the double-click shows "Help"
  WriteFileBytes(dir / L"config2.txt", settings_file::Format(hidden));
  Process brevio(exe, dir.path());
  HWND options = WaitForWindow(brevio.id(), L"Lumora - Brevio", false);
  ASSERT_NE(options, nullptr);
  const std::wstring version = FileVersion(exe);
  EXPECT_NE(version.find(L'.'), std::wstring::npos) << version;
  wchar_t label[64] = {};
  WaitFor([&]() -> HWND { return ::GetDlgItemTextW(options, ids::kVersion, label, 64) ? options : nullptr; });
  EXPECT_EQ(std::wstring(label), L"Version: " + version);

  ::PostMessageW(options, ids::kTrayMessage, MAKEWPARAM(1900, 1530), MAKELPARAM(WM_LBUTTONDBLCLK, ids::kTrayIconId));
  EXPECT_EQ(WaitForWindow(brevio.id(), L"Lumora - Brevio", true), options);
  EXPECT_EQ(::SendMessageW(::GetDlgItem(options, ids::kTab), TCM_GETCURSEL, 0, 0), frmOptions::kTabHelp);
}
