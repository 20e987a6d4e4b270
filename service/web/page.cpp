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
constexpr std::string_view kLogo =
    R"(<svg class="mark" viewBox="0 0 32 32" aria-hidden="true"><rect x="2" y="4" width="28" )"
    R"(height="19" rx="6" fill="#41c276"/><path d="M9 22l-2 7 8-6z" fill="#41c276"/><path )"
    R"(d="M9 11h14M9 16h9" stroke="#fff" stroke-width="2.6" stroke-linecap="round"/></svg>)";

std::string nav(const Visit& visit) {
  if (!visit.account) {
    return R"(<a href="/login">Sign in</a><a href="/options.jsp">Register</a>)"
           R"(<a href="/help.jsp">Help</a>)";
  }
  return R"(<a href="/subscribe">Account</a><a href="/buymsgs.jsp?n=50">Buy credits</a>)"
         R"(<a href="/message_archive.jsp">Outbox</a><a href="/help.jsp">Help</a>)"
         R"(<form method="post" action="/logout" class="inline">)" +
         csrf_field(visit) + R"(<button class="link">Sign out</button></form>)";
}

}  // namespace

std::string html_escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string render_page(std::string_view title, const Visit& visit, std::string_view content) {
  std::string who;
  if (visit.account) who = R"(<span class="who">)" + html_escape(visit.account->username) + "</span>";
  return R"(<!DOCTYPE html><html lang="en"><head><meta charset="utf-8">)"
         R"(<meta name="viewport" content="width=device-width, initial-scale=1">)"
         "<title>" + html_escape(title) + R"( - Lumora</title><link rel="stylesheet" href="/style.css">)"
         R"(</head><body><header class="bar"><a class="brand" href="/subscribe">)" +
         std::string(kLogo) + R"(<span>Lumora</span></a>)" + who + R"(<nav>)" + nav(visit) +
         "</nav></header><main><h1>" + html_escape(title) + "</h1>" + std::string(content) +
         R"(</main><footer>Lumora messaging &middot; the account site of )"
         R"(<a href="/help.jsp">Brevio</a></footer></body></html>)";
}

std::string csrf_field(const Visit& visit) {
  return R"(<input type="hidden" name="csrf" value=")" + html_escape(visit.form_token) + R"(">)";
}

std::string notice(std::string_view kind, std::string_view text) {
  return R"(<p class="notice )" + std::string(kind) + R"(" role="status">)" + html_escape(text) +
         "</p>";
}

void send_page(httplib::Response& response, const std::string& html, int status) {
  response.status = status;
  response.set_header("Content-Security-Policy", std::string(kPolicy));
  response.set_header("Cache-Control", "no-store");
  response.set_header("X-Content-Type-Options", "nosniff");
  response.set_header("X-Frame-Options", "DENY");
  response.set_header("Referrer-Policy", "no-referrer");
  response.set_content(html, "text/html; charset=utf-8");
}

void redirect(httplib::Response& response, const std::string& location) {
  response.status = 303;
  response.set_header("Location", location);
  response.set_header("Cache-Control", "no-store");
  response.set_header("Referrer-Policy", "no-referrer");
}

httplib::Server::Handler page_handler(const RouteContext& context, PageHandler handler) {
  return [context, handler](const httplib::Request& request, httplib::Response& response) {
    try {
      const DatabasePool::Lease lease = context.databases->lease();
      Database& db = *lease;
      const ClientAddress client = client_of(request, context.front_key);
      Visit visit = visit_of(db, request, response, client.https);
      PageCall call{db, visit, request, response, context, client};
      if (request.method == "POST" && !form_token_matches(visit, request)) {
        send_page(response,
                  render_page("Form refused", visit,
                              notice("error", "This form did not come from this site, or it is "
                                              "too old. Go back, reload the page and try again.")),
                  403);
        return;
      }
      handler(call);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "lumora-service: %s %s from %s: %s\n", request.method.c_str(),
                   request.path.c_str(), client_of(request, context.front_key).address.c_str(),
                   error.what());
      response.headers.clear();
      send_page(response,
                "<!DOCTYPE html><title>Lumora</title><p>The service cannot answer right now. "
                "Please try again in a moment.</p>",
                500);
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
