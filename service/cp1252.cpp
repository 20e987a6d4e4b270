#include "service/cp1252.h"

#include "text/codepage.h"
#include "text/unicode.h"

namespace lumora {

std::string cp1252_to_utf8(std::string_view bytes) {
  // The program's own code page table, so that both ends agree on every byte.
  return unicode::ToUtf8(codepage::FromCp1252(bytes));
}

}  // namespace lumora
