// GET /login: the program's account links (a login token and the page to open), and the
// sign-in form for everyone else; POST /login signs in from that form; POST /logout ends the
// session. A sign-in answers 303 to the page itself, so the token leaves the address bar.
#include <map>

#include "service/login_check.h"
#include "service/web/login_token.h"
#include "service/web/page.h"

namespace lumora {
namespace {

// The page a sign-in lands on: one of the site's own pages, never another site; the account
// page for anything else.
std::string landing(const std::string& startpage) {
  if (startpage == "subscribe" || startpage == "message_archive.jsp") return "/" + startpage;
  constexpr std::string_view kBuy = "buymsgs.jsp?n=";
  if (startpage.size() > kBuy.size() && startpage.size() <= kBuy.size() + 5 &&
      startpage.compare(0, kBuy.size(), kBuy) == 0 &&
      startpage.find_first_not_of("0123456789", kBuy.size()) == std::string::npos) {
    return "/" + startpage;
  }
  return "/subscribe";
}

std::string render_sign_in(const Visit& visit, const std::string& startpage,
                           const std::string& message) {
  return render_page(
      "Sign in", visit,
      message + R"(<form method="post" action="/login" class="card">)" + csrf_field(visit) +
          R"(<input type="hidden" name="startpage" value=")" + html_escape(startpage) + R"(">)"
          R"(<label>User name<input name="user" autocomplete="username" required></label>)"
          R"(<label>Password<input name="password" type="password" )"
          R"(autocomplete="current-password" required></label>)"
          R"(<button class="primary">Sign in</button></form>)"
          R"(<p class="aside">No Lumora account yet? <a href="/options.jsp">Register here</a>.</p>)");
}

std::string refusal(LoginCheck check, const char* wrong) {
  if (check == LoginCheck::kThrottled) {
    return notice("error", "Too many wrong passwords for this account from your address: wait a few "
                           "minutes, then try again.");
  }
  return notice("error", wrong);
}

void get_login(PageCall& call) {
  const std::string startpage = call.request.get_param_value("startpage");
  const std::string token = call.request.get_param_value("login");
  if (token.empty()) {
    if (call.visit.account) return redirect(call.response, landing(startpage));
    const std::string message =
        call.request.has_param("signedout") ? notice("ok", "You have signed out.") : "";
    return send_page(call.response, render_sign_in(call.visit, startpage, message));
  }
  // Each account the token may name, with the passwords it may hold for it.
  std::map<std::string, std::vector<std::string>> tries;
  for (LoginReading& reading : read_login_token(token)) {
    tries[reading.username].push_back(std::move(reading.password));
  }
  // A token names one account, rarely two: those are tried. One that names none is checked
  // all the same, so that it costs what a wrong password costs.
  std::vector<const std::string*> names;
  for (const auto& [username, passwords] : tries) {
    if (names.size() < 2 && find_account(call.db, username)) names.push_back(&username);
  }
  if (names.empty() && !tries.empty()) names.push_back(&tries.begin()->first);
  LoginCheck check = LoginCheck::kWrongPassword;
  for (const std::string* username : names) {
    const LoginOutcome outcome = call.context.logins->check(call.db, *username, tries[*username], call.client.address);
    if (outcome.check == LoginCheck::kAccepted) return sign_in(call, outcome.account->id, landing(startpage));
    check = outcome.check;
  }
  send_page(call.response,
            render_sign_in(call.visit, startpage,
                           refusal(check, "The link could not sign you in: enter your Lumora "
                                          "user name and password.")));
}

void post_login(PageCall& call) {
  const std::string startpage = form_value(call.request, "startpage");
  const LoginOutcome outcome = call.context.logins->check(call.db, form_value(call.request, "user"),
                                                         form_value(call.request, "password"), call.client.address);
  if (outcome.check == LoginCheck::kAccepted) return sign_in(call, outcome.account->id, landing(startpage));
  send_page(call.response,
            render_sign_in(call.visit, startpage, refusal(outcome.check, "Wrong user name or password.")));
}

void post_logout(PageCall& call) {
  if (call.visit.session) end_session(call.db, call.visit.session->id);
  clear_session_cookie(call.response, call.visit);
  redirect(call.response, "/login?signedout=1");
}

}  // namespace

void install_login_route(httplib::Server& server, const RouteContext& context) {
  server.Get("/login", page_handler(context, get_login));
  server.Post("/login", page_handler(context, post_login));
  server.Post("/logout", page_handler(context, post_logout));
}

}  // namespace lumora
