#pragma once
// A window shape made from a bitmap: pixels of one colour are left out. The shape can be set
// on any number of windows, taken off again, saved to a file in the RGNDATA layout and loaded
// from a file or a resource. Errors 26010-26014 (and the file errors of Save and
// LoadFromFile) are raised as RaisedError with the source "<program>.cDIBSectionRegion".
#include <windows.h>

#include <string>
#include <variant>
#include <vector>

#include "app/handles_win.h"
#include "graphics/error.h"

class cDIBSection;

class cDIBSectionRegion {
 public:
  // A resource identifier: a number, or a text (numeric text counts as a number).
  using ResourceId = std::variant<long, std::wstring>;

  cDIBSectionRegion() = default;
  cDIBSectionRegion(const cDIBSectionRegion&) = delete;
  cDIBSectionRegion& operator=(const cDIBSectionRegion&) = delete;
  ~cDIBSectionRegion() { Destroy(); }

  bool Applied(HWND hwnd) const { return IndexOfWindow(hwnd) != 0; }
  // True: sets the shape on the window (each window gets its own copy, which the system then
  // owns) and lists it; false: takes any shape off the window and unlists it.
  void Applied(HWND hwnd, bool bState);
  LONG AppliedToCount() const { return static_cast<LONG>(windows_.size()); }
  HWND hWndForIndex(LONG lIndex) const;  // 1-based; outside the list raises error 9

  void Destroy();  // off every window, then the region is deleted
  // Every pixel of lTransColor (0x00BBGGRR) is outside the shape.
  void Create(const cDIBSection& cDib, COLORREF lTransColor = 0);
  bool Save(const std::wstring& sPath) const;
  bool LoadFromFile(const std::wstring& sFileName);
  // From RT_RCDATA: of the program itself when sDLL is empty, else of that module.
  bool LoadFromResource(const ResourceId& vID, const std::wstring& sDLL = L"");

  HRGN hRgn() const { return rgn_.get(); }  // still owned by this object

  static std::wstring ErrorSource();  // "<program name without extension>.cDIBSectionRegion"

 private:
  LONG IndexOfWindow(HWND hwnd) const;
  void RemoveFromAllWindows();
  bool CreateFromRegionData(const std::string& data);

  win::unique_region rgn_;
  std::vector<HWND> windows_;  // position 1 is windows_[0]
};
