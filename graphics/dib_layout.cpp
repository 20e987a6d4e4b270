#include "graphics/dib_layout.h"

#include <limits>

#include "graphics/error.h"

namespace dib {
namespace {

[[noreturn]] void Overflow() { throw RaisedError(error_numbers::kOverflow, L"cDIBSection", L"Overflow"); }

std::int32_t Checked(std::int64_t value) {
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    Overflow();
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t BytesPerScanLine(std::int32_t width) {
  return Checked((static_cast<std::int64_t>(width) * 3 + 3) & ~std::int64_t{3});
}

std::int32_t ImageSize(std::int32_t width, std::int32_t height) {
  return Checked(static_cast<std::int64_t>(BytesPerScanLine(width)) * height);
}

}  // namespace dib
