#pragma once
// The service's one escaper for markup, HTML pages and XML replies alike.
#include <string>
#include <string_view>

namespace lumora {

// & < > " ' as character references: safe in element content and in quoted attributes.
inline std::string escape_markup(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace lumora
