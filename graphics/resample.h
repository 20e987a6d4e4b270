#pragma once
// Bilinear resampling between two 24-bit pixel buffers of the bitmap layout, and filling a
// bitmap with noise. Both work on stored lines (bottom-up in both bitmaps), so nothing flips.
#include <cstdint>

#include "graphics/dib_layout.h"

namespace dib {

// Interpolates `source` into `target` (each of its own size). Scales are (W - 1) / W' and
// (H - 1) / H' in single precision; each channel is first interpolated between two lines,
// rounded to the nearest (ties to even), then between two columns, rounded and clamped.
// A source narrower or lower than 2 pixels raises error 9 (subscript out of range).
void ResampleInto(const ConstPixels& source, const Pixels& target);

// Noise: not gray, column by column, blue 0 and red and green random; gray, line by line, one
// random value in all three bytes. Values are round(r * 255) for r uniform in [0, 1).
// Padding bytes stay as they are.
void FillNoise(const Pixels& pixels, bool gray, std::uint32_t seed);

}  // namespace dib
