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

// The stand-in browser as the prefix's http and https handler while the guard lives; the
// prefix is shared by the tree's tests, so the handlers before are put back.
class StandInBrowser {
 public:
  StandInBrowser(const std::wstring& exe, const std::wstring& record) {
    const std::wstring command = L"\"" + exe + L"\" \"" + record + L"\" \"%1\"";
    for (const wchar_t* key : kKeys) {
      wchar_t old[1024] = {};
      DWORD size = sizeof old;
      saved_.push_back(::RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, old,
                                      &size) == ERROR_SUCCESS ? old : L"");
      Set(key, command);
    }
  }
  ~StandInBrowser() {
    for (std::size_t i = 0; i < std::size(kKeys); ++i) Set(kKeys[i], saved_[i]);
  }

 private:
  static constexpr const wchar_t* kKeys[] = {L"http\\shell\\open\\command", L"https\\shell\\open\\command"};
  static void Set(const wchar_t* key, const std::wstring& value) {
    ::RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  std::vector<std::wstring> saved_;
};

std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

}  // namespace

TEST(OutboxLink, TheTrayOutboxAddressOpensInABrowserOnTheOutboxShowingTheMessageJustSent) {
  if (Env("BREVIO_E2E_DB").empty()) GTEST_SKIP() << "not started by netns-run";
  const std::string record = Env("BREVIO_E2E_WORK") + "/browser-address.txt";
  StandInBrowser browser(WindowsPath(BREVIO_TEST_APPS_DIR "/browser_app.exe"), WindowsPath(record));
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
  ASSERT_TRUE(PumpUntil([&] { return !ReadUnixFile(record).empty(); }, 20000))
      << "the stand-in browser was given no address";
  const std::string address = ReadUnixFile(record);
  EXPECT_EQ(address, "http://localhost/login?startpage=message_archive.jsp&login=" +
                         Narrow(modHotkeys::LoginToken(L"e2e&user", L"p<a>ss&word")));

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
