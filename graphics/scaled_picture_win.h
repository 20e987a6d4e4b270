#pragma once
// Pictures drawn for 96 dots per inch, at the screen's density.
#include <windows.h>

#include <optional>

#include "app/handles_win.h"

namespace graphics {

// A new bitmap of `width` x `height` holding `picture` scaled smoothly (graphics/scale.h), with
// `key` as its see-through colour if it has one. Null when it cannot be made.
win::unique_bitmap ScaledPicture(HBITMAP picture, int width, int height,
                                 std::optional<COLORREF> key = std::nullopt);

// `picture` scaled by the screen's density over 96; null at 96 dots per inch (the picture serves
// as it is) or when it cannot be made.
win::unique_bitmap ForScreen(HBITMAP picture, std::optional<COLORREF> key = std::nullopt);

}  // namespace graphics
