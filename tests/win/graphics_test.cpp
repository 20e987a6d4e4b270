// The bitmap and window-shape classes with real GDI: the shape against its definition (the
// full rectangle XOR one strip per transparent run), the region file, the numbered errors,
// pictures copied into the bitmap, resampling and the clipboard.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "graphics/cDIBSectionRegion_win.h"
#include "graphics/cDIBSection_win.h"
#include "graphics/region_data.h"
#include "graphics/region_scan.h"
#include "wine_util.h"

using namespace testing_win;

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);

// A bitmap of `w` x `h` in one colour; pixels set by picture row (0 = top).
class Canvas {
 public:
  Canvas(LONG w, LONG h, COLORREF fill = RGB(40, 90, 160)) {
    // A DIB section of no pixels cannot be made: such a bitmap stays empty, 0 x 0.
    EXPECT_EQ(dib_.Create(w, h), w > 0 && h > 0);
    for (LONG y = 0; y < h; ++y)
      for (LONG x = 0; x < w; ++x) Set(x, y, fill);
  }
  void Set(LONG x, LONG row, COLORREF c) {
    auto* p = static_cast<BYTE*>(dib_.DIBSectionBitsPtr()) +
              static_cast<std::size_t>(dib_.Height() - 1 - row) * dib_.BytesPerScanLine() + 3 * x;
    p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
  }
  cDIBSection& dib() { return dib_; }

 private:
  cDIBSection dib_;
};

// The shape exactly as defined: the full rectangle, each run's strip taken out by XOR.
win::unique_region DefinedShape(const cDIBSection& dib, COLORREF transparent) {
  win::unique_region rgn(::CreateRectRgn(0, 0, dib.Width(), dib.Height()));
  for (const region::Strip& s : region::ScanTransparentStrips(dib.Pixels(), transparent)) {
    win::unique_region strip(::CreateRectRgn(s.x, s.top, s.x + 1, s.bottom));
    ::CombineRgn(rgn.get(), rgn.get(), strip.get(), RGN_XOR);
  }
  return rgn;
}

std::vector<RECT> RectsOf(HRGN rgn) {
  DWORD size = ::GetRegionData(rgn, 0, nullptr);
  std::string data(size, '\0');
  ::GetRegionData(rgn, size, reinterpret_cast<RGNDATA*>(data.data()));
  auto* rd = reinterpret_cast<RGNDATA*>(data.data());
  auto* r = reinterpret_cast<RECT*>(rd->Buffer);
  return std::vector<RECT>(r, r + rd->rdh.nCount);
}

bool SameRegion(HRGN a, HRGN b) {
  win::unique_region diff(::CreateRectRgn(0, 0, 0, 0));
  return ::CombineRgn(diff.get(), a, b, RGN_XOR) == NULLREGION && ::EqualRgn(a, b);
}

// A plain top-level window to set shapes on.
win::unique_window PlainWindow() {
  return win::unique_window(::CreateWindowExW(0, L"STATIC", L"shape target", WS_POPUP, 0, 0, 100,
                                              100, nullptr, nullptr, nullptr, nullptr));
}

template <class F>
RaisedError Raised(F&& f) {
  try {
    f();
  } catch (const RaisedError& e) {
    return e;
  }
  ADD_FAILURE() << "nothing was raised";
  return RaisedError(0, L"", L"");
}

}  // namespace

