// /subscribe: the account page (user name, number, credits) with the activation; "/" leads here.
#include "service/web/page.h"

namespace lumora {
namespace {

Html render_account(const Visit& visit, bool welcome) {
  const Account& account = *visit.account;
  const std::string number = "+" + account.phone;
  Html activation;
  if (account.activated) {
    activation = R"(<p class="state on">Activated</p><p>Your messages appear to come from your )"
                 "own number, "_html + number + ".</p>"_html;
  } else {
    activation = R"(<p class="state off">Not activated</p><p>Your messages come from Lumora's )"
                 "number. Activate your account and they appear to come from your own number, "_html +
                 number + R"(.</p><form method="post" action="/subscribe">)"_html + csrf_field(visit) +
                 R"(<button type="submit" class="primary">Activate here</button></form>)"_html;
  }
  return render_page(
      "Your account", visit,
      (welcome ? notice(Notice::kOk, "Welcome to Lumora! Enter this user name and password in "
                                     "Brevio's options to start sending.")
               : Html()) +
          R"(<div class="grid"><section class="card"><h2>Account</h2><dl>)"
          "<dt>User name</dt><dd>"_html + account.username + "</dd><dt>Mobile number</dt><dd>"_html +
          number + R"(</dd><dt>Credits</dt><dd><span class="credits">)"_html +
          std::to_string(account.credits) +
          R"(</span> message credits left</dd></dl><p class="actions">)"
          R"(<a class="button" href="/buymsgs.jsp?n=125">Buy credits</a> )"
          R"(<a class="button quiet" href="/message_archive.jsp">Outbox</a></p></section>)"
          R"(<section class="card"><h2>Activation</h2>)"_html + activation + "</section></div>"_html);
}

void get_account(PageCall& call) {
  if (!require_account(call, "subscribe")) return;
  send_page(call.response, render_account(call.visit, call.request.has_param("welcome")));
}

void post_activate(PageCall& call) {
  if (!require_account(call, "subscribe")) return;
  activate_account(call.db, call.visit.account->id);
  redirect(call.response, "/subscribe");
}

}  // namespace

void install_account_route(Router& router, const RouteContext& context) {
  router.get("/subscribe", page_handler(context, get_account));
  router.post("/subscribe", page_handler(context, post_activate));
  router.get("/", [](const httplib::Request&, httplib::Response& response) {
    redirect(response, "/subscribe");
  });
}

}  // namespace lumora
