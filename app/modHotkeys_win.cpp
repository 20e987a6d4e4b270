#include "app/modHotkeys_win.h"

#include "app/files_win.h"
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

}  // namespace

std::wstring SettingsPath() { return AppPath() + L"\\" + settings_file::kFileName; }

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

}  // namespace modHotkeys
