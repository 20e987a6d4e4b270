// Any bytes as a region file: the reader never reads past them, and what it accepts is
// written again to the same rectangles.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "graphics/region_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  auto parsed = region::Parse(bytes);
  if (!parsed) return 0;
  auto again = region::Parse(region::Serialise(parsed->rects));
  if (32 + 16 * parsed->rects.size() > bytes.size() || !again || again->rects != parsed->rects) std::abort();
  return 0;
}
