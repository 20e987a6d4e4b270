// POST /hotkeys over HTTP, requests built as the Windows program builds them.
#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "text/unicode.h"
#include "sending/submission.h"
#include "text/counters.h"
#include "service/accounts.h"
#include "service/client_address.h"
#include "service/result_codes.h"
#include "service_test_support.h"
#include "tests/count_cases.h"

namespace lumora::test {
namespace {

// How the text itself is stored and billed: the next test; a split end marker and Windows-1252
// bytes are read back in request_decoding_test.cpp.
TEST(Submission, AcceptedMessageGetsTheFixedReplyAndIsStoredForItsNumber) {
  ServiceFixture fixture;
  const auto reply = fixture.post(request_body("hello", "447700900999"));
  ASSERT_TRUE(reply);
  EXPECT_EQ(std::tuple(reply->status, reply->get_header_value("Content-Type"), reply->body),
            std::tuple(200, "text/xml",
                       "<?xml version=\"1.0\"?><SubmitMessageResponse Version=\"1.0\"><ResultCode>0"
                       "</ResultCode><ResultText>Message accepted</ResultText></SubmitMessageResponse>"));
  const auto messages = fixture.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(std::tie(messages[0].username, messages[0].destination, messages[0].body),
            std::tuple(kUser, "447700900999", "hello"));
}

// Every count edge case, the longest far beyond the 8 KB a form body may have in httplib's own
// form reading; the account is "Ёжик" with the password "α中🔑", the requests made by the
// program's own code.
TEST(Submission, EveryScriptIsStoredAsTypedAndBilledAsThePhoneCountsIt) {
  ServiceFixture fixture;
  const std::string user = "\xD0\x81\xD0\xB6\xD0\xB8\xD0\xBA";
  Database db(fixture.db_path());
  add_account(db, {user, "\xCE\xB1\xE4\xB8\xAD\xF0\x9F\x94\x91", kPhone, 100000});
  auto post = [&](const std::wstring& body) {
    const auto reply = fixture.post(sending::BuildFormBody(sending::BuildSubmissionXml(
        {L"\u0401\u0436\u0438\u043a", L"\u03b1\u4e2d\U0001F511", body, L""})));
    return reply ? between_tags(reply->body, "ResultCode") : "(no reply)";
  };
  std::int64_t credits = 100000;
  for (const auto& c : count_cases::kCases) {
    const std::wstring body = ComposeBody(c.message, c.footer);
    ASSERT_EQ(post(body), "0") << c.what;
    const StoredMessage last = fixture.messages().back();
    // No number: the account's own phone.
    EXPECT_EQ(std::tie(last.body, last.parts, last.destination), std::tuple(unicode::ToUtf8(body), c.parts, kPhone))
        << c.what;
    EXPECT_EQ(fixture.credits(user), credits -= c.parts) << c.what;
  }
}

TEST(Submission, RefusedRequestsStoreNothingAndKeepCredits) {
  ServiceFixture fixture(1);
  const struct {
    std::string form;
    ResultCode expected;
  } cases[] = {
      {"", ResultCode::kNoXmlData},
      {"\r\n\r\n&XMLDATA=", ResultCode::kNoXmlData},
      {form_body("<?xml version=\"1.0\"?><SubmitMessageRequest><Header>"), ResultCode::kMalformedRequest},
      {request_body("x", "", kUser, "wrong"), ResultCode::kLoginFailed},
      {request_body("x", "", "bob"), ResultCode::kLoginFailed},
      {request_body("x", "123456"), ResultCode::kBadDestination},
      {request_body(std::string(161, 'x')), ResultCode::kNotEnoughCredits},
      // A reference to a character XML does not allow makes the document malformed; it
      // never cuts the password short.
      {request_body("x", "", kUser, std::string(kPassword) + "&#0;x"), ResultCode::kMalformedRequest},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.form.substr(0, 300));
    const auto reply = fixture.post(c.form);
    ASSERT_TRUE(reply);
    EXPECT_EQ(std::tuple(reply->status, between_tags(reply->body, "ResultCode"), between_tags(reply->body, "ResultText")),
              std::tuple(200, std::to_string(result_number(c.expected)), result_text(c.expected)));
  }
  EXPECT_TRUE(fixture.messages().empty());
  EXPECT_EQ(fixture.credits(), 1);
}

// Group commit: every accepted send stored once, the credits never below zero.
TEST(Submission, SendsArrivingTogetherAreEachStoredOnceAndCreditsAreExact) {
  ServiceFixture fixture(50);
  std::mutex mutex;
  std::map<std::string, int> codes;
  std::vector<std::thread> clients;
  for (int c = 0; c < 80; c += 10) {
    clients.emplace_back([&, c] {
      for (int n = c; n < c + 10; ++n) {
        const std::string code = fixture.code_of(request_body("m" + std::to_string(n)));
        const std::lock_guard lock(mutex);
        ++codes[code];
      }
    });
  }
  for (auto& client : clients) client.join();
  std::set<std::string> bodies;
  for (const auto& m : fixture.messages()) bodies.insert(m.body);
  EXPECT_EQ(std::tuple(codes, fixture.messages().size(), bodies.size(), fixture.credits()),
            std::tuple(std::map<std::string, int>{{"0", 50}, {"5", 30}}, 50u, 50u, 0));
}

// Only the front proxy, which has the key, names the client; a client naming itself is the
// connection's own address.
TEST(Submission, TheClientAddressHeaderCountsOnlyWithTheFrontProxysKey) {
  ServiceFixture fixture;
  const auto as = [](const std::string& address, const std::string& key) {
    return httplib::Headers{{kClientHeader, address}, {kFrontKeyHeader, key}};
  };
  for (int i = 0; i < kFreeFailures; ++i) {
    EXPECT_EQ(fixture.code_of(request_body("x", "", kUser, "wrong"), as("10.0.0." + std::to_string(i), "forged")), "3");
  }
  EXPECT_EQ(fixture.code_of(request_body("x"), as("10.0.0.9", "forged")), "6");  // 127.0.0.1 is locked
  EXPECT_EQ(fixture.code_of(request_body("x"), as("10.0.0.9", kFrontKey)), "0");
}

}  // namespace
}  // namespace lumora::test
