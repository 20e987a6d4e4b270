#include "graphics/picture_win.h"

#include <cstring>
#include <utility>

#include "app/files_win.h"
#include "app/handles_win.h"
#include "graphics/gif.h"

namespace {

// A bitmap of the decoded pixels (a 32-bit DIB section, which GDI uses as any other bitmap).
win::unique_bitmap MakeBitmap(const gif::Image& image) {
  void* bits = nullptr;
  win::unique_bitmap bitmap = graphics::NewDibSection(image.width, -image.height, 32, &bits);
  if (bitmap) std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof image.pixels[0]);
  return bitmap;
}

}  // namespace

win::unique_bitmap graphics::NewDibSection(int width, int height, WORD bit_count, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, bit_count, BI_RGB, 0, 0, 0, 0, 0};
  *bits = nullptr;
  win::unique_bitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
  return *bits ? std::move(bitmap) : win::unique_bitmap{};
}

StdPicture StdPicture::LoadFromFile(const std::wstring& path) {
  StdPicture result;
  const files::WholeFile file = files::ReadWholeFile(path, 64 << 20);
  if (!file.complete() || file.bytes.empty()) return result;
  // The program's own GIF pictures are decoded here: the system's loader would first bring
  // up COM and its imaging libraries, which costs more than the decoding.
  if (const auto image = gif::Decode(file.bytes)) {
    result.bitmap_ = MakeBitmap(*image);
    if (result.bitmap_) return result;
  }
  // The decoders behind OleLoadPicture are COM objects: COM must be up on this thread. It
  // stays up for the life of the thread (a second call only counts up).
  static thread_local const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  (void)com;
  const auto bytes = static_cast<DWORD>(file.bytes.size());
  win::unique_hglobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return result;
  {
    win::global_lock<char> lock(memory.get());
    if (!lock) return result;
    std::memcpy(lock.get(), file.bytes.data(), bytes);
  }
  win::unique_com<IStream> stream;
  // The stream frees the memory when it is released.
  if (FAILED(::CreateStreamOnHGlobal(memory.get(), TRUE, stream.put()))) return result;
  memory.release();
  void* picture = nullptr;
  if (SUCCEEDED(::OleLoadPicture(stream.get(), static_cast<LONG>(bytes), FALSE, IID_IPicture, &picture)))
    result.picture_.reset(static_cast<IPicture*>(picture));
  return result;
}

HBITMAP StdPicture::Handle() const {
  if (bitmap_) return bitmap_.get();
  if (!picture_) return nullptr;
  SHORT type = PICTYPE_NONE;
  OLE_HANDLE handle = 0;
  if (FAILED(picture_.get()->get_Type(&type)) || type != PICTYPE_BITMAP ||
      FAILED(picture_.get()->get_Handle(&handle)))
    return nullptr;
  return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

SIZE StdPicture::PixelSize() const {
  BITMAP bm{};
  HBITMAP h = Handle();
  if (!h || !::GetObjectW(h, sizeof bm, &bm)) return {0, 0};
  return {bm.bmWidth, bm.bmHeight};
}
