// cDIBSectionRegion's specified interface that the program itself does not call: the region file and resources.
#include <algorithm>

#include "app/controls_win.h"
#include "app/files_win.h"
#include "graphics/cDIBSectionRegion_win.h"
#include "graphics/region_build_win.h"

namespace {

[[noreturn]] void Raise(std::int32_t number, const std::wstring& description) {
  throw RaisedError(number, cDIBSectionRegion::ErrorSource(), description);
}

// A file error as the program reports it: a number of its own and the system's wording.
[[noreturn]] void RaiseFileError(std::int32_t number, DWORD code) {
  std::wstring description = ui::SystemMessage(code);
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
  const files::WholeFile file = files::ReadWholeFile(sFileName, 1 << 30);
  if (!file.opened) {
    const DWORD code = file.error;
    RaiseFileError(code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND
                       ? error_numbers::kFileNotFound
                       : error_numbers::kPathFileAccess,
                   code);
  }
  if (file.error != ERROR_SUCCESS) RaiseFileError(error_numbers::kDeviceIO, file.error);
  if (file.too_large) Raise(error_numbers::kDeviceIO, L"Region file too large");
  if (file.bytes.empty()) Raise(error_numbers::kInputPastEndOfFile, L"Input past end of file");
  return CreateFromRegionData(file.bytes);
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
