// The bitmap and window-shape classes with real GDI: the shape against its definition (the
// full rectangle XOR one strip per transparent run), the region file round trip and pictures
// copied into the bitmap.
#include <gtest/gtest.h>

#include "graphics/cDIBSectionRegion_win.h"
#include "graphics/cDIBSection_win.h"
#include "wine_util.h"

using namespace testing_win;

namespace {

// A bitmap of `w` x `h` in one colour, with the given (x, row from the top) pixels black.
struct Canvas {
  Canvas(LONG w, LONG h, const std::vector<std::pair<LONG, LONG>>& black = {}) {
    // A DIB section of no pixels cannot be made: such a bitmap stays empty, 0 x 0.
    EXPECT_EQ(dib.Create(w, h), w > 0 && h > 0);
    for (LONG y = 0; y < h; ++y)
      for (LONG x = 0; x < w; ++x) Set(x, y, RGB(40, 90, 160));
    for (auto [x, row] : black) Set(x, row, 0);
  }
  void Set(LONG x, LONG row, COLORREF c) {
    auto* p = static_cast<BYTE*>(dib.DIBSectionBitsPtr()) +
              static_cast<std::size_t>(dib.Height() - 1 - row) * dib.BytesPerScanLine() + 3 * x;
    p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
  }
  cDIBSection dib;
};

}  // namespace

TEST(DibSection, LineLengthAndBottomUpLinesFromCreateFromPicture) {
  // A 3 x 300 device-dependent bitmap: a red top line, a green bottom line, blue between.
  win::window_dc screen(nullptr);
  win::unique_bitmap picture(::CreateCompatibleBitmap(screen.get(), 3, 300));
  {
    win::unique_dc dc(::CreateCompatibleDC(screen.get()));
    win::select_object sel(dc.get(), picture.get());
    for (auto [top, bottom, c] : {std::tuple{0, 300, RGB(0, 0, 255)}, {0, 1, RGB(255, 0, 0)}, {299, 300, RGB(0, 255, 0)}}) {
      win::unique_brush b(::CreateSolidBrush(c));
      RECT r{0, top, 3, bottom};
      ::FillRect(dc.get(), &r, b.get());
    }
  }
  cDIBSection d;
  d.CreateFromPicture(picture.get());
  ASSERT_TRUE(d.Width() == 3 && d.Height() == 300);
  EXPECT_EQ(d.BytesPerScanLine(), 12) << "9 bytes of pixels, padded to 4";
  ::GdiFlush();
  auto pixel = [&](int x, int stored_line) { const BYTE* p = d.Pixels().At(x, stored_line); return RGB(p[2], p[1], p[0]); };
  EXPECT_EQ(pixel(0, 0), RGB(0, 255, 0)) << "stored line 0 is the picture's bottom line";
  EXPECT_EQ(pixel(2, 299), RGB(255, 0, 0));
}

TEST(ShapeRegion, TypicalPicturesGiveTheDefinedShape) {
  struct Case {
    const char* name;
    LONG w, h;
    std::vector<std::pair<LONG, LONG>> black;  // (x, row)
    std::vector<RECT> expected;  // the full rectangle less a strip per run
  } cases[] = {
      {"no transparent pixel", 5, 4, {}, {{0, 0, 5, 4}}},
      {"fully transparent column", 3, 4, {{1, 0}, {1, 1}, {1, 2}, {1, 3}}, {{0, 0, 1, 4}, {2, 0, 3, 4}}},
      {"runs touching top and bottom", 3, 4, {{0, 0}, {2, 3}}, {{1, 0, 3, 1}, {0, 1, 3, 3}, {0, 3, 2, 4}}},
      {"3 pixels wide (black padding)", 3, 2, {{2, 1}}, {{0, 0, 3, 1}, {0, 1, 2, 2}}},
      {"0 x 0", 0, 0, {}, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Canvas c(k.w, k.h, k.black);
    cDIBSectionRegion shape;
    shape.Create(c.dib, 0);
    ASSERT_NE(shape.hRgn(), nullptr);
    win::unique_region expected(::CreateRectRgn(0, 0, 0, 0));
    for (const RECT& r : k.expected) {
      win::unique_region piece(::CreateRectRgnIndirect(&r));
      ::CombineRgn(expected.get(), expected.get(), piece.get(), RGN_OR);
    }
    EXPECT_TRUE(::EqualRgn(shape.hRgn(), expected.get()));
  }
}

TEST(ShapeRegion, EachWindowOwnsItsCopy) {
  Canvas c(100, 100, {{0, 0}, {0, 1}, {50, 50}});
  cDIBSectionRegion shape;
  shape.Create(c.dib, 0);
  auto plain = [] { return ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr); };
  win::unique_window a(plain()), b(plain());
  for (HWND w : {a.get(), b.get(), b.get()}) shape.Applied(w, true);  // b listed once
  ASSERT_EQ(shape.AppliedToCount(), 2);
  win::unique_region got(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(::GetWindowRgn(a.get(), got.get()), COMPLEXREGION);
  EXPECT_TRUE(::EqualRgn(got.get(), shape.hRgn()));
  b.reset();  // a window destroyed frees its own copy; the object's region stays
  EXPECT_TRUE(::PtInRegion(shape.hRgn(), 60, 60));
  shape.Applied(a.get(), false);
  EXPECT_EQ(shape.AppliedToCount(), 1);
  EXPECT_EQ(::GetWindowRgn(a.get(), got.get()), ERROR) << "the shape must be taken off";
}

TEST(ShapeRegion, SaveLoadFromFileAndLoadFromResourceGiveTheSameRegion) {
  Canvas c(40, 30, {{7, 5}, {7, 6}, {0, 0}, {39, 0}, {12, 29}});
  cDIBSectionRegion shape;
  shape.Create(c.dib, 0);
  TempDir dir;
  const std::wstring path = dir / L"shape.rgn";
  WriteFileBytes(path, std::string(5000, 'x'));  // an older, longer file is replaced
  ASSERT_TRUE(shape.Save(path));
  const std::string bytes = ReadFileBytes(path);  // the RGNDATA header, then the rectangles
  EXPECT_EQ(bytes.size(), ::GetRegionData(shape.hRgn(), 0, nullptr));
  cDIBSectionRegion loaded;
  ASSERT_TRUE(loaded.LoadFromFile(path));
  EXPECT_TRUE(::EqualRgn(loaded.hRgn(), shape.hRgn()));

  // A module with RT_RCDATA #101 holding the region file: a copy of this program, updated.
  const std::wstring module = dir / L"module.exe";
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  ASSERT_TRUE(::CopyFileW(self, module.c_str(), FALSE));
  HANDLE update = ::BeginUpdateResourceW(module.c_str(), FALSE);
  ASSERT_TRUE(::UpdateResourceW(update, RT_RCDATA, MAKEINTRESOURCEW(101), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                const_cast<char*>(bytes.data()), static_cast<DWORD>(bytes.size())));
  ASSERT_TRUE(::EndUpdateResourceW(update, FALSE));
  for (const cDIBSectionRegion::ResourceId& id : {cDIBSectionRegion::ResourceId(101L), cDIBSectionRegion::ResourceId(std::wstring(L"101"))}) {
    cDIBSectionRegion from_module;
    ASSERT_TRUE(from_module.LoadFromResource(id, module));
    EXPECT_TRUE(::EqualRgn(from_module.hRgn(), shape.hRgn()));
  }
}
