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

std::string page_link(std::int64_t page, const char* text) {
  return R"(<a class="button quiet" href="/message_archive.jsp?page=)" + std::to_string(page) +
         R"(">)" + text + "</a>";
}

std::string render_outbox(const Visit& visit, const OutboxPage& outbox) {
  if (outbox.total == 0) {
    return render_page("Outbox", visit,
                       R"(<section class="card empty"><p>No messages yet. Select some text in any )"
                       R"(program and press Brevio's hotkey, Ctrl+Alt+P, to send it to your phone.)"
                       R"(</p></section>)");
  }
  std::string rows;
  for (const StoredMessage& m : outbox.messages) {
    const bool own = m.destination == visit.account->phone;
    rows += R"(<tr><td class="time">)" + html_escape(shown_time(m.created)) +
            R"(</td><td class="to">)" + (own ? std::string("own phone") : std::string("+").append(html_escape(m.destination))) +
            R"(</td><td class="parts">)" + std::to_string(m.parts) + R"(</td><td class="text">)" +
            html_escape(m.body) + "</td></tr>";
  }
  std::string pager = R"(<nav class="pager">)";
  if (outbox.page > 1) pager += page_link(outbox.page - 1, "&larr; Newer");
  pager += "<span>Page " + std::to_string(outbox.page) + " of " + std::to_string(outbox.pages) +
           "</span>";
  if (outbox.page < outbox.pages) pager += page_link(outbox.page + 1, "Older &rarr;");
  pager += "</nav>";
  return render_page(
      "Outbox", visit,
      R"(<p class="lead">)" + std::to_string(outbox.total) +
          (outbox.total == 1 ? " message" : " messages") + R"( sent, newest first.</p>)"
          R"(<div class="card flush"><table class="outbox"><thead><tr><th>Sent</th><th>To</th>)"
          R"(<th>Parts</th><th>Message</th></tr></thead><tbody>)" + rows + "</tbody></table></div>" +
          pager);
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

void install_outbox_route(httplib::Server& server, const RouteContext& context) {
  server.Get("/message_archive.jsp", page_handler(context, get_outbox));
}

}  // namespace lumora
