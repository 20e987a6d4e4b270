#pragma once
// The window shape of a bitmap: every pixel of the transparent colour is outside, every
// other pixel inside. The scan goes column by column from the top of the picture down and
// gives one 1-pixel-wide strip per run of transparent pixels; the shape is the full
// rectangle (0, 0)-(width, height) less those strips. Coordinates: (0, 0) is the picture's
// top-left corner, y grows downwards, right and bottom edges are exclusive.
#include <cstdint>
#include <vector>

#include "graphics/dib_layout.h"

namespace region {

struct Strip {  // the rectangle (x, top)-(x + 1, bottom)
  std::int32_t x = 0;
  std::int32_t top = 0;
  std::int32_t bottom = 0;
  bool operator==(const Strip&) const = default;
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const Rect&) const = default;
};

// `colour` is a Windows colour value 0x00BBGGRR. Strips come in scan order: columns left to
// right, runs within a column top to bottom.
std::vector<Strip> ScanTransparentStrips(const dib::ConstPixels& pixels, std::uint32_t colour);

// The shape (full rectangle less the strips) as non-overlapping rectangles in the system's
// canonical order: horizontal bands top to bottom, each band's rectangles left to right, no
// two touching in a band, and a band never repeating the one above it when they touch.
// Linear in the number of pixels and rectangles.
std::vector<Rect> ShapeRectangles(const std::vector<Strip>& strips, std::int32_t width,
                                  std::int32_t height);

}  // namespace region
