#include "service/form_decoding.h"

#include "text/encodings.h"

namespace lumora {

std::string form_decode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const int high = c == '%' && i + 2 < text.size() ? encodings::HexValue(text[i + 1]) : -1;
    const int low = high >= 0 ? encodings::HexValue(text[i + 2]) : -1;
    if (c == '+') {
      out += ' ';
    } else if (low >= 0) {
      out += static_cast<char>(high * 16 + low);
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
