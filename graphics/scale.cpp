#include "graphics/scale.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace dib {
namespace {

// Where a target column or line samples the source: the two neighbours and the weight of the
// second.
struct Sample {
  std::int32_t first, second;
  float weight;
};

std::vector<Sample> Samples(std::int32_t source_size, std::int32_t target_size) {
  std::vector<Sample> samples(static_cast<std::size_t>(target_size));
  const double step = static_cast<double>(source_size) / target_size;
  for (std::int32_t t = 0; t < target_size; ++t) {
    const double at = std::clamp((t + 0.5) * step - 0.5, 0.0, static_cast<double>(source_size - 1));
    const auto first = static_cast<std::int32_t>(std::floor(at));
    samples[static_cast<std::size_t>(t)] = {first, std::min(first + 1, source_size - 1),
                                            static_cast<float>(at - first)};
  }
  return samples;
}

bool IsKey(const std::uint8_t* p, const Bgr& key) { return p[0] == key.b && p[1] == key.g && p[2] == key.r; }

}  // namespace

void ScaleSmooth(const ConstPixels& source, const Pixels& target, std::optional<Bgr> key) {
  if (source.width <= 0 || source.height <= 0 || target.width <= 0 || target.height <= 0) return;
  const std::vector<Sample> columns = Samples(source.width, target.width);
  const std::vector<Sample> lines = Samples(source.height, target.height);
  for (std::int32_t ty = 0; ty < target.height; ++ty) {
    const Sample& line = lines[static_cast<std::size_t>(ty)];
    for (std::int32_t tx = 0; tx < target.width; ++tx) {
      const Sample& column = columns[static_cast<std::size_t>(tx)];
      const std::uint8_t* p[4] = {source.At(column.first, line.first), source.At(column.second, line.first),
                                  source.At(column.first, line.second), source.At(column.second, line.second)};
      const float w[4] = {(1 - column.weight) * (1 - line.weight), column.weight * (1 - line.weight),
                          (1 - column.weight) * line.weight, column.weight * line.weight};
      float sum[3] = {0, 0, 0}, covered = 0;
      for (int i = 0; i < 4; ++i) {
        if (key && IsKey(p[i], *key)) continue;
        covered += w[i];
        for (int c = 0; c < 3; ++c) sum[c] += w[i] * p[i][c];
      }
      std::uint8_t* out = target.At(tx, ty);
      if (key && covered < 0.5f) {
        out[0] = key->b, out[1] = key->g, out[2] = key->r;
        continue;
      }
      for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>(std::lround(std::clamp(sum[c] / covered, 0.0f, 255.0f)));
      if (key && IsKey(out, *key)) out[0] = static_cast<std::uint8_t>(out[0] < 128 ? out[0] + 1 : out[0] - 1);
    }
  }
}

}  // namespace dib
