#include "graphics/region_data.h"

#include <algorithm>

namespace region {
namespace {

void Put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void PutRect(std::string& out, const Rect& r) {
  for (std::int32_t v : {r.left, r.top, r.right, r.bottom}) Put32(out, static_cast<std::uint32_t>(v));
}

std::uint32_t Get32(const std::string& in, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(in[at + i]);
  return v;
}

Rect GetRect(const std::string& in, std::size_t at) {
  auto s = [&](std::size_t i) { return static_cast<std::int32_t>(Get32(in, at + 4 * i)); };
  return {s(0), s(1), s(2), s(3)};
}

}  // namespace

std::string Serialise(const std::vector<Rect>& rects) {
  Rect bounds{};
  if (!rects.empty()) {
    bounds = rects.front();
    for (const Rect& r : rects) {
      bounds.left = std::min(bounds.left, r.left);
      bounds.top = std::min(bounds.top, r.top);
      bounds.right = std::max(bounds.right, r.right);
      bounds.bottom = std::max(bounds.bottom, r.bottom);
    }
  }
  std::string out;
  out.reserve(kHeaderSize + 16 * rects.size());
  Put32(out, kHeaderSize);
  Put32(out, kTypeRectangles);
  Put32(out, static_cast<std::uint32_t>(rects.size()));
  Put32(out, static_cast<std::uint32_t>(16 * rects.size()));
  PutRect(out, bounds);
  for (const Rect& r : rects) PutRect(out, r);
  return out;
}

std::optional<RegionData> Parse(const std::string& bytes) {
  if (bytes.size() < kHeaderSize) return std::nullopt;
  const std::uint32_t header = Get32(bytes, 0);
  if (header < kHeaderSize || header > bytes.size()) return std::nullopt;
  if (Get32(bytes, 4) != kTypeRectangles) return std::nullopt;
  const std::uint64_t count = Get32(bytes, 8);
  if (count > (bytes.size() - header) / 16) return std::nullopt;
  RegionData data;
  data.bounds = GetRect(bytes, 16);
  data.rects.reserve(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < count; ++i) data.rects.push_back(GetRect(bytes, header + 16 * i));
  return data;
}

}  // namespace region
