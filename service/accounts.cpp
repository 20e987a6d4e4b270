#include "service/accounts.h"

#include "service/password_hash.h"
#include "service/user_names.h"

namespace lumora {
namespace {

constexpr char kSelect[] =
    "SELECT id, username, password, phone, credits, activated FROM accounts WHERE ";

std::optional<Account> read_account(Statement& stmt) {
  if (!stmt.step()) return std::nullopt;
  return Account{stmt.integer(0), stmt.text(1),     stmt.text(2),
                 stmt.text(3),    stmt.integer(4), stmt.integer(5) != 0};
}

}  // namespace

std::optional<Account> find_account(Database& db, std::string_view username) {
  auto stmt = db.prepare(std::string(kSelect) + "username = ?");
  stmt.bind(1, username);
  return read_account(stmt);
}

std::optional<Account> find_look_alike(Database& db, std::string_view username) {
  auto stmt = db.prepare(std::string(kSelect) + "name_key = ? LIMIT 1");
  stmt.bind(1, name_key(username));
  return read_account(stmt);
}

std::optional<Account> find_account(Database& db, std::int64_t id) {
  auto stmt = db.prepare(std::string(kSelect) + "id = ?");
  stmt.bind(1, id);
  return read_account(stmt);
}

void add_account(Database& db, const NewAccount& account) {
  db.prepare("INSERT INTO accounts (username, password, phone, credits, name_key) VALUES (?, ?, ?, ?, ?)")
      .bind(1, account.username)
      .bind(2, hash_password(account.password))
      .bind(3, account.phone)
      .bind(4, account.credits)
      .bind(5, name_key(account.username))
      .step();
}

bool set_credits(Database& db, std::string_view username, std::int64_t credits) {
  db.prepare("UPDATE accounts SET credits = ? WHERE username = ?")
      .bind(1, credits)
      .bind(2, username)
      .step();
  return db.changes() == 1;
}

bool set_password(Database& db, std::string_view username, std::string_view password) {
  db.prepare("UPDATE accounts SET password = ? WHERE username = ?")
      .bind(1, hash_password(password))
      .bind(2, username)
      .step();
  return db.changes() == 1;
}

void take_credits(Database& db, std::int64_t account_id, std::int64_t count) {
  add_credits(db, account_id, -count);
}

void add_credits(Database& db, std::int64_t account_id, std::int64_t count) {
  db.prepare("UPDATE accounts SET credits = credits + ? WHERE id = ?")
      .bind(1, count)
      .bind(2, account_id)
      .step();
}

void activate_account(Database& db, std::int64_t account_id) {
  db.prepare("UPDATE accounts SET activated = 1 WHERE id = ?").bind(1, account_id).step();
}

}  // namespace lumora
