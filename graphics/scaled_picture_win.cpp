#include "graphics/scaled_picture_win.h"

#include "app/dpi_win.h"
#include "graphics/cDIBSection_win.h"
#include "graphics/scale.h"

namespace graphics {

win::unique_bitmap ScaledPicture(HBITMAP picture, int width, int height, std::optional<COLORREF> key) {
  cDIBSection source;
  source.CreateFromPicture(picture);
  if (!source.DIBSectionBitsPtr() || width <= 0 || height <= 0) return {};
  void* bits = nullptr;
  win::unique_bitmap scaled = NewDibSection(width, height, 24, &bits);
  if (!scaled) return {};
  ::GdiFlush();  // the source's drawing done before its memory is read
  dib::Pixels target;
  static_cast<dib::ConstPixels&>(target) = {static_cast<const std::uint8_t*>(bits), width, height,
                                            dib::BytesPerScanLine(width)};
  std::optional<dib::Bgr> see_through;
  if (key) see_through = dib::Bgr{GetBValue(*key), GetGValue(*key), GetRValue(*key)};
  dib::ScaleSmooth(source.Pixels(), target, see_through);
  return scaled;
}

ScreenPicture ScreenPicture::Load(const std::wstring& path, std::optional<COLORREF> key) {
  ScreenPicture result;
  result.picture_ = StdPicture::LoadFromFile(path);
  const HBITMAP picture = result.picture_.Handle();
  BITMAP bm{};
  if (ui::Dpi() != ui::kDesignDpi && picture && ::GetObjectW(picture, sizeof bm, &bm))
    result.scaled_ = ScaledPicture(picture, ui::Scale(bm.bmWidth), ui::Scale(bm.bmHeight), key);
  return result;
}

}  // namespace graphics
