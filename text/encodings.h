#pragma once
// The text encodings of the settings file, the submission request and the account links.
// They work on byte strings: one byte per character in the ANSI code page (text/codepage.h).
#include <string>
#include <string_view>

namespace encodings {

// The key shared by the settings file and the login token that the service's pages decode.
inline constexpr int kScrambleKey = 11;

// XOR of each byte with (key + position - 1), positions counted from 1. Applying it twice
// gives the text back. Past 256 - key characters the key byte wraps modulo 256, so long
// lines still round-trip while shorter ones keep their historical bytes.
std::string Scramble(std::string_view text, int key = kScrambleKey);

// The byte that Scramble gives for `c` at zero-based position `index` of its text.
char ScrambleAt(char c, std::size_t index, int key = kScrambleKey);

// The value of a hexadecimal digit in either letter case, -1 for any other character.
int HexValue(char c);

// Each byte as uppercase hexadecimal without leading zeros ("abc" -> "616263", 5 -> "5").
std::string HexEncode(std::string_view text);

// Letters, digits, CR and LF stay; space becomes '+'; everything else becomes %XX.
std::string URLEncode(std::string_view text);

// '+' becomes a space; '%' and the (up to) two characters behind it become the byte of the
// hexadecimal digits found there (0 when the first is not one). Never reads past the text.
std::string URLDecode(std::string_view text);

// RFC 4648 Base64 with '=' padding and no line breaks.
std::string Base64Encode(std::string_view value);

}  // namespace encodings
