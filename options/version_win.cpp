#include "options/version_win.h"

#include <windows.h>

#include <cstring>

std::wstring ProgramVersion() {
  // The fixed-size block of VERSIONINFO is found by its signature, 32-bit aligned, behind the
  // resource's header and key; reading the resource directly needs no version library.
  HMODULE self = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16));
  HGLOBAL loaded = found ? ::LoadResource(self, found) : nullptr;
  const auto* bytes = static_cast<const unsigned char*>(loaded ? ::LockResource(loaded) : nullptr);
  if (!bytes) return {};
  const DWORD size = ::SizeofResource(self, found);
  for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, bytes + at, sizeof info);
    if (info.dwSignature != VS_FFI_SIGNATURE) continue;
    return std::to_wstring(HIWORD(info.dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(info.dwFileVersionMS));
  }
  return {};
}
