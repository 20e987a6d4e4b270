// Logging in to the service: the program's login token read back, the throttle per account
// and address over time, the remembered password, and a database with passwords in clear
// converted when it is opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "text/encodings.h"
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
  // scrambles to a byte below 16, which the token writes as one digit; digits do so from the
  // 38th on. Such bytes make many readings: the likely ones must come within the limit.
  std::vector<std::pair<std::string, std::string>> logins = {{"alice", "s3cret"}, {"alice", "p%ss%word%%-long%%%%%%"}};
  std::mt19937 random(7);
  const auto word = [&](std::size_t length) {
    std::string text;
    while (text.size() < length) text += "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"[random() % 62];
    return text;
  };
  while (logins.size() < 300) logins.emplace_back(word(3 + random() % 14), word(6 + random() % 11));
  for (const auto& [user, password] : logins) {
    const auto readings = read_login_token(encodings::HexEncode(encodings::Scramble(user + " " + password)));
    EXPECT_TRUE(std::any_of(readings.begin(), readings.end(),
                            [&](const LoginReading& r) { return r.username == user && r.password == password; }))
        << user << " " << password;
  }
  EXPECT_TRUE(read_login_token("12G4").empty());
  EXPECT_TRUE(read_login_token(std::string(600, 'A')).empty());
}

// A database holding alice, and the guard of its password checks.
struct AliceDb : testing::Test {
  TempDir dir;
  Database db = database_with_alice(dir.path("t.db"));
  std::unique_ptr<LoginGuard> guard = std::make_unique<LoginGuard>();
  static constexpr std::int64_t t = 1'000'000;
  // The answer to a try at t + `at`, and the Argon2id hashes it cost.
  std::pair<LoginCheck, std::uint64_t> answer(const std::string& user, const char* password, const std::string& address,
                                              std::int64_t at) {
    const std::uint64_t before = guard->hashes();
    const LoginCheck check = guard->check(db, user, password, address, t + at).check;
    return {check, guard->hashes() - before};
  }
};

constexpr auto kOk = LoginCheck::kAccepted, kWrong = LoginCheck::kWrongPassword, kRefused = LoginCheck::kThrottled;

TEST_F(AliceDb, FailuresLockOnlyTheirAddressWithBackoffAndARememberedPasswordCostsNoHash) {
  for (int i = 0; i < kFreeFailures; ++i) answer(kUser, "guess", "10.0.0.2", i);
  const struct {
    std::int64_t at;
    const char* address;
    const char* password;
    std::pair<LoginCheck, std::uint64_t> expected;
  } steps[] = {
      {5, "10.0.0.2", kPassword, {kRefused, 0}},  // locked: even the right password, at no cost
      {5, "10.0.0.1", kPassword, {kOk, 1}},       // the owner elsewhere
      {6, "10.0.0.1", kPassword, {kOk, 0}},       // remembered
      {7, "10.0.0.1", "guess", {kWrong, 1}},      // a wrong password always pays
      {63, "10.0.0.2", "guess", {kRefused, 0}},
      {64, "10.0.0.2", "guess", {kWrong, 1}},     // the lock is over; one more failure locks for 120 s
      {183, "10.0.0.2", kPassword, {kRefused, 0}},
      {184, "10.0.0.2", kPassword, {kOk, 0}},
      {185, "10.0.0.2", "guess", {kWrong, 1}},    // the success cleared the count
      {5 + kRemembered, "10.0.0.1", kPassword, {kOk, 1}},
  };
  for (const auto& s : steps) EXPECT_EQ(answer(kUser, s.password, s.address, s.at), s.expected) << s.at << " s, " << s.address;
  ASSERT_TRUE(set_password(db, kUser, "new secret"));  // forgotten at once
  EXPECT_EQ(answer(kUser, kPassword, "10.0.0.1", 6 + kRemembered), std::pair(kWrong, std::uint64_t{1}));
}

// The same work and the same answers for a name that has no account, so neither tells names.
TEST_F(AliceDb, AnUnknownNameCostsAndAnswersWhatAWrongPasswordDoes) {
  std::vector<std::pair<LoginCheck, std::uint64_t>> expected(kFreeFailures, {kWrong, 1}), answers;
  expected.push_back({kRefused, 0});
  for (const char* user : {kUser, "nobody"}) {
    for (int i = 0; i < 6; ++i) answers.push_back(answer(user, "guess", "10.0.0.9", i));
    EXPECT_EQ(answers, expected) << user;
    answers.clear();
  }
}

TEST_F(AliceDb, ManyAddressesFailingLetThroughOnlyAddressesThatVerifiedThePassword) {
  guard = std::make_unique<LoginGuard>(3);  // the wider limits after 3 failures, each a hash
  EXPECT_EQ(answer(kUser, kPassword, "10.0.0.1", 0).first, kOk);
  for (int i = 0; i < 3; ++i) answer(kUser, "guess", "10.1.0." + std::to_string(i), 1);
  EXPECT_EQ(answer(kUser, kPassword, "10.0.0.7", 2).first, kRefused);  // a new address
  EXPECT_EQ(answer(kUser, kPassword, "10.0.0.1", 2).first, kOk);       // the owner's
  EXPECT_EQ(answer(kUser, kPassword, "10.0.0.7", 1 + kWideWindow).first, kOk);
  // One address failing on many names is refused for a name it never verified.
  for (int i = 0; i < 3; ++i) answer("user" + std::to_string(i), "guess", "10.2.0.1", 3);
  EXPECT_EQ(answer(kUser, kPassword, "10.2.0.1", 4).first, kRefused);
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
