#pragma once
// A borderless child control that shows one bitmap (or nothing: a transparent hit area over
// the parent's drawing) and reports its mouse and focus events to its owner. A tab stop is
// pressed by Enter, Space and BM_CLICK as by a click (or, without one, a button press), and
// draws a focus ring while it has the focus.
#include <windows.h>

#include <functional>

#include "app/handles_win.h"
#include "app/window_class_win.h"

class PictureBox : public win::MessageReceiver {
 public:
  struct Events {
    std::function<void()> click;                 // left button pressed and released on it
    std::function<void(UINT message)> button_down;  // WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN
    std::function<void()> mouse_move;
    std::function<void(bool gained)> focus;
  };

  // At x, y, width, height in pixels at 96 dots per inch, scaled to the screen's density.
  PictureBox(HWND parent, int id, int x, int y, int width, int height, bool tab_stop,
             Events events);
  PictureBox(const PictureBox&) = delete;
  PictureBox& operator=(const PictureBox&) = delete;
  ~PictureBox();

  HWND hWnd() const { return window_.get(); }
  // Shows `picture` (borrowed: it must outlive its use here), drawn from the top-left corner.
  void SetPicture(HBITMAP picture);
  HBITMAP Picture() const { return picture_; }

 private:
  LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) override;
  void OnWindowGone() override { window_.release(); }
  void Paint();
  void Press();  // from the keyboard

  win::unique_window window_;
  HBITMAP picture_ = nullptr;
  bool pressed_ = false;
  Events events_;
};
