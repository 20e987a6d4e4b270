// ApiHotkey's specified interface that the program itself does not call: a combination read back from an atom's name.
#include "hotkeys/ApiHotkey.h"

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
