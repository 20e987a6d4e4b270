#include "service/accounts.h"

namespace lumora {

std::optional<Account> find_account(Database& db, std::string_view username) {
  auto stmt =
      db.prepare("SELECT id, username, password, phone, credits FROM accounts WHERE username = ?");
  stmt.bind(1, username);
  if (!stmt.step()) return std::nullopt;
  return Account{stmt.integer(0), stmt.text(1), stmt.text(2), stmt.text(3), stmt.integer(4)};
}

void add_account(Database& db, const Account& account) {
  db.prepare("INSERT INTO accounts (username, password, phone, credits) VALUES (?, ?, ?, ?)")
      .bind(1, account.username)
      .bind(2, account.password)
      .bind(3, account.phone)
      .bind(4, account.credits)
      .step();
}

bool set_credits(Database& db, std::string_view username, std::int64_t credits) {
  db.prepare("UPDATE accounts SET credits = ? WHERE username = ?")
      .bind(1, credits)
      .bind(2, username)
      .step();
  return db.changes() == 1;
}

void take_credits(Database& db, std::int64_t account_id, std::int64_t count) {
  db.prepare("UPDATE accounts SET credits = credits - ? WHERE id = ?")
      .bind(1, count)
      .bind(2, account_id)
      .step();
}

}  // namespace lumora
