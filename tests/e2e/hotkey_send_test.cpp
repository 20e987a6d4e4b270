// Hotkey 1 end to end: text selected in another program (our test editor) reaches the
// reference service, addressed to the account holder's own phone, and the clipboard keeps
// what it held.
#include <gtest/gtest.h>

#include "app/modHotkeys_win.h"
#include "e2e_util.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "win/input_util.h"

using namespace e2e;
using namespace test_input;

namespace {

class HotkeySend : public testing::Test {
 protected:
  void SetUp() override {
    if (Env("BREVIO_E2E_DB").empty()) GTEST_SKIP() << "not started by netns-run";
    PrepareProgram();
    before_ = MessageCount();
    ASSERT_TRUE(editor_.Ready()) << "the test editor did not start";
    ASSERT_TRUE(PutText(L"abc"));
  }
  void TearDown() override { ResetWindows(); }
  int before_ = 0;
  Editor editor_{WindowsPath(BREVIO_TEST_APPS_DIR "/edit_app.exe")};
};

}  // namespace

TEST_F(HotkeySend, HotkeyOneSendsTheSelectionToTheOwnPhoneAndTheClipboardKeepsItsText) {
  ASSERT_TRUE(editor_.Select(L"hello")) << "the test editor is not in front";
  PressCtrlAlt('P');
  PumpUntil([] { return !AlertText().empty(); }, 20000);
  EXPECT_EQ(AlertText(), L"Message sent");
  ASSERT_EQ(MessageCount(), before_ + 1);
  const std::string last = LastStoredMessage();
  // An empty destination in the request: the service uses the account's own phone.
  EXPECT_NE(last.find("\"destination\": \"447700900001\""), std::string::npos) << last;
  EXPECT_NE(last.find("\"body\": \"hello"), std::string::npos) << last;
  EXPECT_EQ(ClipboardText(), L"abc");
  EXPECT_FALSE(frmPhone::Get().Visible()) << "hotkey 1 does not show the phone window";
}
