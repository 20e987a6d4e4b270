// Any bytes as a picture file: the GIF decoder reads only what is there, asks for no more
// memory than the data can fill (libFuzzer's malloc limit catches a size taken on trust from
// the header), and what it accepts has a pixel for every place of its size.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "graphics/gif.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto image = gif::Decode(std::string_view(reinterpret_cast<const char*>(data), size));
  if (image && (image->width <= 0 || image->height <= 0 ||
                image->pixels.size() != static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height)))
    std::abort();
  return 0;
}
