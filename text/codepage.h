#pragma once
// One byte per character: where text meets the settings file, the network and the encodings.
// The Win32 layer installs the system ANSI code page when it is a single-byte one;
// otherwise, and in the native build, Windows-1252 is used.
#include <string>
#include <string_view>

namespace codepage {

std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view bytes);

std::string ToCp1252(std::wstring_view text);     // unmappable characters become '?'
std::wstring FromCp1252(std::string_view bytes);
bool InCp1252(char32_t c);  // true when Windows-1252 has a byte for the character

struct Converter {
  std::string (*to_ansi)(std::wstring_view);
  std::wstring (*from_ansi)(std::string_view);
};
void Install(Converter converter);

}  // namespace codepage
