#include "service/messages.h"

namespace lumora {

void record_message(Database& db, std::int64_t account_id, std::string_view destination,
                    std::string_view body, std::int64_t parts) {
  db.prepare(
        "INSERT INTO messages (account, destination, body, parts, created) "
        "VALUES (?, ?, ?, ?, strftime('%Y-%m-%dT%H:%M:%SZ', 'now'))")
      .bind(1, account_id)
      .bind(2, destination)
      .bind(3, body)
      .bind(4, parts)
      .step();
}

std::vector<StoredMessage> list_messages(Database& db) {
  auto stmt = db.prepare(
      "SELECT m.id, a.username, m.destination, m.body, m.parts, m.created "
      "FROM messages m JOIN accounts a ON a.id = m.account ORDER BY m.id");
  std::vector<StoredMessage> out;
  while (stmt.step()) {
    out.push_back({stmt.integer(0), stmt.text(1), stmt.text(2), stmt.text(3), stmt.integer(4),
                   stmt.text(5)});
  }
  return out;
}

}  // namespace lumora
