#include "app/files_win.h"

#include "app/handles_win.h"

namespace files {

WholeFile ReadWholeFile(const std::wstring& path, std::uint64_t max_bytes) {
  WholeFile out;
  win::unique_handle file = win::file_handle(::CreateFileW(
      path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    out.error = ::GetLastError();
    return out;
  }
  out.opened = true;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) {
    out.error = ::GetLastError();
    return out;
  }
  if (static_cast<std::uint64_t>(size.QuadPart) > max_bytes) {
    out.too_large = true;
    return out;
  }
  out.bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!out.bytes.empty() &&
      !::ReadFile(file.get(), out.bytes.data(), static_cast<DWORD>(out.bytes.size()), &read, nullptr)) {
    out.error = ::GetLastError();
    out.bytes.clear();
    return out;
  }
  out.bytes.resize(read);  // a file that shrank meanwhile
  return out;
}

}  // namespace files
