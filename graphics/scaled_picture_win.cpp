#include "graphics/scaled_picture_win.h"

#include "app/dpi_win.h"
#include "graphics/cDIBSection_win.h"
#include "graphics/scale.h"

namespace graphics {

win::unique_bitmap ScaledPicture(HBITMAP picture, int width, int height, std::optional<COLORREF> key) {
  cDIBSection source;
  source.CreateFromPicture(picture);
  if (!source.DIBSectionBitsPtr() || width <= 0 || height <= 0) return {};
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  win::unique_bitmap scaled(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!scaled || !bits) return {};
  ::GdiFlush();  // the source's drawing done before its memory is read
  dib::Pixels target;
  static_cast<dib::ConstPixels&>(target) = {static_cast<const std::uint8_t*>(bits), width, height,
                                            dib::BytesPerScanLine(width)};
  std::optional<dib::Bgr> see_through;
  if (key) see_through = dib::Bgr{GetBValue(*key), GetGValue(*key), GetRValue(*key)};
  dib::ScaleSmooth(source.Pixels(), target, see_through);
  return scaled;
}

win::unique_bitmap ForScreen(HBITMAP picture, std::optional<COLORREF> key) {
  BITMAP bm{};
  if (ui::Dpi() == ui::kDesignDpi || !picture || !::GetObjectW(picture, sizeof bm, &bm)) return {};
  return ScaledPicture(picture, ui::Scale(bm.bmWidth), ui::Scale(bm.bmHeight), key);
}

}  // namespace graphics
