#include "text/codepage.h"

#include <array>

namespace codepage {
namespace {

// Windows-1252 bytes 0x80..0x9F; the five bytes that the code page leaves undefined
// map to the control characters of the same value, as Windows does.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

Converter g_converter{&ToCp1252, &FromCp1252};

char ByteFor(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t i = 0; i < kHigh.size(); ++i)
    if (kHigh[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

bool InCp1252(char32_t c) { return c == U'?' || ByteFor(c) != '?'; }

std::string ToCp1252(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) out.push_back(ByteFor(static_cast<char32_t>(c)));
  return out;
}

std::wstring FromCp1252(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (char b : bytes) {
    auto u = static_cast<unsigned char>(b);
    out.push_back(static_cast<wchar_t>(u >= 0x80 && u < 0xA0 ? kHigh[u - 0x80] : u));
  }
  return out;
}

std::string ToAnsi(std::wstring_view text) { return g_converter.to_ansi(text); }
std::wstring FromAnsi(std::string_view bytes) { return g_converter.from_ansi(bytes); }
void Install(Converter converter) { g_converter = converter; }

}  // namespace codepage
