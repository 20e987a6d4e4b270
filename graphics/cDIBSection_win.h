#pragma once
// A 24-bit device-independent bitmap whose pixel memory the program reads and writes in
// place, selected into a memory device context so that it can be blitted to and from.
// Layout: see graphics/dib_layout.h (blue, green, red; lines of BytesPerScanLine bytes,
// stored bottom-up).
#include <windows.h>

#include <memory>
#include <optional>

#include "app/handles_win.h"
#include "graphics/dib_layout.h"

class cDIBSection {
 public:
  cDIBSection() = default;
  cDIBSection(const cDIBSection&) = delete;
  cDIBSection& operator=(const cDIBSection&) = delete;
  ~cDIBSection() { ClearUp(); }

  // As a bitmap only: true when the clipboard took it. With bAsDIB it copies nothing and
  // returns false (a DIB is not offered); it shows no message itself, the caller tells the user.
  bool CopyToClipboard(bool bAsDIB = false);
  // Fills the header for lWidth x lHeight and makes the DIB section on lhDC.
  bool CreateDIB(HDC lhDC, LONG lWidth, LONG lHeight, HBITMAP& hDib);
  // Copies a bitmap (borrowed, for instance a loaded picture's) into a new DIB of its size.
  void CreateFromPicture(HBITMAP picThis);
  bool Create(LONG lWidth, LONG lHeight);

  LONG BytesPerScanLine() const { return dib::BytesPerScanLine(header_.biWidth); }
  LONG Width() const { return header_.biWidth; }
  LONG Height() const { return header_.biHeight; }

  // Negative sizes stand for the bitmap's own width or height.
  void LoadPictureBlt(HDC lhDC, LONG lSrcLeft = 0, LONG lSrcTop = 0, LONG lSrcWidth = -1,
                      LONG lSrcHeight = -1, DWORD eRop = SRCCOPY);
  void PaintPicture(HDC lhDC, LONG lDestLeft = 0, LONG lDestTop = 0, LONG lDestWidth = -1,
                    LONG lDestHeight = -1, LONG lSrcLeft = 0, LONG lSrcTop = 0,
                    DWORD eRop = SRCCOPY);

  HDC hdc() const { return dc_.get(); }
  HBITMAP hDib() const { return dib_.get(); }
  void* DIBSectionBitsPtr() const { return bits_; }

  // Noise seeded from the time of day: red and green, or gray.
  void RandomiseBits(bool bGray = false);
  void ClearUp();
  // A new bitmap of the size asked (height first), or none when it cannot be made.
  // Raises error 9 when the sizes differ and this bitmap is under 2 x 2 pixels.
  std::unique_ptr<cDIBSection> Resample(LONG lNewHeight, LONG lNewWidth);

  dib::ConstPixels Pixels() const;  // the pixel memory in place (empty when none)

 private:
  void ResampleInto(cDIBSection& target) const;

  // Freed in reverse order: the DIB is taken out of the context, then both are deleted.
  win::unique_bitmap dib_;
  win::unique_dc dc_;
  std::optional<win::select_object> selected_;  // the DIB in dc_
  void* bits_ = nullptr;
  BITMAPINFOHEADER header_{};
};
