#pragma once
// Who is asking: the signed-in account's session (a random identifier kept in the database and
// carried in an HttpOnly cookie), or an anonymous visitor, whose forms carry the token of a
// cookie of their own. Every form that changes something sends its token back in `csrf`.
#include <httplib.h>

#include <cstdint>
#include <optional>
#include <string>

#include "service/accounts.h"
#include "service/sqlite_db.h"

namespace lumora {

inline constexpr std::int64_t kSessionSeconds = 8 * 60 * 60;

struct Session {
  std::string id;
  std::int64_t account_id = 0;
  std::string csrf;
};

// 256 random bits in hexadecimal.
std::string random_token();

Session start_session(Database& db, std::int64_t account_id, std::int64_t now);
std::optional<Session> find_session(Database& db, const std::string& id, std::int64_t now);
void end_session(Database& db, const std::string& id);

struct Visit {
  bool https = false;
  std::optional<Session> session;
  std::optional<Account> account;  // set together with session
  std::string form_token;           // what `csrf` must hold on a POST from this visitor
};

// Reads the cookies; an anonymous visitor without a form cookie is given one.
Visit visit_of(Database& db, const httplib::Request& request, httplib::Response& response,
               bool https);
bool form_token_matches(const Visit& visit, const httplib::Request& request);

// The new session replaces any earlier one in the cookie (a fresh identifier at every sign-in).
void set_session_cookie(httplib::Response& response, const Visit& visit, const Session& session);
void clear_session_cookie(httplib::Response& response, const Visit& visit);

// The decoded value of a field of the form body, empty when missing.
std::string form_value(const httplib::Request& request, const char* name);

}  // namespace lumora
