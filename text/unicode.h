#pragma once
// Characters (Unicode code points) of wide text, and UTF-8. wchar_t is UTF-16 on Windows, where
// a character outside the Basic Multilingual Plane is a surrogate pair, and UTF-32 elsewhere.
#include <optional>
#include <string>
#include <string_view>

namespace unicode {

inline constexpr char32_t kReplacement = 0xFFFD;

struct Character {
  char32_t code = 0;       // a lone surrogate stands for itself
  std::size_t units = 1;   // wchar_t units it takes in the text (2 for a surrogate pair)
};

// The character that starts at `at` (which must be inside the text).
Character CharacterAt(std::wstring_view text, std::size_t at);

bool IsSurrogate(char32_t c);

// A character as wide text: one unit, or a surrogate pair where wchar_t is 16 bits.
std::wstring Wide(char32_t c);

// Lone surrogates, which no UTF can hold, become U+FFFD.
std::string ToUtf8(std::wstring_view text);

// Empty when the bytes are not well-formed UTF-8 (overlong forms and surrogates included).
std::optional<std::wstring> FromUtf8(std::string_view bytes);

}  // namespace unicode
