// cDIBSection's specified interface that the program itself does not call: noise, resampling, clipboard copy.
#include <cmath>

#include "graphics/cDIBSection_win.h"
#include "graphics/resample.h"

bool cDIBSection::CopyToClipboard(bool bAsDIB) {
  if (bAsDIB) return false;  // only as a bitmap
  win::window_dc screen(::GetDesktopWindow());
  if (!screen) return false;
  win::unique_dc memory(::CreateCompatibleDC(screen.get()));
  if (!memory) return false;
  win::unique_bitmap bitmap(::CreateCompatibleBitmap(screen.get(), Width(), Height()));
  if (!bitmap) return false;
  {
    win::select_object into(memory.get(), bitmap.get());
    PaintPicture(memory.get(), 0, 0, -1, -1, 0, 0, SRCCOPY);
  }
  win::clipboard_open clipboard(nullptr);
  if (!clipboard) return false;
  ::EmptyClipboard();
  if (!::SetClipboardData(CF_BITMAP, bitmap.get())) return false;
  bitmap.release();  // the clipboard owns the bitmap now
  return true;
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
