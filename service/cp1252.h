#pragma once
// The client sends its text as Windows-1252 bytes, one per character.
#include <string>
#include <string_view>

namespace lumora {

// Converts Windows-1252 bytes to UTF-8. The five bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same number, as Windows does.
std::string cp1252_to_utf8(std::string_view bytes);

}  // namespace lumora
