#include "service/service_db.h"

namespace lumora {

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
  )sql");
  return db;
}

}  // namespace lumora
