#include "service/service_db.h"

#include "service/password_hash.h"
#include "service/user_names.h"

namespace lumora {
namespace {

// user_version 1: passwords are Argon2id hashes and accounts have `activated`. A file from
// before keeps them in clear; they are hashed here, once.
// user_version 2: accounts have `name_key` (user_names.h), filled here for the accounts made
// before, which keep their names even where two of them look alike; the login throttle left
// its table for memory.
constexpr std::int64_t kSchemaVersion = 2;

std::int64_t schema_version(Database& db) {
  auto stmt = db.prepare("PRAGMA user_version");
  stmt.step();
  return stmt.integer(0);
}

bool has_column(Database& db, std::string_view column) {
  auto stmt = db.prepare("SELECT COUNT(*) FROM pragma_table_info('accounts') WHERE name = ?");
  stmt.bind(1, column).step();
  return stmt.integer(0) > 0;
}

// Sets `column` of every account to `make` of its column `from`.
void set_each_account(Database& db, const std::string& column, const std::string& from,
                      std::string (*make)(std::string_view)) {
  auto rows = db.prepare("SELECT id, " + from + " FROM accounts");
  while (rows.step()) {
    db.prepare("UPDATE accounts SET " + column + " = ? WHERE id = ?")
        .bind(1, make(rows.text(1)))
        .bind(2, rows.integer(0))
        .step();
  }
}

void upgrade(Database& db) {
  if (schema_version(db) >= kSchemaVersion) return;
  Transaction tx(db);
  const std::int64_t version = schema_version(db);
  if (version >= kSchemaVersion) return;  // another process was first
  if (version < 1) {
    if (!has_column(db, "activated")) db.exec("ALTER TABLE accounts ADD COLUMN activated INTEGER NOT NULL DEFAULT 0");
    set_each_account(db, "password", "password", hash_password);
  }
  if (!has_column(db, "name_key")) db.exec("ALTER TABLE accounts ADD COLUMN name_key TEXT");
  set_each_account(db, "name_key", "username", name_key);
  db.exec("CREATE INDEX IF NOT EXISTS accounts_by_name_key ON accounts (name_key);"
          "DROP TABLE IF EXISTS login_throttle;"
          "PRAGMA user_version = 2");
  tx.commit();
}

}  // namespace

Database open_service_db(const std::string& path) {
  Database db(path);
  db.exec(R"sql(
    CREATE TABLE IF NOT EXISTS accounts (
      id       INTEGER PRIMARY KEY,
      username TEXT NOT NULL UNIQUE,
      password TEXT NOT NULL,
      phone    TEXT NOT NULL,
      credits  INTEGER NOT NULL DEFAULT 0 CHECK (credits >= 0)
    );
    CREATE TABLE IF NOT EXISTS messages (
      id          INTEGER PRIMARY KEY,
      account     INTEGER NOT NULL REFERENCES accounts(id),
      destination TEXT NOT NULL,
      body        TEXT NOT NULL,
      parts       INTEGER NOT NULL,
      created     TEXT NOT NULL
    );
    CREATE TABLE IF NOT EXISTS faults (
      key   TEXT PRIMARY KEY,
      value TEXT NOT NULL
    );
    CREATE TABLE IF NOT EXISTS sessions (
      id      TEXT PRIMARY KEY,
      account INTEGER NOT NULL REFERENCES accounts(id),
      csrf    TEXT NOT NULL,
      expires INTEGER NOT NULL
    );
    CREATE TABLE IF NOT EXISTS purchases (
      id        TEXT PRIMARY KEY,
      account   INTEGER NOT NULL REFERENCES accounts(id),
      credits   INTEGER NOT NULL,
      confirmed INTEGER NOT NULL DEFAULT 0
    );
    CREATE INDEX IF NOT EXISTS messages_by_account ON messages (account, id);
  )sql");
  upgrade(db);
  return db;
}

}  // namespace lumora
