// What the user is told for each kind of reply, and when a reply cannot be read at all.
#include <gtest/gtest.h>

#include "sending/reply.h"

using sending::InterpretReply;
using sending::ReplyVerdict;

namespace {

std::wstring ServiceReply(const std::wstring& code, const std::wstring& text) {
  return L"<?xml version=\"1.0\"?><SubmitMessageResponse><ResultCode>" + code +
         L"</ResultCode><ResultText>" + text + L"</ResultText></SubmitMessageResponse>";
}

}  // namespace

TEST(ReplyInterpretation, CodeZeroIsSentWhateverItsSpellingAndTheTextIsNotShown) {
  for (std::wstring code : {L"0", L"000", L" 0", L"0 ", L"+0", L"0.0"}) {
    ReplyVerdict v = InterpretReply(ServiceReply(code, L"Message accepted"), L"");
    EXPECT_TRUE(v.readable) << code;
    EXPECT_TRUE(v.accepted) << code;
    EXPECT_EQ(v.text, L"Message sent") << code;
  }
}

TEST(ReplyInterpretation, NonZeroCodeShowsTheServiceTextDirectlyAfterThePrefix) {
  for (std::wstring code : {L"3", L"10", L" 05", L"-1"}) {
    ReplyVerdict v = InterpretReply(ServiceReply(code, L"Login failed"), L"");
    EXPECT_TRUE(v.readable) << code;
    EXPECT_FALSE(v.accepted) << code;
    EXPECT_EQ(v.text, L"Message not sent: Login failed") << code;
  }
}

TEST(ReplyInterpretation, FirstOccurrenceOfEachTagCounts) {
  ReplyVerdict v = InterpretReply(
      L"<?xml?><ResultCode>5</ResultCode><ResultText>No credits</ResultText>"
      L"<ResultCode>0</ResultCode><ResultText>ok</ResultText>",
      L"");
  EXPECT_FALSE(v.accepted);
  EXPECT_EQ(v.text, L"Message not sent: No credits");
}

TEST(ReplyInterpretation, HtmlPageWithCapitalTitleTagsIsShownWithItsTitleAndWholeText) {
  const std::wstring page =
      L"<HTML><HEAD><TITLE>500 Internal Server Error</TITLE></HEAD><BODY>Oops</BODY></HTML>";
  ReplyVerdict v = InterpretReply(page, L"");
  EXPECT_TRUE(v.readable);
  EXPECT_FALSE(v.accepted);
  EXPECT_EQ(v.text, L"Message not sent: \r\n500 Internal Server Error\r\nFull details follow: \r\n\r\n" +
                        page);
}

TEST(ReplyInterpretation, XmlDeclarationInCapitalsIsAForeignPage) {
  const std::wstring reply = L"<?XML version=\"1.0\"?><title>Proxy</title>" +
                             ServiceReply(L"0", L"ok").substr(21);
  ReplyVerdict v = InterpretReply(reply, L"");
  EXPECT_TRUE(v.readable);
  EXPECT_FALSE(v.accepted) << "a capitalised declaration must not count as a service reply";
  EXPECT_EQ(v.text.rfind(L"Message not sent: \r\nProxy\r\n", 0), 0u) << v.text;
}

TEST(ReplyInterpretation, MissingTagsCannotBeCutApartEvenWithCodeZero) {
  ReplyVerdict no_code = InterpretReply(
      L"<?xml version=\"1.0\"?><Result>0</Result><ResultText>ok</ResultText>", L"");
  EXPECT_FALSE(no_code.readable);
  EXPECT_FALSE(no_code.accepted);
  EXPECT_NE(no_code.text.find(L"no <ResultCode>"), std::wstring::npos) << no_code.text;

  ReplyVerdict no_text =
      InterpretReply(L"<?xml version=\"1.0\"?><ResultCode>0</ResultCode>", L"");
  EXPECT_FALSE(no_text.readable);
  EXPECT_FALSE(no_text.accepted);
  EXPECT_NE(no_text.text.find(L"no <ResultText>"), std::wstring::npos) << no_text.text;

  // Closing tag before the opening one: nothing between to take.
  ReplyVerdict reversed = InterpretReply(
      L"<?xml </ResultCode><ResultCode>0<ResultText>a</ResultText>", L"");
  EXPECT_FALSE(reversed.readable);

  ReplyVerdict no_title = InterpretReply(L"<html><body>Bad gateway</body></html>", L"");
  EXPECT_FALSE(no_title.readable);
  EXPECT_NE(no_title.text.find(L"Bad gateway"), std::wstring::npos) << no_title.text;
  EXPECT_EQ(no_title.text.rfind(L"Message not sent: ", 0), 0u);
}

TEST(ReplyInterpretation, NonNumericCodeCannotBeCutApart) {
  for (std::wstring code : {L"OK", L"", L" ", L"0x0", L"1 2", L"--0", L"."}) {
    ReplyVerdict v = InterpretReply(ServiceReply(code, L"Message accepted"), L"");
    EXPECT_FALSE(v.readable) << "code '" << testing::PrintToString(code) << "'";
    EXPECT_FALSE(v.accepted);
    EXPECT_NE(v.text.find(L"is not a number"), std::wstring::npos) << v.text;
  }
}

TEST(ReplyInterpretation, EmptyReplySaysNothingCameOrNamesTheTransferError) {
  ReplyVerdict silent = InterpretReply(L"", L"");
  EXPECT_FALSE(silent.readable);
  EXPECT_FALSE(silent.accepted);
  EXPECT_EQ(silent.text, L"Message not sent: no reply came from the Lumora service.");

  ReplyVerdict failed = InterpretReply(L"", L"Cannot connect to localhost:80");
  EXPECT_FALSE(failed.readable);
  EXPECT_EQ(failed.text,
            L"Message not sent: the transfer to the Lumora service failed.\r\n"
            L"Cannot connect to localhost:80");
}

TEST(ReplyInterpretation, LongUnreadableReplyIsQuotedOnlyInPart) {
  std::wstring junk(100000, L'x');
  ReplyVerdict v = InterpretReply(junk, L"");
  EXPECT_FALSE(v.readable);
  EXPECT_LT(v.text.size(), 400u);
}
