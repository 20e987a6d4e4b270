// URLDecode on any text stays inside it, and inverts URLEncode.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text/encodings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  if (encodings::URLDecode(text).size() > text.size() || encodings::URLDecode(encodings::URLEncode(text)) != text)
    std::abort();
  return 0;
}
