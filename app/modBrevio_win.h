#pragma once
// Shell routines of the program.
#include <windows.h>

#include <string>

namespace modBrevio {
// Opens a web address (or a control-panel file) with the shell's default action, `owner`
// being the window that any message of the shell belongs to.
void OpenURL(HWND owner, const std::wstring& address);
}
