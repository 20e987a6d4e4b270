#include "graphics/picture_win.h"

#include <cstring>

#include "app/handles_win.h"

StdPicture& StdPicture::operator=(StdPicture&& other) noexcept {
  if (this != &other) {
    Reset();
    picture_ = other.picture_;
    other.picture_ = nullptr;
  }
  return *this;
}

void StdPicture::Reset() {
  if (picture_) picture_->Release();
  picture_ = nullptr;
}

StdPicture StdPicture::LoadFromFile(const std::wstring& path) {
  // The decoders behind OleLoadPicture are COM objects: COM must be up on this thread. It
  // stays up for the life of the thread (a second call only counts up).
  static thread_local const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  (void)com;
  StdPicture result;
  win::unique_handle file = win::file_handle(::CreateFileW(
      path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return result;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > (64 << 20))
    return result;
  const auto bytes = static_cast<DWORD>(size.QuadPart);
  win::unique_hglobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return result;
  {
    win::global_lock<char> lock(memory.get());
    DWORD read = 0;
    if (!lock || !::ReadFile(file.get(), lock.get(), bytes, &read, nullptr) || read != bytes)
      return result;
  }
  IStream* stream = nullptr;
  // The stream frees the memory when it is released.
  if (FAILED(::CreateStreamOnHGlobal(memory.get(), TRUE, &stream))) return result;
  memory.release();
  void* picture = nullptr;
  HRESULT hr = ::OleLoadPicture(stream, static_cast<LONG>(bytes), FALSE, IID_IPicture, &picture);
  stream->Release();
  if (SUCCEEDED(hr)) result.picture_ = static_cast<IPicture*>(picture);
  return result;
}

HBITMAP StdPicture::Handle() const {
  if (!picture_) return nullptr;
  SHORT type = PICTYPE_NONE;
  OLE_HANDLE handle = 0;
  if (FAILED(picture_->get_Type(&type)) || type != PICTYPE_BITMAP ||
      FAILED(picture_->get_Handle(&handle)))
    return nullptr;
  return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

SIZE StdPicture::PixelSize() const {
  BITMAP bm{};
  HBITMAP h = Handle();
  if (!h || !::GetObjectW(h, sizeof bm, &bm)) return {0, 0};
  return {bm.bmWidth, bm.bmHeight};
}
