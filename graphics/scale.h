#pragma once
// Smooth scaling of a 24-bit picture to another size, for drawing it at another screen density.
// Pixel centres line up (a picture and a piece cut from it scale alike). With a see-through key
// colour the key takes no part in the blend: a target pixel is the key where less than half of
// what it is made from is, and otherwise never the key, so an edge neither darkens towards the
// key nor grows holes.
#include <cstdint>
#include <optional>

#include "graphics/dib_layout.h"

namespace dib {

struct Bgr {
  std::uint8_t b, g, r;
};

// Bilinear: each target pixel from the four source pixels around its centre.
void ScaleSmooth(const ConstPixels& source, const Pixels& target, std::optional<Bgr> key = {});

}  // namespace dib
