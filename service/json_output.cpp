#include "service/json_output.h"

#include <cstdio>

namespace lumora {

std::string json_string(std::string_view utf8) {
  std::string out = "\"";
  for (char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

void write_messages_json(std::ostream& out, const std::vector<StoredMessage>& messages) {
  out << "[";
  const char* separator = "\n";
  for (const StoredMessage& m : messages) {
    out << separator << "  {\"id\": " << m.id << ", \"username\": " << json_string(m.username)
        << ", \"destination\": " << json_string(m.destination)
        << ", \"body\": " << json_string(m.body) << ", \"parts\": " << m.parts
        << ", \"created\": " << json_string(m.created) << "}";
    separator = ",\n";
  }
  out << (messages.empty() ? "]\n" : "\n]\n");
}

}  // namespace lumora
