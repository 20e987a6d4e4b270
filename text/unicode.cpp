#include "text/unicode.h"

namespace unicode {
namespace {

constexpr bool kUtf16 = sizeof(wchar_t) == 2;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

Character CharacterAt(std::wstring_view text, std::size_t at) {
  const auto first = static_cast<char32_t>(text[at]);
  if (kUtf16 && first >= 0xD800 && first <= 0xDBFF && at + 1 < text.size()) {
    const auto second = static_cast<char32_t>(text[at + 1]);
    if (second >= 0xDC00 && second <= 0xDFFF)
      return {0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00), 2};
  }
  return {first, 1};
}

std::wstring Wide(char32_t c) {
  if (kUtf16 && c >= 0x10000) {
    c -= 0x10000;
    return {static_cast<wchar_t>(0xD800 + (c >> 10)), static_cast<wchar_t>(0xDC00 + (c & 0x3FF))};
  }
  return std::wstring(1, static_cast<wchar_t>(c));
}

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const Character c = CharacterAt(text, at);
    AppendUtf8(out, IsSurrogate(c.code) || c.code > 0x10FFFF ? kReplacement : c.code);
    at += c.units;
  }
  return out;
}

std::optional<std::wstring> FromUtf8(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead >> 5 == 0x6 ? 2 : lead >> 4 == 0xE ? 3
                               : lead >> 3 == 0x1E ? 4 : 0;
    if (length == 0 || at + length > bytes.size()) return std::nullopt;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
      const auto next = static_cast<unsigned char>(bytes[at + i]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (next & 0x3F);
    }
    static constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kShortest[length] || c > 0x10FFFF || IsSurrogate(c)) return std::nullopt;
    out += Wide(c);
    at += length;
  }
  return out;
}

}  // namespace unicode
