#include "service/login_check.h"

#include "service/password_hash.h"

namespace lumora {
namespace {

// Each reading costs one Argon2id hash; more than this many is not a login but a search.
constexpr std::size_t kMaxReadings = 4;

bool throttled(Database& db, std::int64_t account_id, std::int64_t now) {
  auto stmt = db.prepare("SELECT locked_until FROM login_throttle WHERE account = ?");
  stmt.bind(1, account_id);
  return stmt.step() && stmt.integer(0) > now;
}

void record_failure(Database& db, std::int64_t account_id, std::int64_t now) {
  // One statement, so that failures arriving together are all counted.
  db.prepare(R"sql(
      INSERT INTO login_throttle (account, failures, first_failure, locked_until)
      VALUES (?1, 1, ?2, 0)
      ON CONFLICT (account) DO UPDATE SET
        failures = CASE WHEN ?2 - first_failure >= ?3 THEN 1 ELSE failures + 1 END,
        first_failure = CASE WHEN ?2 - first_failure >= ?3 THEN ?2 ELSE first_failure END)sql")
      .bind(1, account_id)
      .bind(2, now)
      .bind(3, static_cast<std::int64_t>(kFailureWindow.count()))
      .step();
  db.prepare("UPDATE login_throttle SET failures = 0, first_failure = ?2, locked_until = ?2 + ?3 "
             "WHERE account = ?1 AND failures >= ?4")
      .bind(1, account_id)
      .bind(2, now)
      .bind(3, static_cast<std::int64_t>(kLockout.count()))
      .bind(4, std::int64_t{kMaxFailures})
      .step();
}

}  // namespace

std::int64_t unix_now() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

LoginCheck check_login(Database& db, const Account& account,
                       const std::vector<std::string>& passwords, std::int64_t now) {
  if (throttled(db, account.id, now)) return LoginCheck::kThrottled;
  for (std::size_t i = 0; i < passwords.size() && i < kMaxReadings; ++i) {
    if (password_matches(account.password_hash, passwords[i])) {
      db.prepare("DELETE FROM login_throttle WHERE account = ?").bind(1, account.id).step();
      return LoginCheck::kAccepted;
    }
  }
  record_failure(db, account.id, now);
  return LoginCheck::kWrongPassword;
}

}  // namespace lumora
