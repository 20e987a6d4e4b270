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

void ApiHotkey::ApplyAtomName(std::string_view name) {
  if (name.find("WIN+") != std::string_view::npos) WinKey(true);
  if (name.find("SHIFT+") != std::string_view::npos) ShiftKey(true);
  if (name.find("CONTROL+") != std::string_view::npos) ControlKey(true);
  if (name.find("ALT+") != std::string_view::npos) AltKey(true);
  // The last three characters must all be digits; a shorter name is read whole.
  std::string_view tail = name.size() > 3 ? name.substr(name.size() - 3) : name;
  if (tail.empty()) return;
  std::int32_t value = 0;
  for (char c : tail) {
    if (c < '0' || c > '9') return;
    value = value * 10 + (c - '0');
  }
  vkey_ = value;
}
