#include "graphics/resample.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "graphics/error.h"

namespace dib {
namespace {

// Round to nearest, ties to even (the default floating-point rounding mode).
double RoundEven(double v) { return std::nearbyint(v); }

}  // namespace

void ResampleInto(const ConstPixels& source, const Pixels& target) {
  const std::int32_t w = source.width, h = source.height;
  if (target.width <= 0 || target.height <= 0) return;
  if (w < 2 || h < 2)
    throw RaisedError(error_numbers::kSubscriptOutOfRange, L"cDIBSection", L"Subscript out of range");
  const float x_scale = static_cast<float>(static_cast<double>(w - 1) / target.width);
  const float y_scale = static_cast<float>(static_cast<double>(h - 1) / target.height);
  for (std::int32_t ty = 0; ty < target.height; ++ty) {
    const float sy = y_scale * static_cast<float>(ty);
    // Past the last line only through single-precision rounding at huge sizes: stay inside.
    const std::int32_t y0 = std::min(static_cast<std::int32_t>(std::floor(sy)), h - 2);
    const float fy = sy - static_cast<float>(y0);
    for (std::int32_t tx = 0; tx < target.width; ++tx) {
      const float sx = x_scale * static_cast<float>(tx);
      const std::int32_t x0 = std::min(static_cast<std::int32_t>(std::floor(sx)), w - 2);
      const float fx = sx - static_cast<float>(x0);
      const std::uint8_t* p00 = source.At(x0, y0);
      const std::uint8_t* p10 = source.At(x0 + 1, y0);
      const std::uint8_t* p01 = source.At(x0, y0 + 1);
      const std::uint8_t* p11 = source.At(x0 + 1, y0 + 1);
      std::uint8_t* out = target.At(tx, ty);
      for (int c = 0; c < 3; ++c) {
        const double a = RoundEven((1.0 - fy) * p00[c] + static_cast<double>(fy) * p01[c]);
        const double b = RoundEven((1.0 - fy) * p10[c] + static_cast<double>(fy) * p11[c]);
        const double v = RoundEven((1.0 - fx) * a + static_cast<double>(fx) * b);
        out[c] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
      }
    }
  }
}

void FillNoise(const Pixels& pixels, bool gray, std::uint32_t seed) {
  std::mt19937 engine(seed);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  auto next = [&] { return static_cast<std::uint8_t>(RoundEven(uniform(engine) * 255.0)); };
  if (!gray) {
    for (std::int32_t x = 0; x < pixels.width; ++x)
      for (std::int32_t y = 0; y < pixels.height; ++y) {
        std::uint8_t* p = pixels.At(x, y);
        p[0] = 0;
        p[1] = next();
        p[2] = next();
      }
  } else {
    for (std::int32_t y = 0; y < pixels.height; ++y)
      for (std::int32_t x = 0; x < pixels.width; ++x) {
        std::uint8_t* p = pixels.At(x, y);
        p[0] = p[1] = p[2] = next();
      }
  }
}

}  // namespace dib
