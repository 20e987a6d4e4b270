// The service misbehaving on purpose: every case ends in the right alert or message and
// result, the transfer is over when SendMessage returns, and never a false "Message sent".
#include <gtest/gtest.h>

#include "app/controls_win.h"
#include "app/modHotkeys_win.h"
#include "e2e_util.h"
#include "options/frmOptions_win.h"
#include "phone/frmWarning_win.h"
#include "sending/frmSending_win.h"

using namespace e2e;
using modHotkeys::state;

namespace {

class Faults : public testing::Test {
 protected:
  void SetUp() override {
    if (Env("BREVIO_E2E_DB").empty()) GTEST_SKIP() << "not started by netns-run";
    PrepareProgram();
    FillMessage(L"447700900123", L"fault test");
    before_ = MessageCount();
  }
  void TearDown() override {
    if (Env("BREVIO_E2E_DB").empty()) return;
    SetFault("none");
    ResetWindows();
  }

  struct Outcome {
    bool result = true;
    std::vector<BoxSeen> boxes;
    DWORD ms = 0;
  };
  Outcome Send() {
    BoxAnswerer answerer;
    Outcome o;
    const DWORD start = ::GetTickCount();
    o.result = frmOptions::Get().SendMessage(true);
    o.ms = ::GetTickCount() - start;
    o.boxes = answerer.Seen();
    EXPECT_FALSE(frmOptions::Get().Inet1.StillExecuting()) << "the transfer must be over";
    return o;
  }
  // A failure told in one message box of the program's title, with no alert at all.
  void ExpectPlainFailure(const Outcome& o, const std::wstring& part) {
    EXPECT_FALSE(o.result);
    EXPECT_FALSE(AlertShown()) << testing::PrintToString(AlertText());
    ASSERT_EQ(o.boxes.size(), 1u);
    EXPECT_EQ(o.boxes[0].title, L"Brevio");
    EXPECT_EQ(o.boxes[0].text.rfind(L"Message not sent: ", 0), 0u) << testing::PrintToString(o.boxes[0].text);
    EXPECT_NE(o.boxes[0].text.find(part), std::wstring::npos) << testing::PrintToString(o.boxes[0].text);
    // The sending window stays up, its bar running, until the user clicks it.
    EXPECT_TRUE(frmSending::Get().Visible());
  }

  int before_ = 0;
};

}  // namespace

TEST_F(Faults, ServiceDownIsAConnectionFailure) {
  state.Port = std::to_wstring(FreePort());  // nothing listens there
  Outcome o = Send();
  ExpectPlainFailure(o, L"the transfer to the Lumora service failed.\r\nCould not connect to the server (error 12029)");
  EXPECT_EQ(MessageCount(), before_);
}

TEST_F(Faults, ReplyLaterThanTheTimeOutIsGivenUpAndItsLateArrivalIgnored) {
  SetFault("delay", 3000);
  frmOptions::Get().Inet1.RequestTimeoutMs(1000);
  Outcome o = Send();
  ExpectPlainFailure(o, L"No complete reply within 1 second; the request to http://localhost:80/hotkeys was given up");
  EXPECT_GE(o.ms, 900u);
  EXPECT_LT(o.ms, 2500u) << "the wait must end at the time-out, not at the reply";
  // The reply that comes later changes nothing: no alert, no second outcome.
  PumpFor(3000);
  EXPECT_FALSE(AlertShown()) << testing::PrintToString(AlertText());
  EXPECT_TRUE(frmOptions::Get().Response.find(L"No complete reply") != std::wstring::npos);
}

TEST_F(Faults, HtmlErrorPageWithCapitalTitleTagsIsShownInTheAlert) {
  SetFault("html-error");
  Outcome o = Send();
  EXPECT_FALSE(o.result);
  EXPECT_TRUE(o.boxes.empty());
  EXPECT_EQ(AlertMode(), L"0");
  EXPECT_EQ(AlertText().rfind(L"Message not sent: \r\n500 Internal Server Error\r\nFull details follow: \r\n\r\n<HTML>", 0), 0u)
      << testing::PrintToString(AlertText());
  EXPECT_EQ(MessageCount(), before_);
}

TEST_F(Faults, NonZeroResultCodeShowsTheServiceText) {
  ui::SetText(frmOptions::Get().txtPwd, L"not the password");  // the request uses the box
  Outcome o = Send();
  EXPECT_FALSE(o.result);
  EXPECT_TRUE(o.boxes.empty());
  EXPECT_EQ(AlertText(), L"Message not sent: Login failed: wrong username or password");
  EXPECT_EQ(MessageCount(), before_);
}

TEST_F(Faults, MalformedReplyWithoutResultCodeIsAPlainFailure) {
  SetFault("malformed");
  ExpectPlainFailure(Send(), L"no <ResultCode> element");
}

TEST_F(Faults, ResultCodeThatIsNoNumberIsAPlainFailure) {
  SetFault("bad-code");
  ExpectPlainFailure(Send(), L"result code \"OK\" is not a number");
}

TEST_F(Faults, TruncatedReplyIsAPlainFailure) {
  SetFault("truncated");
  ExpectPlainFailure(Send(), L"the transfer to the Lumora service failed.");
}

TEST_F(Faults, DroppedConnectionIsAPlainFailure) {
  SetFault("drop");
  ExpectPlainFailure(Send(), L"the transfer to the Lumora service failed.\r\nThe server ended the connection without replying");
  EXPECT_EQ(MessageCount(), before_);
}

TEST_F(Faults, FiveMegabyteReplyIsReadWholeAndInterpreted) {
  SetFault("huge");
  Outcome o = Send();
  // The padded reply carries code 0: the service's own word is taken.
  EXPECT_TRUE(o.result);
  EXPECT_TRUE(o.boxes.empty());
  EXPECT_EQ(AlertText(), L"Message sent");
  EXPECT_EQ(frmOptions::Get().Response.size(), 5u * 1024 * 1024);
  std::printf("[ figures  ] 5 MB reply read in %lu ms\n", o.ms);
}

namespace {
struct SecondSend {
  bool ran = false;
  bool result = true;
} g_second;
void CALLBACK StartSecondSend(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  g_second.ran = true;
  g_second.result = frmOptions::Get().SendMessage(true);
}
}  // namespace

TEST_F(Faults, SecondSendDuringASendFailsAndLeavesTheFirstIntact) {
  SetFault("delay", 1500);
  g_second = {};
  // A handler that runs during the first send's wait (a timer here, a hotkey in real use).
  ::SetTimer(nullptr, 0, 300, &StartSecondSend);
  Outcome o = Send();
  EXPECT_TRUE(g_second.ran);
  EXPECT_FALSE(g_second.result);
  ASSERT_EQ(o.boxes.size(), 1u) << "the second send's error";
  EXPECT_EQ(o.boxes[0].title, L"Brevio");
  EXPECT_EQ(o.boxes[0].text, L"Still executing last request");
  EXPECT_TRUE(o.result) << "the first send goes on to its own outcome";
  EXPECT_EQ(AlertText(), L"Message sent");
  EXPECT_EQ(MessageCount(), before_ + 1);
}
