// Saving config2.txt, and what the user may do when it cannot be written.
#include "app/modHotkeys_win.h"

#include <commctrl.h>

#include <vector>

#include "app/controls_win.h"
#include "app/handles_win.h"

namespace modHotkeys {

std::optional<SaveProblem> WriteSettings() {
  const std::wstring path = SettingsPath();
  if (auto field = settings_file::FieldThatCannotBeStored(state))
    return SaveProblem{L"The " + *field + L" must not contain spaces: please change it and save again.", false};
  // Written beside the old file and then swapped in, so that a failed or interrupted save
  // never leaves a truncated config2.txt behind.
  const std::wstring temp = path + L".new";
  const std::string bytes = settings_file::Format(state);
  DWORD error = ERROR_SUCCESS;
  {
    win::unique_handle file = win::file_handle(::CreateFileW(
        temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file)
      error = ::GetLastError();
    else if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                          nullptr) ||
             written != bytes.size() || !::FlushFileBuffers(file.get()))
      error = ::GetLastError() ? ::GetLastError() : ERROR_WRITE_FAULT;
  }
  // Windows refuses to replace a read-only file; Wine does not, so the check is made here.
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (error == ERROR_SUCCESS && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_READONLY))
    error = ERROR_ACCESS_DENIED;
  if (error == ERROR_SUCCESS &&
      !::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = ::GetLastError();
  if (error == ERROR_SUCCESS) return std::nullopt;
  ::DeleteFileW(temp.c_str());
  return SaveProblem{L"Brevio could not write " + path + L": " + ui::SystemErrorText(error)};
}

SaveOutcome SaveSettings(HWND owner, bool exiting) {
  // The tray still answers while the question is up: a second Exit or Save waits for it.
  static bool asking = false;
  if (asking) return SaveOutcome::KeepEditing;
  for (;;) {
    const std::optional<SaveProblem> problem = WriteSettings();
    if (!problem) return SaveOutcome::Saved;
    std::wstring text = problem->text;
    if (exiting)
      text += L"\n\nIf you exit without saving, the settings changed since Brevio started are lost; " +
              SettingsPath() + L" keeps the settings it held.";
    std::vector<TASKDIALOG_BUTTON> buttons;
    if (problem->retry_may_help) buttons.push_back({IDRETRY, L"&Try again"});
    if (exiting) buttons.push_back({IDCLOSE, L"E&xit without saving"});
    TASKDIALOGCONFIG dialog{};
    dialog.cbSize = sizeof dialog;
    dialog.hwndParent = owner;
    dialog.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    dialog.dwCommonButtons = buttons.empty() ? TDCBF_OK_BUTTON : TDCBF_CANCEL_BUTTON;
    dialog.pszWindowTitle = ui::kAppTitle;
    dialog.pszMainIcon = TD_WARNING_ICON;
    dialog.pszMainInstruction = L"Settings not saved";
    dialog.pszContent = text.c_str();
    dialog.cButtons = static_cast<UINT>(buttons.size());
    dialog.pButtons = buttons.data();
    dialog.nDefaultButton = buttons.empty() ? IDOK : buttons.front().nButtonID;
    int pressed = IDCANCEL;
    asking = true;
    if (FAILED(::TaskDialogIndirect(&dialog, &pressed, nullptr, nullptr))) pressed = IDCANCEL;
    asking = false;
    if (pressed == IDCLOSE) return SaveOutcome::ExitWithoutSaving;
    if (pressed != IDRETRY) return SaveOutcome::KeepEditing;
  }
}

}  // namespace modHotkeys
