#include "graphics/cDIBSectionRegion_win.h"

#include <algorithm>
#include <cwctype>

#include "graphics/cDIBSection_win.h"
#include "graphics/region_build_win.h"
#include "graphics/region_scan.h"

namespace {

[[noreturn]] void Raise(std::int32_t number, const std::wstring& description) {
  throw RaisedError(number, cDIBSectionRegion::ErrorSource(), description);
}

// A file error as the program reports it: a number of its own and the system's wording.
[[noreturn]] void RaiseFileError(std::int32_t number, DWORD code) {
  wchar_t text[512] = {};
  DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, text, 512, nullptr);
  std::wstring description(text, n);
  while (!description.empty() && std::iswspace(description.back())) description.pop_back();
  if (description.empty()) description = L"File error " + std::to_wstring(code);
  Raise(number, description);
}

bool NumericText(const std::wstring& s) {
  return !s.empty() && s.size() < 10 && std::all_of(s.begin(), s.end(), [](wchar_t c) {
    return c >= L'0' && c <= L'9';
  });
}

std::wstring IdText(const cDIBSectionRegion::ResourceId& id) {
  if (const long* n = std::get_if<long>(&id)) return std::to_wstring(*n);
  return std::get<std::wstring>(id);
}

}  // namespace

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

bool cDIBSectionRegion::Save(const std::wstring& sPath) const {
  if (!rgn_) Raise(26010, L"No region to save");
  const DWORD size = ::GetRegionData(rgn_.get(), 0, nullptr);
  if (static_cast<LONG>(size) <= 0) Raise(26011, L"Unable to determine size of region");
  std::string data(size, '\0');
  if (::GetRegionData(rgn_.get(), size, reinterpret_cast<RGNDATA*>(data.data())) != size)
    Raise(26012, L"Unable to get region data");
  ::DeleteFileW(sPath.c_str());  // a failure (no such file, say) is of no concern
  win::unique_handle file = win::file_handle(::CreateFileW(
      sPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) RaiseFileError(error_numbers::kPathFileAccess, ::GetLastError());
  DWORD written = 0;
  if (!::WriteFile(file.get(), data.data(), size, &written, nullptr) || written != size)
    RaiseFileError(error_numbers::kDeviceIO, ::GetLastError());
  return true;
}

bool cDIBSectionRegion::LoadFromFile(const std::wstring& sFileName) {
  std::string data;
  {
    win::unique_handle file = win::file_handle(::CreateFileW(
        sFileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
      const DWORD code = ::GetLastError();
      RaiseFileError(code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND
                         ? error_numbers::kFileNotFound
                         : error_numbers::kPathFileAccess,
                     code);
    }
    LARGE_INTEGER length{};
    if (!::GetFileSizeEx(file.get(), &length)) RaiseFileError(error_numbers::kDeviceIO, ::GetLastError());
    if (length.QuadPart == 0) Raise(error_numbers::kInputPastEndOfFile, L"Input past end of file");
    if (length.QuadPart > (1 << 30)) Raise(error_numbers::kDeviceIO, L"Region file too large");
    data.resize(static_cast<std::size_t>(length.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &read, nullptr))
      RaiseFileError(error_numbers::kDeviceIO, ::GetLastError());
    if (read != data.size()) Raise(error_numbers::kInputPastEndOfFile, L"Input past end of file");
  }
  return CreateFromRegionData(data);
}

bool cDIBSectionRegion::CreateFromRegionData(const std::string& data) {
  Destroy();
  rgn_ = region::RegionFromData(data);
  return static_cast<bool>(rgn_);
}

bool cDIBSectionRegion::LoadFromResource(const ResourceId& vID, const std::wstring& sDLL) {
  const std::wstring id_text = IdText(vID);
  // "#101" for a number; a name that is not a number is never looked for in a module.
  const bool numeric = std::holds_alternative<long>(vID) || NumericText(id_text);
  const std::wstring name = numeric ? L"#" + id_text : L"";
  auto read_resource = [&](HMODULE module, bool* found) -> std::string {
    HRSRC info = name.empty() ? nullptr : ::FindResourceW(module, name.c_str(), RT_RCDATA);
    *found = info != nullptr;
    if (!info) return {};
    const DWORD size = ::SizeofResource(module, info);
    HGLOBAL loaded = ::LoadResource(module, info);
    if (!loaded) Raise(26014, L"Cannot access data for resource with ID " + id_text);
    const void* bytes = ::LockResource(loaded);
    if (!bytes) return {};
    return std::string(static_cast<const char*>(bytes), size);
  };
  bool found = false;
  if (sDLL.empty()) {
    std::string data = read_resource(nullptr, &found);
    if (!found) Raise(26014, L"Resource with ID " + id_text + L" could not be found");
    return !data.empty() && CreateFromRegionData(data);
  }
  win::unique_module module(::LoadLibraryExW(sDLL.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  if (!module) Raise(26013, L"Can't open DLL for Resource Access");
  std::string data = read_resource(module.get(), &found);
  if (!found) Raise(26014, L"Resource with ID " + id_text + L" could not be found");
  return !data.empty() && CreateFromRegionData(data);
}
