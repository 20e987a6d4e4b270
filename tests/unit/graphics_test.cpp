// The portable half of the bitmap and shape classes: line length, the scan into strips, the
// shape as rectangles, the region file layout and bilinear resampling, on plain buffers.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "graphics/dib_layout.h"
#include "graphics/error.h"
#include "graphics/region_data.h"
#include "graphics/region_scan.h"
#include "graphics/resample.h"

using region::Rect;
using region::Strip;

namespace {

// A bitmap in the 24-bit layout, addressed by picture rows (0 = top) for convenience.
struct TestBitmap {
  TestBitmap(int w, int h) : width(w), height(h), stride(dib::BytesPerScanLine(w)) {
    bytes.assign(static_cast<std::size_t>(stride) * static_cast<std::size_t>(h), 0x5A);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) Set(x, y, 0x336699);
  }
  // `colour` is 0x00BBGGRR; `row` counts from the top of the picture.
  void Set(int x, int row, std::uint32_t colour) {
    std::uint8_t* p = &bytes[static_cast<std::size_t>(height - 1 - row) * stride + 3 * x];
    p[0] = (colour >> 16) & 0xFF;
    p[1] = (colour >> 8) & 0xFF;
    p[2] = colour & 0xFF;
  }
  dib::ConstPixels View() const { return {bytes.data(), width, height, stride}; }
  dib::Pixels MutableView() { return {{bytes.data(), width, height, stride}}; }

  int width, height, stride;
  std::vector<std::uint8_t> bytes;
};

// Inside-ness of every pixel by the definition: the full rectangle less the strips.
std::vector<bool> InsideFromStrips(const std::vector<Strip>& strips, int w, int h) {
  std::vector<bool> inside(static_cast<std::size_t>(w) * h, true);
  for (const Strip& s : strips)
    for (int y = s.top; y < s.bottom; ++y) inside[static_cast<std::size_t>(y) * w + s.x] = false;
  return inside;
}

std::vector<bool> InsideFromRects(const std::vector<Rect>& rects, int w, int h) {
  std::vector<bool> inside(static_cast<std::size_t>(w) * h, false);
  for (const Rect& r : rects)
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        EXPECT_FALSE(inside[static_cast<std::size_t>(y) * w + x]) << "rectangles overlap";
        inside[static_cast<std::size_t>(y) * w + x] = true;
      }
  return inside;
}

}  // namespace

TEST(DibLayout, LineLengthIsThreeBytesPerPixelPaddedToFour) {
  EXPECT_EQ(dib::BytesPerScanLine(0), 0);
  EXPECT_EQ(dib::BytesPerScanLine(1), 4);
  EXPECT_EQ(dib::BytesPerScanLine(3), 12);  // 9 bytes of pixels, 3 of padding
  EXPECT_EQ(dib::BytesPerScanLine(4), 12);
  EXPECT_EQ(dib::BytesPerScanLine(5), 16);
  EXPECT_EQ(dib::BytesPerScanLine(150), 452);
  EXPECT_EQ(dib::ImageSize(150, 352), 452 * 352);
}

TEST(DibLayout, OverflowOfLineLengthOrImageSizeIsRaised) {
  EXPECT_EQ(dib::BytesPerScanLine(715827881), 2147483644);  // the widest line that fits
  for (auto size : {std::pair{715827882, 1}, std::pair{100000, 100000}}) {
    try {
      dib::ImageSize(size.first, size.second);
      ADD_FAILURE() << "no error for " << size.first << " x " << size.second;
    } catch (const RaisedError& e) {
      EXPECT_EQ(e.number(), error_numbers::kOverflow);
    }
  }
}

