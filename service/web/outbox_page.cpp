// /message_archive.jsp?page=K: the account's sent messages, newest first, a page at a time.
#include <vector>

#include "service/messages.h"
#include "service/web/page.h"

namespace lumora {
namespace {

constexpr std::int64_t kPerPage = 20;

struct OutboxPage {
  std::vector<StoredMessage> messages;
  std::int64_t page = 1, pages = 1, total = 0;
};

OutboxPage read_outbox(Database& db, std::int64_t account, std::int64_t page) {
  OutboxPage out;
  auto count = db.prepare("SELECT COUNT(*) FROM messages WHERE account = ?");
  count.bind(1, account).step();
  out.total = count.integer(0);
  out.pages = std::max<std::int64_t>(1, (out.total + kPerPage - 1) / kPerPage);
  out.page = std::clamp<std::int64_t>(page, 1, out.pages);
  auto stmt = db.prepare(
      "SELECT id, destination, body, parts, created FROM messages WHERE account = ? "
      "ORDER BY id DESC LIMIT ? OFFSET ?");
  stmt.bind(1, account).bind(2, kPerPage).bind(3, (out.page - 1) * kPerPage);
  while (stmt.step()) {
    out.messages.push_back(
        {stmt.integer(0), "", stmt.text(1), stmt.text(2), stmt.integer(3), stmt.text(4)});
  }
  return out;
}

// "2024-05-01T12:00:00Z" as "2024-05-01 12:00 UTC".
std::string shown_time(const std::string& created) {
  if (created.size() < 16) return created;
  return created.substr(0, 10) + " " + created.substr(11, 5) + " UTC";
}

Html page_link(std::int64_t page, Markup text) {
  return R"(<a class="button quiet" href="/message_archive.jsp?page=)"_html + std::to_string(page) +
         R"(">)"_html + text + "</a>"_html;
}

// A table on wide screens; on narrow ones the style sheet stacks each row as a card, where
// the parts show their unit.
Html render_outbox(const Visit& visit, const OutboxPage& outbox) {
  if (outbox.total == 0) {
    return render_page("Outbox", visit,
                       R"(<section class="card empty"><p>No messages yet. Select some text in any )"
                       R"(program and press Brevio's hotkey, Ctrl+Alt+P, to send it to your phone.)"
                       R"(</p></section>)"_html);
  }
  Html rows;
  for (const StoredMessage& m : outbox.messages) {
    const bool own = m.destination == visit.account->phone;
    rows += R"(<tr><td class="time">)"_html + shown_time(m.created) + R"(</td><td class="to">)"_html +
            (own ? "own phone" : "+" + m.destination) + R"(</td><td class="parts">)"_html +
            std::to_string(m.parts) +
            (m.parts == 1 ? R"(<span class="unit"> part</span>)"_html : R"(<span class="unit"> parts</span>)"_html) +
            R"(</td><td class="text">)"_html + m.body + "</td></tr>"_html;
  }
  Html pager = R"(<nav class="pager" aria-label="Outbox pages">)"_html;
  if (outbox.page > 1) pager += page_link(outbox.page - 1, "&larr; Newer"_html);
  pager += "<span>Page "_html + std::to_string(outbox.page) + " of "_html +
           std::to_string(outbox.pages) + "</span>"_html;
  if (outbox.page < outbox.pages) pager += page_link(outbox.page + 1, "Older &rarr;"_html);
  pager += "</nav>"_html;
  return render_page(
      "Outbox", visit,
      R"(<p class="lead">)"_html + std::to_string(outbox.total) +
          (outbox.total == 1 ? " message"_html : " messages"_html) +
          R"( sent, newest first.</p><div class="card flush"><table class="outbox"><thead><tr>)"
          R"(<th scope="col">Sent</th><th scope="col">To</th><th scope="col">Parts</th>)"
          R"(<th scope="col">Message</th></tr></thead><tbody>)"_html + rows +
          "</tbody></table></div>"_html + pager);
}

void get_outbox(PageCall& call) {
  if (!require_account(call, "message_archive.jsp")) return;
  const std::string page = call.request.get_param_value("page");
  const bool numeric = !page.empty() && page.size() < 10 &&
                       page.find_first_not_of("0123456789") == std::string::npos;
  send_page(call.response,
            render_outbox(call.visit, read_outbox(call.db, call.visit.account->id,
                                                  numeric ? std::stoll(page) : 1)));
}

}  // namespace

void install_outbox_route(Router& router, const RouteContext& context) {
  router.get("/message_archive.jsp", page_handler(context, get_outbox));
}

}  // namespace lumora
