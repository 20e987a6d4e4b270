#pragma once
// A picture loaded from a file (GIF, JPEG, BMP, ...): a plain GIF by the program's own decoder
// as a bitmap, anything else through the system's OLE picture loader as an IPicture whose
// handle is a bitmap.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>

#include "app/handles_win.h"

class StdPicture {
 public:

  // Empty when the file is missing or not a picture.
  static StdPicture LoadFromFile(const std::wstring& path);

  explicit operator bool() const { return bitmap_ || picture_; }
  HBITMAP Handle() const;  // null unless the picture is a bitmap
  SIZE PixelSize() const;  // 0 x 0 when empty

 private:
  win::unique_bitmap bitmap_;  // decoded here
  win::unique_com<IPicture> picture_;
};

namespace graphics {

// A DIB section of `width` x `height` pixels (a negative height: rows from the top) with
// `bit_count` bits a pixel, `bits` set to its memory. Null when it cannot be made.
win::unique_bitmap NewDibSection(int width, int height, WORD bit_count, void** bits);

}  // namespace graphics
