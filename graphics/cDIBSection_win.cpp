#include "graphics/cDIBSection_win.h"

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
  win::unique_dc dc(::CreateCompatibleDC(nullptr));
  if (!dc) return false;
  // A size whose image size overflows raises to the caller, leaving this bitmap empty.
  if (!CreateDIB(dc.get(), lWidth, lHeight, *dib_.put())) return false;
  dc_ = std::move(dc);
  selected_.emplace(dc_.get(), dib_.get());
  return true;
}

void cDIBSection::ClearUp() {
  selected_.reset();
  dc_.reset();
  dib_.reset();
  bits_ = nullptr;
}

void cDIBSection::CreateFromPicture(HBITMAP picThis) {
  BITMAP bm{};
  if (!picThis || ::GetObjectW(picThis, sizeof bm, &bm) == 0) bm = BITMAP{};
  if (!Create(bm.bmWidth, bm.bmHeight)) return;
  win::unique_dc source;
  {
    win::window_dc screen(::GetDesktopWindow());
    if (!screen) return;
    source.reset(::CreateCompatibleDC(screen.get()));
  }
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

dib::ConstPixels cDIBSection::Pixels() const {
  if (!bits_) return {};
  return {static_cast<const std::uint8_t*>(bits_), Width(), Height(), BytesPerScanLine()};
}
