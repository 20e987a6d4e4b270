#include "graphics/region_build_win.h"

#include <string>

#include "graphics/region_data.h"

namespace region {
namespace {

// ExtCreateRegion is handed a few bands at a time: some implementations add its rectangles
// one by one, at a cost that grows with the region already built. The pieces are then
// joined pairwise, like a binary counter, so that every rectangle takes part in about
// log2(pieces) joins and only that many regions are alive at once.
constexpr std::size_t kRectsPerPiece = 64;

win::unique_region Piece(const Rect* first, std::size_t count) {
  std::string bytes = Serialise(std::vector<Rect>(first, first + count));
  return win::unique_region(::ExtCreateRegion(
      nullptr, static_cast<DWORD>(bytes.size()), reinterpret_cast<const RGNDATA*>(bytes.data())));
}

}  // namespace

win::unique_region RegionFromRectangles(const std::vector<Rect>& rects) {
  if (rects.empty()) return win::unique_region(::CreateRectRgn(0, 0, 0, 0));
  struct Level {
    win::unique_region rgn;
    std::size_t size;  // pieces joined into it
  };
  std::vector<Level> stack;
  for (std::size_t at = 0; at < rects.size(); at += kRectsPerPiece) {
    Level next{Piece(rects.data() + at, std::min(kRectsPerPiece, rects.size() - at)), 1};
    if (!next.rgn) return {};
    while (!stack.empty() && stack.back().size == next.size) {
      if (::CombineRgn(stack.back().rgn.get(), stack.back().rgn.get(), next.rgn.get(), RGN_OR) ==
          ERROR)
        return {};
      next = Level{std::move(stack.back().rgn), next.size * 2};
      stack.pop_back();
    }
    stack.push_back(std::move(next));
  }
  while (stack.size() > 1) {
    Level top = std::move(stack.back());
    stack.pop_back();
    if (::CombineRgn(stack.back().rgn.get(), stack.back().rgn.get(), top.rgn.get(), RGN_OR) == ERROR)
      return {};
  }
  return std::move(stack.back().rgn);
}

win::unique_region RegionFromData(const std::string& bytes) {
  if (!Parse(bytes)) return {};
  return win::unique_region(::ExtCreateRegion(nullptr, static_cast<DWORD>(bytes.size()),
                                              reinterpret_cast<const RGNDATA*>(bytes.data())));
}

win::unique_region CopyRegion(HRGN source) {
  if (!source) return {};
  win::unique_region copy(::CreateRectRgn(0, 0, 0, 0));
  if (copy && ::CombineRgn(copy.get(), source, nullptr, RGN_COPY) == ERROR) copy.reset();
  return copy;
}

}  // namespace region
