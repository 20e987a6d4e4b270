#include "text/counters.h"

#include <algorithm>
#include <vector>

#include "text/unicode.h"

namespace {

struct Encoding {
  std::int64_t single;    // places of a message of one part
  std::int64_t per_part;  // places of each part of a longer one
};
constexpr Encoding kGsm{160, 153}, kUcs2{70, 67};

// The GSM 7-bit default alphabet beyond the ASCII letters and digits, which are all in it.
constexpr std::u32string_view kGsmBasic =
    U"@\u00a3$\u00a5\u00e8\u00e9\u00f9\u00ec\u00f2\u00c7\n\u00d8\u00f8\r\u00c5\u00e5"
    U"\u0394_\u03a6\u0393\u039b\u03a9\u03a0\u03a8\u03a3\u0398\u039e\u00c6\u00e6\u00df\u00c9"
    U" !\"#\u00a4%&'()*+,-./:;<=>?\u00a1\u00c4\u00d6\u00d1\u00dc\u00a7\u00bf\u00e4\u00f6\u00f1"
    U"\u00fc\u00e0";
constexpr std::u32string_view kGsmExtension = U"\f^{}\\[~]|\u20ac";

// Places a character takes in GSM 7-bit, 0 when the alphabet lacks it.
int GsmPlaces(char32_t c) {
  if ((c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9') ||
      kGsmBasic.find(c) != std::u32string_view::npos)
    return 1;
  return kGsmExtension.find(c) != std::u32string_view::npos ? 2 : 0;
}

// The places of each character in GSM 7-bit, or empty when one is not in the alphabet.
std::vector<std::uint8_t> GsmPlacesOf(std::wstring_view body, std::size_t joining_break) {
  std::vector<std::uint8_t> places;
  places.reserve(body.size());
  for (std::size_t at = 0; at < body.size(); ++at) {
    const int n = GsmPlaces(static_cast<char32_t>(body[at]));
    if (n == 0) return {};
    places.push_back(static_cast<std::uint8_t>(n));
    if (at == joining_break) ++at;  // its LF is part of the same one character
  }
  return places;
}

std::vector<std::uint8_t> Ucs2PlacesOf(std::wstring_view body, std::size_t joining_break) {
  std::vector<std::uint8_t> places;
  places.reserve(body.size());
  for (std::size_t at = 0; at < body.size();) {
    const unicode::Character c = unicode::CharacterAt(body, at);
    places.push_back(c.code >= 0x10000 ? 2 : 1);
    at += at == joining_break ? 2 : c.units;
  }
  return places;
}

MessageCount Split(const std::vector<std::uint8_t>& places, Encoding e, bool gsm) {
  std::int64_t total = 0;
  for (auto n : places) total += n;
  std::int64_t parts = 1, used = total;  // `used`: places taken in the last part
  if (total > e.single) {
    used = 0;
    for (auto n : places) {
      if (used + n > e.per_part) {
        ++parts;
        used = 0;
      }
      used += n;
    }
  }
  const std::int64_t capacity = parts == 1 ? e.single : e.per_part;
  MessageCount c;
  // Counted in 64 bits and held in 32: the parts of any text a box can hold stay exact.
  c.total = static_cast<std::int32_t>(std::min<std::int64_t>(total, INT32_MAX));
  c.nummsgs = static_cast<std::int32_t>(std::min<std::int64_t>(parts, INT32_MAX));
  c.left = static_cast<std::int32_t>(capacity - used);
  c.gsm = gsm;
  return c;
}

}  // namespace

MessageCount CountBody(std::wstring_view body) {
  const std::size_t joining_break = body.rfind(L"\r\n");
  if (auto gsm = GsmPlacesOf(body, joining_break); !gsm.empty() || body.empty())
    return Split(gsm, kGsm, true);
  return Split(Ucs2PlacesOf(body, joining_break), kUcs2, false);
}

std::wstring ComposeBody(std::wstring_view text, std::wstring_view footer) {
  std::wstring body(text);
  body += L"\r\n";
  body += footer;
  return body;
}

MessageCount CountMessage(std::wstring_view message, std::wstring_view footer) {
  return CountBody(ComposeBody(message, footer));
}
