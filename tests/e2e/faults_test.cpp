// The service misbehaving on purpose: every case ends in the right alert or message and
// result, the transfer is over when SendMessage returns, and never a false "Message sent".
#include <cstdio>

#include "app/controls_win.h"
#include "app/frmWarning_win.h"
#include "app/modHotkeys_win.h"
#include "e2e_util.h"
#include "options/frmOptions_win.h"
#include "sending/frmSending_win.h"

using namespace e2e;

using Faults = E2eTest;

TEST_F(Faults, UnreadableRepliesAndBrokenTransfersArePlainFailures) {
  const struct {
    const char* fault;
    const wchar_t* port;
    std::wstring part;
  } cases[] = {
      // Nothing listens on port 1 in the test's own network.
      {"none", L"1", L"the server could not be reached.\r\n\r\nCould not connect to the server (error 12029)"},
      {"malformed", L"80", L"the server's answer could not be read.\r\n\r\nIt has no <ResultCode> element"},
      {"bad-code", L"80", L"Its result code \"OK\" is not a number"},
      {"truncated", L"80", L"the connection to the server broke off before its answer came."},
      {"drop", L"80", L"the connection to the server broke off before its answer came.\r\n\r\nThe server ended the connection without replying"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    SetFault(c.fault);
    modHotkeys::state.Port = c.port;
    ExpectPlainFailure(Send(), c.part);
    ResetWindows();
  }
  EXPECT_EQ(MessageCount(), before_) << "the service stores nothing when it misbehaves";
}

TEST_F(Faults, ReplyLaterThanTheTimeOutIsGivenUpAndItsLateArrivalIgnored) {
  SetFault("delay", 3000);
  frmOptions::Get().transfer.Inet1.RequestTimeoutMs(1000);
  const Outcome o = Send();
  ExpectPlainFailure(o, L"the server did not answer in time.\r\n\r\nNo complete reply within 1 second; the request to "
                        L"http://localhost:80/hotkeys was given up");
  EXPECT_GE(o.ms, 900u);
  PumpFor(3000);  // the reply that comes later changes nothing
  EXPECT_FALSE(AlertShown()) << testing::PrintToString(AlertText());
  EXPECT_NE(frmOptions::Get().transfer.Response.find(L"No complete reply"), std::wstring::npos);
}

// An error page is told by its status and its words, never as markup; a refusal for the
// login or the credits leads, on OK, to the options page that mends it. A warning each time,
// and no sending window left, after OK or Esc (a refused connection: ExpectPlainFailure).
TEST_F(Faults, RefusalsAreToldInTheAlertAndLeadToWhereTheyAreMended) {
  const struct {
    const char* setup;
    std::wstring text;
    int tab;  // the options page OK opens; -1: none
  } cases[] = {
      {"fault html-error", L"Message not sent: the server answered with an error page.\r\n\r\nHTTP 500 Internal Server Error: "
                           L"The Lumora service could not handle the request.", -1},
      {"password", L"Message not sent: Login failed: wrong username or password", frmOptions::kTabOptions},
      {"set-credits --user 'e2e&user' --credits 0", L"Message not sent: Not enough credits", frmOptions::kTabBuy},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setup);
    frmOptions& options = frmOptions::Get();
    if (c.setup == std::string("password"))
      ui::SetText(options.account.txtPwd, L"not the password");  // the request uses the box
    else
      Service(c.setup);
    options.Hide();
    options.SelectTab(frmOptions::kTabHelp);
    const Outcome o = Send();
    EXPECT_TRUE(!o.result && o.boxes.empty()) << "a failure told in the alert, not in a box";
    EXPECT_EQ(AlertText(), c.text);
    EXPECT_TRUE(AlertWarns());
    if (c.tab < 0)
      Press({VK_ESCAPE});
    else
      ::SendMessageW(frmWarning::Get().Command1, BM_CLICK, 0, 0);
    PumpFor(300);
    EXPECT_FALSE(frmSending::IsLoaded() && frmSending::Get().Visible());
    EXPECT_EQ(options.Visible(), c.tab >= 0);
    EXPECT_TRUE(c.tab < 0 || options.SelectedTab() == c.tab) << options.SelectedTab();
    SetFault("none");
    Service("set-credits --user 'e2e&user' --credits 1000");
    ui::SetText(options.account.txtPwd, modHotkeys::state.Pwd);
    ResetWindows();
  }
  EXPECT_EQ(MessageCount(), before_);
}

TEST_F(Faults, FiveMegabyteReplyIsReadWholeAndInterpreted) {
  SetFault("huge");
  const Outcome o = Send();
  EXPECT_TRUE(o.result && o.boxes.empty());  // the padded reply carries code 0
  EXPECT_EQ(AlertText(), L"Message sent");
  EXPECT_EQ(frmOptions::Get().transfer.Response.size(), 5u * 1024 * 1024);
  std::printf("[ figures  ] 5 MB reply read in %lu ms\n", o.ms);
}

// A handler that runs during the first send's wait (a timer here, a hotkey in real use).
TEST_F(Faults, SecondSendDuringASendFailsAndLeavesTheFirstIntact) {
  SetFault("delay", 1500);
  static int second = -1;  // the second send's result once it ran
  ::SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    second = frmOptions::Get().SendMessage(true);
  });
  Outcome o = Send();
  EXPECT_EQ(second, 0) << "the second send ran and failed";
  ASSERT_EQ(o.boxes.size(), 1u) << "the second send's error";
  EXPECT_EQ(o.boxes[0].title, L"Brevio");
  EXPECT_EQ(o.boxes[0].text, L"Still executing last request");
  o.boxes.clear();
  ExpectStored(o, L"test message\r\n");  // the first send goes on to its own outcome
}
