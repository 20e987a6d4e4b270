#pragma once
// What every page of the account site shares: the frame around a page's content, the
// security headers, and the handler wrapper that opens the database, finds the visitor,
// refuses a POST without the visitor's anti-forgery token and turns failures into a page.
#include <httplib.h>

#include <functional>
#include <string>
#include <string_view>

#include "service/client_address.h"
#include "service/routes.h"
#include "service/sqlite_db.h"
#include "service/web/html.h"
#include "service/web/session.h"

namespace lumora {

// The whole document: head, the site's bar (its links depend on whether the visitor is
// signed in; signing out is a form), `content` inside <main>, and the footer.
Html render_page(std::string_view title, const Visit& visit, const Html& content);

// The hidden field every changing form carries.
Html csrf_field(const Visit& visit);

// A message box inside a page.
enum class Notice { kNote, kOk, kError };
Html notice(Notice kind, std::string_view text);

// The page of an error answer (403, 404, 405, 500...) in the site's frame, with a way back.
Html error_page(int status, const Visit& visit);

// The page with its headers: content security policy, no caching, no framing, no referrer.
void send_page(httplib::Response& response, const Html& html, int status = 200);
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
