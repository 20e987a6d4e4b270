// What the user is told for each kind of reply, and when a reply cannot be read at all.
#include <gtest/gtest.h>

#include <vector>

#include "sending/reply.h"

using sending::InterpretReply;

namespace {

std::wstring ServiceReply(const std::wstring& code, const std::wstring& text) {
  return L"<?xml version=\"1.0\"?><SubmitMessageResponse><ResultCode>" + code + L"</ResultCode><ResultText>" +
         text + L"</ResultText></SubmitMessageResponse>";
}

struct Case {
  std::wstring reply, transfer_error;
  bool readable, accepted;
  std::wstring text;  // the whole text, or with `part` a piece of it
  bool part = false;
};

}  // namespace

TEST(ReplyInterpretation, EachKindOfReplyGetsItsVerdictAndText) {
  const std::wstring page = L"<HTML><HEAD><TITLE>500 Internal Server Error</TITLE></HEAD><BODY>Oops</BODY></HTML>";
  std::vector<Case> cases = {
      // The first occurrence of each tag counts.
      {L"<?xml?><ResultCode>5</ResultCode><ResultText>No credits</ResultText><ResultCode>0</ResultCode>"
       L"<ResultText>ok</ResultText>", L"", true, false, L"Message not sent: No credits"},
      {page, L"", true, false, L"Message not sent: \r\n500 Internal Server Error\r\nFull details follow: \r\n\r\n" + page},
      // A capitalised XML declaration is a foreign page, not a service reply.
      {L"<?XML version=\"1.0\"?><title>Proxy</title>" + ServiceReply(L"0", L"ok").substr(21), L"", true, false,
       L"Message not sent: \r\nProxy\r\n", true},
      // Tags that cannot be cut apart, even with code 0.
      {L"<?xml version=\"1.0\"?><Result>0</Result><ResultText>ok</ResultText>", L"", false, false, L"no <ResultCode>", true},
      {L"<?xml version=\"1.0\"?><ResultCode>0</ResultCode>", L"", false, false, L"no <ResultText>", true},
      {L"<?xml </ResultCode><ResultCode>0<ResultText>a</ResultText>", L"", false, false, L"", true},
      {L"<html><body>Bad gateway</body></html>", L"", false, false, L"Bad gateway", true},
      {L"", L"", false, false, L"Message not sent: no reply came from the Lumora service."},
      {L"", L"Cannot connect to localhost:80", false, false,
       L"Message not sent: the transfer to the Lumora service failed.\r\nCannot connect to localhost:80"},
  };
  for (std::wstring code : {L"0", L"000", L" 0", L"0 ", L"+0", L"0.0"})
    cases.push_back({ServiceReply(code, L"Message accepted"), L"", true, true, L"Message sent"});
  for (std::wstring code : {L"3", L"10", L" 05", L"-1"})
    cases.push_back({ServiceReply(code, L"Login failed"), L"", true, false, L"Message not sent: Login failed"});
  for (std::wstring code : {L"OK", L"", L" ", L"0x0", L"1 2", L"--0", L"."})
    cases.push_back({ServiceReply(code, L"Message accepted"), L"", false, false, L"is not a number", true});
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.reply));
    const sending::ReplyVerdict v = InterpretReply(c.reply, c.transfer_error);
    EXPECT_EQ(std::pair(v.readable, v.accepted), std::pair(c.readable, c.accepted));
    EXPECT_TRUE(c.part ? v.text.find(c.text) != std::wstring::npos : v.text == c.text) << testing::PrintToString(v.text);
    EXPECT_EQ(v.text.rfind(L"Message not sent: ", 0) == 0, !c.accepted) << testing::PrintToString(v.text);
  }
  // A long unreadable reply is quoted only in part.
  EXPECT_LT(InterpretReply(std::wstring(100000, L'x'), L"").text.size(), 400u);
}
