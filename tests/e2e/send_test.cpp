// A message typed into the program reaches the reference service as typed: over HTTP, over
// HTTPS with a certificate the user trusts, and through an authenticating proxy.
#include <gtest/gtest.h>

#include "app/modHotkeys_win.h"
#include "e2e_util.h"
#include "options/frmOptions_win.h"
#include "phone/frmWarning_win.h"
#include "sending/frmSending_win.h"

using namespace e2e;
using modHotkeys::state;

namespace {

// Signs that mean something to XML, to the form body and to the CDATA section, and letters
// beyond ASCII that the Windows-1252 code page carries.
const std::wstring kTricky = L"Tea & cakes <at> 5? a=b+c 100% ]]> done. Caf\u00e9 \u20ac3";

class Send : public testing::Test {
 protected:
  void SetUp() override {
    if (Env("BREVIO_E2E_DB").empty()) GTEST_SKIP() << "not started by netns-run";
    PrepareProgram();
    before_ = MessageCount();
  }
  void TearDown() override { ResetWindows(); }

  // The service's newest message, as its JSON line.
  std::string LastMessage() {
    const std::string json = MessagesJson();
    const std::size_t at = json.rfind("{\"id\":");
    return at == std::string::npos ? "" : json.substr(at);
  }

  int before_ = 0;
};

}  // namespace

TEST_F(Send, OverHttpTheServiceStoresTheMessageAsTypedWithTheFooterAfterCrLf) {
  FillMessage(L"447700900123", kTricky, L"-- Brevio");
  BoxAnswerer boxes;
  EXPECT_TRUE(frmOptions::Get().SendMessage(true));
  EXPECT_TRUE(boxes.Seen().empty()) << "unexpected message box: " << testing::PrintToString(boxes.Seen()[0].text);
  EXPECT_EQ(AlertText(), L"Message sent");
  EXPECT_EQ(AlertMode(), L"0");
  ASSERT_EQ(MessageCount(), before_ + 1);
  const std::string last = LastMessage();
  EXPECT_NE(last.find("\"username\": \"e2e&user\""), std::string::npos) << last;
  EXPECT_NE(last.find("\"destination\": \"447700900123\""), std::string::npos) << last;
  EXPECT_NE(last.find("\"body\": " + JsonString(kTricky + L"\r\n-- Brevio") + ","), std::string::npos)
      << last;

  // OK on the outcome puts the sending window away with its bar emptied.
  ASSERT_TRUE(frmSending::IsLoaded());
  ClickAlertOk();
  EXPECT_FALSE(frmWarning::IsLoaded());
  EXPECT_FALSE(frmSending::Get().Visible());
  EXPECT_FALSE(frmSending::Get().TimerEnabled());
  EXPECT_EQ(frmSending::Get().BarWidth(), 0);
}
