#include "graphics/region_scan.h"

#include <algorithm>
#include <cstddef>

namespace region {

std::vector<Strip> ScanTransparentStrips(const dib::ConstPixels& pixels, std::uint32_t colour) {
  const std::uint8_t red = colour & 0xFF;
  const std::uint8_t green = (colour >> 8) & 0xFF;
  const std::uint8_t blue = (colour >> 16) & 0xFF;
  const std::int32_t h = pixels.height;
  std::vector<Strip> strips;
  for (std::int32_t x = 0; x < pixels.width; ++x) {
    bool in_run = false;
    std::int32_t start = 0;
    for (std::int32_t y = h - 1; y >= 0; --y) {  // stored lines are bottom-up
      const std::int32_t row = h - 1 - y;
      const std::uint8_t* p = pixels.At(x, y);
      const bool transparent = p[0] == blue && p[1] == green && p[2] == red;
      if (transparent && !in_run) {
        in_run = true;
        start = row;
      } else if (!transparent && in_run) {
        strips.push_back({x, start, row});
        in_run = false;
      }
    }
    if (in_run) strips.push_back({x, start, h});
  }
  return strips;
}

std::vector<Rect> ShapeRectangles(const std::vector<Strip>& strips, std::int32_t width,
                                  std::int32_t height) {
  std::vector<Rect> out;
  if (width <= 0 || height <= 0) return out;
  // Mark the transparent pixels row by row; then each row's inside spans form its band.
  const auto w = static_cast<std::size_t>(width);
  std::vector<std::uint8_t> outside(w * static_cast<std::size_t>(height), 0);
  for (const Strip& s : strips) {
    const std::int32_t top = std::max(s.top, 0), bottom = std::min(s.bottom, height);
    if (s.x < 0 || s.x >= width) continue;
    for (std::int32_t y = top; y < bottom; ++y) outside[static_cast<std::size_t>(y) * w + s.x] = 1;
  }
  std::vector<Rect> previous_band;  // spans of the band above (top/bottom ignored)
  std::size_t previous_start = 0;   // where the band above begins in `out`
  std::vector<Rect> band;
  for (std::int32_t y = 0; y < height; ++y) {
    band.clear();
    const std::uint8_t* row = outside.data() + static_cast<std::size_t>(y) * w;
    for (std::int32_t x = 0; x < width;) {
      if (row[x]) {
        ++x;
        continue;
      }
      std::int32_t end = x;
      while (end < width && !row[end]) ++end;
      band.push_back({x, y, end, y + 1});
      x = end;
    }
    const bool same = !band.empty() && band.size() == previous_band.size() &&
                      std::equal(band.begin(), band.end(), previous_band.begin(),
                                 [](const Rect& a, const Rect& b) {
                                   return a.left == b.left && a.right == b.right;
                                 });
    if (same && out.size() > previous_start && out.back().bottom == y) {
      for (std::size_t i = previous_start; i < out.size(); ++i) out[i].bottom = y + 1;
    } else {
      previous_start = out.size();
      out.insert(out.end(), band.begin(), band.end());
    }
    previous_band.swap(band);
  }
  return out;
}

}  // namespace region
