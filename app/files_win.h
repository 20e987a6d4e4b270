#pragma once
// Whole files read in one go, up to a size the caller allows.
#include <windows.h>

#include <cstdint>
#include <string>

namespace files {

struct WholeFile {
  std::string bytes;
  bool opened = false;            // false: `error` is the reason the file could not be opened
  DWORD error = ERROR_SUCCESS;    // the system's error code of the failed step
  bool too_large = false;         // larger than allowed: nothing was read
  bool complete() const { return opened && error == ERROR_SUCCESS && !too_large; }
};

// The file's bytes, when it opens, is at most `max_bytes` long and reads to its end.
WholeFile ReadWholeFile(const std::wstring& path, std::uint64_t max_bytes);

}  // namespace files