TEST(RegionScan, StripsForTheTypicalPictures) {
  constexpr std::uint32_t kBlack = 0;
  {  // no transparent pixel: no strip, the shape is the full rectangle
    TestBitmap b(5, 4);
    EXPECT_TRUE(region::ScanTransparentStrips(b.View(), kBlack).empty());
    EXPECT_EQ(region::ShapeRectangles({}, 5, 4), (std::vector<Rect>{{0, 0, 5, 4}}));
  }
  {  // a fully transparent column: one strip from row 0 to the height
    TestBitmap b(4, 6);
    for (int y = 0; y < 6; ++y) b.Set(2, y, kBlack);
    auto strips = region::ScanTransparentStrips(b.View(), kBlack);
    EXPECT_EQ(strips, (std::vector<Strip>{{2, 0, 6}}));
    EXPECT_EQ(region::ShapeRectangles(strips, 4, 6), (std::vector<Rect>{{0, 0, 2, 6}, {3, 0, 4, 6}}));
  }
  {  // runs touching the top and the bottom, and two runs in one column, in scan order
    TestBitmap b(3, 7);
    b.Set(0, 0, kBlack);
    b.Set(0, 1, kBlack);
    b.Set(0, 6, kBlack);
    b.Set(1, 3, kBlack);
    b.Set(2, 5, kBlack);
    b.Set(2, 6, kBlack);
    EXPECT_EQ(region::ScanTransparentStrips(b.View(), kBlack),
              (std::vector<Strip>{{0, 0, 2}, {0, 6, 7}, {1, 3, 4}, {2, 5, 7}}));
  }
  {  // 3 pixels wide: the padding bytes, black here, never make strips
    TestBitmap b(3, 2);
    for (std::size_t i = 9; i < 12; ++i) b.bytes[i] = b.bytes[12 + i] = 0;
    EXPECT_TRUE(region::ScanTransparentStrips(b.View(), kBlack).empty());
    b.Set(2, 1, kBlack);
    EXPECT_EQ(region::ScanTransparentStrips(b.View(), kBlack), (std::vector<Strip>{{2, 1, 2}}));
  }
  {  // 0 x 0: nothing at all
    TestBitmap b(0, 0);
    EXPECT_TRUE(region::ScanTransparentStrips(b.View(), kBlack).empty());
    EXPECT_TRUE(region::ShapeRectangles({}, 0, 0).empty());
  }
}

TEST(RegionScan, OnlyTheExactColourIsTransparent) {
  TestBitmap b(4, 1);
  b.Set(0, 0, 0x00FF8040);  // the transparent colour: red 0x40, green 0x80, blue 0xFF
  b.Set(1, 0, 0x00FF8041);
  b.Set(2, 0, 0x004080FF);  // bytes swapped: not the colour
  b.Set(3, 0, 0x00FF8040);
  EXPECT_EQ(region::ScanTransparentStrips(b.View(), 0x00FF8040),
            (std::vector<Strip>{{0, 0, 1}, {3, 0, 1}}));
}

TEST(RegionScan, ShapeRectanglesCoverExactlyTheDefinedShapeInBands) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 40; ++trial) {
    const int w = 1 + static_cast<int>(random() % 40), h = 1 + static_cast<int>(random() % 40);
    TestBitmap b(w, h);
    const unsigned density = random() % 4;  // from none to mostly transparent
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (random() % 4 < density) b.Set(x, y, 0);
    auto strips = region::ScanTransparentStrips(b.View(), 0);
    auto rects = region::ShapeRectangles(strips, w, h);
    EXPECT_EQ(InsideFromRects(rects, w, h), InsideFromStrips(strips, w, h)) << w << "x" << h;
    for (std::size_t i = 1; i < rects.size(); ++i) {
      const Rect &a = rects[i - 1], &c = rects[i];
      if (a.top == c.top) {
        EXPECT_EQ(a.bottom, c.bottom);
        EXPECT_LT(a.right, c.left) << "touching rectangles in a band";
      } else {
        EXPECT_GE(c.top, a.bottom) << "bands out of order";
      }
    }
  }
}

TEST(RegionData, SerialisesTheRgnDataLayoutAndParsesItBack) {
  std::vector<Rect> rects{{0, 0, 2, 6}, {3, 0, 4, 6}, {-5, 6, 10, 7}};
  std::string bytes = region::Serialise(rects);
  ASSERT_EQ(bytes.size(), 32u + 3 * 16);
  const unsigned char header[] = {32, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 48, 0, 0, 0,
                                  0xFB, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 10, 0, 0, 0, 7, 0, 0, 0};
  EXPECT_EQ(bytes.substr(0, 32), std::string(reinterpret_cast<const char*>(header), 32));
  auto parsed = region::Parse(bytes);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->rects, rects);
  EXPECT_EQ(parsed->bounds, (Rect{-5, 0, 10, 7}));
  EXPECT_EQ(region::Serialise({}).size(), 32u);
  EXPECT_TRUE(region::Parse(region::Serialise({})));
}

