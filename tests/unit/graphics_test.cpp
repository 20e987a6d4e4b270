// The portable half of the bitmap and shape classes on plain buffers: the shape as banded
// rectangles against its definition, the region file layout and bilinear resampling. (The
// typical pictures of the scan are run with GDI in tests/win/graphics_test.cpp.)
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "graphics/dib_layout.h"
#include "graphics/region_data.h"
#include "graphics/region_scan.h"
#include "graphics/resample.h"
#include "graphics/scale.h"

using region::Rect;

namespace {

// A bitmap in the 24-bit layout, every byte 0x5A (padding included) until pixels are set.
struct TestBitmap {
  TestBitmap(int w, int h)
      : width(w), height(h), stride(dib::BytesPerScanLine(w)), bytes(std::size_t(stride) * h, 0x5A) {}
  // `colour` is 0x00BBGGRR on stored line `line`.
  void Set(int x, int line, std::uint32_t colour) {
    std::uint8_t* p = MutableView().At(x, line);
    p[0] = (colour >> 16) & 0xFF, p[1] = (colour >> 8) & 0xFF, p[2] = colour & 0xFF;
  }
  std::uint32_t Get(int x, int line) const {
    const std::uint8_t* p = View().At(x, line);
    return std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
  }
  dib::ConstPixels View() const { return {bytes.data(), width, height, stride}; }
  dib::Pixels MutableView() { return {{bytes.data(), width, height, stride}}; }
  int width, height, stride;
  std::vector<std::uint8_t> bytes;
};

}  // namespace

TEST(RegionScan, ShapeRectanglesCoverExactlyTheDefinedShapeInBands) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 40; ++trial) {
    const int w = 1 + static_cast<int>(random() % 40), h = 1 + static_cast<int>(random() % 40);
    TestBitmap b(w, h);
    const unsigned density = random() % 4;  // from none to mostly transparent
    // Transparent: exactly 0x00FF8040; one bit off, or the bytes swapped, is not. Each pixel
    // of the shape must be covered once, the others not at all.
    const std::uint32_t colours[] = {0x00FF8040, 0x00FF8041, 0x004080FF};
    std::vector<int> expected(std::size_t(w) * h, 1), got(std::size_t(w) * h, 0);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (random() % 4 < density) {
          const std::uint32_t colour = colours[random() % 3];
          b.Set(x, h - 1 - y, colour);  // picture row y is stored line h - 1 - y
          expected[std::size_t(y) * w + x] = colour != 0x00FF8040;
        }
    auto rects = region::ShapeRectangles(region::ScanTransparentStrips(b.View(), 0x00FF8040), w, h);
    for (const Rect& r : rects)
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) ++got[std::size_t(y) * w + x];
    EXPECT_EQ(got, expected) << w << "x" << h;
    for (std::size_t i = 1; i < rects.size(); ++i) {
      // In one band: the same rows and not touching; otherwise the next band lies below.
      const Rect &a = rects[i - 1], &c = rects[i];
      EXPECT_TRUE(a.top == c.top ? a.bottom == c.bottom && a.right < c.left : c.top >= a.bottom)
          << w << "x" << h << " rectangles " << i - 1 << " and " << i;
    }
  }
}

TEST(RegionData, SerialisesTheRgnDataLayoutAndRejectsWhatTheSystemWouldReadOutOfBounds) {
  std::vector<Rect> rects{{0, 0, 2, 6}, {3, 0, 4, 6}, {-5, 6, 10, 7}};
  std::string bytes = region::Serialise(rects);
  ASSERT_EQ(bytes.size(), 32u + 3 * 16);
  // The rest of the header is read back below and by the system in tests/win; not this size.
  EXPECT_EQ(bytes.substr(12, 4), std::string("\x30\0\0\0", 4)) << "the rectangles' size in bytes";
  auto parsed = region::Parse(bytes);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(std::pair(parsed->rects, parsed->bounds), std::pair(rects, Rect{-5, 0, 10, 7}));
  EXPECT_TRUE(region::Parse(region::Serialise({})));
  // Short header, count beyond the data, wrong type, huge count, huge header size, nothing.
  std::string bad[] = {bytes.substr(0, 31), bytes.substr(0, 79), bytes, bytes, bytes, ""};
  bad[2][4] = 2, bad[3][11] = 0x7F, bad[4][3] = 0x7F;
  for (const std::string& b : bad) EXPECT_FALSE(region::Parse(b)) << b.size();
}

