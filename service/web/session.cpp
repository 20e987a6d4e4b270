#include "service/web/session.h"

#include <sodium.h>

#include <stdexcept>

#include "service/form_decoding.h"
#include "service/login_check.h"

namespace lumora {
namespace {

// Over HTTPS the cookies take the __Host- prefix, which the browser accepts only with Secure,
// Path=/ and no Domain; over HTTP their own names, so the two never overwrite each other.
std::string cookie_name(bool https, const char* name) {
  return (https ? "__Host-" : "") + std::string(name);
}

std::string cookie(bool https, const char* name, const std::string& value,
                   const std::string& lifetime) {
  return cookie_name(https, name) + "=" + value + "; Path=/" + lifetime +
         "; HttpOnly; SameSite=Lax" + (https ? "; Secure" : "");
}

std::string read_cookie(const httplib::Request& request, const std::string& name) {
  const std::string header = request.get_header_value("Cookie");
  std::size_t at = 0;
  while (at < header.size()) {
    const std::size_t end = std::min(header.find(';', at), header.size());
    std::size_t start = at;
    while (start < end && header[start] == ' ') ++start;
    const std::string_view pair(header.data() + start, end - start);
    if (pair.size() > name.size() && pair.substr(0, name.size()) == name && pair[name.size()] == '=') {
      return std::string(pair.substr(name.size() + 1));
    }
    at = end + 1;
  }
  return {};
}

bool well_formed(const std::string& token) {
  return token.size() == 64 &&
         token.find_first_not_of("0123456789abcdef") == std::string::npos;
}

}  // namespace

std::string random_token() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
  unsigned char bytes[32];
  randombytes_buf(bytes, sizeof bytes);
  char hex[2 * sizeof bytes + 1];
  sodium_bin2hex(hex, sizeof hex, bytes, sizeof bytes);
  return hex;
}

Session start_session(Database& db, std::int64_t account_id, std::int64_t now) {
  db.prepare("DELETE FROM sessions WHERE expires <= ?").bind(1, now).step();
  Session session{random_token(), account_id, random_token()};
  db.prepare("INSERT INTO sessions (id, account, csrf, expires) VALUES (?, ?, ?, ?)")
      .bind(1, session.id)
      .bind(2, account_id)
      .bind(3, session.csrf)
      .bind(4, now + kSessionSeconds)
      .step();
  return session;
}

std::optional<Session> find_session(Database& db, const std::string& id, std::int64_t now) {
  if (!well_formed(id)) return std::nullopt;
  auto stmt = db.prepare("SELECT account, csrf FROM sessions WHERE id = ? AND expires > ?");
  stmt.bind(1, id).bind(2, now);
  if (!stmt.step()) return std::nullopt;
  return Session{id, stmt.integer(0), stmt.text(1)};
}

void end_session(Database& db, const std::string& id) {
  db.prepare("DELETE FROM sessions WHERE id = ?").bind(1, id).step();
}

Visit visit_of(Database& db, const httplib::Request& request, httplib::Response& response,
               bool https) {
  Visit visit;
  visit.https = https;
  visit.session = find_session(db, read_cookie(request, cookie_name(https, "lumora_session")),
                               unix_now());
  if (visit.session) visit.account = find_account(db, visit.session->account_id);
  if (visit.account) {
    visit.form_token = visit.session->csrf;
    return visit;
  }
  visit.session.reset();
  visit.form_token = read_cookie(request, cookie_name(https, "lumora_form"));
  if (!well_formed(visit.form_token)) {
    visit.form_token = random_token();
    response.set_header("Set-Cookie", cookie(https, "lumora_form", visit.form_token, ""));
  }
  return visit;
}

bool form_token_matches(const Visit& visit, const httplib::Request& request) {
  const std::string sent = form_value(request, "csrf");
  return sent.size() == visit.form_token.size() && !visit.form_token.empty() &&
         sodium_memcmp(sent.data(), visit.form_token.data(), sent.size()) == 0;
}

void set_session_cookie(httplib::Response& response, const Visit& visit, const Session& session) {
  response.set_header("Set-Cookie",
                      cookie(visit.https, "lumora_session", session.id,
                             "; Max-Age=" + std::to_string(kSessionSeconds)));
}

void clear_session_cookie(httplib::Response& response, const Visit& visit) {
  response.set_header("Set-Cookie", cookie(visit.https, "lumora_session", "", "; Max-Age=0"));
}

std::string form_value(const httplib::Request& request, const char* name) {
  return form_field(request.body, name).value_or("");
}

}  // namespace lumora
