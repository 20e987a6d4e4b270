#include "service/form_decoding.h"

namespace lumora {
namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string form_decode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      out += ' ';
    } else if (c == '%' && i + 2 < text.size() && hex_value(text[i + 1]) >= 0 &&
               hex_value(text[i + 2]) >= 0) {
      out += static_cast<char>(hex_value(text[i + 1]) * 16 + hex_value(text[i + 2]));
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::string> form_field(std::string_view body, std::string_view name) {
  while (true) {
    const auto amp = body.find('&');
    const auto field = body.substr(0, amp);
    const auto eq = field.find('=');
    if (form_decode(field.substr(0, eq)) == name) {
      return eq == std::string_view::npos ? std::string() : form_decode(field.substr(eq + 1));
    }
    if (amp == std::string_view::npos) return std::nullopt;
    body.remove_prefix(amp + 1);
  }
}

}  // namespace lumora
