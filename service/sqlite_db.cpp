#include "service/sqlite_db.h"

#include <sqlite3.h>

#include <stdexcept>

namespace lumora {
namespace {

constexpr int kBusyTimeoutMs = 5000;

[[noreturn]] void fail(sqlite3* db, std::string_view what) {
  throw std::runtime_error("sqlite: " + std::string(what) + ": " +
                           (db ? sqlite3_errmsg(db) : "out of memory"));
}

}  // namespace

void Statement::Finalize::operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, nullptr) !=
      SQLITE_OK) {
    sqlite3_finalize(raw);
    fail(db, sql);
  }
  stmt_.reset(raw);
}

Statement& Statement::bind(int index, std::string_view text) {
  if (sqlite3_bind_text(stmt_.get(), index, text.data(), static_cast<int>(text.size()),
                        SQLITE_TRANSIENT) != SQLITE_OK) {
    fail(db_, "bind");
  }
  return *this;
}

Statement& Statement::bind(int index, std::int64_t value) {
  if (sqlite3_bind_int64(stmt_.get(), index, value) != SQLITE_OK) fail(db_, "bind");
  return *this;
}

bool Statement::step() {
  const int rc = sqlite3_step(stmt_.get());
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  fail(db_, "step");
}

std::string Statement::text(int column) const {
  const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_.get(), column));
  return data ? std::string(data, static_cast<std::size_t>(sqlite3_column_bytes(stmt_.get(), column)))
              : std::string();
}

std::int64_t Statement::integer(int column) const {
  return sqlite3_column_int64(stmt_.get(), column);
}

void Database::Close::operator()(sqlite3* db) const { sqlite3_close(db); }

Database::Database(const std::string& path) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &raw,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  db_.reset(raw);  // a failed open still returns a handle that must be closed
  if (rc != SQLITE_OK) fail(raw, "open " + path);
  sqlite3_busy_timeout(raw, kBusyTimeoutMs);
  exec("PRAGMA journal_mode=WAL");
  exec("PRAGMA foreign_keys=ON");
}

void Database::exec(const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message ? message : "unknown error";
    sqlite3_free(message);
    throw std::runtime_error("sqlite: " + std::string(sql) + ": " + text);
  }
}

int Database::changes() const { return sqlite3_changes(db_.get()); }

DatabasePool::Lease DatabasePool::lease() {
  {
    const std::lock_guard lock(mutex_);
    if (!idle_.empty()) {
      std::unique_ptr<Database> db = std::move(idle_.back());
      idle_.pop_back();
      return {*this, std::move(db)};
    }
  }
  return {*this, std::make_unique<Database>(path_)};
}

void DatabasePool::put_back(std::unique_ptr<Database> db) {
  const std::lock_guard lock(mutex_);
  idle_.push_back(std::move(db));
}

Transaction::Transaction(Database& db) : db_(db) { db_.exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  if (done_) return;
  try {
    db_.exec("ROLLBACK");
  } catch (const std::exception&) {
    // The connection is being abandoned anyway; SQLite rolls back when it closes.
  }
}

void Transaction::commit() {
  db_.exec("COMMIT");
  done_ = true;
}

}  // namespace lumora
