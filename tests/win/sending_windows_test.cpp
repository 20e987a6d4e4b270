// The alert window, the sending window and the checks SendMessage makes before it contacts
// the service, run in this process with the real forms.
#include <gtest/gtest.h>

#include "app/controls_win.h"
#include "app/frmWarning_win.h"
#include "app/handles_win.h"
#include "app/modHotkeys_win.h"
#include "box_answerer.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "sending/frmSending_win.h"
#include "wine_util.h"

using modHotkeys::state;
using testing_win::PumpFor;

namespace {

class SendingWindows : public testing::Test {
 protected:
  void SetUp() override {
    modHotkeys::InstallAnsiCodePage();
    state.Usr = L"user";
    state.Pwd = L"pass";
    // A top-level window that stands for the application the number hotkey came from.
    other_.reset(::CreateWindowExW(0, L"STATIC", L"Other application", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                   300, 200, nullptr, nullptr, nullptr, nullptr));
    state.hWndPrev = other_.get();
    frmOptions::Get().GetProperties();
    frmOptions::Get().Hide();
  }
  void TearDown() override {
    Reset();
    state.hWndPrev = nullptr;
    other_.reset();
    PumpFor(50);
  }
  static void Reset() {
    if (frmWarning::IsLoaded()) frmWarning::Get().Unload();
    if (frmSending::IsLoaded()) frmSending::Get().Unload();
    if (frmPhone::IsLoaded()) frmPhone::Get().Hide();
    frmOptions::Get().Hide();
  }
  static void StartSending() {
    frmSending::Get().Show();
    frmSending::Get().StartTimer();
  }
  win::unique_window other_;
};

}  // namespace

// OK on the alert stops and empties the sending window (loading it if need be), shows the
// options for a settings alert and gives the front back to the other application unless the
// phone asked; the close box only unloads the alert.
TEST_F(SendingWindows, OkOnTheAlertDoesTheStepsOfItsModeAndTheCloseBoxOnlyUnloadsIt) {
  const struct {
    AlertMode mode;
    bool ok, sending, options_shown;
  } cases[] = {{AlertMode::SendResult, true, true, false}, {AlertMode::Settings, true, false, true},
               {AlertMode::Phone, true, false, false}, {AlertMode::Settings, false, true, false}};
  // As long as a whole error page, and shown whole.
  std::wstring page;
  while (page.size() < 60000) page += L"<p>An error page line of some length, as servers write them.</p>\r\n";
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(c.mode) << (c.ok ? ", OK" : ", close box"));
    if (c.sending) StartSending();
    if (c.mode == AlertMode::Phone) frmPhone::Get().Show();
    PumpFor(100);
    frmWarning::Alert(c.mode, page);
    EXPECT_EQ(frmWarning::Get().Message(), page);
    EXPECT_EQ(::GetFocus(), frmWarning::Get().Command1) << "OK has the focus";
    const HWND alert = frmWarning::Get().hWnd();
    ::SendMessageW(c.ok ? frmWarning::Get().Command1 : alert, c.ok ? BM_CLICK : WM_CLOSE, 0, 0);
    PumpFor(100);
    EXPECT_FALSE(frmWarning::IsLoaded() || ::IsWindow(alert));
    ASSERT_TRUE(frmSending::IsLoaded());
    EXPECT_EQ(frmSending::Get().Visible(), !c.ok);
    EXPECT_EQ(frmSending::Get().TimerEnabled(), !c.ok);
    EXPECT_EQ(frmOptions::Get().Visible(), c.options_shown);
    EXPECT_TRUE(!c.ok || (::GetForegroundWindow() == other_.get()) == (c.mode != AlertMode::Phone)) << "the front";
    PumpFor(500);  // a running bar grows; an emptied one stays empty while hidden
    const int bar = frmSending::Get().BarWidth();
    EXPECT_TRUE(c.ok ? bar == 0 : bar > frmSending::kDesignBarWidth) << bar;
    Reset();
  }
}

TEST_F(SendingWindows, AClickOutsideTheBarsStripUnloadsTheSendingWindow) {
  StartSending();
  frmSending& s = frmSending::Get();
  ::SendMessageW(s.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 20));
  ASSERT_TRUE(frmSending::IsLoaded()) << "a click inside the strip does nothing";
  ::SendMessageW(s.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_FALSE(frmSending::IsLoaded());
  // The next send creates it afresh with the bar at its design width.
  EXPECT_EQ(frmSending::Get().BarWidth(), frmSending::kDesignBarWidth);
  EXPECT_FALSE(frmSending::Get().TimerEnabled());
}

// Each refusal ends in its alert, replacing the one before (text and mode), without a message box
// or a transfer. Even for the own phone (hotkey 1, where no number is needed) the login is checked.
TEST_F(SendingWindows, MissingNumberOrLoginIsRefusedWithTheirAlerts) {
  ui::SetText(frmPhone::Get().txtNum, L"");
  ui::SetText(frmPhone::Get().txtMsg, L"hello");
  const wchar_t* login = L"Please enter your Lumora username and password";
  const struct {
    bool to_number;
    const wchar_t *usr, *pwd;
    AlertMode mode;
    const wchar_t* says;
  } cases[] = {{true, L"user", L"pass", AlertMode::Phone, L"Please enter a mobile number to send to."},
               {false, L"", L"pass", AlertMode::Settings, login}, {false, L"user", L"", AlertMode::Settings, login}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "user " << c.usr << ", password " << c.pwd);
    std::tie(state.Usr, state.Pwd) = std::pair(c.usr, c.pwd);
    frmOptions::Get().Hide();
    test_boxes::BoxAnswerer boxes;
    EXPECT_FALSE(frmOptions::Get().SendMessage(c.to_number));
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_EQ(frmWarning::Get().Mode, c.mode);
    EXPECT_EQ(frmWarning::Get().Message(), c.says);
    EXPECT_FALSE(frmSending::IsLoaded() && frmSending::Get().Visible());
    EXPECT_FALSE(frmOptions::Get().transfer.Inet1.StillExecuting());
    EXPECT_EQ(frmOptions::Get().Visible(), c.mode == AlertMode::Settings);
  }
}
