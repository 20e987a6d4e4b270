#pragma once
// The pixel layout of the 24-bit device-independent bitmap: three bytes per pixel (blue,
// green, red), lines padded to a multiple of 4 bytes, stored bottom-up (line 0 in memory is
// the bottom line of the picture).
#include <cstddef>
#include <cstdint>

namespace dib {

// Line length in bytes: (width * 3 + 3) with the two low bits cleared. A result beyond
// 32 signed bits raises error 6 (overflow).
std::int32_t BytesPerScanLine(std::int32_t width);

// Size of the pixel memory, BytesPerScanLine * height, with the same overflow rule.
std::int32_t ImageSize(std::int32_t width, std::int32_t height);

// Pixel memory seen in place; nothing is copied.
struct ConstPixels {
  const std::uint8_t* bits = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t stride = 0;  // BytesPerScanLine

  // Byte offset of pixel column x on stored line y (y = 0 is the bottom line).
  std::size_t Offset(std::int32_t x, std::int32_t stored_line) const {
    return static_cast<std::size_t>(stored_line) * static_cast<std::size_t>(stride) +
           static_cast<std::size_t>(x) * 3;
  }
  const std::uint8_t* At(std::int32_t x, std::int32_t stored_line) const {
    return bits + Offset(x, stored_line);
  }
};

struct Pixels : ConstPixels {
  std::uint8_t* At(std::int32_t x, std::int32_t stored_line) const {
    return const_cast<std::uint8_t*>(bits) + Offset(x, stored_line);
  }
};

}  // namespace dib
