// The alert window, the sending window and the checks SendMessage makes before it contacts
// the service, run in this process with the real forms.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <atomic>
#include <thread>

#include "app/controls_win.h"
#include "app/modHotkeys_win.h"
#include "box_answerer.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "phone/frmWarning_win.h"
#include "sending/frmSending_win.h"
#include "wine_util.h"

using modHotkeys::state;
using testing_win::PumpFor;
using test_boxes::BoxAnswerer;

namespace {

// A top-level window of the test that stands for the application the number hotkey came from.
class OtherApplication {
 public:
  OtherApplication() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BrevioTestOtherApp";
    ::RegisterClassW(&wc);
    hwnd_ = ::CreateWindowExW(0, wc.lpszClassName, L"Other application", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              50, 50, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~OtherApplication() { ::DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
};

class SendingWindows : public testing::Test {
 protected:
  void SetUp() override {
    modHotkeys::InstallAnsiCodePage();
    state.Usr = L"user";
    state.Pwd = L"pass";
    state.Protocol = 4;
    state.Port = L"80";
    state.hWndPrev = nullptr;
    frmOptions::Get().GetProperties();
    frmOptions::Get().Hide();
  }
  void TearDown() override {
    if (frmWarning::IsLoaded()) frmWarning::Get().Unload();
    if (frmSending::IsLoaded()) frmSending::Get().Unload();
    if (frmPhone::IsLoaded()) frmPhone::Get().Hide();
    frmOptions::Get().Hide();
    state.hWndPrev = nullptr;
    PumpFor(50);
  }
  static void PressOk() {
    ::SendMessageW(frmWarning::Get().Command1, BM_CLICK, 0, 0);
    PumpFor(100);
  }
  static void StartSending() {
    frmSending& s = frmSending::Get();
    s.Show();
    s.StartTimer();
  }
};

}  // namespace

TEST_F(SendingWindows, AlertShowsItsTextCentredAndASecondAlertReplacesTextAndMode) {
  frmWarning::Alert(L"1", L"first");
  frmWarning::Alert(L"2", L"Please enter a mobile number to send to.");
  frmWarning& alert = frmWarning::Get();
  EXPECT_TRUE(alert.Visible());
  EXPECT_EQ(alert.Mode, L"2");
  EXPECT_EQ(alert.Message(), L"Please enter a mobile number to send to.");
  wchar_t title[64] = {};
  ::GetWindowTextW(alert.hWnd(), title, 64);
  EXPECT_STREQ(title, L"Brevio Alert");
  RECT client, window;
  ::GetClientRect(alert.hWnd(), &client);
  EXPECT_EQ(client.right, 265);
  EXPECT_EQ(client.bottom, 203);
  ::GetWindowRect(alert.hWnd(), &window);
  const int screen_w = ::GetSystemMetrics(SM_CXSCREEN), screen_h = ::GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR((window.left + window.right) / 2, screen_w / 2, 2);
  EXPECT_NEAR((window.top + window.bottom) / 2, screen_h / 2, 2);
  EXPECT_EQ(::GetFocus(), alert.Command1) << "OK has the focus";
  // Long texts, such as a whole error page, fit in the box (beyond the 32767 characters that
  // an edit box takes by default).
  std::wstring page;
  while (page.size() < 60000) page += L"<p>An error page line of some length, as servers write them.</p>\r\n";
  alert.SetMessage(page);
  EXPECT_EQ(alert.Message().size(), page.size());
}

TEST_F(SendingWindows, OkOnASendResultResetsTheSendingWindowAndReturnsToTheOtherApplication) {
  OtherApplication other;
  state.hWndPrev = other.hwnd();
  StartSending();
  PumpFor(500);
  ASSERT_GT(frmSending::Get().BarWidth(), frmSending::kDesignBarWidth);
  frmWarning::Alert(L"0", L"Message sent");
  PressOk();
  EXPECT_FALSE(frmWarning::IsLoaded()) << "OK unloads the alert";
  EXPECT_FALSE(frmSending::Get().Visible());
  EXPECT_FALSE(frmSending::Get().TimerEnabled());
  EXPECT_EQ(frmSending::Get().BarWidth(), 0);
  EXPECT_EQ(::GetForegroundWindow(), other.hwnd());
  EXPECT_FALSE(frmOptions::Get().Visible());
  // The bar stays empty while hidden, and the next send starts it from 0.
  PumpFor(500);
  EXPECT_EQ(frmSending::Get().BarWidth(), 0);
}

TEST_F(SendingWindows, OkOnASettingsAlertShowsTheOptionsThenReturnsToTheOtherApplication) {
  OtherApplication other;
  state.hWndPrev = other.hwnd();
  frmWarning::Alert(L"1", L"Please enter your Lumora username and password");
  PressOk();
  EXPECT_TRUE(frmOptions::Get().Visible());
  EXPECT_EQ(::GetForegroundWindow(), other.hwnd());
  EXPECT_TRUE(frmSending::IsLoaded()) << "loaded to be reset even when no send ran";
  EXPECT_FALSE(frmSending::Get().Visible());
}

TEST_F(SendingWindows, OkOnAPhoneAlertLeavesTheFocusAlone) {
  OtherApplication other;
  state.hWndPrev = other.hwnd();
  frmPhone& phone = frmPhone::Get();
  phone.Show();
  PumpFor(100);
  frmWarning::Alert(L"2", L"Please enter a mobile number to send to.");
  PressOk();
  EXPECT_NE(::GetForegroundWindow(), other.hwnd());
  EXPECT_FALSE(frmOptions::Get().Visible());
}

TEST_F(SendingWindows, CloseBoxUnloadsTheAlertWithoutTheStepsOfOk) {
  StartSending();
  frmWarning::Alert(L"1", L"x");
  ::SendMessageW(frmWarning::Get().hWnd(), WM_CLOSE, 0, 0);
  PumpFor(50);
  EXPECT_FALSE(frmWarning::IsLoaded());
  EXPECT_TRUE(frmSending::Get().Visible());
  EXPECT_TRUE(frmSending::Get().TimerEnabled());
  EXPECT_FALSE(frmOptions::Get().Visible());
}

TEST_F(SendingWindows, SendingBarGrows300TwipsPerTickWithoutBoundAndAClickOutsideTheStripUnloads) {
  StartSending();
  frmSending& s = frmSending::Get();
  wchar_t title[64] = {};
  ::GetWindowTextW(s.hWnd(), title, 64);
  EXPECT_STREQ(title, L"Brevio - Sending...");
  EXPECT_EQ(s.BarWidth(), frmSending::kDesignBarWidth);
  PumpFor(1100);  // about five ticks of 200 ms
  const auto grown = s.BarWidth() - frmSending::kDesignBarWidth;
  EXPECT_EQ(grown % 300, 0);
  EXPECT_GE(grown, 3 * 300);
  EXPECT_LE(grown, 7 * 300);
  for (int i = 0; i < 20; ++i) s.Timer1_Timer();  // far past the strip's 2775 twips
  EXPECT_EQ(s.BarWidth(), frmSending::kDesignBarWidth + grown + 20 * 300);

  // A click inside the strip does nothing; outside it the window goes, timer and all.
  ::SendMessageW(s.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 20));
  ASSERT_TRUE(frmSending::IsLoaded());
  ::SendMessageW(s.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_FALSE(frmSending::IsLoaded());
  // The next send creates it afresh with the bar at its design width.
  EXPECT_EQ(frmSending::Get().BarWidth(), frmSending::kDesignBarWidth);
  EXPECT_FALSE(frmSending::Get().TimerEnabled());
}

TEST_F(SendingWindows, MissingNumberIsAPhoneAlertAndNothingElseHappens) {
  ui::SetText(frmPhone::Get().txtNum, L"");
  ui::SetText(frmPhone::Get().txtMsg, L"hello");
  BoxAnswerer boxes;
  EXPECT_FALSE(frmOptions::Get().SendMessage(true));
  EXPECT_TRUE(boxes.Seen().empty());
  EXPECT_EQ(frmWarning::Get().Mode, L"2");
  EXPECT_EQ(frmWarning::Get().Message(), L"Please enter a mobile number to send to.");
  EXPECT_FALSE(frmSending::IsLoaded() && frmSending::Get().Visible());
  EXPECT_FALSE(frmOptions::Get().Visible());
  EXPECT_FALSE(frmOptions::Get().Inet1.StillExecuting());
}

TEST_F(SendingWindows, MissingLoginShowsTheOptionsAndASettingsAlertEvenForTheOwnPhone) {
  for (auto [usr, pwd] : {std::pair{L"", L"pass"}, std::pair{L"user", L""}}) {
    state.Usr = usr;
    state.Pwd = pwd;
    ui::SetText(frmPhone::Get().txtNum, L"");  // the hotkey 1 road: no number is needed
    BoxAnswerer boxes;
    EXPECT_FALSE(frmOptions::Get().SendMessage(false));
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_TRUE(frmOptions::Get().Visible());
    EXPECT_EQ(frmWarning::Get().Mode, L"1");
    EXPECT_EQ(frmWarning::Get().Message(), L"Please enter your Lumora username and password");
    EXPECT_FALSE(frmSending::IsLoaded() && frmSending::Get().Visible());
    frmWarning::Get().Unload();
    frmOptions::Get().Hide();
  }
}

namespace {
// A loopback listener that counts the connections made to it.
class Listener {
 public:
  Listener() {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
    socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(socket_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    int len = sizeof addr;
    ::getsockname(socket_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    ::listen(socket_, 4);
    thread_ = std::thread([this] {
      // Polls, so that the destructor can stop it: closing a socket does not end a blocked
      // accept under Wine.
      while (!stop_) {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(socket_, &ready);
        timeval wait{0, 50000};
        if (::select(0, &ready, nullptr, nullptr, &wait) > 0) {
          SOCKET c = ::accept(socket_, nullptr, nullptr);
          if (c != INVALID_SOCKET) {
            ++accepted_;
            ::closesocket(c);
          }
        }
      }
    });
  }
  ~Listener() {
    stop_ = true;
    thread_.join();
    ::closesocket(socket_);
  }
  int port() const { return port_; }
  int accepted() const { return accepted_; }

 private:
  SOCKET socket_;
  int port_ = 0;
  std::atomic<int> accepted_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};
}  // namespace

TEST_F(SendingWindows, TwoPartsAskTheConfirmationAndNoContactsNobody) {
  Listener service;
  state.Port = std::to_wstring(service.port());
  ui::SetText(frmOptions::Get().Text5, L"127.0.0.1");
  frmPhone& phone = frmPhone::Get();
  ui::SetText(phone.txtNum, L"447700900123");
  ui::SetText(phone.txtMsg, std::wstring(200, L'a'));
  phone.SetCharsLeft();  // a multi-line box reports no change for text set by the program
  ASSERT_EQ(phone.nummsgs, 2);
  frmOptions::Get().Response = L"reply of an earlier send";
  BoxAnswerer boxes({{L"Multiple messages confirmation", IDNO}});
  EXPECT_FALSE(frmOptions::Get().SendMessage(true));
  const auto seen = boxes.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, L"Multiple messages confirmation");
  EXPECT_EQ(seen[0].text, L"This will send a total of 2 messages.\r\n\r\nIs this OK?");
  EXPECT_TRUE(seen[0].question_icon);
  EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDYES, IDNO}));
  PumpFor(300);
  EXPECT_EQ(service.accepted(), 0) << "No must not contact the service";
  EXPECT_FALSE(frmOptions::Get().Inet1.StillExecuting());
  EXPECT_FALSE(frmSending::IsLoaded() && frmSending::Get().Visible());
  EXPECT_FALSE(frmWarning::IsLoaded());
  ui::SetText(frmOptions::Get().Text5, L"localhost");
}
