// HTTPS with the throwaway authority trusted by the user (in this Wine prefix only, and only
// while the test runs): the message is stored as typed.
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

// Signs that mean something to XML, to the form body and to the CDATA section, and letters
// beyond ASCII that the Windows-1252 code page carries.
const std::wstring kTricky = L"Tea & cakes <at> 5? a=b+c 100% ]]> done. Caf\u00e9 \u20ac3";

class Https : public testing::Test {
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

TEST_F(Https, OverHttpsWithTheAuthorityTrustedTheMessageIsStored) {
  TrustedCa trust(Env("BREVIO_E2E_CA"));
  ASSERT_TRUE(trust.ok()) << "could not add the test authority to the user's Root store";
  state.Protocol = 5;
  state.Port = L"443";
  FillMessage(L"", kTricky, L"");
  BoxAnswerer boxes;
  EXPECT_TRUE(frmOptions::Get().SendMessage(false));  // hotkey 1: the account holder's own phone
  EXPECT_TRUE(boxes.Seen().empty()) << testing::PrintToString(boxes.Seen()[0].text);
  EXPECT_EQ(AlertText(), L"Message sent");
  ASSERT_EQ(MessageCount(), before_ + 1);
  const std::string last = LastStoredMessage();
  // An empty destination is the account holder's own phone.
  EXPECT_NE(last.find("\"destination\": \"447700900001\""), std::string::npos) << last;
  EXPECT_NE(last.find("\"body\": " + JsonString(kTricky + L"\r\n") + ","), std::string::npos) << last;
}
