// POST /hotkeys over HTTP, requests built as the Windows program builds them.
#include <gtest/gtest.h>

#include "app/unicode.h"
#include "sending/submission.h"
#include "service/accounts.h"
#include "service/messages.h"
#include "service/result_codes.h"
#include "service/service_db.h"
#include "service_test_support.h"
#include "tests/count_cases.h"

namespace lumora::test {
namespace {

std::vector<StoredMessage> stored(ServiceFixture& fixture) {
  Database db(fixture.db_path());
  return list_messages(db);
}

std::string code(ResultCode c) { return std::to_string(result_number(c)); }

TEST(Submission, AcceptedMessageIsStoredExactlyAsSent) {
  ServiceFixture fixture;
  // "]]>" travels split over two CDATA sections; the body is Windows-1252 ("\xE9" is e-acute).
  const std::string body = "Fish & chips <b>\r\ncaf\xE9 ]]]]><![CDATA[> end\r\n-- Brevio";
  const auto reply = fixture.post(request_body(body, "447700900999"));
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->status, 200);
  EXPECT_EQ(reply->get_header_value("Content-Type"), "text/xml");
  EXPECT_EQ(reply->body,
            "<?xml version=\"1.0\"?><SubmitMessageResponse Version=\"1.0\"><ResultCode>0"
            "</ResultCode><ResultText>Message accepted</ResultText></SubmitMessageResponse>");

  const auto messages = stored(fixture);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].username, kUser);
  EXPECT_EQ(messages[0].destination, "447700900999");
  EXPECT_EQ(messages[0].body, "Fish & chips <b>\r\ncaf\xC3\xA9 ]]> end\r\n-- Brevio");
  EXPECT_EQ(messages[0].parts, 1);
  EXPECT_EQ(fixture.credits(), 9);
}

TEST(Submission, EveryScriptIsStoredAsTypedAndBilledAsThePhoneCountsIt) {
  ServiceFixture fixture(0);  // alice, without credits
  {
    Database db(fixture.db_path());
    add_account(db, {"\xD0\x81\xD0\xB6\xD0\xB8\xD0\xBA", "\xCE\xB1\xE4\xB8\xAD\xF0\x9F\x94\x91",
                     kPhone, 100000});
  }
  // Built by the program's own request code; the account is "Ёжик" with password "α中🔑".
  auto post = [&](const std::wstring& body) {
    const auto reply = fixture.post(sending::BuildFormBody(sending::BuildSubmissionXml(
        {L"\u0401\u0436\u0438\u043a", L"\u03b1\u4e2d\U0001F511", body, L""})));
    return reply ? between_tags(reply->body, "ResultCode") : "(no reply)";
  };
  std::int64_t credits = 100000;
  for (const auto& c : count_cases::kCases) {
    const std::wstring body = sending::ComposeBody(c.message, c.footer);
    ASSERT_EQ(post(body), "0") << c.what;
    const StoredMessage last = stored(fixture).back();
    EXPECT_EQ(last.body, unicode::ToUtf8(body)) << c.what;
    EXPECT_EQ(last.parts, c.parts) << c.what;
    EXPECT_EQ(last.destination, kPhone) << "no number: the account's own phone";
    Database db(fixture.db_path());
    EXPECT_EQ(find_account(db, "\xD0\x81\xD0\xB6\xD0\xB8\xD0\xBA")->credits, credits -= c.parts) << c.what;
  }
  const std::wstring scripts =
      L"\u041f\u0440\u0438\u0432\u0435\u0442 \u0393\u03b5\u03b9\u03ac \u017b\u00f3\u0142\u0107 "
      L"\u4f60\u597d \U0001F600\r\n\u2014 \u0421\u0430\u0448\u0430";
  ASSERT_EQ(post(scripts), "0");
  EXPECT_EQ(stored(fixture).back().body, unicode::ToUtf8(scripts));
}

TEST(Submission, LongMessageBeyondEightKilobytesEncodedIsAccepted) {
  ServiceFixture fixture(100);
  const std::string body(3000, '&');  // 9000 bytes once form-encoded
  EXPECT_EQ(fixture.submit(body), "0");
  EXPECT_EQ(stored(fixture).at(0).body, body);
  EXPECT_EQ(fixture.credits(), 100 - 20);  // 153 characters in each part
}

// A user name holding `depth` nested elements, sent unencoded to fit under the body limit.
std::string deeply_nested_form(int depth) {
  std::string user;
  for (int i = 0; i < depth; ++i) user += "<a>";
  for (int i = 0; i < depth; ++i) user += "</a>";
  return "\r\n\r\n&XMLDATA=" + submit_xml(user, kPassword, "x", "");
}

TEST(Submission, RefusedRequestsStoreNothingAndKeepCredits) {
  ServiceFixture fixture(1);
  const struct {
    std::string form;
    ResultCode expected;
  } cases[] = {
      {"", ResultCode::kNoXmlData},
      {"\r\n\r\n&XMLDATA=", ResultCode::kNoXmlData},
      {"\r\n\r\n&OTHER=" + form_encode(submit_xml(kUser, kPassword, "x", "")),
       ResultCode::kNoXmlData},
      {form_body("<?xml version=\"1.0\"?><SubmitMessageRequest><Header>"),
       ResultCode::kMalformedRequest},
      {form_body(submit_xml("Tom & Co", kPassword, "x", "")), ResultCode::kMalformedRequest},
      {form_body(submit_xml(kUser, "wrong", "x", "")), ResultCode::kLoginFailed},
      {form_body(submit_xml("bob", kPassword, "x", "")), ResultCode::kLoginFailed},
      {request_body("x", "123456"), ResultCode::kBadDestination},
      {request_body("x", "+447700900123"), ResultCode::kBadDestination},
      {request_body("x", "1234567890123456"), ResultCode::kBadDestination},
      {request_body(std::string(161, 'x')), ResultCode::kNotEnoughCredits},
      {deeply_nested_form(100000), ResultCode::kLoginFailed},
      // A reference to a character XML does not allow makes the document malformed; it
      // never cuts the password short.
      {form_body(submit_xml(kUser, std::string(kPassword) + "&#0;x", "x", "")),
       ResultCode::kMalformedRequest},
      {form_body(submit_xml("alice&#xD800;", kPassword, "x", "")), ResultCode::kMalformedRequest},
      {form_body(submit_xml("alice&#x110000;", kPassword, "x", "")), ResultCode::kMalformedRequest},
      {form_body(submit_xml("alice&#4294967337;", kPassword, "x", "")),
       ResultCode::kMalformedRequest},
      {form_body(submit_xml("alice&#27;", kPassword, "x", "")), ResultCode::kMalformedRequest},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.form.substr(0, 300));
    const auto reply = fixture.post(c.form);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 200);
    EXPECT_EQ(between_tags(reply->body, "ResultCode"), code(c.expected));
    EXPECT_EQ(between_tags(reply->body, "ResultText"), result_text(c.expected));
  }
  EXPECT_TRUE(stored(fixture).empty());
  EXPECT_EQ(fixture.credits(), 1);
}

}  // namespace
}  // namespace lumora::test
