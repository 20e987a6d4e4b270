#pragma once
// Reading the login token of the program's account links: the "user password" text,
// scrambled as the settings file is and written as hexadecimal without leading zeros.
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

struct LoginReading {
  std::string username;  // UTF-8
  std::string password;  // UTF-8
};

// Every way the token can be read. A byte below 16 was written as one digit, so a digit may
// be a byte of its own or the first of two; readings whose unscrambled text holds a control
// character are dropped, which leaves few. Each space may be the one between user name and
// password. At most `limit` readings; none for a token that is not hexadecimal or too long.
std::vector<LoginReading> read_login_token(std::string_view hex, std::size_t limit = 16);

}  // namespace lumora
