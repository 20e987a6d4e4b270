// Through an authenticating proxy (tinyproxy with Basic authentication) named in the system's
// internet settings, with the program's own proxy credentials. A process of its own: Wine pools
// connections by the server's name whatever the route, and would reuse a direct one.
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

class Proxy : public testing::Test {
 protected:
  void SetUp() override {
    if (Env("BREVIO_E2E_DB").empty()) GTEST_SKIP() << "not started by netns-run";
    PrepareProgram();
    before_ = MessageCount();
  }
  void TearDown() override { ResetWindows(); }

  int before_ = 0;
};

std::wstring ProxyServer() {
  const std::string port = Env("BREVIO_E2E_PROXY_PORT");
  return L"127.0.0.1:" + std::wstring(port.begin(), port.end());
}

}  // namespace

TEST_F(Proxy, ThroughTheAuthenticatingProxyOfTheSystemSettingsTheMessageIsStored) {
  state.ProxyAuth = 1;
  state.ProxyUsr = L"proxyuser";
  state.ProxyPwd = L"proxypass";
  FillMessage(L"447700900124", L"via the proxy & back", L"--");
  BoxAnswerer boxes;
  {
    SystemProxy proxy(ProxyServer());
    EXPECT_TRUE(frmOptions::Get().SendMessage(true));
  }
  EXPECT_TRUE(boxes.Seen().empty()) << testing::PrintToString(boxes.Seen()[0].text);
  EXPECT_EQ(AlertText(), L"Message sent");
  ASSERT_EQ(MessageCount(), before_ + 1);
  EXPECT_NE(LastStoredMessage().find("\"body\": " + JsonString(L"via the proxy & back\r\n--")), std::string::npos);
}

TEST_F(Proxy, ThroughTheProxyAWrongProxyPasswordEndsInAClearFailure) {
  state.ProxyAuth = 1;
  state.ProxyUsr = L"proxyuser";
  state.ProxyPwd = L"wrong";
  FillMessage(L"447700900124", L"must not arrive");
  BoxAnswerer boxes;
  {
    SystemProxy proxy(ProxyServer());
    EXPECT_FALSE(frmOptions::Get().SendMessage(true));
  }
  EXPECT_EQ(MessageCount(), before_);
  // tinyproxy refuses at once with an XHTML page that starts with an XML declaration, so it is
  // read as a service reply without a result code: a plain failure quoting the page. It closes
  // the connection without reading the request's body, so the refusal may instead arrive as
  // the connection being ended while the body is sent. Either way: a plain failure, no alert.
  EXPECT_FALSE(AlertShown());
  const auto seen = boxes.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, L"Brevio");
  const std::wstring& text = seen[0].text;
  EXPECT_EQ(text.rfind(L"Message not sent: ", 0), 0u) << testing::PrintToString(text);
  EXPECT_TRUE(text.find(L"<title>401 Unauthorized</title>") != std::wstring::npos ||
              text.find(L"The connection with the server was ended (error 12030)") != std::wstring::npos)
      << testing::PrintToString(text);
}
