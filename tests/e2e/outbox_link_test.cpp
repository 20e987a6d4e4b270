// The journey across both programs: hotkey 1 sends a message, the tray's "Outbo&x" hands its
// address to the default browser (a stand-in registered in this Wine prefix, which records
// it), and that exact address opened in headless Chromium signs in and shows the message.
#include <optional>

#include "app/controls_win.h"
#include "app/modHotkeys_win.h"
#include "e2e_util.h"
#include "options/frmOptions_win.h"
#include "options/options_ids_win.h"

using namespace e2e;
using OutboxLink = EditorTest;

// Both settings of "Secure connection": the account pages open over HTTP, or over HTTPS when
// it is on (the link carries the password, scrambled only), and the exact address handed over
// shows the message just sent. The secure round is also the program's send over HTTPS to a
// trusted server, stored as typed.
TEST_F(OutboxLink, TheTrayOutboxAddressOpensInABrowserOnTheOutboxShowingTheMessageJustSent) {
  for (const bool secure : {false, true}) {
    SCOPED_TRACE(secure ? "secure connection" : "standard connection");
    const std::string scheme = secure ? "https" : "http";
    const std::string record = Env("BREVIO_E2E_WORK") + "/browser-address-" + scheme + ".txt";
    StandInBrowser browser(WindowsPath(record));
    std::optional<TrustedCa> trust;  // for the program's own send over HTTPS
    if (secure) trust.emplace(Env("BREVIO_E2E_CA"));
    modHotkeys::state.Protocol = secure ? 5 : 4;
    modHotkeys::state.Port = secure ? L"443" : L"80";
    ui::SetChecked(frmOptions::Get().connection.chkSecure, secure);  // the links follow the padlock shown
    const std::string text = "Journey <b>to</b> the outbox ]]> & back over " + scheme;
    ASSERT_EQ(SendSelection(std::wstring(text.begin(), text.end())), L"Message sent");
    EXPECT_NE(LastStoredMessage().find(JsonBody(std::wstring(text.begin(), text.end()) + L"\r\n")), std::string::npos);
    ResetWindows();

    ::SendMessageW(frmOptions::Get().hWnd(), WM_COMMAND, options_ids::kPopSent, 0);
    std::string address;  // whole once its line feed is there
    ASSERT_TRUE(PumpUntil([&] { return !(address = ReadUnixFile(record)).empty() && address.back() == '\n'; }, 20000))
        << "the stand-in browser was given no address";
    address.pop_back();  // its exact form is checked in tests/win/options_window_test.cpp; here it is opened

    // Chromium keeps a certificate store of its own: over HTTPS it is told the test server.
    const std::string here = __FILE__;
    Background chromium((secure ? "BREVIO_TRUST_CERT=" + Quote(Env("BREVIO_E2E_WORK") + "/server.pem") + " " : "") +
                        "node " + Quote(here.substr(0, here.rfind('/')) + "/../web/open_page.js") + " " + Quote(address));
    DWORD code = 1;
    ASSERT_TRUE(chromium.Wait(180000, &code)) << "headless Chromium did not finish";
    const std::string seen = chromium.Output();
    ASSERT_EQ(code, 0u) << seen;
    // Signed in and on the outbox without the token; the newest row is the message, as text.
    EXPECT_NE(seen.find(R"("url":")" + scheme + R"(://localhost/message_archive.jsp")"), std::string::npos) << seen;
    EXPECT_NE(seen.find(R"("own phone","1",")" + text), std::string::npos) << seen;
  }
}
