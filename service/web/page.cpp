#include "service/web/page.h"

#include <cstdio>
#include <exception>

#include "service/login_check.h"

namespace lumora {
namespace {

constexpr std::string_view kPolicy =
    "default-src 'none'; style-src 'self'; img-src 'self'; form-action 'self'; "
    "frame-ancestors 'none'; base-uri 'none'";

// The brand mark: a speech bubble in the program's blue and green.
constexpr Markup kLogo =
    R"(<svg class="mark" viewBox="0 0 32 32" aria-hidden="true"><rect x="2" y="4" width="28" )"
    R"(height="19" rx="6" fill="#41c276"/><path d="M9 22l-2 7 8-6z" fill="#41c276"/><path )"
    R"(d="M9 11h14M9 16h9" stroke="#fff" stroke-width="2.6" stroke-linecap="round"/></svg>)"_html;

// The site's links, and for a signed-in visitor who it is and the sign-out form beside them.
Html bar(const Visit& visit) {
  if (!visit.account) {
    return R"(<nav aria-label="Site"><a href="/login">Sign in</a><a href="/options.jsp">Register</a>)"
           R"(<a href="/help.jsp">Help</a></nav>)"_html;
  }
  return R"(<nav aria-label="Site"><a href="/subscribe">Account</a><a href="/buymsgs.jsp?n=50">Buy )"
         R"(credits</a><a href="/message_archive.jsp">Outbox</a><a href="/help.jsp">Help</a></nav>)"
         R"(<div class="user"><span class="who" title=")"_html + visit.account->username + R"(">)"_html +
         visit.account->username + R"(</span><form method="post" action="/logout">)"_html + csrf_field(visit) +
         R"(<button type="submit" class="link">Sign out</button></form></div>)"_html;
}

}  // namespace

Html render_page(std::string_view title, const Visit& visit, const Html& content) {
  return R"(<!DOCTYPE html><html lang="en"><head><meta charset="utf-8">)"
         R"(<meta name="viewport" content="width=device-width, initial-scale=1"><title>)"_html +
         title + R"( - Lumora</title><link rel="stylesheet" href="/style.css"></head><body>)"
                 R"(<header class="bar"><a class="brand" href="/subscribe">)"_html + kLogo +
         R"(<span>Lumora</span></a>)"_html + bar(visit) + "</header><main><h1>"_html + title +
         "</h1>"_html + content +
         R"(</main><footer>Lumora messaging &middot; the account site of )"
         R"(<a href="/help.jsp">Brevio</a></footer></body></html>)"_html;
}

Html csrf_field(const Visit& visit) {
  return R"(<input type="hidden" name="csrf" value=")"_html + visit.form_token + R"(">)"_html;
}

Html notice(Notice kind, std::string_view text) {
  const Markup kinds[] = {R"(<p class="notice note" role="status">)"_html,
                          R"(<p class="notice ok" role="status">)"_html,
                          R"(<p class="notice error" role="status">)"_html};
  return kinds[static_cast<int>(kind)] + text + "</p>"_html;
}

void send_page(httplib::Response& response, const Html& html, int status) {
  response.status = status;
  response.set_header("Content-Security-Policy", std::string(kPolicy));
  response.set_header("Cache-Control", "no-store");
  response.set_header("X-Content-Type-Options", "nosniff");
  response.set_header("X-Frame-Options", "DENY");
  response.set_header("Referrer-Policy", "no-referrer");
  response.set_content(html.str(), "text/html; charset=utf-8");
}

void redirect(httplib::Response& response, const std::string& location) {
  response.status = 303;
  response.set_header("Location", location);
  response.set_header("Cache-Control", "no-store");
  response.set_header("Referrer-Policy", "no-referrer");
}

httplib::Server::Handler page_handler(const RouteContext& context, PageHandler handler) {
  return [context, handler](const httplib::Request& request, httplib::Response& response) {
    Visit visit;  // anonymous until the database tells who it is
    try {
      const DatabasePool::Lease lease = context.databases->lease();
      Database& db = *lease;
      const ClientAddress client = client_of(request, context.front_key);
      visit = visit_of(db, request, response, client.https);
      PageCall call{db, visit, request, response, context, client};
      if (request.method == "POST" && !form_token_matches(visit, request)) {
        return send_page(response, error_page(403, visit), 403);
      }
      handler(call);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "lumora-service: %s %s from %s: %s\n", request.method.c_str(),
                   request.path.c_str(), client_of(request, context.front_key).address.c_str(),
                   error.what());
      response.headers.clear();
      send_page(response, error_page(500, visit), 500);
    }
  };
}

bool require_account(PageCall& call, const std::string& startpage) {
  if (call.visit.account) return true;
  redirect(call.response, "/login?startpage=" + httplib::detail::encode_query_param(startpage));
  return false;
}

void sign_in(PageCall& call, std::int64_t account_id, const std::string& location) {
  if (call.visit.session) end_session(call.db, call.visit.session->id);
  set_session_cookie(call.response, call.visit, start_session(call.db, account_id, unix_now()));
  redirect(call.response, location);
}

}  // namespace lumora
