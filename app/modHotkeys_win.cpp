#include "app/modHotkeys_win.h"

#include "app/controls_win.h"
#include "app/files_win.h"
#include "app/forms_win.h"
#include "app/frmWarning_win.h"
#include "app/handles_win.h"
#include "text/codepage.h"

namespace modHotkeys {

SharedState state;

namespace {

std::string WideToAnsi(std::wstring_view text) {
  if (text.empty()) return {};
  int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

std::wstring AnsiToWide(std::string_view bytes) {
  if (bytes.empty()) return {};
  int n = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

std::wstring SettingsPath() { return AppPath() + L"\\" + settings_file::kFileName; }

}  // namespace

void InstallAnsiCodePage() {
  CPINFO info{};
  if (::GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1)
    codepage::Install({&WideToAnsi, &AnsiToWide});
}

std::wstring AppPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L"\\/"));
}

bool PrevInstance() {
  // The marker is held until the process ends; "Local\" makes the rule per logon session.
  static win::unique_handle marker;
  static const bool previous = [] {
    marker.reset(::CreateMutexW(nullptr, FALSE, L"Local\\Lumora.Brevio.Instance"));
    return ::GetLastError() == ERROR_ALREADY_EXISTS;
  }();
  return previous;
}

void LoadSettings() {
  static_cast<Settings&>(state) = Settings{};
  const files::WholeFile file = files::ReadWholeFile(SettingsPath(), 1 << 20);
  if (file.complete()) static_cast<Settings&>(state) = settings_file::Parse(file.bytes);
}

bool SaveSettings() {
  if (auto field = settings_file::FieldThatCannotBeStored(state)) {
    frmWarning::Alert(AlertMode::Settings, L"Settings not saved: the " + *field +
                                L" must not contain spaces. Please change it and save again.");
    return false;
  }
  // Written beside the old file and then swapped in, so that a failed or interrupted save
  // never leaves a truncated config2.txt behind.
  const std::wstring path = SettingsPath();
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
  if (error != ERROR_SUCCESS) {
    ::DeleteFileW(temp.c_str());
    frmWarning::Alert(AlertMode::SendResult, L"Settings not saved: " + ui::SystemErrorText(error));
    return false;
  }
  return true;
}

}  // namespace modHotkeys
