#pragma once
// The screen's density. Layouts are written in pixels at 96 dots per inch; the creation helpers
// (controls, fonts, windows, pictures) scale them by Dpi() / 96. The density is read once, at
// first use: the program is aware of the system's density, not of each monitor's.
namespace ui {

inline constexpr int kDesignDpi = 96;

int Dpi();  // dots per inch of the screen, as the program started with it
// A length in pixels at 96 dots per inch, at the screen's density (rounded to the nearest).
int Scale(int design_pixels);

}  // namespace ui
