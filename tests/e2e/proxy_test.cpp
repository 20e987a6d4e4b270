// Through an authenticating proxy (tinyproxy with Basic authentication) named in the system's
// internet settings, with the program's own proxy credentials. A process of its own: Wine pools
// connections by the server's name whatever the route, and would reuse a direct one.
#include <tuple>

#include "app/modHotkeys_win.h"
#include "e2e_util.h"

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

TEST_F(Proxy, AWrongProxyPasswordEndsInAClearFailure) {
  const Outcome o = SendThroughProxy(L"wrong");
  EXPECT_EQ(MessageCount(), before_);
  // tinyproxy refuses at once with an XHTML page that starts with an XML declaration, so it is
  // read as a service reply without a result code: a plain failure quoting the page. It closes
  // the connection without reading the request's body, so the refusal may instead arrive as
  // the connection being ended while the body is sent. Either way: a plain failure, no alert.
  ExpectPlainFailure(o, L"");
  const std::wstring text = o.boxes.empty() ? L"" : o.boxes[0].text;
  EXPECT_TRUE(text.find(L"<title>401 Unauthorized</title>") != std::wstring::npos ||
              text.find(L"The connection with the server was ended (error 12030)") != std::wstring::npos)
      << testing::PrintToString(text);
}
