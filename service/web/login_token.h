#pragma once
// Reading the login token of the program's account links: the "user password" text,
// scrambled as the settings file is and written as hexadecimal without leading zeros.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

struct LoginReading {
  std::string username;  // UTF-8
  std::string password;  // UTF-8
};

// The likeliest readings of the token whose user name `is_account` knows, likeliest first;
// when it knows none, the likeliest reading of all. A byte below 16 was written as one digit,
// so a digit may be a byte of its own or the first of two, and long tokens can be cut in very
// many ways: readings whose text holds a control character are dropped, and the rest are
// ranked by how unlikely their characters are (a wrong cut turns about every other byte into
// one beyond ASCII). The user name ends at the first space. XML references ("&#x421;",
// "&amp;") stand for their characters, as in the submission request. At most `limit`
// readings; none for a token that is not hexadecimal or too long.
std::vector<LoginReading> read_login_token(std::string_view hex, const std::function<bool(const std::string&)>& is_account,
                                          std::size_t limit = 16);

}  // namespace lumora
