#include "graphics/cDIBSection_win.h"

#include <cmath>

#include "graphics/resample.h"

namespace {
constexpr wchar_t kNoDibOnClipboard[] =
    L"I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!";
}

bool cDIBSection::CreateDIB(HDC lhDC, LONG lWidth, LONG lHeight, HBITMAP& hDib) {
  header_ = BITMAPINFOHEADER{};
  header_.biSize = sizeof(BITMAPINFOHEADER);
  header_.biWidth = lWidth;
  header_.biHeight = lHeight;
  header_.biPlanes = 1;
  header_.biBitCount = 24;
  header_.biCompression = BI_RGB;
  header_.biSizeImage = static_cast<DWORD>(dib::ImageSize(lWidth, lHeight));
  BITMAPINFO info{};
  info.bmiHeader = header_;
  hDib = ::CreateDIBSection(lhDC, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
  if (!hDib) bits_ = nullptr;
  return hDib != nullptr;
}

bool cDIBSection::Create(LONG lWidth, LONG lHeight) {
  ClearUp();
  dc_.reset(::CreateCompatibleDC(nullptr));
  if (!dc_) return false;
  bool made = false;
  try {
    made = CreateDIB(dc_.get(), lWidth, lHeight, dib_);
  } catch (...) {  // a size whose image size overflows: raised to the caller, left empty
    dc_.reset();
    throw;
  }
  if (made) {
    previous_ = ::SelectObject(dc_.get(), dib_);
    return true;
  }
  dc_.reset();
  return false;
}

void cDIBSection::ClearUp() {
  if (dc_) {
    if (dib_) {
      ::SelectObject(dc_.get(), previous_);
      ::DeleteObject(dib_);
    }
    dc_.reset();
  }
  dib_ = nullptr;
  previous_ = nullptr;
  bits_ = nullptr;
}

void cDIBSection::CreateFromPicture(HBITMAP picThis) {
  BITMAP bm{};
  if (!picThis || ::GetObjectW(picThis, sizeof bm, &bm) == 0) bm = BITMAP{};
  if (!Create(bm.bmWidth, bm.bmHeight)) return;
  HDC screen = ::GetDC(::GetDesktopWindow());
  if (!screen) return;
  win::unique_dc source(::CreateCompatibleDC(screen));
  ::ReleaseDC(::GetDesktopWindow(), screen);
  if (!source) return;
  win::select_object borrowed(source.get(), picThis);
  LoadPictureBlt(source.get(), 0, 0, -1, -1, SRCCOPY);
}

void cDIBSection::LoadPictureBlt(HDC lhDC, LONG lSrcLeft, LONG lSrcTop, LONG lSrcWidth,
                                 LONG lSrcHeight, DWORD eRop) {
  if (lSrcWidth < 0) lSrcWidth = Width();
  if (lSrcHeight < 0) lSrcHeight = Height();
  ::BitBlt(dc_.get(), 0, 0, lSrcWidth, lSrcHeight, lhDC, lSrcLeft, lSrcTop, eRop);
}

void cDIBSection::PaintPicture(HDC lhDC, LONG lDestLeft, LONG lDestTop, LONG lDestWidth,
                               LONG lDestHeight, LONG lSrcLeft, LONG lSrcTop, DWORD eRop) {
  if (lDestWidth < 0) lDestWidth = Width();
  if (lDestHeight < 0) lDestHeight = Height();
  ::BitBlt(lhDC, lDestLeft, lDestTop, lDestWidth, lDestHeight, dc_.get(), lSrcLeft, lSrcTop, eRop);
}

bool cDIBSection::CopyToClipboard(bool bAsDIB) {
  HWND desktop = ::GetDesktopWindow();
  HDC screen = ::GetDC(desktop);
  if (!screen) return false;
  win::unique_dc memory(::CreateCompatibleDC(screen));
  bool copied = false;
  if (memory) {
    if (bAsDIB) {
      ::MessageBoxW(nullptr, kNoDibOnClipboard, L"Brevio", MB_OK);
    } else {
      win::unique_bitmap bitmap(::CreateCompatibleBitmap(screen, Width(), Height()));
      if (bitmap) {
        {
          win::select_object into(memory.get(), bitmap.get());
          PaintPicture(memory.get(), 0, 0, -1, -1, 0, 0, SRCCOPY);
        }
        if (::OpenClipboard(nullptr)) {
          ::EmptyClipboard();
          copied = ::SetClipboardData(CF_BITMAP, bitmap.get()) != nullptr;
          if (copied) bitmap.release();  // the clipboard owns the bitmap now
          ::CloseClipboard();
        }
      }
    }
  }
  memory.reset();
  ::ReleaseDC(desktop, screen);
  return copied;
}

void cDIBSection::RandomiseBits(bool bGray) {
  if (!bits_) return;
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  const double seconds = now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond +
                         now.wMilliseconds / 1000.0;
  // The seed keeps the fractions of a second: milliseconds since midnight.
  dib::Pixels p;
  static_cast<dib::ConstPixels&>(p) = Pixels();
  dib::FillNoise(p, bGray, static_cast<std::uint32_t>(std::lround(seconds * 1000.0)));
}

dib::ConstPixels cDIBSection::Pixels() const {
  if (!bits_) return {};
  return {static_cast<const std::uint8_t*>(bits_), Width(), Height(), BytesPerScanLine()};
}

std::unique_ptr<cDIBSection> cDIBSection::Resample(LONG lNewHeight, LONG lNewWidth) {
  auto target = std::make_unique<cDIBSection>();
  if (!target->Create(lNewWidth, lNewHeight)) return nullptr;
  if (lNewWidth == Width() && lNewHeight == Height())
    target->LoadPictureBlt(dc_.get(), 0, 0, -1, -1, SRCCOPY);
  else
    ResampleInto(*target);
  return target;
}

void cDIBSection::ResampleInto(cDIBSection& target) const {
  dib::Pixels out;
  static_cast<dib::ConstPixels&>(out) = target.Pixels();
  ::GdiFlush();  // finish any drawing into the bitmaps before their memory is read
  dib::ResampleInto(Pixels(), out);
}
