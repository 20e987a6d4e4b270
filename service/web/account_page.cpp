// /subscribe: the account page (user name, number, credits) with the activation; "/" leads here.
#include "service/web/page.h"

namespace lumora {
namespace {

std::string render_account(const Visit& visit, bool welcome) {
  const Account& account = *visit.account;
  const std::string number = "+" + account.phone;
  std::string activation;
  if (account.activated) {
    activation = R"(<p class="state on">Activated</p><p>Your messages appear to come from your )"
                 "own number, " + html_escape(number) + ".</p>";
  } else {
    activation = R"(<p class="state off">Not activated</p><p>Your messages come from Lumora's )"
                 "number. Activate your account and they appear to come from your own number, " +
                 html_escape(number) + R"(.</p><form method="post" action="/subscribe">)" +
                 csrf_field(visit) + R"(<button class="primary">Activate here</button></form>)";
  }
  return render_page(
      "Your account", visit,
      (welcome ? notice("ok", "Welcome to Lumora! Enter this user name and password in Brevio's "
                              "options to start sending.")
               : "") +
          R"(<div class="grid"><section class="card"><h2>Account</h2><dl>)"
          "<dt>User name</dt><dd>" + html_escape(account.username) +
          "</dd><dt>Mobile number</dt><dd>" + html_escape(number) +
          R"(</dd><dt>Credits</dt><dd><span class="credits">)" + std::to_string(account.credits) +
          R"(</span> message credits left</dd></dl><p class="actions">)"
          R"(<a class="button" href="/buymsgs.jsp?n=125">Buy credits</a> )"
          R"(<a class="button quiet" href="/message_archive.jsp">Outbox</a></p></section>)"
          R"(<section class="card"><h2>Activation</h2>)" + activation + "</section></div>");
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

void install_account_route(httplib::Server& server, const RouteContext& context) {
  server.Get("/subscribe", page_handler(context, get_account));
  server.Post("/subscribe", page_handler(context, post_activate));
  server.Get("/", [](const httplib::Request&, httplib::Response& response) {
    redirect(response, "/subscribe");
  });
}

}  // namespace lumora
