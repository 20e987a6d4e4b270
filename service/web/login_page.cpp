// GET /login: the program's account links (a login token and the page to open), and the
// sign-in form for everyone else; POST /login signs in from that form; POST /logout ends the
// session. A token link always answers 303, so the token leaves the address bar.
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

Html render_sign_in(const Visit& visit, const std::string& startpage, const Html& message) {
  return render_page(
      "Sign in", visit,
      message + R"(<form method="post" action="/login" class="card">)"_html + csrf_field(visit) +
          R"(<input type="hidden" name="startpage" value=")"_html + startpage +
          R"("><label>User name<input type="text" name="user" autocomplete="username" required>)"
          R"(</label><label>Password<input type="password" name="password" )"
          R"(autocomplete="current-password" required></label>)"
          R"(<button type="submit" class="primary">Sign in</button></form>)"
          R"(<p class="aside">No Lumora account yet? <a href="/options.jsp">Register here</a>.</p>)"_html);
}

Html refusal(LoginCheck check, std::string_view wrong) {
  return notice(Notice::kError, check == LoginCheck::kThrottled
                                    ? "Too many wrong passwords for this account from your address: wait a "
                                      "few minutes, then try again."
                                    : wrong);
}

// The account a login token names, if one of its readings holds the right password.
LoginCheck check_token(PageCall& call, const std::string& token, std::int64_t& account_id) {
  // The accounts the token may name (one, rarely two), each with the passwords it may hold.
  std::vector<std::string> names;
  std::map<std::string, std::vector<std::string>> tries;
  const auto is_account = [&call](const std::string& name) { return find_account(call.db, name).has_value(); };
  for (LoginReading& reading : read_login_token(token, is_account)) {
    auto& passwords = tries[reading.username];
    if (passwords.empty()) names.push_back(reading.username);
    passwords.push_back(std::move(reading.password));
  }
  if (names.size() > 2) names.resize(2);
  LoginCheck check = LoginCheck::kWrongPassword;
  for (const std::string& username : names) {
    const LoginOutcome outcome =
        call.context.logins->check(call.db, username, tries[username], call.client.address);
    if (outcome.check == LoginCheck::kAccepted) {
      account_id = outcome.account->id;
      return LoginCheck::kAccepted;
    }
    check = outcome.check;
  }
  return check;
}

// A token link always ends in a redirect, so the token leaves the address bar whatever the
// outcome: to the page asked for, or to the sign-in form saying why the link did not sign in.
void get_login(PageCall& call) {
  const std::string startpage = call.request.get_param_value("startpage");
  const std::string back =
      startpage.empty() ? "" : "startpage=" + httplib::detail::encode_query_param(startpage) + "&";
  if (call.request.has_param("login")) {
    std::int64_t account_id = 0;
    const LoginCheck check = check_token(call, call.request.get_param_value("login"), account_id);
    if (check == LoginCheck::kAccepted) return sign_in(call, account_id, landing(startpage));
    return redirect(call.response, "/login?" + back +
                                       (check == LoginCheck::kThrottled ? "link=throttled" : "link=refused"));
  }
  const std::string link = call.request.get_param_value("link");
  Html message;
  if (link == "throttled" || link == "refused") {
    message = refusal(link == "throttled" ? LoginCheck::kThrottled : LoginCheck::kWrongPassword,
                      "The link could not sign you in: enter your Lumora user name and password.");
  } else if (call.visit.account) {
    return redirect(call.response, landing(startpage));
  } else if (call.request.has_param("signedout")) {
    message = notice(Notice::kOk, "You have signed out.");
  }
  send_page(call.response, render_sign_in(call.visit, startpage, message));
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

void install_login_route(Router& router, const RouteContext& context) {
  router.get("/login", page_handler(context, get_login));
  router.post("/login", page_handler(context, post_login));
  router.post("/logout", page_handler(context, post_logout));
}

}  // namespace lumora
