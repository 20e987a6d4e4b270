#include "text/encodings.h"

#include <algorithm>

namespace encodings {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool KeptByUrlEncode(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         c == '\n' || c == '\r';
}

}  // namespace

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

char ScrambleAt(char c, std::size_t index, int key) {
  auto mask = static_cast<unsigned char>((key + static_cast<long long>(index)) & 0xFF);
  return static_cast<char>(static_cast<unsigned char>(c) ^ mask);
}

std::string Scramble(std::string_view text, int key) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = ScrambleAt(out[i], i, key);
  return out;
}

std::string HexEncode(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if (c >= 16) out.push_back(kHexDigits[c >> 4]);
    out.push_back(kHexDigits[c & 15]);
  }
  return out;
}

std::string URLEncode(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if (KeptByUrlEncode(c)) {
      out.push_back(ch);
    } else if (c == ' ') {
      out.push_back('+');
    } else {
      out.push_back('%');
      out.push_back(kHexDigits[c >> 4]);
      out.push_back(kHexDigits[c & 15]);
    }
  }
  return out;
}

std::string URLDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '+') {
      out.push_back(' ');
    } else if (c == '%') {
      // The two characters behind are consumed whatever they hold; a value is read from
      // the leading hexadecimal digits among them. Near the end fewer may be there.
      int value = 0;
      std::size_t taken = 0;
      while (taken < 2 && i + 1 + taken < text.size()) {
        int digit = HexValue(text[i + 1 + taken]);
        if (digit < 0) break;
        value = value * 16 + digit;
        ++taken;
      }
      out.push_back(static_cast<char>(value));
      i += std::min<std::size_t>(2, text.size() - 1 - i);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string Base64Encode(std::string_view value) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((value.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < value.size(); i += 3) {
    unsigned n = static_cast<unsigned char>(value[i]) << 16;
    if (i + 1 < value.size()) n |= static_cast<unsigned char>(value[i + 1]) << 8;
    if (i + 2 < value.size()) n |= static_cast<unsigned char>(value[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) out.push_back(kAlphabet[(n >> shift) & 63]);
  }
  if (value.size() % 3 == 1) out.replace(out.size() - 2, 2, "==");
  if (value.size() % 3 == 2) out.back() = '=';
  return out;
}

}  // namespace encodings
