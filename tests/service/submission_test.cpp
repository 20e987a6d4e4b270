// POST /hotkeys over HTTP, requests built as the Windows program builds them.
#include <gtest/gtest.h>

#include "service/messages.h"
#include "service/result_codes.h"
#include "service/service_db.h"
#include "service_test_support.h"

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

TEST(Submission, CreditsAreTakenPerStartedPartOf160CharactersAndNoNumberMeansOwnPhone) {
  ServiceFixture fixture(3);
  EXPECT_EQ(fixture.submit(std::string(160, 'a')), "0");
  EXPECT_EQ(fixture.credits(), 2);
  EXPECT_EQ(fixture.submit(std::string(161, 'b')), "0");
  EXPECT_EQ(fixture.credits(), 0);
  EXPECT_EQ(fixture.submit("c"), code(ResultCode::kNotEnoughCredits));
  const auto messages = stored(fixture);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].parts, 1);
  EXPECT_EQ(messages[1].parts, 2);
  EXPECT_EQ(messages[1].destination, kPhone);
}

TEST(Submission, LongMessageBeyondEightKilobytesEncodedIsAccepted) {
  ServiceFixture fixture(100);
  const std::string body(3000, '&');  // 9000 bytes once form-encoded
  EXPECT_EQ(fixture.submit(body), "0");
  EXPECT_EQ(stored(fixture).at(0).body, body);
  EXPECT_EQ(fixture.credits(), 100 - 19);
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
