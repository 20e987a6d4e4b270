// Registration through the form, from one client address: names that look like a taken one or
// hold invisible characters are refused, and an address makes a few accounts an hour at most.
#include <gtest/gtest.h>

#include "text/encodings.h"
#include "service_test_support.h"

namespace lumora::test {
namespace {

TEST(Registration, LookAlikeOrInvisibleNamesAreRefusedAndAnAddressMakesThreeAccountsAnHour) {
  ServiceFixture fixture;  // alice
  const std::string token(64, 'a');  // the visitor's form cookie, sent back in the form
  const auto register_as = [&](const std::string& user) {
    httplib::Client client("127.0.0.1", fixture.service->port());
    const auto reply = client.Post("/options.jsp", {{"Cookie", "lumora_form=" + token}},
                                   "csrf=" + token + "&user=" + encodings::URLEncode(user) +
                                       "&password=fresh+pass+1&password2=fresh+pass+1&country=44&phone=07700900555",
                                   "application/x-www-form-urlencoded");
    if (!reply) return std::string("no reply");
    for (const char* said : {"is taken", "invisible characters", "Too many new accounts"}) {
      if (reply->body.find(said) != std::string::npos) return std::to_string(reply->status) + " " + said;
    }
    return std::to_string(reply->status);
  };
  const std::pair<std::string, std::string> cases[] = {
      {"Alice", "400 is taken"}, {"ALICE", "400 is taken"},
      // A no-break space after or before, a soft hyphen inside, however new the name.
      {"alice\xC2\xA0", "400 invisible characters"}, {"\xC2\xA0" "alice", "400 invisible characters"},
      {"al\xC2\xAD" "ice", "400 invisible characters"}, {"bob\xC2\xA0", "400 invisible characters"},
      {"carol", "303"}, {"CAROL", "400 is taken"}, {"dave", "303"}, {"erin", "303"},
      {"frank", "429 Too many new accounts"},
  };
  for (const auto& [user, answer] : cases) EXPECT_EQ(register_as(user), answer) << user;
  Database db(fixture.db_path());
  auto names = db.prepare("SELECT group_concat(username, ' ') FROM accounts");
  names.step();
  EXPECT_EQ(names.text(0), "alice carol dave erin");
}

}  // namespace
}  // namespace lumora::test
