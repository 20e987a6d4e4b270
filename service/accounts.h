#pragma once
// Accounts: login, home phone and message credits.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "service/sqlite_db.h"

namespace lumora {

struct Account {
  std::int64_t id = 0;
  std::string username;
  std::string password;  // kept in clear: this is a test and demo service
  std::string phone;
  std::int64_t credits = 0;
};

std::optional<Account> find_account(Database& db, std::string_view username);

// Throws when the user name is taken.
void add_account(Database& db, const Account& account);

// False when there is no such account.
bool set_credits(Database& db, std::string_view username, std::int64_t credits);

void take_credits(Database& db, std::int64_t account_id, std::int64_t count);

}  // namespace lumora
