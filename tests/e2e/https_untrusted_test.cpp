// HTTPS with a certificate whose authority the user does not trust: refused, never accepted.
// A process of its own: Wine keeps what it learnt of a server's certificate for the process's
// life, so trusting the authority in another test of the same process would spoil either.
#include <gtest/gtest.h>

#include "app/modHotkeys_win.h"
#include "e2e_util.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "phone/frmWarning_win.h"
#include "sending/frmSending_win.h"

using namespace e2e;
using modHotkeys::state;

namespace {

class HttpsUntrusted : public testing::Test {
 protected:
  void SetUp() override {
    if (Env("BREVIO_E2E_DB").empty()) GTEST_SKIP() << "not started by netns-run";
    PrepareProgram();
    before_ = MessageCount();
  }
  void TearDown() override { ResetWindows(); }

  int before_ = 0;
};

}  // namespace

TEST_F(HttpsUntrusted, OverHttpsAnUntrustedCertificateIsRefusedWithAClearMessage) {
  state.Protocol = 5;
  state.Port = L"443";
  FillMessage(L"447700900123", L"must not arrive");
  BoxAnswerer boxes;
  EXPECT_FALSE(frmOptions::Get().SendMessage(true));
  const auto seen = boxes.Seen();
  ASSERT_EQ(seen.size(), 1u) << "the failure must be told in one message box";
  EXPECT_EQ(seen[0].title, L"Brevio");
  EXPECT_NE(seen[0].text.find(L"Message not sent: the transfer to the Lumora service failed."),
            std::wstring::npos) << testing::PrintToString(seen[0].text);
  EXPECT_NE(seen[0].text.find(L"certificate"), std::wstring::npos) << testing::PrintToString(seen[0].text);
  EXPECT_FALSE(AlertShown()) << "never an alert, least of all \"Message sent\"";
  EXPECT_EQ(MessageCount(), before_);
  // The failure leaves the sending window up with its bar running, until the user clicks it.
  EXPECT_TRUE(frmSending::Get().Visible());
  EXPECT_TRUE(frmSending::Get().TimerEnabled());
}
