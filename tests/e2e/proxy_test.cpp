// Through an authenticating proxy (tinyproxy with Basic authentication) named in the system's
// internet settings, with the program's own proxy credentials. A process of its own: Wine pools
// connections by the server's name whatever the route, and would reuse a direct one.
#include <tuple>

#include "app/frmWarning_win.h"
#include "app/modHotkeys_win.h"
#include "e2e_util.h"
#include "options/frmOptions_win.h"

using namespace e2e;
using Proxy = E2eTest;

namespace {
Outcome SendThroughProxy(const wchar_t* password) {
  auto& s = modHotkeys::state;
  std::tie(s.ProxyAuth, s.ProxyUsr, s.ProxyPwd) = std::tuple(1, L"proxyuser", password);
  const std::string port = Env("BREVIO_E2E_PROXY_PORT");
  SystemProxy proxy(L"127.0.0.1:" + std::wstring(port.begin(), port.end()));
  return Send();
}
}  // namespace

TEST_F(Proxy, ThroughTheAuthenticatingProxyOfTheSystemSettingsTheMessageIsStored) {
  FillMessage(L"447700900124", L"via the proxy & back", L"--");
  ExpectStored(SendThroughProxy(L"proxypass"), L"via the proxy & back\r\n--");
}

TEST_F(Proxy, AWrongProxyPasswordIsToldAsTheProxysRefusalAndLeadsToTheConnectionPage) {
  const Outcome o = SendThroughProxy(L"wrong");
  EXPECT_EQ(MessageCount(), before_);
  EXPECT_FALSE(o.result);
  // tinyproxy refuses at once, with 401 rather than 407. It closes the connection without
  // reading the request's body, so the refusal may instead arrive as the connection being
  // ended while the body is sent: then a plain failure.
  if (!o.boxes.empty()) return ExpectPlainFailure(o, L"the connection to the server broke off");
  EXPECT_EQ(AlertText().rfind(L"Message not sent: the proxy server refused the request; check the proxy user name and "
                              L"password.\r\n\r\nHTTP 401 Unauthorized: The administrator of this proxy", 0), 0u)
      << testing::PrintToString(AlertText());
  ::SendMessageW(frmWarning::Get().Command1, BM_CLICK, 0, 0);
  EXPECT_TRUE(frmOptions::Get().Visible());
  EXPECT_EQ(frmOptions::Get().SelectedTab(), frmOptions::kTabConnection);
}
