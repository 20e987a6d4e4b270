#include "graphics/cDIBSectionRegion_win.h"

#include <algorithm>

#include "graphics/cDIBSection_win.h"
#include "graphics/region_build_win.h"
#include "graphics/region_scan.h"


std::wstring cDIBSectionRegion::ErrorSource() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name(path);
  name = name.substr(name.find_last_of(L"\\/") + 1);
  if (auto dot = name.find_last_of(L'.'); dot != std::wstring::npos) name.resize(dot);
  return name + L".cDIBSectionRegion";
}

LONG cDIBSectionRegion::IndexOfWindow(HWND hwnd) const {
  auto it = std::find(windows_.begin(), windows_.end(), hwnd);
  return it == windows_.end() ? 0 : static_cast<LONG>(it - windows_.begin()) + 1;
}

HWND cDIBSectionRegion::hWndForIndex(LONG lIndex) const {
  if (lIndex < 1 || lIndex > AppliedToCount())
    throw RaisedError(error_numbers::kSubscriptOutOfRange, ErrorSource(), L"Subscript out of range");
  return windows_[static_cast<std::size_t>(lIndex) - 1];
}

void cDIBSectionRegion::Applied(HWND hwnd, bool bState) {
  if (!bState) {
    ::SetWindowRgn(hwnd, nullptr, TRUE);
    if (LONG i = IndexOfWindow(hwnd)) windows_.erase(windows_.begin() + (i - 1));
    return;
  }
  if (!IndexOfWindow(hwnd)) windows_.push_back(hwnd);
  // The window owns the region it is given and frees it when its shape changes: it gets a
  // copy, and this object keeps its own for other windows, Save and Destroy. Without a
  // region the window becomes rectangular.
  win::unique_region copy = region::CopyRegion(rgn_.get());
  if (::SetWindowRgn(hwnd, copy.get(), TRUE)) copy.release();  // the window owns it now
}

void cDIBSectionRegion::RemoveFromAllWindows() {
  for (HWND& hwnd : windows_) {
    if (hwnd) ::SetWindowRgn(hwnd, nullptr, TRUE);
    hwnd = nullptr;
  }
  windows_.clear();
}

void cDIBSectionRegion::Destroy() {
  RemoveFromAllWindows();
  rgn_.reset();
}

void cDIBSectionRegion::Create(const cDIBSection& cDib, COLORREF lTransColor) {
  Destroy();
  const LONG w = cDib.Width(), h = cDib.Height();
  win::unique_region full(::CreateRectRgn(0, 0, w, h));
  if (!full) return;
  ::GdiFlush();  // drawing into the bitmap must be finished before its memory is read
  // The full rectangle less one 1-pixel strip per transparent run, made in one go from the
  // shape's rectangles rather than strip by strip.
  auto strips = region::ScanTransparentStrips(cDib.Pixels(), lTransColor);
  if (strips.empty()) {
    rgn_ = std::move(full);
    return;
  }
  rgn_ = region::RegionFromRectangles(region::ShapeRectangles(strips, w, h));
}
