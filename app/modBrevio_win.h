#pragma once
// Shell routines of the program.
#include <string>

namespace modBrevio {
// Opens a web address (or a control-panel file) with the shell's default action.
void OpenURL(const std::wstring& address);
}
