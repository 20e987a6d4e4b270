// The request's exact bytes as the program sends them, recorded by a bare listener that
// answers like the service: to the service directly, and to an authenticating proxy.
#include <optional>

#include "app/modHotkeys_win.h"
#include "e2e_util.h"

using namespace e2e;
using Capture = E2eTest;

namespace {

// Sends the filled-in message to a capture listener on `port` (free in the test's own
// network); what it saw.
std::string SendAndCapture(int port, bool via_proxy) {
  const std::string out = Env("BREVIO_E2E_WORK") + "/capture-" + std::to_string(port) + ".bin";
  Background listener(Quote(Env("BREVIO_E2E_SERVICE")) + " capture --port " + std::to_string(port) + " --out " +
                      Quote(out) + " --timeout-ms 20000");
  // It takes one connection only, so it is not probed: it says when it listens.
  EXPECT_TRUE(PumpUntil([&] { return listener.Output().find("capturing on") != std::string::npos; }, 10000))
      << "the listener did not start";
  modHotkeys::state.Port = std::to_wstring(port);  // a bare listener answers whatever address is asked
  std::optional<SystemProxy> proxy;
  if (via_proxy) proxy.emplace(L"127.0.0.1:" + std::to_wstring(port));
  const Outcome o = Send();
  EXPECT_TRUE(o.result && o.boxes.empty());
  DWORD code = 1;
  EXPECT_TRUE(listener.Wait(20000, &code) && code == 0) << listener.Output();
  return ReadUnixFile(out);
}

}  // namespace

// Western text goes byte for byte in Windows-1252, as it always did. Straight to the service
// no proxy header goes; through the proxy (its user without a password: the colon stays,
// "proxyuser:") the whole address is asked for and the three header lines come in order.
TEST_F(Capture, RequestIsAPostOfTheEncodedDocumentWithTheProxyLinesOnlyThroughTheProxy) {
  modHotkeys::state.ProxyUsr = L"proxyuser";
  FillMessage(L"447700900123", L"a&b=c Caf\u00e9 \u20ac", L"f");
  for (const bool via_proxy : {false, true}) {
    SCOPED_TRACE(via_proxy ? "through the proxy" : "direct");
    modHotkeys::state.ProxyAuth = via_proxy;
    const std::string request = SendAndCapture(via_proxy ? 8082 : 8081, via_proxy);
    const std::size_t end = request.find("\r\n\r\n");
    ASSERT_NE(end, std::string::npos) << request;
    const std::size_t type = request.find("\r\nContent-type: application/x-www-form-urlencoded\r\n");
    EXPECT_EQ(request.rfind(via_proxy ? "POST http://localhost" : "POST /hotkeys HTTP/1.1\r\n", 0), 0u) << request;
    const std::size_t keep_alive = request.find("\r\nProxy-Connection: Keep-Alive\r\n");
    const std::size_t auth = request.find("\r\nProxy-Authorization: Basic cHJveHl1c2VyOg==\r\n");
    EXPECT_TRUE(via_proxy ? keep_alive < auth && auth < type && type < end
                          : type < end && request.substr(0, end).find("Proxy-") == std::string::npos)
        << request;
    EXPECT_EQ(request.substr(end + 4),
              "\r\n\r\n&XMLDATA=%3C%3Fxml+version%3D%221%2E0%22%3F%3E%3CSubmitMessageRequest+Version%3D%221%2E0%22%3E%3C"
              "Header%3E%3CUsername%3Ee2e%26amp%3Buser%3C%2FUsername%3E%3CPassword%3Ep%26lt%3Ba%26gt%3Bss%26amp%3Bword%3C%2F"
              "Password%3E%3C%2FHeader%3E%3CMessageRequest%3E%3CMessage%3E%3CBody%3E%3C%21%5BCDATA%5B"
              "a%26b%3Dc+Caf%E9+%80\r\nf%5D%5D%3E%3C%2FBody%3E%3CDestination+sequenceId%3D%221%22%3E447700900123"
              "%3C%2FDestination%3E%3C%2FMessage%3E%3C%2FMessageRequest%3E%3C%2FSubmitMessageRequest%3E");
    ResetWindows();
  }
}
