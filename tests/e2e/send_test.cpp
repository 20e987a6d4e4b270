// A message typed into the program reaches the reference service as typed over HTTP, told as a
// send's result; the confirmation of messages of several parts.
#include "app/frmWarning_win.h"
#include "e2e_util.h"
#include "phone/frmPhone_win.h"
#include "sending/frmSending_win.h"

using namespace e2e;
using HttpSend = E2eTest;

TEST_F(HttpSend, OverHttpTheServiceStoresTheMessageAsTypedWithTheFooterAfterCrLf) {
  // Signs that mean something to XML, to the form body and to the CDATA section, and letters
  // beyond ASCII that the Windows-1252 code page carries.
  const std::wstring text = L"Tea & cakes <at> 5? a=b+c 100% ]]> done. Caf\u00e9 \u20ac3";
  FillMessage(L"447700900123", text, L"-- Brevio");
  const std::string last = ExpectStored(Send(), text + L"\r\n-- Brevio");
  EXPECT_EQ(frmWarning::Get().Mode, AlertMode::SendResult);  // its OK: tests/win/sending_windows_test.cpp
  EXPECT_NE(last.find("\"username\": \"e2e&user\", \"destination\": \"447700900123\""), std::string::npos) << last;
}

TEST_F(HttpSend, SeveralPartsAskFirstAndOnlyYesSendsTheWholeTextInOneRequest) {
  // Cyrillic goes as UCS-2, 67 characters a part: asked, charged and stored as three.
  const std::wstring text(140, L'\u0416');
  FillMessage(L"447700900126", text);
  ASSERT_EQ(frmPhone::Get().nummsgs, 3);
  Outcome no = Send(true, {{L"Multiple messages confirmation", IDNO}});
  EXPECT_FALSE(no.result);
  ASSERT_EQ(no.boxes.size(), 1u);
  EXPECT_EQ(no.boxes[0].text, L"This will send a total of 3 messages.\r\n\r\nIs this OK?");
  EXPECT_EQ(no.boxes[0].buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(MessageCount(), before_);
  EXPECT_FALSE(frmSending::IsLoaded() && frmSending::Get().Visible()) << "nothing was sent";
  EXPECT_FALSE(AlertShown());

  Outcome yes = Send(true, {{L"Multiple messages confirmation", IDYES}});
  ASSERT_EQ(yes.boxes.size(), 1u);
  EXPECT_EQ(yes.boxes[0].text, no.boxes[0].text);
  yes.boxes.clear();
  EXPECT_NE(ExpectStored(yes, text + L"\r\n").find("\"parts\": 3"), std::string::npos);
}
