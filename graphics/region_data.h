#pragma once
// The region file: the system's RGNDATA structure exactly, little-endian, nothing around it.
// A 32-byte header (header size 32, type 1 = rectangles, rectangle count, size of the
// rectangle data in bytes, bounding rectangle left, top, right, bottom) and 16 bytes per
// rectangle (left, top, right, bottom; signed 32-bit).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graphics/region_scan.h"

namespace region {

inline constexpr std::uint32_t kHeaderSize = 32;
inline constexpr std::uint32_t kTypeRectangles = 1;

struct RegionData {
  Rect bounds;
  std::vector<Rect> rects;
  bool operator==(const RegionData&) const = default;
};

// The bytes of the structure; the bounds are those of the rectangles (all 0 when none).
std::string Serialise(const std::vector<Rect>& rects);

// Reads a structure as the system's region functions accept it: a header of at least 32
// bytes whose size field says where the rectangles begin, type 1, and as many rectangles as
// the count says within the buffer. Anything else gives nothing.
std::optional<RegionData> Parse(const std::string& bytes);

}  // namespace region
