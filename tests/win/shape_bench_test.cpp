// Benchmark, not a timing test: prints how long the window shape takes for the phone picture
// and for pictures full of short transparent runs at growing sizes up to 1920 x 1080 (the cost
// follows the picture's size, not the square of its runs). The shape's correctness is tested in
// tests/win/graphics_test.cpp and tests/unit/graphics_test.cpp.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>

#include "graphics/cDIBSectionRegion_win.h"
#include "graphics/cDIBSection_win.h"
#include "graphics/picture_win.h"
#include "graphics/region_scan.h"
#include "wine_util.h"

static void Report(const char* what, const cDIBSection& dib) {
  const auto start = std::chrono::steady_clock::now();
  cDIBSectionRegion shape;
  shape.Create(dib, 0);
  const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
  std::printf("%-24s %5ld x %-5ld %8zu runs: shape in %8.1f ms\n", what, static_cast<long>(dib.Width()),
              static_cast<long>(dib.Height()), region::ScanTransparentStrips(dib.Pixels(), 0).size(), took.count());
  EXPECT_TRUE(shape.hRgn());
}

TEST(ShapeBenchmark, PhonePictureAndShortRunsAtGrowingSizes) {
  StdPicture phone =
      StdPicture::LoadFromFile(testing_win::WindowsPath(BREVIO_BIN_DIR) + L"\\images\\phone4.gif");
  ASSERT_TRUE(phone) << "images\\phone4.gif is not beside the program";
  cDIBSection dib;
  dib.CreateFromPicture(phone.Handle());
  Report("phone picture", dib);
  std::mt19937 random(3);
  for (auto [w, h] : {std::pair{240, 135}, {480, 270}, {960, 540}, {1920, 1080}}) {
    ASSERT_TRUE(dib.Create(w, h));
    auto* bits = static_cast<BYTE*>(dib.DIBSectionBitsPtr());
    for (LONG y = 0; y < h; ++y)  // about every fourth pixel transparent: short runs
      for (LONG x = 0; x < 3 * w; x += 3)
        std::memset(bits + std::size_t(y) * dib.BytesPerScanLine() + x, random() % 4 ? 200 : 0, 3);
    Report("short runs", dib);
  }
}
