// Logging in to the service: the program's login token read back, the per-account throttle
// over time, and a database with passwords in clear converted when it is opened.
#include <gtest/gtest.h>

#include <algorithm>

#include "text/encodings.h"
#include "service/login_check.h"
#include "service/service_db.h"
#include "service/web/login_token.h"
#include "service/web/session.h"
#include "service_test_support.h"

namespace lumora::test {
namespace {

TEST(LoginToken, ReadsTheProgramsTokenAlsoWhereBytesBelow16LostTheirLeadingZero) {
  // From the 22nd character on, the scrambling key is 32 or more, so "%" (0x25) there
  // scrambles to a byte below 16, which the token writes as one digit.
  for (const char* password : {"s3cret", "p%ss%word%%-long%%%%%%"}) {
    const std::string token = encodings::HexEncode(encodings::Scramble(std::string("alice ") + password));
    const auto readings = read_login_token(token);
    EXPECT_TRUE(std::any_of(readings.begin(), readings.end(),
                            [&](const LoginReading& r) { return r.username == "alice" && r.password == password; }))
        << token;
  }
  EXPECT_TRUE(read_login_token("12G4").empty());
  EXPECT_TRUE(read_login_token(std::string(600, 'A')).empty());
}

// A database holding alice.
struct AliceDb : testing::Test {
  TempDir dir;
  Database db = database_with_alice(dir.path("t.db"));
};

TEST_F(AliceDb, FiveFailuresInAMinuteRefuseEvenTheRightPasswordForAMinuteOnly) {
  const Account alice = *find_account(db, kUser);
  const std::int64_t t = 1'000'000;
  EXPECT_EQ(check_login(db, alice, {"wrong"}, t), LoginCheck::kWrongPassword);
  EXPECT_EQ(check_login(db, alice, {"wrong", kPassword}, t), LoginCheck::kAccepted);  // resets
  for (int i = 0; i < 4; ++i) check_login(db, alice, {"wrong"}, t + i);
  EXPECT_EQ(check_login(db, alice, {"wrong"}, t + 70), LoginCheck::kWrongPassword);  // new window
  for (int i = 0; i < 4; ++i) check_login(db, alice, {"wrong"}, t + 71 + i);
  EXPECT_EQ(check_login(db, alice, {kPassword}, t + 80), LoginCheck::kThrottled);
  EXPECT_EQ(check_login(db, alice, {kPassword}, t + 74 + 59), LoginCheck::kThrottled);
  EXPECT_EQ(check_login(db, alice, {kPassword}, t + 74 + 60), LoginCheck::kAccepted);
}

TEST_F(AliceDb, SessionsEndOnSignOutAndOnExpiry) {
  const std::int64_t t = 1'000'000;
  const Session a = start_session(db, find_account(db, kUser)->id, t);
  const Session b = start_session(db, find_account(db, kUser)->id, t);
  EXPECT_EQ(a.id.size(), 64u);  // 256 random bits
  EXPECT_NE(a.id, b.id);
  EXPECT_TRUE(find_session(db, a.id, t + kSessionSeconds - 1));
  EXPECT_FALSE(find_session(db, a.id, t + kSessionSeconds));
  end_session(db, b.id);
  EXPECT_FALSE(find_session(db, b.id, t + 1));
}

TEST(PasswordStore, PlainPasswordsOfAnOlderDatabaseAreHashedWhenItIsOpened) {
  TempDir dir;
  const std::string path = dir.path("old.db");
  Database(path).exec("CREATE TABLE accounts (id INTEGER PRIMARY KEY, username TEXT NOT NULL UNIQUE, "
                      "password TEXT NOT NULL, phone TEXT NOT NULL, credits INTEGER NOT NULL DEFAULT 0);"
                      "INSERT INTO accounts (username, password, phone, credits) "
                      "VALUES ('alice', 's3cret', '447700900123', 7)");
  Database db = open_service_db(path);
  const Account alice = *find_account(db, "alice");
  EXPECT_EQ(alice.password_hash.rfind("$argon2id$", 0), 0u) << alice.password_hash;
  EXPECT_EQ(check_login(db, alice, "s3cret"), LoginCheck::kAccepted);
  open_service_db(path);  // a second opening hashes nothing again
  EXPECT_EQ(find_account(db, "alice")->password_hash, alice.password_hash);
}

}  // namespace
}  // namespace lumora::test
