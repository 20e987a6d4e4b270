#pragma once
// Password checks, throttled per account: after kMaxFailures wrong passwords within
// kFailureWindow the account refuses every try at once, right or wrong, for kLockout; then it
// takes passwords again. Nothing locks an account for good. The sign-in pages and
// POST /hotkeys share the count, so neither is a way round the other.
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "service/accounts.h"
#include "service/sqlite_db.h"

namespace lumora {

inline constexpr int kMaxFailures = 5;
inline constexpr std::chrono::seconds kFailureWindow{60};
inline constexpr std::chrono::seconds kLockout{60};

enum class LoginCheck { kAccepted, kWrongPassword, kThrottled };

std::int64_t unix_now();

// True when one of `passwords` is the account's; a login token can be read several ways, so
// a caller may offer a few readings, which count as one try. A refusal records one failure.
LoginCheck check_login(Database& db, const Account& account,
                       const std::vector<std::string>& passwords, std::int64_t now = unix_now());

inline LoginCheck check_login(Database& db, const Account& account, std::string_view password) {
  return check_login(db, account, std::vector<std::string>{std::string(password)});
}

}  // namespace lumora
