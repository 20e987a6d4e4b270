#pragma once
// A picture loaded from a file (GIF, JPEG, BMP, ...) through the system's OLE picture
// loader, held as an IPicture whose handle is a bitmap.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>

class StdPicture {
 public:
  StdPicture() = default;
  StdPicture(const StdPicture&) = delete;
  StdPicture& operator=(const StdPicture&) = delete;
  StdPicture(StdPicture&& other) noexcept : picture_(other.picture_) { other.picture_ = nullptr; }
  StdPicture& operator=(StdPicture&& other) noexcept;
  ~StdPicture() { Reset(); }

  // Empty when the file is missing or not a picture.
  static StdPicture LoadFromFile(const std::wstring& path);

  explicit operator bool() const { return picture_ != nullptr; }
  HBITMAP Handle() const;  // null unless the picture is a bitmap
  SIZE PixelSize() const;  // 0 x 0 when empty

 private:
  void Reset();
  IPicture* picture_ = nullptr;
};
