// URLDecode on any text stays inside it, and inverts URLEncode.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/encodings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string decoded = encodings::URLDecode(text);
  if (decoded.size() > text.size()) std::abort();
  if (encodings::URLDecode(encodings::URLEncode(text)) != text) std::abort();
  return 0;
}
