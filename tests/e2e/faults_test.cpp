// The service misbehaving on purpose: every case ends in the right alert or message and
// result, the transfer is over when SendMessage returns, and never a false "Message sent".
#include <cstdio>

#include "app/controls_win.h"
#include "app/frmWarning_win.h"
#include "app/modHotkeys_win.h"
#include "e2e_util.h"
#include "options/frmOptions_win.h"

using namespace e2e;

using Faults = E2eTest;

TEST_F(Faults, UnreadableRepliesAndBrokenTransfersArePlainFailures) {
  const std::wstring transfer = L"the transfer to the Lumora service failed.";
  const struct {
    const char* fault;
    const wchar_t* port;
    std::wstring part;
  } cases[] = {
      // Nothing listens on port 1 in the test's own network.
      {"none", L"1", transfer + L"\r\nCould not connect to the server (error 12029)"},
      {"malformed", L"80", L"no <ResultCode> element"},
      {"bad-code", L"80", L"result code \"OK\" is not a number"},
      {"truncated", L"80", transfer},
      {"drop", L"80", transfer + L"\r\nThe server ended the connection without replying"},
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
  ExpectPlainFailure(o, L"No complete reply within 1 second; the request to http://localhost:80/hotkeys was given up");
  EXPECT_GE(o.ms, 900u);
  PumpFor(3000);  // the reply that comes later changes nothing
  EXPECT_FALSE(AlertShown()) << testing::PrintToString(AlertText());
  EXPECT_NE(frmOptions::Get().transfer.Response.find(L"No complete reply"), std::wstring::npos);
}

TEST_F(Faults, ErrorPageAndNonZeroResultCodeAreShownInTheAlert) {
  SetFault("html-error");
  Outcome o = Send();
  EXPECT_TRUE(!o.result && o.boxes.empty()) << "a failure told in the alert, not in a box";
  EXPECT_EQ(frmWarning::Get().Mode, AlertMode::SendResult);
  EXPECT_EQ(AlertText().rfind(L"Message not sent: \r\n500 Internal Server Error\r\nFull details follow: \r\n\r\n<HTML>", 0), 0u)
      << testing::PrintToString(AlertText());
  SetFault("none");
  ResetWindows();
  ui::SetText(frmOptions::Get().account.txtPwd, L"not the password");  // the request uses the box
  o = Send();
  EXPECT_TRUE(!o.result && o.boxes.empty()) << "a failure told in the alert, not in a box";
  EXPECT_EQ(AlertText(), L"Message not sent: Login failed: wrong username or password");
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