TEST(RegionData, RejectsWhatTheSystemWouldReadOutOfBounds) {
  std::string good = region::Serialise({{0, 0, 1, 1}});
  EXPECT_FALSE(region::Parse(good.substr(0, 31)));       // short header
  EXPECT_FALSE(region::Parse(good.substr(0, 47)));       // count beyond the data
  std::string wrong_type = good;
  wrong_type[4] = 2;
  EXPECT_FALSE(region::Parse(wrong_type));
  std::string huge_count = good;
  huge_count[11] = 0x7F;
  EXPECT_FALSE(region::Parse(huge_count));
  std::string huge_header = good;
  huge_header[3] = 0x7F;
  EXPECT_FALSE(region::Parse(huge_header));
  EXPECT_FALSE(region::Parse(""));
}

TEST(Resample, TwoByTwoToFourByFourUsesQuarterScales) {
  TestBitmap src(2, 2);
  // Stored line 0 (bottom): blue 0 and 100; stored line 1: 200 and 255.
  auto put = [&](int x, int line, std::uint8_t v) {
    std::uint8_t* p = &src.bytes[static_cast<std::size_t>(line) * src.stride + 3 * x];
    p[0] = v;
    p[1] = static_cast<std::uint8_t>(255 - v);
    p[2] = 7;
  };
  put(0, 0, 0), put(1, 0, 100), put(0, 1, 200), put(1, 1, 255);
  TestBitmap dst(4, 4);
  dib::ResampleInto(src.View(), dst.MutableView());
  auto blue = [&](int x, int line) { return dst.bytes[static_cast<std::size_t>(line) * dst.stride + 3 * x]; };
  // Scale (2 - 1) / 4 = 0.25: x' = 1 reads fx 0.25; line' = 2 reads fy 0.5.
  EXPECT_EQ(blue(0, 0), 0);
  EXPECT_EQ(blue(1, 0), 25);   // round(0.75 * 0 + 0.25 * 100)
  EXPECT_EQ(blue(2, 0), 50);
  EXPECT_EQ(blue(3, 0), 75);   // never reaches the last column: 0.75 of the way
  EXPECT_EQ(blue(0, 2), 100);  // round(0.5 * 0 + 0.5 * 200)
  // Line first, then column: a = round(0.5*0 + 0.5*200) = 100, b = round(0.5*100 + 0.5*255)
  // = round(177.5) = 178 (ties to even), v = round(0.25 * 100 + 0.75 * 178) = round(158.5) = 158.
  EXPECT_EQ(blue(3, 2), 158);
  // Green (255 - blue): a = round(0.5*255 + 0.5*55) = 155, b = round(77.5) = 78,
  // v = round(0.25*155 + 0.75*78) = round(97.25) = 97.
  EXPECT_EQ(dst.bytes[static_cast<std::size_t>(2) * dst.stride + 3 * 3 + 1], 97);
  EXPECT_EQ(dst.bytes[2], 7);
}

TEST(Resample, NeedsTwoColumnsAndTwoLines) {
  TestBitmap one_wide(1, 5), dst(3, 3);
  try {
    dib::ResampleInto(one_wide.View(), dst.MutableView());
    FAIL() << "no error";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.number(), error_numbers::kSubscriptOutOfRange);
  }
}

TEST(Noise, GrayWritesOneValueToAllThreeBytesAndLeavesPadding) {
  TestBitmap b(3, 4);
  dib::FillNoise(b.MutableView(), true, 1234);
  std::set<int> values;
  for (int line = 0; line < 4; ++line) {
    const std::uint8_t* row = &b.bytes[static_cast<std::size_t>(line) * b.stride];
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(row[3 * x], row[3 * x + 1]);
      EXPECT_EQ(row[3 * x], row[3 * x + 2]);
      values.insert(row[3 * x]);
    }
    for (int pad = 9; pad < 12; ++pad) EXPECT_EQ(row[pad], 0x5A);
  }
  EXPECT_GT(values.size(), 4u);
  dib::FillNoise(b.MutableView(), false, 1234);
  for (int line = 0; line < 4; ++line)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(b.bytes[static_cast<std::size_t>(line) * b.stride + 3 * x], 0);
}
