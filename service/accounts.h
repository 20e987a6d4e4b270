#pragma once
// Accounts: login, home phone, message credits and activation.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "service/sqlite_db.h"

namespace lumora {

struct Account {
  std::int64_t id = 0;
  std::string username;
  std::string password_hash;  // see password_hash.h
  std::string phone;
  std::int64_t credits = 0;
  bool activated = false;  // messages appear to come from the account's own number
};

struct NewAccount {
  std::string username;
  std::string password;  // in clear; only its hash is stored
  std::string phone;
  std::int64_t credits = 0;
};

std::optional<Account> find_account(Database& db, std::string_view username);
std::optional<Account> find_account(Database& db, std::int64_t id);
// An account whose name looks like `username` (the same after name_key, user_names.h).
std::optional<Account> find_look_alike(Database& db, std::string_view username);

// Throws when the user name is taken. Callers refuse look-alikes first.
void add_account(Database& db, const NewAccount& account);

// False when there is no such account.
bool set_credits(Database& db, std::string_view username, std::int64_t credits);
bool set_password(Database& db, std::string_view username, std::string_view password);

void take_credits(Database& db, std::int64_t account_id, std::int64_t count);
void add_credits(Database& db, std::int64_t account_id, std::int64_t count);
void activate_account(Database& db, std::int64_t account_id);

}  // namespace lumora
