// The request's exact bytes as the program sends them, recorded by a bare listener that
// answers like the service: to the service directly, and to an authenticating proxy.
#include <gtest/gtest.h>

#include "app/modHotkeys_win.h"
#include "e2e_util.h"
#include "options/frmOptions_win.h"
#include "phone/frmWarning_win.h"

using namespace e2e;
using modHotkeys::state;

namespace {

class Capture : public testing::Test {
 protected:
  void SetUp() override {
    if (Env("BREVIO_E2E_DB").empty()) GTEST_SKIP() << "not started by netns-run";
    PrepareProgram();
  }
  void TearDown() override { ResetWindows(); }

  // Sends the message to a capture listener on a port of its own and returns what it saw.
  std::string SendAndCapture(bool via_proxy) {
    const int port = FreePort();
    const std::string out = Env("BREVIO_E2E_WORK") + "/capture-" + std::to_string(port) + ".bin";
    Background listener(Quote(Env("BREVIO_E2E_SERVICE")) + " capture --port " + std::to_string(port) +
                        " --out " + Quote(out) + " --timeout-ms 20000");
    // It takes one connection only, so it is not probed: it says when it listens.
    for (int i = 0; i < 500 && listener.Output().find("capturing on") == std::string::npos; ++i) ::Sleep(20);
    EXPECT_NE(listener.Output().find("capturing on"), std::string::npos) << "the listener did not start";
    std::unique_ptr<SystemProxy> proxy;
    if (via_proxy)
      proxy = std::make_unique<SystemProxy>(L"127.0.0.1:" + std::to_wstring(port));
    else
      state.Port = std::to_wstring(port);
    BoxAnswerer boxes;
    EXPECT_TRUE(frmOptions::Get().SendMessage(true));
    EXPECT_TRUE(boxes.Seen().empty()) << testing::PrintToString(boxes.Seen()[0].text);
    EXPECT_EQ(AlertText(), L"Message sent");
    DWORD code = 1;
    EXPECT_TRUE(listener.Wait(20000, &code));
    EXPECT_EQ(code, 0u) << listener.Output();
    return RunLinux("cat " + Quote(out)).output;
  }
};

constexpr char kEncodedStart[] =
    "%3C%3Fxml+version%3D%221%2E0%22%3F%3E%3CSubmitMessageRequest+Version%3D%221%2E0%22%3E%3C"
    "Header%3E%3CUsername%3E";

std::string HeaderBlock(const std::string& request) { return request.substr(0, request.find("\r\n\r\n") + 2); }
std::string Body(const std::string& request) { return request.substr(request.find("\r\n\r\n") + 4); }

}  // namespace

TEST_F(Capture, DirectRequestIsAPostOfTheEncodedDocumentWithOnlyTheContentTypeOfOurOwn) {
  FillMessage(L"447700900123", L"a&b=c", L"f");
  const std::string request = SendAndCapture(false);
  ASSERT_FALSE(request.empty());
  EXPECT_EQ(request.rfind("POST /hotkeys HTTP/1.1\r\n", 0), 0u) << request;
  const std::string headers = HeaderBlock(request);
  EXPECT_NE(headers.find("\r\nContent-type: application/x-www-form-urlencoded\r\n"), std::string::npos)
      << headers;
  EXPECT_EQ(headers.find("Proxy-"), std::string::npos) << headers;
  const std::string body = Body(request);
  EXPECT_EQ(body,
            std::string("\r\n\r\n&XMLDATA=") + kEncodedStart +
                "e2e%26amp%3Buser%3C%2FUsername%3E%3CPassword%3Ep%26lt%3Ba%26gt%3Bss%26amp%3Bword%3C%2F"
                "Password%3E%3C%2FHeader%3E%3CMessageRequest%3E%3CMessage%3E%3CBody%3E%3C%21%5BCDATA%5B"
                "a%26b%3Dc\r\nf%5D%5D%3E%3C%2FBody%3E%3CDestination+sequenceId%3D%221%22%3E447700900123"
                "%3C%2FDestination%3E%3C%2FMessage%3E%3C%2FMessageRequest%3E%3C%2FSubmitMessageRequest%3E");
}

TEST_F(Capture, ThroughTheProxyTheThreeHeaderLinesComeInOrder) {
  state.ProxyAuth = 1;
  state.ProxyUsr = L"proxyuser";
  state.ProxyPwd = L"";  // the colon stays: "proxyuser:"
  FillMessage(L"447700900123", L"hello");
  const std::string request = SendAndCapture(true);
  ASSERT_FALSE(request.empty());
  // A proxy is asked for the whole address.
  EXPECT_EQ(request.rfind("POST http://localhost", 0), 0u) << request;
  const std::string headers = HeaderBlock(request);
  const std::size_t keep_alive = headers.find("\r\nProxy-Connection: Keep-Alive\r\n");
  const std::size_t auth = headers.find("\r\nProxy-Authorization: Basic cHJveHl1c2VyOg==\r\n");
  const std::size_t type = headers.find("\r\nContent-type: application/x-www-form-urlencoded\r\n");
  ASSERT_NE(keep_alive, std::string::npos) << headers;
  ASSERT_NE(auth, std::string::npos) << headers;
  ASSERT_NE(type, std::string::npos) << headers;
  EXPECT_LT(keep_alive, auth);
  EXPECT_LT(auth, type);
  EXPECT_EQ(Body(request).rfind(std::string("\r\n\r\n&XMLDATA=") + kEncodedStart, 0), 0u);
}
