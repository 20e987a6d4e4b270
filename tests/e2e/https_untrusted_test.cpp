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
  ExpectPlainFailure(o, L"Message not sent: the server's certificate is not trusted, so no secure connection was made.");
  EXPECT_EQ(MessageCount(), before_);
  EXPECT_FALSE(frmSending::Get().TimerEnabled()) << "the bar stops with the send";
}