TEST(Resample, TwoByTwoToFourByFourUsesQuarterScales) {
  TestBitmap src(2, 2), dst(4, 4);
  // Blue on stored line 0 (bottom): 0 and 100; line 1: 200 and 255. Green 255 - blue, red 7.
  for (auto [x, line, v] : {std::tuple{0, 0, 0}, {1, 0, 100}, {0, 1, 200}, {1, 1, 255}})
    src.Set(x, line, 0x000007 | (255u - v) << 8 | std::uint32_t(v) << 16);
  dib::ResampleInto(src.View(), dst.MutableView());
  auto at = [&](int x, int line, int channel) { return dst.View().At(x, line)[channel]; };
  // Blue at (1, 0), (3, 0) and (3, 2), green at (3, 2).
  // Scale (2 - 1) / 4 = 0.25: x' = 1 reads fx 0.25 (round(0.75 * 0 + 0.25 * 100) = 25); the
  // last column only 0.75 of the way; line' = 2 reads fy 0.5.
  // Line first, then column: a = round(0.5*0 + 0.5*200) = 100, b = round(0.5*100 + 0.5*255)
  // = round(177.5) = 178 (ties to even), v = round(0.25 * 100 + 0.75 * 178) = round(158.5) = 158.
  // Green: a = round(0.5*255 + 0.5*55) = 155, b = round(77.5) = 78, round(97.25) = 97.
  EXPECT_EQ((std::vector<int>{at(1, 0, 0), at(3, 0, 0), at(3, 2, 0), at(3, 2, 1)}), (std::vector<int>{25, 75, 158, 97}));
}

// One line of the smooth scaler with a see-through key K, against what the eye expects: a
// target pixel less than half covered by other colours is K, one at least half covered is not,
// and a blend of two other colours that lands on K is moved off it by one.
TEST(ScaleSmooth, NoPixelTurnsSeeThroughUnlessMostlySeeThrough) {
  constexpr std::uint32_t K = 0x808080, R = 0x0000FF, A = 0x7E8080, B = 0x828080, Near = 0x7F8080;
  const struct {
    std::vector<std::uint32_t> source;
    std::vector<std::uint32_t> expected;
  } cases[] = {
      {{K, R}, {K, K, R, R}},  // covered 0, 1/4, 3/4, 1
      {{K, R}, {K, R, R}},     // the middle exactly half covered
      {{K, R, K}, {K, K}},     // down: a thin line under half goes
      {{R, K, R}, {R, R}},
      {{A, B}, {A, Near, B}},  // the blend of A and B would be K
  };
  for (const auto& [source, expected] : cases) {
    TestBitmap from(int(source.size()), 1), to(int(expected.size()), 1);
    for (int x = 0; x < from.width; ++x) from.Set(x, 0, source[std::size_t(x)]);
    dib::ScaleSmooth(from.View(), to.MutableView(), dib::Bgr{0x80, 0x80, 0x80});
    for (int x = 0; x < to.width; ++x) EXPECT_EQ(to.Get(x, 0), expected[std::size_t(x)]) << from.width << " to " << to.width << " at " << x;
  }
}

// The padlock and the phone are scaled whole; the scaler's pixel centres line up, so a piece cut
// at a whole target pixel scales to the same pixels as the whole does there (its outer ring,
// which sees past the cut, aside), at 120 and 144 dots per inch and down again.
TEST(ScaleSmooth, APieceScalesAsTheWholeDoesThere) {
  std::mt19937 random(11);
  TestBitmap whole(20, 16);
  const std::uint32_t key = 0x00FF00FF;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 20; ++x) whole.Set(x, y, random() % 3 ? random() & 0xFFFFFF : key);
  // Scale as a fraction, and a piece (left, line, width, height) at a whole target pixel.
  const std::tuple<int, int, int, int, int, int> cases[] = {
      {5, 4, 4, 4, 8, 8}, {3, 2, 6, 2, 8, 10}, {1, 2, 2, 2, 12, 10}};
  for (auto [num, den, left, line, w, h] : cases) {
    auto scaled = [&](const TestBitmap& from) {
      TestBitmap to(from.width * num / den, from.height * num / den);
      dib::ScaleSmooth(from.View(), to.MutableView(), dib::Bgr{0xFF, 0x00, 0xFF});
      return to;
    };
    TestBitmap piece(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) piece.Set(x, y, whole.Get(left + x, line + y));
    const TestBitmap all = scaled(whole), part = scaled(piece);
    for (int y = 1; y + 1 < part.height; ++y)
      for (int x = 1; x + 1 < part.width; ++x)
        ASSERT_EQ(part.Get(x, y), all.Get(left * num / den + x, line * num / den + y)) << num << "/" << den << " at " << x << "," << y;
  }
}
