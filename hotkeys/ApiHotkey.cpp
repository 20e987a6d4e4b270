#include "hotkeys/ApiHotkey.h"

#include <cstdio>

std::wstring HotkeyRegistryKey(std::intptr_t hwnd) { return L"hwnd:" + std::to_wstring(hwnd); }

std::string ApiHotkey::UniqueAtomName() const {
  std::string name;
  if (WinKey()) name += "WIN+";
  if (ShiftKey()) name += "SHIFT+";
  if (ControlKey()) name += "CONTROL+";
  if (AltKey()) name += "ALT+";
  char digits[16];
  std::snprintf(digits, sizeof digits, "%03ld", static_cast<long>(vkey_));
  return name + digits;
}

bool ApiHotkey::MatchedKey(const ApiHotkey& test) const {
  return AltKey() == test.AltKey() && ControlKey() == test.ControlKey() &&
         ShiftKey() == test.ShiftKey() && WinKey() == test.WinKey() && VKey() == test.VKey();
}
