#pragma once
// Start-up, the single-instance rule and the state shared by the program's windows.
#include <windows.h>

#include <string>
#include <vector>

#include "app/history_item.h"
#include "app/settings.h"

namespace modHotkeys {

// The twelve settings plus what the windows pass to one another. User-interface thread only.
struct SharedState : Settings {
  std::vector<HistoryItem> History;  // numbers captured by the number hotkey, oldest first
  HWND hWndPrev = nullptr;           // foreground window when the number hotkey last fired
};
extern SharedState state;

// Directory of the program file, without a trailing backslash.
std::wstring AppPath();

// True when another instance runs in this logon session. The first caller keeps the
// session's instance marker for the life of the process.
bool PrevInstance();

void LoadSettings();  // defaults when the file is missing or damaged
// Reports failures in the alert window and never leaves a partial file; true when saved.
bool SaveSettings();

// Installs the system ANSI code page for the text encodings when it is a single-byte one.
void InstallAnsiCodePage();

}  // namespace modHotkeys
