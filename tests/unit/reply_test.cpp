// What the user is told for each kind of reply, and when a reply cannot be read at all.
#include <gtest/gtest.h>

#include <vector>

#include "sending/reply.h"

using sending::Followup;
using sending::InterpretReply;
using sending::TransferProblem;

namespace {

std::wstring ServiceReply(const std::wstring& code, const std::wstring& text) {
  return L"<?xml version=\"1.0\"?><SubmitMessageResponse><ResultCode>" + code + L"</ResultCode><ResultText>" +
         text + L"</ResultText></SubmitMessageResponse>";
}

// What a transfer left, held while the case lives.
struct Ending {
  std::wstring reply, headers;
  TransferProblem problem = TransferProblem::None;
  std::wstring error{};
  bool proxy_credentials = false;
  sending::TransferEnd View() const { return {reply, headers, problem, error, proxy_credentials}; }
};

struct Case {
  Ending end;
  bool readable, accepted;
  std::wstring text;  // the whole text, or with `part` a piece of it
  bool part = false;
  Followup followup = Followup::None;
};

constexpr wchar_t kOk[] = L"HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\n\r\n";

}  // namespace

TEST(ReplyInterpretation, EachKindOfReplyGetsItsVerdictTextAndFollowup) {
  const std::wstring page = L"<!DOCTYPE html><HTML><HEAD><TITLE>500 Internal Server Error</TITLE><style>p{}</style>"
                            L"<script>if (a < b) x();</script></HEAD><BODY><!-- a <b>note</b> --><H1>Oops</H1>"
                            L"<P>Tom &amp; Jerry&#39;s &lt;page&gt;&nbsp;&#x41F;</P></BODY></HTML>";
  const std::wstring xhtml = L"<?xml version=\"1.0\"?><html><head><title>401 Unauthorized</title></head></html>";
  const std::wstring no_code = L"<?xml version=\"1.0\"?><Result>0</Result><ResultText>ok</ResultText>";
  std::vector<Case> cases = {
      // The first occurrence of each tag counts; the service's codes 3 and 5 lead to their pages.
      {{L"<?xml?><ResultCode>5</ResultCode><ResultText>No credits</ResultText><ResultCode>0</ResultCode>", kOk}, true,
       false, L"Message not sent: No credits", false, Followup::BuyPage},
      {{ServiceReply(L" 03", L"Login failed"), kOk}, true, false, L"Message not sent: Login failed", false,
       Followup::AccountPage},
      // A foreign page is told by its status and its words, never its markup.
      {{page, L"HTTP/1.1 500 Internal Server Error\r\n"}, true, false,
       L"Message not sent: the server answered with an error page.\r\n\r\nHTTP 500 Internal Server Error: "
       L"Oops Tom & Jerry's <page> \u041f"},
      {{L"<html><body>Sign in to the hotel network</body></html>", kOk}, true, false,
       L"Message not sent: the server answered with a page that is not the Lumora service's reply.\r\n\r\n"
       L"HTTP 200 OK: Sign in to the hotel network"},
      // A capitalised XML declaration is a foreign page, not a service reply.
      {{L"<?XML version=\"1.0\"?>" + ServiceReply(L"0", L"ok").substr(21), L""}, true, false,
       L"a page that is not the Lumora service's reply.\r\n\r\n0 ok", true},
      // A proxy's refusal, even as an XHTML page: 407 always, 401 when proxy credentials went.
      {{xhtml, L"HTTP/1.0 401 Unauthorized\r\n", TransferProblem::None, L"", true}, true, false,
       L"Message not sent: the proxy server refused the request; check the proxy user name and password.\r\n\r\n"
       L"HTTP 401 Unauthorized", false, Followup::ConnectionPage},
      {{L"", L"HTTP/1.1 407 Proxy Authentication Required\r\n"}, true, false, L"HTTP 407 Proxy Authentication Required",
       true, Followup::ConnectionPage},
      {{xhtml, L"HTTP/1.0 401 Unauthorized\r\n"}, true, false, L"the server answered with an error page", true},
      // A status line that is not one: the status is unknown.
      {{L"<p>Moved</p>", L"Server: x\r\nHTTP/1.1 500 No\r\n"}, true, false, L"not the Lumora service's reply.\r\n\r\nMoved", true},
      // Tags that cannot be cut apart, even with code 0, in a reply that came with success.
      {{no_code, kOk}, false, false, L"Message not sent: the server's answer could not be read.\r\n\r\nIt has no "
                                     L"<ResultCode> element:\r\n" + no_code},
      {{L"<?xml version=\"1.0\"?><ResultCode>0</ResultCode>", kOk}, false, false, L"no <ResultText>", true},
      {{L"<?xml </ResultCode><ResultCode>0<ResultText>a</ResultText>", kOk}, false, false, L"could not be read", true},
      {{L"", kOk}, false, false, L"Message not sent: the server's answer could not be read.\r\n\r\nThe answer was empty."},
      // No reply at all: what happened in the user's words, then the transfer's own text.
      {{L"Cannot connect", L"", TransferProblem::Unreachable, L"Cannot connect to localhost:80"}, false, false,
       L"Message not sent: the server could not be reached.\r\n\r\nCannot connect to localhost:80"},
      {{L"", L"", TransferProblem::TimedOut, L"No reply"}, false, false, L"did not answer in time.\r\n\r\nNo reply", true},
      {{L"x", L"", TransferProblem::Other, L""}, false, false, L"Message not sent: the transfer to the server failed."},
  };
  for (std::wstring code : {L"0", L"000", L" 0", L"0 ", L"+0", L"-0", L"0.0"})
    cases.push_back({{ServiceReply(code, L"Message accepted"), kOk}, true, true, L"Message sent"});
  for (std::wstring code : {L"10", L"-1", L"3.5", L"0.01"})
    cases.push_back({{ServiceReply(code, L"Refused"), kOk}, true, false, L"Message not sent: Refused"});
  for (std::wstring code : {L"OK", L"", L" ", L"0x0", L"1 2", L"--0", L"."})
    cases.push_back({{ServiceReply(code, L"Message accepted"), kOk}, false, false, L"is not a number", true});
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.end.reply)));
    const sending::ReplyVerdict v = InterpretReply(c.end.View());
    EXPECT_EQ(std::pair(v.readable, v.accepted), std::pair(c.readable, c.accepted));
    EXPECT_TRUE(c.part ? v.text.find(c.text) != std::wstring::npos : v.text == c.text) << testing::PrintToString(v.text);
    EXPECT_EQ(v.text.rfind(L"Message not sent: ", 0) == 0, !c.accepted) << testing::PrintToString(v.text);
    EXPECT_EQ(v.followup, c.followup);
  }
  // A long reply is quoted only in part, readable or not.
  const std::wstring long_reply(100000, L'x');
  for (const std::wstring_view headers : {L"", L"HTTP/1.1 502 Bad Gateway\r\n"})
    EXPECT_LT(InterpretReply({long_reply, headers}).text.size(), 500u);
}
