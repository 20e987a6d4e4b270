// Benchmark, not a timing test: prints how long the window shape takes for the phone picture
// and for a 1920 x 1080 picture full of short transparent runs, and checks only that the
// shape is the defined one.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>

#include "graphics/cDIBSectionRegion_win.h"
#include "graphics/cDIBSection_win.h"
#include "graphics/picture_win.h"
#include "graphics/region_build_win.h"
#include "graphics/region_data.h"
#include "graphics/region_scan.h"
#include "wine_util.h"

using namespace testing_win;
using Clock = std::chrono::steady_clock;

namespace {

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The shape by its definition, strip by strip with XOR: quadratic, for comparison only.
win::unique_region XorShape(LONG w, LONG h, const std::vector<region::Strip>& strips) {
  win::unique_region rgn(::CreateRectRgn(0, 0, w, h));
  for (const region::Strip& s : strips) {
    win::unique_region strip(::CreateRectRgn(s.x, s.top, s.x + 1, s.bottom));
    ::CombineRgn(rgn.get(), rgn.get(), strip.get(), RGN_XOR);
  }
  return rgn;
}

void Report(const char* what, const cDIBSection& dib) {
  auto t0 = Clock::now();
  auto strips = region::ScanTransparentStrips(dib.Pixels(), 0);
  const double scan = MsSince(t0);
  auto t1 = Clock::now();
  auto rects = region::ShapeRectangles(strips, dib.Width(), dib.Height());
  const double bands = MsSince(t1);
  auto t2 = Clock::now();
  win::unique_region rgn = region::RegionFromRectangles(rects);
  const double build = MsSince(t2);
  auto t3 = Clock::now();
  cDIBSectionRegion shape;
  shape.Create(dib, 0);
  const double whole = MsSince(t3);
  std::printf("%-34s %5ld x %-5ld %8zu runs %8zu rectangles: scan %7.1f ms, bands %7.1f ms, "
              "region %7.1f ms; Create in all %7.1f ms\n",
              what, static_cast<long>(dib.Width()), static_cast<long>(dib.Height()), strips.size(),
              rects.size(), scan, bands, build, whole);
  ASSERT_TRUE(shape.hRgn());
  EXPECT_TRUE(::EqualRgn(shape.hRgn(), rgn.get()));
  EXPECT_EQ(::GetRegionData(shape.hRgn(), 0, nullptr), 32 + 16 * rects.size());
}

void ShortRuns(cDIBSection& dib, LONG w, LONG h, unsigned seed) {
  ASSERT_TRUE(dib.Create(w, h));
  std::mt19937 random(seed);
  auto* bits = static_cast<BYTE*>(dib.DIBSectionBitsPtr());
  for (LONG y = 0; y < h; ++y) {
    BYTE* line = bits + static_cast<std::size_t>(y) * dib.BytesPerScanLine();
    for (LONG x = 0; x < w; ++x) {
      // Runs of 1 to 3 transparent pixels about every fourth pixel of a column.
      const BYTE v = (random() % 4 == 0) ? 0 : 200;
      line[3 * x] = line[3 * x + 1] = line[3 * x + 2] = v;
    }
  }
}

}  // namespace

TEST(ShapeBenchmark, PhonePicture) {
  StdPicture phone = StdPicture::LoadFromFile(WindowsPath(BREVIO_BIN_DIR) + L"\\images\\phone4.gif");
  if (!phone) GTEST_SKIP() << "images\\phone4.gif is not beside the program";
  cDIBSection dib;
  dib.CreateFromPicture(phone.Handle());
  ASSERT_EQ(dib.Width(), 150);
  Report("phone picture", dib);
}

TEST(ShapeBenchmark, FullHdPictureOfShortRuns) {
  cDIBSection dib;
  ShortRuns(dib, 1920, 1080, 3);
  Report("1920 x 1080, short runs", dib);
}

TEST(ShapeBenchmark, GrowthAgainstTheStripByStripConstruction) {
  // Same kind of picture at growing sizes: the banded construction grows with the size, the
  // XOR of every strip much faster. Both give the same region.
  for (LONG side : {60, 120, 240}) {
    cDIBSection dib;
    ShortRuns(dib, side, side, 5);
    auto strips = region::ScanTransparentStrips(dib.Pixels(), 0);
    auto t0 = Clock::now();
    win::unique_region fast =
        region::RegionFromRectangles(region::ShapeRectangles(strips, side, side));
    const double banded = MsSince(t0);
    auto t1 = Clock::now();
    win::unique_region slow = XorShape(side, side, strips);
    const double xored = MsSince(t1);
    std::printf("%4ld x %-4ld %6zu runs: banded %7.1f ms, strip by strip with XOR %8.1f ms\n",
                static_cast<long>(side), static_cast<long>(side), strips.size(), banded, xored);
    EXPECT_TRUE(::EqualRgn(fast.get(), slow.get()));
  }
}

TEST(ShapeBenchmark, OneExtCreateRegionCallForComparison) {
  // What a single ExtCreateRegion of all the rectangles costs here (some implementations
  // add them one by one), against the pairwise joins of pieces used by the class.
  for (LONG side : {120, 240, 480}) {
    cDIBSection dib;
    ShortRuns(dib, side, side, 9);
    auto rects = region::ShapeRectangles(region::ScanTransparentStrips(dib.Pixels(), 0), side, side);
    std::string bytes = region::Serialise(rects);
    auto t0 = Clock::now();
    win::unique_region one(::ExtCreateRegion(nullptr, static_cast<DWORD>(bytes.size()),
                                             reinterpret_cast<const RGNDATA*>(bytes.data())));
    const double single = MsSince(t0);
    auto t1 = Clock::now();
    win::unique_region joined = region::RegionFromRectangles(rects);
    const double pieces = MsSince(t1);
    std::printf("%4ld x %-4ld %7zu rectangles: one ExtCreateRegion %8.1f ms, pieces joined %7.1f ms\n",
                static_cast<long>(side), static_cast<long>(side), rects.size(), single, pieces);
    EXPECT_TRUE(::EqualRgn(one.get(), joined.get()));
  }
}
