#pragma once
// Owners for SQLite connections and statements; every failure becomes a std::runtime_error.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace lumora {

class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql);

  // Parameters are numbered from 1, as in SQLite.
  Statement& bind(int index, std::string_view text);
  Statement& bind(int index, std::int64_t value);

  // Runs to the next row; false when there are no more rows.
  bool step();
  std::string text(int column) const;
  std::int64_t integer(int column) const;

 private:
  struct Finalize {
    void operator()(sqlite3_stmt* stmt) const;
  };
  sqlite3* db_;
  std::unique_ptr<sqlite3_stmt, Finalize> stmt_;
};

class Database {
 public:
  // Opens or creates the file in WAL mode with a busy timeout, so the admin commands and the
  // server can use it at the same time.
  explicit Database(const std::string& path);

  Statement prepare(std::string_view sql) { return Statement(db_.get(), sql); }
  void exec(const char* sql);
  int changes() const;

 private:
  struct Close {
    void operator()(sqlite3* db) const;
  };
  std::unique_ptr<sqlite3, Close> db_;
};

// Connections to one file kept open between requests: opening one costs more than most
// requests. A lease hands one out and puts it back when it ends; there are never more
// connections than requests served at once.
class DatabasePool {
 public:
  explicit DatabasePool(std::string path) : path_(std::move(path)) {}

  class Lease {
   public:
    Lease(DatabasePool& pool, std::unique_ptr<Database> db) : pool_(pool), db_(std::move(db)) {}
    ~Lease() { pool_.put_back(std::move(db_)); }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    Database& operator*() const { return *db_; }

   private:
    DatabasePool& pool_;
    std::unique_ptr<Database> db_;
  };

  Lease lease();

 private:
  void put_back(std::unique_ptr<Database> db);

  const std::string path_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<Database>> idle_;
};

// BEGIN IMMEDIATE on construction, so that a read-check-write sequence holds the write lock
// from its first read; rolls back unless commit() was called.
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void commit();

 private:
  Database& db_;
  bool done_ = false;
};

}  // namespace lumora
