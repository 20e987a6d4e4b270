#pragma once
// The options window's picture (images\options.gif), drawn under the window, its tab pages, its
// labels and the padlock, each part lined up with the window, so that they read as one
// picture. It is loaded when first drawn, as a program started to the tray may never show the
// window; a picture that cannot be loaded leaves the window in the system's window colour.
#include <windows.h>

#include <string>

#include "app/handles_win.h"
#include "graphics/scaled_picture_win.h"

class BackgroundPicture {
 public:
  explicit BackgroundPicture(std::wstring path) : path_(std::move(path)) {}

  // The picture as a pattern brush; null without a picture.
  HBRUSH Brush();
  // Fills `rc` of `window` (the picture's window or one of its controls) with what of the
  // picture lies there, or with the window colour.
  void Fill(HWND window, HDC dc, const RECT& rc);
  // The brush a static control or check box paints its background with (its text then
  // transparent over the picture), as WM_CTLCOLORSTATIC answers.
  HBRUSH UnderText(HWND control, HDC dc);

 private:
  std::wstring path_;  // the picture still to be loaded
  graphics::ScreenPicture picture_;
  win::unique_brush brush_;
};
