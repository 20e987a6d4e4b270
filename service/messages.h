#pragma once
// Messages the service accepted.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "service/sqlite_db.h"

namespace lumora {

struct StoredMessage {
  std::int64_t id = 0;
  std::string username;
  std::string destination;
  std::string body;  // UTF-8, exactly as received
  std::int64_t parts = 0;
  std::string created;  // UTC, ISO 8601 ("2024-05-01T12:00:00Z")
};

void record_message(Database& db, std::int64_t account_id, std::string_view destination,
                    std::string_view body, std::int64_t parts);

// All messages, oldest first.
std::vector<StoredMessage> list_messages(Database& db);

}  // namespace lumora
