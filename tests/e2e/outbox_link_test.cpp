// The journey across both programs: hotkey 1 sends a message, the tray's "Outbo&x" hands its
// address to the default browser (a stand-in registered in this Wine prefix, which records
// it), and that exact address opened in headless Chromium signs in and shows the message.
#include <gtest/gtest.h>

#include "app/login_token.h"
#include "app/modHotkeys_win.h"
#include "e2e_util.h"
#include "options/frmOptions_win.h"
#include "options/options_ids_win.h"
#include "win/input_util.h"

using namespace e2e;
using namespace test_input;

namespace {

std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

}  // namespace

TEST(OutboxLink, TheTrayOutboxAddressOpensInABrowserOnTheOutboxShowingTheMessageJustSent) {
  if (Env("BREVIO_E2E_DB").empty()) GTEST_SKIP() << "not started by netns-run";
  const std::string record = Env("BREVIO_E2E_WORK") + "/browser-address.txt";
  StandInBrowser browser(WindowsPath(BREVIO_TEST_APPS_DIR "/url_recorder.exe"), WindowsPath(record));
  PrepareProgram();
  Editor editor(WindowsPath(BREVIO_TEST_APPS_DIR "/edit_app.exe"));
  ASSERT_TRUE(editor.Ready()) << "the test editor did not start";
  const std::wstring text = L"Journey <b>to</b> the outbox & back";
  ASSERT_TRUE(editor.Select(text)) << "the test editor is not in front";
  PressCtrlAlt('P');
  PumpUntil([] { return !AlertText().empty(); }, 20000);
  ASSERT_EQ(AlertText(), L"Message sent");
  ResetWindows();

  ::SendMessageW(frmOptions::Get().hWnd(), WM_COMMAND, options_ids::kPopSent, 0);
  std::string address;  // whole once its line feed is there
  ASSERT_TRUE(PumpUntil([&] { return !(address = ReadUnixFile(record)).empty() && address.back() == '\n'; }, 20000))
      << "the stand-in browser was given no address";
  address.pop_back();
  EXPECT_EQ(address, "http://localhost/login?startpage=message_archive.jsp&login=" +
                         Narrow(account_pages::LoginToken(L"e2e&user", L"p<a>ss&word")));

  const std::string here = __FILE__;
  Background chromium("node " + Quote(here.substr(0, here.rfind('/')) + "/../web/open_page.js") +
                      " " + Quote(address));
  DWORD code = 1;
  ASSERT_TRUE(chromium.Wait(180000, &code)) << "headless Chromium did not finish";
  const std::string seen = chromium.Output();
  ASSERT_EQ(code, 0u) << seen;
  // Signed in and on the outbox without the token; the newest row is the message, as text.
  EXPECT_NE(seen.find(R"("url":"http://localhost/message_archive.jsp")"), std::string::npos) << seen;
  EXPECT_NE(seen.find(R"("own phone","1","Journey <b>to</b> the outbox & back)"), std::string::npos) << seen;
}
