// A message typed into the program reaches the reference service as typed over HTTP; the
// acknowledgement of the outcome; the confirmation of messages of several parts.
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

class Send : public testing::Test {
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

TEST_F(Send, OverHttpTheServiceStoresTheMessageAsTypedWithTheFooterAfterCrLf) {
  FillMessage(L"447700900123", kTricky, L"-- Brevio");
  BoxAnswerer boxes;
  EXPECT_TRUE(frmOptions::Get().SendMessage(true));
  EXPECT_TRUE(boxes.Seen().empty()) << "unexpected message box: " << testing::PrintToString(boxes.Seen()[0].text);
  EXPECT_EQ(AlertText(), L"Message sent");
  EXPECT_EQ(AlertMode(), L"0");
  ASSERT_EQ(MessageCount(), before_ + 1);
  const std::string last = LastStoredMessage();
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



TEST_F(Send, TwoPartsAskFirstAndNoSendsNothing) {
  FillMessage(L"447700900125", std::wstring(170, L'x'));
  ASSERT_EQ(frmPhone::Get().nummsgs, 2);
  {
    BoxAnswerer boxes({{L"Multiple messages confirmation", IDNO}});
    EXPECT_FALSE(frmOptions::Get().SendMessage(true));
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"This will send a total of 2 messages.\r\n\r\nIs this OK?");
    EXPECT_TRUE(seen[0].question_icon);
    EXPECT_TRUE(seen[0].topmost) << "system modal";
    EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDYES, IDNO}));
  }
  EXPECT_EQ(MessageCount(), before_);
  EXPECT_FALSE(frmSending::IsLoaded() && frmSending::Get().Visible()) << "nothing was sent";
  EXPECT_FALSE(AlertShown());
}

TEST_F(Send, ThreePartsAskFirstAndYesSendsTheWholeTextInOneRequest) {
  const std::wstring text(330, L'y');
  FillMessage(L"447700900126", text);
  ASSERT_EQ(frmPhone::Get().nummsgs, 3);
  BoxAnswerer boxes({{L"Multiple messages confirmation", IDYES}});
  EXPECT_TRUE(frmOptions::Get().SendMessage(true));
  ASSERT_EQ(boxes.Seen().size(), 1u);
  EXPECT_EQ(boxes.Seen()[0].text, L"This will send a total of 3 messages.\r\n\r\nIs this OK?");
  EXPECT_EQ(AlertText(), L"Message sent");
  ASSERT_EQ(MessageCount(), before_ + 1);
  const std::string last = LastStoredMessage();
  EXPECT_NE(last.find("\"body\": " + JsonString(text + L"\r\n")), std::string::npos);
  EXPECT_NE(last.find("\"parts\": 3"), std::string::npos) << last;
}
