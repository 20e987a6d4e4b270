#pragma once
// A check box drawn as a padlock: closed while checked, open otherwise. The box stays the
// system's check box underneath, so its state, its click notice, the Space key and the
// dialog navigation work as for any other check box; only its drawing is ours.
#include <windows.h>

#include <string>

#include "app/handles_win.h"
#include "graphics/picture_win.h"

class Padlock {
 public:
  Padlock() = default;
  Padlock(const Padlock&) = delete;
  Padlock& operator=(const Padlock&) = delete;
  ~Padlock();

  // Draws `box` with padlock_locked.gif and padlock_open.gif from `images_dir` on
  // `background` (a pattern brush aligned with the box's parent, or null for the window
  // colour). Without both pictures the box keeps the system's drawing.
  void Attach(HWND box, const std::wstring& images_dir, HBRUSH background);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                               DWORD_PTR self);
  void Paint(HDC dc);

  HWND box_ = nullptr;
  HBRUSH background_ = nullptr;
  StdPicture locked_, open_;
  HBITMAP Picture(bool locked);  // at the screen's density, scaled on first use
  win::unique_bitmap locked_scaled_, open_scaled_;  // unless at 96 dpi
};
