#include "service/cp1252.h"

#include "app/codepage.h"

namespace lumora {
namespace {

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {  // every code point of Windows-1252 is below 0x10000
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string cp1252_to_utf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  // The program's own code page table, so that both ends agree on every byte.
  for (wchar_t c : codepage::FromCp1252(bytes)) append_utf8(out, static_cast<char32_t>(c));
  return out;
}

}  // namespace lumora
