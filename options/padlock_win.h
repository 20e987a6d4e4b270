#pragma once
// A check box drawn as a padlock: closed while checked, open otherwise. The box stays the
// system's check box underneath, so its state, its click notice, the Space key and the
// dialog navigation work as for any other check box; only its drawing is ours.
#include <windows.h>

#include <string>

#include "graphics/scaled_picture_win.h"

class BackgroundPicture;

class Padlock {
 public:
  Padlock() = default;
  Padlock(const Padlock&) = delete;
  Padlock& operator=(const Padlock&) = delete;
  ~Padlock();

  // Draws `box` with padlock_locked.gif and padlock_open.gif from `images_dir` on the window's
  // `background`. Without both pictures the box keeps the system's drawing.
  void Attach(HWND box, const std::wstring& images_dir, BackgroundPicture& background);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                               DWORD_PTR self);
  void Paint(HDC dc);
  // Loads the pictures when the box is first drawn (its page may never be shown); false,
  // with the subclass gone, when either is missing or cannot be loaded.
  bool LoadPictures();

  HWND box_ = nullptr;
  BackgroundPicture* background_ = nullptr;
  std::wstring images_dir_;  // until the pictures are loaded
  graphics::ScreenPicture locked_, open_;  // at the screen's density
};
