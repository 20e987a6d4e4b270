#pragma once
// Start-up, the single-instance rule and the state shared by the program's windows.
#include <windows.h>

#include <optional>
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
std::wstring SettingsPath();  // config2.txt beside the program

// settings_save_win.cpp. Writes the settings file, never leaving a partial one; when it cannot,
// returns why, in the user's words, naming the file.
struct SaveProblem {
  std::wstring text;
  bool retry_may_help = true;  // false for a value that the file cannot hold
};
std::optional<SaveProblem> WriteSettings();

// The user's choice once a save had failed, or Saved.
enum class SaveOutcome { Saved, KeepEditing, ExitWithoutSaving };
// WriteSettings, and when that fails a question owned by `owner`: the reason, and buttons to
// try again, to cancel and, with `exiting`, to exit without saving (the file keeps what it
// held; the settings changed in this run are lost).
SaveOutcome SaveSettings(HWND owner, bool exiting);

// Installs the system ANSI code page for the text encodings when it is a single-byte one.
void InstallAnsiCodePage();

}  // namespace modHotkeys
