// HTTPS with the throwaway authority trusted by the user (in this Wine prefix only, and only
// while the test runs): the message is stored as typed.
#include "app/modHotkeys_win.h"
#include "e2e_util.h"

using namespace e2e;
using Https = E2eTest;

TEST_F(Https, OverHttpsWithTheAuthorityTrustedTheMessageIsStored) {
  TrustedCa trust(Env("BREVIO_E2E_CA"));
  ASSERT_TRUE(trust.ok()) << "could not add the test authority to the user's Root store";
  modHotkeys::state.Protocol = 5;
  modHotkeys::state.Port = L"443";
  const std::wstring text = L"Tea & cakes <at> 5? ]]> Caf\u00e9 \u20ac3";
  FillMessage(L"", text);
  // Hotkey 1: an empty destination is the account holder's own phone.
  const std::string last = ExpectStored(Send(false), text + L"\r\n");
  EXPECT_NE(last.find("\"destination\": \"447700900001\""), std::string::npos) << last;
}
