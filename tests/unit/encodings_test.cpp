#include <gtest/gtest.h>

#include "text/codepage.h"
#include "text/encodings.h"
#include "text/unicode.h"

using namespace encodings;

namespace {
std::string AllBytes() {
  std::string s;
  for (int c = 0; c < 256; ++c) s.push_back(static_cast<char>(c));
  return s;
}
}  // namespace

TEST(Scramble, LinesLongerThanTheKeyWrapAndStillRoundTrip) {
  const std::string text = AllBytes() + AllBytes() + AllBytes();
  EXPECT_EQ(Scramble(Scramble(text)), text);
  // Each byte goes XOR key + position, wrapping past the limit.
  // Positions 1, 245 (the last within the limit), 246 (key + p - 1 = 256 wraps to 0) and 300.
  const std::string out = Scramble(std::string(300, '\0'), 11);
  EXPECT_EQ((std::string{out[0], out[244], out[245], out[299]}), (std::string{11, '\xFF', 0, 54}));
}

TEST(Encodings, EachByteCodeAtItsEdges) {
  const struct {
    std::string (*code)(std::string_view);
    std::string in, out;
  } cases[] = {
      // Hexadecimal: uppercase digits without leading zeros.
      {HexEncode, "abc", "616263"}, {HexEncode, {'\x05'}, "5"}, {HexEncode, {'\0', '\x10', '\xff'}, "010FF"},
      {HexEncode, "", ""},
      // URL: only letters, digits and line breaks stay (the form body's other signs are checked
      // with the request).
      {URLEncode, "x\r\ny", "x\r\ny"}, {URLEncode, "-_.*%+&<=\t", "%2D%5F%2E%2A%25%2B%26%3C%3D%09"},
      // A percent near the end never reads past the text; both characters after it are
      // consumed even when only the first is a digit, or none is.
      {URLDecode, "100%", {"100\0", 4}}, {URLDecode, "%4", "\x04"}, {URLDecode, "%", {"\0", 1}},
      {URLDecode, "%4Gz", {"\x04z", 2}}, {URLDecode, "%G1z", {"\0z", 2}}, {URLDecode, "a+b%2Bc%25", "a b+c%"},
      {URLDecode, "%e9", "\xe9"},
      // Base64: padded to whole groups.
      {Base64Encode, "", ""}, {Base64Encode, "a", "YQ=="}, {Base64Encode, "ab", "YWI="},
      {Base64Encode, "abc", "YWJj"}, {Base64Encode, "\xff\xfe\xfd", "//79"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.code(c.in), c.out) << testing::PrintToString(c.in);
  // Every byte, and a text longer than sixteen-bit counters reach once encoded, come back whole.
  for (const std::string& text : {AllBytes(), std::string(40000, '&')}) EXPECT_EQ(URLDecode(URLEncode(text)), text);
}

TEST(CodePage, Windows1252MapsItsHighRangeAndReplacesTheRest) {
  EXPECT_EQ(codepage::ToCp1252(L"\u20ac\u00e9A"), "\x80\xe9" "A");
  EXPECT_EQ(codepage::FromCp1252("\x80\x81\x9f"), L"\u20ac\u0081\u0178");
  EXPECT_EQ(codepage::ToCp1252(L"\u4e2d"), "?");
  std::string all = AllBytes();
  EXPECT_EQ(codepage::ToCp1252(codepage::FromCp1252(all)), all);
}

TEST(Utf8, RoundTripsEveryPlaneAndRefusesMalformedBytes) {
  const std::wstring text = L"a\u00e9\u20ac\U0001F600";
  EXPECT_EQ(unicode::ToUtf8(text), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(unicode::FromUtf8(unicode::ToUtf8(text)), text);
  EXPECT_EQ(unicode::ToUtf8(std::wstring(1, static_cast<wchar_t>(0xDC00))), "\xEF\xBF\xBD");
  // Overlong, a surrogate, beyond U+10FFFF, cut short, a stray continuation byte.
  for (const char* bad : {"\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "\x80"})
    EXPECT_EQ(unicode::FromUtf8(bad), std::nullopt) << bad;
}
