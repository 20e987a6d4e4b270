// HTTPS with a certificate whose authority the user does not trust: refused, never accepted.
// A process of its own: Wine keeps what it learnt of a server's certificate for the process's
// life, so trusting the authority in another test of the same process would spoil either.
#include "app/modHotkeys_win.h"
#include "e2e_util.h"
#include "sending/frmSending_win.h"

using namespace e2e;
using HttpsUntrusted = E2eTest;

TEST_F(HttpsUntrusted, OverHttpsAnUntrustedCertificateIsRefusedWithAClearMessage) {
  modHotkeys::state.Protocol = 5;
  modHotkeys::state.Port = L"443";
  const Outcome o = Send();
  ExpectPlainFailure(o, L"Message not sent: the transfer to the Lumora service failed.");
  EXPECT_NE(o.boxes.at(0).text.find(L"certificate"), std::wstring::npos) << testing::PrintToString(o.boxes[0].text);
  EXPECT_EQ(MessageCount(), before_);
  EXPECT_TRUE(frmSending::Get().TimerEnabled()) << "the bar runs on until the user clicks it";
}
