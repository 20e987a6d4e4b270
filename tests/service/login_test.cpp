// Logging in to the service: the program's login token read back, the throttle per account
// and address over time, the remembered password, and a database with passwords in clear
// converted when it is opened.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/encodings.h"
#include "service/login_check.h"
#include "service/service_db.h"
#include "service/web/login_token.h"
#include "service/web/session.h"
#include "service_test_support.h"

namespace lumora {
void PrintTo(LoginCheck check, std::ostream* out) {
  *out << (check == LoginCheck::kAccepted ? "accepted" : check == LoginCheck::kWrongPassword ? "wrong" : "refused");
}
namespace test {
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

// A database holding alice, and the guard of its password checks.
struct AliceDb : testing::Test {
  TempDir dir;
  Database db = database_with_alice(dir.path("t.db"));
  LoginGuard guard;
  static constexpr std::int64_t t = 1'000'000;
  LoginCheck check(const char* user, const char* password, const char* address, std::int64_t at) {
    return guard.check(db, user, password, address, at).check;
  }
};

constexpr auto kOk = LoginCheck::kAccepted, kWrong = LoginCheck::kWrongPassword, kRefused = LoginCheck::kThrottled;

TEST_F(AliceDb, FailuresLockOnlyTheirAddressWithBackoffAndNeverTheOwnerElsewhere) {
  const struct {
    std::int64_t at;
    const char* address;
    const char* password;
    LoginCheck expected;
    std::uint64_t hashes;  // Argon2id checks it cost
  } steps[] = {
      {0, "10.0.0.2", "guess 1", kWrong, 1}, {1, "10.0.0.2", "guess 2", kWrong, 1}, {2, "10.0.0.2", "guess 3", kWrong, 1},
      {3, "10.0.0.2", "guess 4", kWrong, 1}, {4, "10.0.0.2", "guess 5", kWrong, 1},
      {5, "10.0.0.2", kPassword, kRefused, 0},  // locked: even the right password, at no cost
      {5, "10.0.0.1", kPassword, kOk, 1},       // the owner elsewhere
      {6, "10.0.0.3", "guess", kWrong, 1},      // each address counts its own
      {63, "10.0.0.2", "guess 6", kRefused, 0},
      {64, "10.0.0.2", "guess 6", kWrong, 1},   // the lock is over; one more failure locks twice as long
      {64 + 119, "10.0.0.2", kPassword, kRefused, 0},
      {64 + 120, "10.0.0.2", kPassword, kOk, 0},  // remembered since the owner's sign-in: no hash
      {64 + 121, "10.0.0.2", "guess 7", kWrong, 1},  // a success cleared the count
  };
  for (const auto& s : steps) {
    const std::uint64_t before = guard.hashes();
    const LoginCheck answer = check(kUser, s.password, s.address, t + s.at);
    EXPECT_EQ(std::tuple(answer, guard.hashes() - before), std::tuple(s.expected, s.hashes))
        << s.at << " s, " << s.address << ", " << s.password;
  }
}

// The same work and the same answers for a name that has no account, so neither tells names.
TEST_F(AliceDb, AnUnknownNameCostsAndAnswersWhatAWrongPasswordDoes) {
  for (const char* user : {kUser, "nobody"}) {
    const std::uint64_t before = guard.hashes();
    std::vector<LoginCheck> answers;
    for (int i = 0; i < 6; ++i) answers.push_back(check(user, "guess", "10.0.0.9", t + i));
    EXPECT_EQ(answers, std::vector({kWrong, kWrong, kWrong, kWrong, kWrong, kRefused})) << user;
    EXPECT_EQ(guard.hashes() - before, 5u) << user;
  }
}

TEST_F(AliceDb, ManyAddressesFailingLetThroughOnlyAddressesThatVerifiedThePassword) {
  constexpr int kWide = 3;
  LoginGuard guard(kWide);
  const auto check = [&](const std::string& user, const char* password, const std::string& address, std::int64_t at) {
    return guard.check(db, user, password, address, at).check;
  };
  EXPECT_EQ(check(kUser, kPassword, "10.0.0.1", t), kOk);
  for (int i = 0; i < kWide; ++i) check(kUser, "guess", "10.1.0." + std::to_string(i), t + 1);
  EXPECT_EQ(check(kUser, kPassword, "10.0.0.7", t + 2), kRefused);  // a new address
  EXPECT_EQ(check(kUser, kPassword, "10.0.0.1", t + 2), kOk);       // the owner's
  EXPECT_EQ(check(kUser, kPassword, "10.0.0.7", t + 1 + kWideWindow), kOk);
  // One address failing on many names is refused for a name it never verified.
  for (int i = 0; i < kWide; ++i) check("user" + std::to_string(i), "guess", "10.2.0.1", t + 3);
  EXPECT_EQ(check(kUser, kPassword, "10.2.0.1", t + 4), kRefused);
}

TEST_F(AliceDb, ARememberedPasswordCostsNoHashUntilItExpiresOrThePasswordChanges) {
  const auto cost = [this](const char* password, std::int64_t at, LoginCheck expected) {
    const std::uint64_t before = guard.hashes();
    EXPECT_EQ(check(kUser, password, "10.0.0.1", at), expected) << password << " at " << at;
    return guard.hashes() - before;
  };
  EXPECT_EQ(cost(kPassword, t, kOk), 1u);
  EXPECT_EQ(cost(kPassword, t + 1, kOk), 0u);
  EXPECT_EQ(cost("wrong", t + 2, kWrong), 1u);  // a wrong password always pays
  EXPECT_EQ(cost(kPassword, t + kRemembered, kOk), 1u);
  EXPECT_EQ(cost(kPassword, t + kRemembered + 1, kOk), 0u);
  ASSERT_TRUE(set_password(db, kUser, "new secret"));
  EXPECT_EQ(cost(kPassword, t + kRemembered + 2, kWrong), 1u);
  EXPECT_EQ(cost("new secret", t + kRemembered + 3, kOk), 1u);
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

// Two accounts whose names look alike, from before such names were refused, both keep working.
TEST(PasswordStore, PlainPasswordsOfAnOlderDatabaseAreHashedWhenItIsOpened) {
  TempDir dir;
  const std::string path = dir.path("old.db");
  Database(path).exec("CREATE TABLE accounts (id INTEGER PRIMARY KEY, username TEXT NOT NULL UNIQUE, "
                      "password TEXT NOT NULL, phone TEXT NOT NULL, credits INTEGER NOT NULL DEFAULT 0);"
                      "INSERT INTO accounts (username, password, phone, credits) "
                      "VALUES ('alice', 's3cret', '447700900123', 7), ('Alice', 'other', '447700900124', 7)");
  Database db = open_service_db(path);
  const Account alice = *find_account(db, "alice");
  EXPECT_EQ(alice.password_hash.rfind("$argon2id$", 0), 0u) << alice.password_hash;
  LoginGuard guard;
  EXPECT_EQ(guard.check(db, "alice", "s3cret", "10.0.0.1").check, LoginCheck::kAccepted);
  EXPECT_EQ(guard.check(db, "Alice", "other", "10.0.0.1").check, LoginCheck::kAccepted);
  open_service_db(path);  // a second opening hashes nothing again
  EXPECT_EQ(find_account(db, "alice")->password_hash, alice.password_hash);
}

}  // namespace
}  // namespace test
}  // namespace lumora
