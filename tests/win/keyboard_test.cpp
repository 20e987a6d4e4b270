// Every window by keyboard alone, with real key presses through the system's input queue: Tab
// and Shift+Tab visit each enabled control once and come back (no box keeps them), Ctrl+Tab
// and Ctrl+PageDown switch the options window's tabs, Enter presses the default button, Esc
// closes, Alt+letter reaches each labelled box, and the focus shows where it is.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <functional>
#include <map>
#include <set>

#include "app/controls_win.h"
#include "app/frmWarning_win.h"
#include "app/modHotkeys_win.h"
#include "input_util.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "phone/phone_ids_win.h"
#include "sending/frmSending_win.h"

using modHotkeys::state;
using namespace testing_win;
using test_input::Press;

namespace {

bool Shows(HWND c) { return ::IsWindowVisible(c) && ::IsWindowEnabled(c); }
std::set<HWND> TabStops(HWND window) {
  std::set<HWND> stops;
  for (HWND c = ::GetWindow(window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if (Shows(c) && (::GetWindowLongW(c, GWL_STYLE) & WS_TABSTOP)) stops.insert(c);
  return stops;
}
// Presses the keys and waits for the focus to leave where it was; the focus then.
HWND PressFrom(const std::vector<WORD>& keys) {
  const HWND before = ::GetFocus();
  Press(keys);
  PumpUntil([&] { return ::GetFocus() != before; }, 1500);
  return ::GetFocus();
}
// What the screen shows of a control and a little around it.
std::vector<std::uint32_t> Look(HWND control) {
  PumpFor(150);
  RECT rc;
  ::GetWindowRect(control, &rc);
  ::InflateRect(&rc, 2, 2);
  const win::window_dc screen(nullptr);
  win::unique_dc memory(::CreateCompatibleDC(screen.get()));
  win::unique_bitmap shot(::CreateCompatibleBitmap(screen.get(), rc.right - rc.left, rc.bottom - rc.top));
  {
    win::select_object held(memory.get(), shot.get());
    ::BitBlt(memory.get(), 0, 0, rc.right - rc.left, rc.bottom - rc.top, screen.get(), rc.left, rc.top, SRCCOPY);
  }
  return BitmapPixels(shot.get());
}
// With BREVIO_TEST_HOLD_MS set, the screen stays as it is for that long, for a screenshot.
void HoldForScreenshot(const char* what) {
  if (const char* ms = std::getenv("BREVIO_TEST_HOLD_MS")) {
    std::printf("holding: %s\n", what);
    std::fflush(stdout);
    PumpFor(static_cast<DWORD>(std::atoi(ms)));
  }
}

class Keyboard : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CopyImagesTo(modHotkeys::AppPath()); }
  void SetUp() override {
    static_cast<Settings&>(state) = Settings{};
    state.Usr = L"alice";
    ::DeleteFileW(SettingsFile().c_str());
    frmOptions::Get().FinishLoad();
  }
  void TearDown() override {
    forms::UnloadAll();
    for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {}
    ::DeleteFileW(SettingsFile().c_str());
  }
  static std::wstring SettingsFile() { return modHotkeys::AppPath() + L"\\" + settings_file::kFileName; }
  static void Front(Form& form) {
    form.Show();
    PumpUntil([&] { return ::GetForegroundWindow() == form.hWnd() && ::GetFocus(); });
  }
  frmOptions& options = frmOptions::Get();
};

// One window, or one page of the options window, as the keyboard finds it.
struct Stop {
  const char* name;
  std::function<void()> reach;                // opens it, or switches to it, by its keys
  std::function<HWND()> window, first;        // the control focused on arrival
  std::function<std::vector<HWND>()> among;   // drawn controls that must be tab stops too
  std::vector<WORD> close;                    // keys that close it, if checked here
  std::function<bool()> closed;
};

}  // namespace

