#pragma once
// What every page of the account site shares: escaping, the frame around a page's content, the
// security headers, and the handler wrapper that opens the database, finds the visitor,
// refuses a POST without the visitor's anti-forgery token and turns failures into a page.
#include <httplib.h>

#include <functional>
#include <string>
#include <string_view>

#include "service/client_address.h"
#include "service/routes.h"
#include "service/sqlite_db.h"
#include "service/web/session.h"

namespace lumora {

// & < > " ' as character references: safe in element content and quoted attributes.
std::string html_escape(std::string_view text);

// The whole document: head, the site's bar (its links depend on whether the visitor is
// signed in; signing out is a form), `content` inside <main>, and the footer.
std::string render_page(std::string_view title, const Visit& visit, std::string_view content);

// The hidden field every changing form carries.
std::string csrf_field(const Visit& visit);

// A message box inside a page: kind is "note", "ok" or "error".
std::string notice(std::string_view kind, std::string_view text);

// The page with its headers: content security policy, no caching, no framing, no referrer.
void send_page(httplib::Response& response, const std::string& html, int status = 200);
void redirect(httplib::Response& response, const std::string& location);  // 303 See Other

struct PageCall {
  Database& db;
  Visit& visit;
  const httplib::Request& request;
  httplib::Response& response;
  const RouteContext& context;
  ClientAddress client;
};
using PageHandler = std::function<void(PageCall&)>;

httplib::Server::Handler page_handler(const RouteContext& context, PageHandler handler);

// Sends a visitor who is not signed in to the sign-in form (which returns to `startpage`);
// true when the visitor is signed in.
bool require_account(PageCall& call, const std::string& startpage);

// Ends the visitor's session, if any, starts one for the account and sends it to `location`.
void sign_in(PageCall& call, std::int64_t account_id, const std::string& location);

}  // namespace lumora