TEST(DibSection, CreateFillsTheHeaderAndLineLength) {
  cDIBSection empty;
  EXPECT_EQ(empty.Width(), 0);
  EXPECT_EQ(empty.DIBSectionBitsPtr(), nullptr);
  for (LONG w : {1, 3, 4, 150}) {
    cDIBSection d;
    ASSERT_TRUE(d.Create(w, 2));
    EXPECT_EQ(d.BytesPerScanLine(), ((w * 3 + 3) & ~3)) << w;
    DIBSECTION ds{};
    ASSERT_EQ(::GetObjectW(d.hDib(), sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBmih.biBitCount, 24);
    EXPECT_GT(ds.dsBmih.biHeight, 0) << "lines must be stored bottom-up";
    EXPECT_EQ(ds.dsBm.bmWidthBytes, d.BytesPerScanLine());
    EXPECT_EQ(ds.dsBm.bmBits, d.DIBSectionBitsPtr());
  }
  cDIBSection d;
  ASSERT_TRUE(d.Create(5, 5));
  d.ClearUp();
  EXPECT_EQ(d.hdc(), nullptr);
  EXPECT_EQ(d.hDib(), nullptr);
  EXPECT_EQ(d.DIBSectionBitsPtr(), nullptr);
  EXPECT_EQ(d.Width(), 5) << "the last header filled stays";
}

TEST(DibSection, CreateFromPictureCopiesColoursWithLineZeroAtTheBottom) {
  // A 200 x 300 device-dependent bitmap: a red top line, a green bottom line, blue between.
  win::window_dc screen(nullptr);
  win::unique_bitmap picture(::CreateCompatibleBitmap(screen.get(), 200, 300));
  {
    win::unique_dc dc(::CreateCompatibleDC(screen.get()));
    win::select_object sel(dc.get(), picture.get());
    auto fill = [&](int top, int bottom, COLORREF c) {
      win::unique_brush b(::CreateSolidBrush(c));
      RECT r{0, top, 200, bottom};
      ::FillRect(dc.get(), &r, b.get());
    };
    fill(0, 300, RGB(0, 0, 255));
    fill(0, 1, RGB(255, 0, 0));
    fill(299, 300, RGB(0, 255, 0));
  }
  cDIBSection d;
  d.CreateFromPicture(picture.get());
  ASSERT_EQ(d.Width(), 200);
  ASSERT_EQ(d.Height(), 300);
  EXPECT_EQ(d.BytesPerScanLine(), 600);
  ::GdiFlush();
  auto pixel = [&](int x, int stored_line) {
    const BYTE* p = d.Pixels().At(x, stored_line);
    return RGB(p[2], p[1], p[0]);
  };
  EXPECT_EQ(pixel(0, 0), RGB(0, 255, 0)) << "stored line 0 is the picture's bottom line";
  EXPECT_EQ(pixel(199, 299), RGB(255, 0, 0));
  EXPECT_EQ(pixel(100, 150), RGB(0, 0, 255));

  cDIBSection none;
  none.CreateFromPicture(nullptr);  // an empty picture: nothing made
  EXPECT_EQ(none.Width(), 0);
  EXPECT_EQ(none.Height(), 0);
  EXPECT_EQ(none.hDib(), nullptr);
}

TEST(DibSection, ResampleCopiesAtTheSameSizeAndInterpolatesOtherwise) {
  // The interpolation itself is checked on plain buffers (unit tests); here the bitmaps.
  Canvas c(2, 2);
  c.Set(0, 0, RGB(0, 55, 200));
  c.Set(1, 1, RGB(0, 155, 100));
  auto same = c.dib().Resample(2, 2);
  ASSERT_TRUE(same);
  ::GdiFlush();
  EXPECT_EQ(0, std::memcmp(same->Pixels().bits, c.dib().Pixels().bits, 16));
  auto big = c.dib().Resample(3, 4);  // height first
  ASSERT_TRUE(big);
  EXPECT_EQ(big->Width(), 4);
  EXPECT_EQ(big->Height(), 3);
  Canvas thin(1, 4);
  EXPECT_EQ(Raised([&] { (void)thin.dib().Resample(3, 3); }).number(), 9);
}

TEST(DibSection, CopyToClipboardPutsABitmapAndRefusesADib) {
  Canvas c(8, 6, RGB(10, 200, 30));
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  ::CloseClipboard();
  EXPECT_TRUE(c.dib().CopyToClipboard(false));
  EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
  ASSERT_TRUE(::OpenClipboard(nullptr));
  auto bm = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
  BITMAP info{};
  ASSERT_TRUE(bm && ::GetObjectW(bm, sizeof info, &info));
  EXPECT_EQ(info.bmWidth, 8);
  EXPECT_EQ(info.bmHeight, 6);
  ::EmptyClipboard();
  ::CloseClipboard();

  // As a DIB it only says so, in a message box that another thread answers.
  std::thread answer([] {
    HWND box = WaitFor([] { return ::FindWindowW(L"#32770", L"Brevio"); }, 10000);
    if (box) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  EXPECT_FALSE(c.dib().CopyToClipboard(true));
  answer.join();
  EXPECT_FALSE(::IsClipboardFormatAvailable(CF_BITMAP)) << "the clipboard must stay unchanged";
}

TEST(ShapeRegion, TypicalPicturesGiveTheDefinedShape) {
  struct Case {
    const char* name;
    LONG w, h;
    std::vector<std::pair<LONG, LONG>> black;  // (x, row)
    std::vector<RECT> expected;                // canonical rectangles of the shape
  };
  std::vector<Case> cases = {
      {"no transparent pixel", 5, 4, {}, {{0, 0, 5, 4}}},
      {"fully transparent column", 3, 4, {{1, 0}, {1, 1}, {1, 2}, {1, 3}}, {{0, 0, 1, 4}, {2, 0, 3, 4}}},
      {"runs touching top and bottom", 3, 4, {{0, 0}, {2, 3}},
       {{1, 0, 3, 1}, {0, 1, 3, 3}, {0, 3, 2, 4}}},
      {"3 pixels wide", 3, 2, {{2, 1}}, {{0, 0, 3, 1}, {0, 1, 2, 2}}},
      {"0 x 0", 0, 0, {}, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Canvas c(k.w, k.h);
    for (auto [x, row] : k.black) c.Set(x, row, kBlack);
    cDIBSectionRegion shape;
    shape.Create(c.dib(), kBlack);
    ASSERT_NE(shape.hRgn(), nullptr);
    if (k.w == 0) {
      RECT box;
      EXPECT_EQ(::GetRgnBox(shape.hRgn(), &box), NULLREGION);
    }
    EXPECT_TRUE(SameRegion(shape.hRgn(), DefinedShape(c.dib(), kBlack).get()));
    std::vector<RECT> got = RectsOf(shape.hRgn());
    ASSERT_EQ(got.size(), k.expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_TRUE(::EqualRect(&got[i], &k.expected[i])) << i;
  }
}

TEST(ShapeRegion, EachWindowOwnsItsCopyAndTheListKeepsItsOrder) {
  Canvas c(100, 100);
  for (LONG y = 0; y < 100; ++y) c.Set(0, y, kBlack);  // the left column is see-through
  c.Set(50, 50, kBlack);                               // and a hole in the middle
  cDIBSectionRegion shape;
  shape.Create(c.dib(), kBlack);
  win::unique_window a = PlainWindow(), b = PlainWindow(), d = PlainWindow();
  for (HWND w : {a.get(), b.get(), d.get()}) shape.Applied(w, true);
  shape.Applied(b.get(), true);  // listed once only
  ASSERT_EQ(shape.AppliedToCount(), 3);
  win::unique_region got(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(::GetWindowRgn(a.get(), got.get()), COMPLEXREGION);
  EXPECT_TRUE(SameRegion(got.get(), shape.hRgn()));

  // A window destroyed frees its own copy; the object's region and the others' stay.
  d.reset();
  EXPECT_TRUE(::PtInRegion(shape.hRgn(), 60, 60));
  ASSERT_EQ(::GetWindowRgn(a.get(), got.get()), COMPLEXREGION);

  shape.Applied(b.get(), false);
  EXPECT_EQ(shape.AppliedToCount(), 2);
  EXPECT_EQ(shape.hWndForIndex(1), a.get());
  EXPECT_EQ(::GetWindowRgn(b.get(), got.get()), ERROR) << "the shape must be taken off";
  EXPECT_EQ(Raised([&] { (void)shape.hWndForIndex(3); }).number(), 9);

  win::unique_window never = PlainWindow();
  shape.Applied(never.get(), false);
  EXPECT_EQ(shape.AppliedToCount(), 2);

  shape.Destroy();
  EXPECT_EQ(shape.AppliedToCount(), 0);
  EXPECT_EQ(shape.hRgn(), nullptr);
  EXPECT_EQ(::GetWindowRgn(a.get(), got.get()), ERROR);

  shape.Applied(a.get(), true);  // no region: the window stays rectangular but is listed
  EXPECT_EQ(shape.AppliedToCount(), 1);
  EXPECT_EQ(::GetWindowRgn(a.get(), got.get()), ERROR);
}

TEST(ShapeRegion, SaveThenLoadFromFileGivesTheSameRegionInTheRgnDataLayout) {
  Canvas c(40, 30);
  for (LONG y = 5; y < 30; ++y) c.Set(7, y, kBlack);
  for (LONG x = 0; x < 40; ++x) c.Set(x, 0, kBlack);
  cDIBSectionRegion shape;
  shape.Create(c.dib(), kBlack);
  TempDir dir;
  const std::wstring path = dir / L"shape.rgn";
  WriteFileBytes(path, std::string(5000, 'x'));  // an older, longer file is replaced
  ASSERT_TRUE(shape.Save(path));
  std::string bytes = ReadFileBytes(path);
  const DWORD size = ::GetRegionData(shape.hRgn(), 0, nullptr);
  ASSERT_EQ(bytes.size(), size);
  auto parsed = region::Parse(bytes);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->bounds, (region::Rect{0, 1, 40, 30}));
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x20\0\0\0\x01\0\0\0", 8));
  EXPECT_EQ(32 + 16 * parsed->rects.size(), bytes.size());

  cDIBSectionRegion loaded;
  win::unique_window w = PlainWindow();
  loaded.Applied(w.get(), true);
  ASSERT_TRUE(loaded.LoadFromFile(path));
  EXPECT_EQ(loaded.AppliedToCount(), 0) << "loading starts by destroying the old shape";
  EXPECT_TRUE(SameRegion(loaded.hRgn(), shape.hRgn()));
}

TEST(ShapeRegion, ErrorsCarryTheirNumbersDescriptionsAndSource) {
  const std::wstring source = L"win_graphics.cDIBSectionRegion";
  cDIBSectionRegion empty;
  RaisedError e = Raised([&] { empty.Save(L"C:\\nowhere.rgn"); });
  EXPECT_EQ(e.number(), 26010);
  EXPECT_EQ(e.description(), L"No region to save");
  EXPECT_EQ(e.source(), source);

  TempDir dir;
  e = Raised([&] { empty.LoadFromFile(dir / L"missing.rgn"); });
  EXPECT_EQ(e.number(), 53);
  EXPECT_EQ(e.source(), source);
  WriteFileBytes(dir / L"empty.rgn", "");
  EXPECT_EQ(Raised([&] { empty.LoadFromFile(dir / L"empty.rgn"); }).source(), source);
  WriteFileBytes(dir / L"junk.rgn", "not a region at all, but long enough to be read");
  EXPECT_FALSE(empty.LoadFromFile(dir / L"junk.rgn"));

  Canvas c(4, 4);
  cDIBSectionRegion shape;
  shape.Create(c.dib(), kBlack);
  e = Raised([&] { shape.Save(dir / L"no-such-folder\\x.rgn"); });
  EXPECT_EQ(e.number(), 75);
  EXPECT_EQ(e.source(), source);

  e = Raised([&] { shape.LoadFromResource(101L, dir / L"missing.dll"); });
  EXPECT_EQ(e.number(), 26013);
  EXPECT_EQ(e.description(), L"Can't open DLL for Resource Access");
  EXPECT_EQ(e.source(), source);

  // This test program has no region resource of its own, nor has a copy of it.
  const std::wstring module = dir / L"module.exe";
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  ASSERT_TRUE(::CopyFileW(self, module.c_str(), FALSE));
  e = Raised([&] { shape.LoadFromResource(101L, module); });
  EXPECT_EQ(e.number(), 26014);
  EXPECT_EQ(e.description(), L"Resource with ID 101 could not be found");
  EXPECT_EQ(e.source(), source);
  e = Raised([&] { shape.LoadFromResource(std::wstring(L"SHAPE"), module); });
  EXPECT_EQ(e.description(), L"Resource with ID SHAPE could not be found");
  EXPECT_EQ(Raised([&] { shape.LoadFromResource(7L); }).number(), 26014);
}

TEST(ShapeRegion, LoadFromResourceFindsNumberedRegionDataInAModule) {
  Canvas c(30, 20);
  for (LONG y = 0; y < 20; ++y) c.Set(29 - y, y, kBlack);
  cDIBSectionRegion shape;
  shape.Create(c.dib(), kBlack);
  TempDir dir;
  ASSERT_TRUE(shape.Save(dir / L"shape.rgn"));
  const std::string data = ReadFileBytes(dir / L"shape.rgn");

  // A module with RT_RCDATA #101 holding the region file: a copy of this program, updated.
  const std::wstring module = dir / L"module.exe";
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  ASSERT_TRUE(::CopyFileW(self, module.c_str(), FALSE));
  HANDLE update = ::BeginUpdateResourceW(module.c_str(), FALSE);
  ASSERT_NE(update, nullptr);
  ASSERT_TRUE(::UpdateResourceW(update, RT_RCDATA, MAKEINTRESOURCEW(101),
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                const_cast<char*>(data.data()), static_cast<DWORD>(data.size())));
  ASSERT_TRUE(::EndUpdateResourceW(update, FALSE));

  cDIBSectionRegion loaded;
  ASSERT_TRUE(loaded.LoadFromResource(101L, module));
  EXPECT_TRUE(SameRegion(loaded.hRgn(), shape.hRgn()));
  cDIBSectionRegion by_text;
  ASSERT_TRUE(by_text.LoadFromResource(std::wstring(L"101"), module));
  EXPECT_TRUE(SameRegion(by_text.hRgn(), shape.hRgn()));
}