TEST_F(Keyboard, TabVisitsEveryControlOnceAndComesBackInEachWindowAndCtrlTabSwitchesTabs) {
  frmOptions& o = options;
  auto tab_is = [&](int tab) { EXPECT_TRUE(PumpUntil([&] { return o.SelectedTab() == tab; })) << "tab " << tab; };
  auto phone_item = [](int id) { return ::GetDlgItem(frmPhone::Get().hWnd(), id); };
  const Stop stops[] = {
      {"options, Options tab, password empty", [&] { o.SelectTab(frmOptions::kTabOptions); ui::SetText(o.account.txtPwd, L""); Front(o); },
       [&] { return o.hWnd(); }, [&] { return o.account.txtPwd; }, [&] { return std::vector<HWND>{o.account.txtFooter}; }, {}, {}},
      {"options, Buy Messages by Ctrl+Tab", [&] { Press({VK_CONTROL, VK_TAB}); tab_is(frmOptions::kTabBuy); },
       [&] { return o.hWnd(); }, [&] { return o.buy.Combo3; }, [] { return std::vector<HWND>{}; }, {}, {}},
      {"options, Connection by Ctrl+Shift+Tab from the footer, then Ctrl+PageUp",
       [&] {
         o.SelectTab(frmOptions::kTabOptions);
         ::SetFocus(o.account.txtFooter);
         Press({VK_CONTROL, VK_SHIFT, VK_TAB});
         tab_is(frmOptions::kTabConnection);
         Press({VK_CONTROL, VK_PRIOR});
         tab_is(frmOptions::kTabHelp);
         Press({VK_CONTROL, VK_NEXT});
         tab_is(frmOptions::kTabConnection);
       },
       [&] { return o.hWnd(); }, [&] { return o.connection.Command5; }, [&] { return std::vector<HWND>{o.connection.chkSecure}; }, {}, {}},
      {"options, Help", [&] { Press({VK_CONTROL, VK_PRIOR}); tab_is(frmOptions::kTabHelp); },
       [&] { return o.hWnd(); }, [&] { return o.help.Command3; }, [&] { return std::vector<HWND>{o.help.Label12}; },
       {VK_ESCAPE}, [&] { return !o.Visible(); }},
      {"phone", [] { Front(frmPhone::Get()); }, [] { return frmPhone::Get().hWnd(); }, [] { return frmPhone::Get().txtMsg; },
       [&] {
         std::vector<HWND> keys{phone_item(phone_ids::kUp), phone_item(phone_ids::kDown)};
         for (int area = 1; area <= 11; ++area) keys.push_back(phone_item(phone_ids::kKey + area));
         return keys;
       },
       {VK_ESCAPE}, [] { return !frmPhone::Get().Visible(); }},
      {"alert", [] { frmWarning::Alert(AlertMode::Phone, L"Please enter a mobile number to send to."); Front(frmWarning::Get()); },
       [] { return frmWarning::Get().hWnd(); }, [] { return frmWarning::Get().Command1; }, [] { return std::vector<HWND>{}; },
       {VK_RETURN}, [] { return !frmWarning::IsLoaded(); }},
      {"sending", [] { Front(frmSending::Get()); }, [] { return frmSending::Get().hWnd(); }, [] { return frmSending::Get().hWnd(); },
       [] { return std::vector<HWND>{}; }, {VK_ESCAPE}, [] { return !frmSending::IsLoaded(); }},
  };
  for (const Stop& stop : stops) {
    SCOPED_TRACE(stop.name);
    stop.reach();
    const HWND start = ::GetFocus();
    EXPECT_EQ(start, stop.first());
    const std::set<HWND> expected = TabStops(stop.window());
    for (HWND drawn : stop.among()) EXPECT_TRUE(expected.count(drawn)) << "a tab stop: " << drawn;
    for (const bool back : {false, true}) {
      std::vector<HWND> visited;
      for (std::size_t i = 0; i < expected.size(); ++i)
        visited.push_back(PressFrom(back ? std::vector<WORD>{VK_SHIFT, VK_TAB} : std::vector<WORD>{VK_TAB}));
      EXPECT_EQ(std::set<HWND>(visited.begin(), visited.end()), expected) << (back ? "Shift+Tab" : "Tab") << " visits each once";
      EXPECT_EQ(::GetFocus(), start) << (back ? "Shift+Tab" : "Tab") << " comes back";
    }
    if (stop.close.empty()) continue;
    Press(stop.close);
    EXPECT_TRUE(PumpUntil(stop.closed)) << "closed by its key";
  }
}

