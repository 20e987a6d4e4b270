#pragma once
// JSON listing of stored messages for the admin command line.
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "service/messages.h"

namespace lumora {

// A JSON string literal: quotes, backslash and control characters escaped, other bytes
// (UTF-8 included) as they are.
std::string json_string(std::string_view utf8);

// An array of objects {id, username, destination, body, parts, created}, one per line.
void write_messages_json(std::ostream& out, const std::vector<StoredMessage>& messages);

}  // namespace lumora
