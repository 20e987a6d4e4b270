#pragma once
// Pictures drawn for 96 dots per inch, at the screen's density.
#include <windows.h>

#include <optional>
#include <string>

#include "app/handles_win.h"
#include "graphics/picture_win.h"

namespace graphics {

// A new bitmap of `width` x `height` holding `picture` scaled smoothly (graphics/scale.h), with
// `key` as its see-through colour if it has one. Null when it cannot be made.
win::unique_bitmap ScaledPicture(HBITMAP picture, int width, int height,
                                 std::optional<COLORREF> key = std::nullopt);

// A picture file drawn for 96 dots per inch, held at the screen's density.
class ScreenPicture {
 public:
  // Empty when the file is missing or not a picture; `key` is its see-through colour, if any.
  static ScreenPicture Load(const std::wstring& path, std::optional<COLORREF> key = std::nullopt);

  HBITMAP Handle() const { return scaled_ ? scaled_.get() : picture_.Handle(); }

 private:
  StdPicture picture_;
  win::unique_bitmap scaled_;  // null at 96 dots per inch, where the picture serves as it is
};

}  // namespace graphics