TEST_F(Keyboard, EnterInTheUserNameBoxSaves) {
  options.SelectTab(frmOptions::kTabOptions);
  Front(options);
  ::SetFocus(options.account.txtUsr);
  ui::SetText(options.account.txtUsr, L"bob");
  Press({VK_RETURN});
  ASSERT_TRUE(PumpUntil([&] { return !options.Visible(); })) << "Save hides the window";
  EXPECT_EQ(settings_file::Parse(ReadFileBytes(SettingsFile())).Usr, L"bob");
}

// Each page's letters differ from each other and from the row below the tabs; a letter on a
// label takes the focus to the box after it, and every box has such a label.
TEST_F(Keyboard, AltLetterReachesEachLabelledBoxWithNoLetterTwiceOnAPage) {
  Front(options);
  for (int tab = frmOptions::kTabOptions; tab <= frmOptions::kTabConnection; ++tab) {
    SCOPED_TRACE(tab);
    options.SelectTab(tab);
    std::map<wchar_t, HWND> letters;
    std::set<HWND> labelled;
    for (HWND c = ::GetWindow(options.hWnd(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
      const std::wstring caption = ui::GetText(c);
      const std::size_t amp = caption.find(L'&');
      if (!Shows(c) || amp == std::wstring::npos || caption[amp + 1] == L'&') continue;
      const wchar_t letter = static_cast<wchar_t>(std::towupper(caption[amp + 1]));
      EXPECT_TRUE(letters.emplace(letter, c).second) << "the letter " << char(letter) << " twice";
      wchar_t kind[16] = {};
      ::GetClassNameW(c, kind, 16);
      if (lstrcmpiW(kind, L"Static")) continue;
      HWND box = ::GetWindow(c, GW_HWNDNEXT);
      while (box && !(Shows(box) && (::GetWindowLongW(box, GWL_STYLE) & WS_TABSTOP))) box = ::GetWindow(box, GW_HWNDNEXT);
      ::SetFocus(options.frame.cmdCancel);
      EXPECT_EQ(PressFrom({VK_MENU, static_cast<WORD>(letter)}), box) << "Alt+" << char(letter);
      labelled.insert(box);
    }
    for (HWND c : TabStops(options.hWnd())) {
      wchar_t kind[16] = {};
      ::GetClassNameW(c, kind, 16);
      if (!lstrcmpiW(kind, L"Edit") || !lstrcmpiW(kind, L"ComboBox")) {
        EXPECT_TRUE(labelled.count(c)) << "a box without a letter";
      }
    }
  }
}

// What a focused key, padlock, link or "?" shows differs from what it shows unfocused.
TEST_F(Keyboard, TheFocusShowsOnDrawnControls) {
  frmPhone& phone = frmPhone::Get();
  Front(phone);
  const std::pair<std::function<HWND()>, const char*> controls[] = {
      {[&] { return ::GetDlgItem(phone.hWnd(), phone_ids::kKey + 5); }, "phone key 5"},
      {[&] { return ::GetDlgItem(phone.hWnd(), phone_ids::kUp); }, "phone up arrow"},
      {[&] { return ::GetDlgItem(phone.hWnd(), phone_ids::kHelp); }, "phone ?"},
      {[&] { Front(options); options.SelectTab(frmOptions::kTabConnection); return options.connection.chkSecure; }, "padlock"},
      {[&] { options.SelectTab(frmOptions::kTabHelp); return options.help.Label12; }, "help link"},
  };
  for (const auto& [control, name] : controls) {
    SCOPED_TRACE(name);
    const HWND c = control();
    ::SetFocus(::GetParent(c));
    const auto unfocused = Look(c);
    ::SetFocus(c);
    ASSERT_EQ(::GetFocus(), c);
    EXPECT_NE(Look(c), unfocused);
    HoldForScreenshot(name);
  }
}
