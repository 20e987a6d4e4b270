// Logging in to the service: the program's login token read back, the throttle per account
// and address over time, the remembered password, and a database with passwords in clear
// converted when it is opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "options/account_links.h"
#include "text/unicode.h"
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

// The program's own tokens, read as a sign-in reads them: the right password must come among
// the few that it tries for the name (kMaxReadings). From the 22nd character on the scrambling
// key is 32 or more, so punctuation there (digits from the 38th, letters further on) scrambles
// to a byte below 16, written as one digit: long credentials cut in very many ways. Names
// beyond Windows-1252 travel as XML references, as in the submission request.
TEST(LoginToken, LongCredentialsAndReferencedNamesAreReadAmongTheFewPasswordsTried) {
  const std::wstring alnum = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  const std::wstring ascii = alnum + L"!#$%&*+-./:;<=>?@_";
  const std::wstring cyrillic = L"\u0430\u0431\u0432\u0433\u0434\u0435\u0436\u0437\u0438\u043a\u043b\u043c";
  std::mt19937 random(7);
  const auto word = [&](std::wstring_view letters, std::size_t length) {
    std::wstring text;
    while (text.size() < length) text += letters[random() % letters.size()];
    return text;
  };
  // Letters of the user name and of the password, the shortest and longest of both together,
  // and how many of 100 must be read.
  const std::tuple<std::wstring_view, std::wstring_view, std::size_t, std::size_t, int> bands[] = {
      {alnum, alnum, 9, 24, 100}, {alnum, alnum, 25, 32, 100}, {ascii, ascii, 9, 24, 100},
      {ascii, ascii, 25, 32, 90}, {cyrillic, alnum, 8, 18, 90}};
  const auto read = [](const std::wstring& user, const std::wstring& password) {
    const auto is_user = [&](const std::string& name) { return name == unicode::ToUtf8(user); };
    std::vector<std::string> tried;  // the passwords a sign-in tries for the name, in order
    for (const LoginReading& r : read_login_token(unicode::ToUtf8(account_links::LoginToken(user, password)), is_user))
      if (is_user(r.username) && tried.size() < kMaxReadings) tried.push_back(r.password);
    return std::find(tried.begin(), tried.end(), unicode::ToUtf8(password)) != tried.end();
  };
  for (const auto& [user, password] : {std::pair<std::wstring, std::wstring>{L"alice", L"s3cret"}, {L"a&b<c>", L"x&#x41;y"},
                                       {L"\u0421\u0430\u0448\u0430", L"parol1"}, {L"Zo\u00eb", L"caf\u00e9"}})
    EXPECT_TRUE(read(user, password)) << unicode::ToUtf8(user) << " " << unicode::ToUtf8(password);
  for (const auto& [user_letters, password_letters, shortest, longest, at_least] : bands) {
    int hits = 0;
    for (int i = 0; i < 100; ++i) {
      const std::size_t length = shortest + random() % (longest - shortest + 1), user = 2 + random() % (length / 2 - 1);
      hits += read(word(user_letters, user), word(password_letters, length - user));
    }
    EXPECT_GE(hits, at_least) << "credentials of " << shortest << " to " << longest << " characters";
  }
  const auto anyone = [](const std::string&) { return true; };
  EXPECT_TRUE(read_login_token("12G4", anyone).empty());
  EXPECT_TRUE(read_login_token(std::string(600, 'A'), anyone).empty());
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
