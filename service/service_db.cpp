#include "service/service_db.h"

#include "service/password_hash.h"

namespace lumora {
namespace {

// user_version 1: passwords are Argon2id hashes and accounts have `activated`. A file from
// before keeps them in clear; they are hashed here, once, in one transaction.
constexpr std::int64_t kSchemaVersion = 1;

std::int64_t schema_version(Database& db) {
  auto stmt = db.prepare("PRAGMA user_version");
  stmt.step();
  return stmt.integer(0);
}

void upgrade(Database& db) {
  if (schema_version(db) >= kSchemaVersion) return;
  Transaction tx(db);
  if (schema_version(db) >= kSchemaVersion) return;  // another process was first
  auto has_activated = db.prepare(
      "SELECT COUNT(*) FROM pragma_table_info('accounts') WHERE name = 'activated'");
  has_activated.step();
  if (has_activated.integer(0) == 0) {
    db.exec("ALTER TABLE accounts ADD COLUMN activated INTEGER NOT NULL DEFAULT 0");
  }
  auto plain = db.prepare("SELECT id, password FROM accounts");
  while (plain.step()) {
    db.prepare("UPDATE accounts SET password = ? WHERE id = ?")
        .bind(1, hash_password(plain.text(1)))
        .bind(2, plain.integer(0))
        .step();
  }
  db.exec("PRAGMA user_version = 1");
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
    CREATE TABLE IF NOT EXISTS login_throttle (
      account       INTEGER PRIMARY KEY REFERENCES accounts(id),
      failures      INTEGER NOT NULL,
      first_failure INTEGER NOT NULL,
      locked_until  INTEGER NOT NULL
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
