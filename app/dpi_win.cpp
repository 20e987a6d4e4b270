#include "app/dpi_win.h"

#include <windows.h>

#include "app/handles_win.h"

namespace ui {

int Dpi() {
  static const int dpi = [] {
    const win::window_dc screen(nullptr);
    const int read = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return read > 0 ? read : kDesignDpi;
  }();
  return dpi;
}

int Scale(int design_pixels) { return ::MulDiv(design_pixels, Dpi(), kDesignDpi); }

}  // namespace ui
