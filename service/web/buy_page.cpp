// /buymsgs.jsp?n=N: buying N message credits (50 to 5000). Showing the page opens a purchase;
// its confirmation (POST) adds the credits once, however often it is sent. Payment is simulated.
#include <array>
#include <optional>

#include "service/web/page.h"

namespace lumora {
namespace {

constexpr std::int64_t kMin = 50, kMax = 5000;
constexpr std::array<int, 7> kOffers = {50, 125, 250, 625, 1250, 2500, 5000};

std::optional<std::int64_t> quantity(const std::string& text) {
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const std::int64_t n = std::stoll(text);
  if (n < kMin || n > kMax) return std::nullopt;
  return n;
}

Html chooser(std::int64_t selected) {
  Html options;
  for (int n : kOffers) {
    options += (n == selected ? "<option selected>"_html : "<option>"_html) + std::to_string(n) +
               "</option>"_html;
  }
  return R"(<form method="get" action="/buymsgs.jsp" class="inline-form"><label>Credits )"
         R"(<select name="n">)"_html + options +
         R"(</select></label><button type="submit" class="quiet">Choose</button></form>)"_html;
}

Html render_offer(const Visit& visit, std::int64_t n, const std::string& purchase) {
  const std::string count = std::to_string(n);
  return render_page(
      "Buy credits", visit,
      R"(<section class="card"><p class="big"><span class="credits">)"_html + count +
          R"(</span> message credits</p>)"_html + chooser(n) +
          notice(Notice::kNote, "Payment is simulated: this reference service takes no money and "
                                "asks for no card. Confirming adds the credits to your account at once.") +
          R"(<form method="post" action="/buymsgs.jsp">)"_html + csrf_field(visit) +
          R"(<input type="hidden" name="purchase" value=")"_html + purchase +
          R"("><button type="submit" class="primary">Confirm: add )"_html + count +
          R"( credits</button></form><p class="aside">You have )"_html +
          std::to_string(visit.account->credits) + " credits now.</p></section>"_html);
}

Html render_result(const Visit& visit, const Html& message) {
  return render_page("Buy credits", visit,
                     R"(<section class="card">)"_html + message +
                         R"(<p class="big">You have <span class="credits">)"_html +
                         std::to_string(visit.account->credits) +
                         R"(</span> credits.</p><p class="actions"><a class="button" )"
                         R"(href="/subscribe">Back to your account</a></p></section>)"_html);
}

void get_offer(PageCall& call) {
  const std::string n_text = call.request.get_param_value("n");
  if (!require_account(call, "buymsgs.jsp?n=" + n_text.substr(0, 5))) return;
  const auto n = quantity(n_text);
  if (!n) {
    return send_page(call.response,
                     render_page("Buy credits", call.visit,
                                 notice(Notice::kError, "Credits are sold from 50 to 5000 at a time.") +
                                     R"(<section class="card">)"_html + chooser(kMin) + "</section>"_html),
                     400);
  }
  const std::string purchase = random_token();
  const std::int64_t account = call.visit.account->id;
  call.db.prepare("INSERT INTO purchases (id, account, credits) VALUES (?, ?, ?)")
      .bind(1, purchase)
      .bind(2, account)
      .bind(3, *n)
      .step();
  // Every showing of the page opens a purchase; an account keeps its newest few open ones.
  call.db.prepare("DELETE FROM purchases WHERE account = ?1 AND confirmed = 0 AND rowid NOT IN "
                  "(SELECT rowid FROM purchases WHERE account = ?1 AND confirmed = 0 "
                  "ORDER BY rowid DESC LIMIT 20)")
      .bind(1, account)
      .step();
  send_page(call.response, render_offer(call.visit, *n, purchase));
}

void post_confirm(PageCall& call) {
  if (!require_account(call, "subscribe")) return;
  const std::int64_t account = call.visit.account->id;
  Html message;
  {
    Transaction tx(call.db);
    auto stmt = call.db.prepare("SELECT credits, confirmed FROM purchases WHERE id = ? AND account = ?");
    stmt.bind(1, form_value(call.request, "purchase")).bind(2, account);
    if (!stmt.step()) {
      message = notice(Notice::kError, "There is no such purchase: nothing was added.");
    } else if (stmt.integer(1) != 0) {
      message = notice(Notice::kNote, "This purchase was confirmed before: nothing was added again.");
    } else {
      const std::int64_t credits = stmt.integer(0);
      call.db.prepare("UPDATE purchases SET confirmed = 1 WHERE id = ?")
          .bind(1, form_value(call.request, "purchase"))
          .step();
      add_credits(call.db, account, credits);
      message = notice(Notice::kOk, std::to_string(credits) + " credits added (simulated payment).");
    }
    tx.commit();
  }
  call.visit.account = find_account(call.db, account);
  send_page(call.response, render_result(call.visit, message));
}

}  // namespace

void install_buy_route(Router& router, const RouteContext& context) {
  router.get("/buymsgs.jsp", page_handler(context, get_offer));
  router.post("/buymsgs.jsp", page_handler(context, post_confirm));
}

}  // namespace lumora
