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
  // SendMessage ends in the alert `mode` with `text`, without a message box or a transfer.
  static void ExpectRefusedWithAlert(bool to_number, AlertMode mode, const wchar_t* text) {
    test_boxes::BoxAnswerer boxes;
    EXPECT_FALSE(frmOptions::Get().SendMessage(to_number));
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_EQ(frmWarning::Get().Mode, mode);
    EXPECT_EQ(frmWarning::Get().Message(), text);
    EXPECT_FALSE(frmSending::IsLoaded() && frmSending::Get().Visible());
    EXPECT_FALSE(frmOptions::Get().Inet1.StillExecuting());
  }
  win::unique_window other_;
};

}  // namespace

TEST_F(SendingWindows, ASecondAlertReplacesTextAndModeAndLongTextsFit) {
  frmWarning::Alert(AlertMode::Settings, L"first");
  frmWarning::Alert(AlertMode::Phone, L"Please enter a mobile number to send to.");
  frmWarning& alert = frmWarning::Get();
  EXPECT_EQ(alert.Mode, AlertMode::Phone);
  EXPECT_EQ(alert.Message(), L"Please enter a mobile number to send to.");
  EXPECT_EQ(::GetFocus(), alert.Command1) << "OK has the focus";
  // Long texts, such as a whole error page, fit (beyond an edit box's default 32767 characters).
  std::wstring page;
  while (page.size() < 60000) page += L"<p>An error page line of some length, as servers write them.</p>\r\n";
  alert.SetMessage(page);
  EXPECT_EQ(alert.Message().size(), page.size());
}

// OK on the alert stops and empties the sending window (loading it if need be), shows the
// options for a settings alert and gives the front back to the other application unless the
// phone asked; the close box only unloads the alert.
TEST_F(SendingWindows, OkOnTheAlertDoesTheStepsOfItsModeAndTheCloseBoxOnlyUnloadsIt) {
  const struct {
    AlertMode mode;
    bool ok, sending, options_shown;
  } cases[] = {{AlertMode::SendResult, true, true, false}, {AlertMode::Settings, true, false, true},
               {AlertMode::Phone, true, false, false}, {AlertMode::Settings, false, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(c.mode) << (c.ok ? ", OK" : ", close box"));
    if (c.sending) StartSending();
    if (c.mode == AlertMode::Phone) frmPhone::Get().Show();
    PumpFor(100);
    frmWarning::Alert(c.mode, L"x");
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

TEST_F(SendingWindows, MissingNumberOrLoginIsRefusedWithTheirAlerts) {
  ui::SetText(frmPhone::Get().txtNum, L"");
  ui::SetText(frmPhone::Get().txtMsg, L"hello");
  ExpectRefusedWithAlert(true, AlertMode::Phone, L"Please enter a mobile number to send to.");
  EXPECT_FALSE(frmOptions::Get().Visible());
  // Even for the own phone (hotkey 1, where no number is needed) the login is checked.
  for (auto [usr, pwd] : {std::pair{L"", L"pass"}, std::pair{L"user", L""}}) {
    state.Usr = usr;
    state.Pwd = pwd;
    ExpectRefusedWithAlert(false, AlertMode::Settings, L"Please enter your Lumora username and password");
    EXPECT_TRUE(frmOptions::Get().Visible());
    frmWarning::Get().Unload();
    frmOptions::Get().Hide();
  }
}
