// The login token on a system whose code page is not Western: this program runs with
// LC_ALL=ru_RU.UTF-8, so Wine gives it code page 1251. A Cyrillic user name sends, and its
// account link signs in on the service just as well.
#include "app/modHotkeys_win.h"
#include "e2e_util.h"
#include "options/frmOptions_win.h"
#include "options/options_ids_win.h"
#include "text/unicode.h"

using namespace e2e;
using TokenCodePage = E2eTest;

TEST_F(TokenCodePage, ACyrillicUserNamesLinkSignsInAsItsSendDoes) {
  ASSERT_EQ(::GetACP(), 1251u) << "to be run with LC_ALL=ru_RU.UTF-8";
  const std::wstring user = L"\u0421\u0430\u0448\u0430", password = L"parol1";
  Service("add-account --user " + Quote(unicode::ToUtf8(user)) + " --password " + Quote(unicode::ToUtf8(password)) +
          " --phone 447700900002 --credits 10");
  std::tie(modHotkeys::state.Usr, modHotkeys::state.Pwd) = std::pair(user, password);
  frmOptions::Get().GetProperties();  // the request takes the boxes, the link the saved settings
  ExpectStored(Send(), L"test message\r\n");

  const std::string record = Env("BREVIO_E2E_WORK") + "/browser-address-cyrillic.txt";
  StandInBrowser browser(WindowsPath(record));
  ::SendMessageW(frmOptions::Get().hWnd(), WM_COMMAND, options_ids::kPopSent, 0);
  std::string address;  // whole once its line feed is there
  ASSERT_TRUE(PumpUntil([&] { return !(address = ReadUnixFile(record)).empty() && address.back() == '\n'; }, 20000));
  Background get("curl -s -o /dev/null -w '%{http_code} %{redirect_url}' " + Quote(address.substr(0, address.size() - 1)));
  ASSERT_TRUE(get.Wait(30000));
  EXPECT_EQ(get.Output(), "303 http://localhost/message_archive.jsp") << address;
}
