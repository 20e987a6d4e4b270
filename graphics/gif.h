#pragma once
// A decoder for the GIF pictures the program ships: the first image of the file, when it
// covers the whole picture and has no transparent colour. Anything else is left to the
// system's picture loader. What it allocates is bounded by the data the file holds, never by
// the size its header claims.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace gif {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows from the top
};

// Empty for a damaged file or one this decoder leaves alone.
std::optional<Image> Decode(std::string_view bytes);

}  // namespace gif
