#include "wine_util.h"

#include <shellapi.h>

namespace testing_win {

std::wstring WindowsPath(const std::string& unix_path) {
  std::wstring out = L"Z:";
  for (char c : unix_path) out.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
  return out;
}

TempDir::TempDir() {
  wchar_t base[MAX_PATH];
  ::GetTempPathW(MAX_PATH, base);
  static int counter = 0;
  path_ = std::wstring(base) + L"brevio-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  ::CreateDirectoryW(path_.c_str(), nullptr);
}

TempDir::~TempDir() {
  std::wstring from = path_ + L'\0';  // double-NUL terminated list
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  ::SHFileOperationW(&op);
}

std::wstring PrepareRunFolder(const TempDir& dir) {
  std::wstring exe = dir / L"brevio.exe";
  ::CopyFileW((WindowsPath(BREVIO_BIN_DIR) + L"\\brevio.exe").c_str(), exe.c_str(), FALSE);
  CopyImagesTo(dir.path());
  return exe;
}

void CopyImagesTo(const std::wstring& folder) {
  std::wstring from = WindowsPath(BREVIO_BIN_DIR) + L"\\images" + L'\0';
  std::wstring to = folder + L'\0';
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_COPY;
  op.pFrom = from.c_str();
  op.pTo = to.c_str();
  op.fFlags = FOF_NO_UI;
  ::SHFileOperationW(&op);
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  win::unique_handle file = win::file_handle(::CreateFileW(
      path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file) ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ReadFileBytes(const std::wstring& path) {
  win::unique_handle file = win::file_handle(::CreateFileW(
      path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string bytes(::GetFileSize(file.get(), nullptr), '\0');
  DWORD read = 0;
  ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  return bytes;
}

Process::Process(const std::wstring& exe, const std::wstring& dir) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  std::wstring command = L"\"" + exe + L"\"";
  ::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                   &si, &info_);
}

Process::~Process() {
  if (info_.hProcess) {
    if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(info_.hProcess, 1);
      ::WaitForSingleObject(info_.hProcess, 5000);
    }
    ::CloseHandle(info_.hProcess);
    ::CloseHandle(info_.hThread);
  }
}

bool Process::WaitForExit(DWORD ms, DWORD* exit_code) const {
  if (::WaitForSingleObject(info_.hProcess, ms) != WAIT_OBJECT_0) return false;
  if (exit_code) ::GetExitCodeProcess(info_.hProcess, exit_code);
  return true;
}

std::vector<WindowInfo> WindowsOf(DWORD pid) {
  struct Ctx {
    DWORD pid;
    std::vector<WindowInfo> found;
  } ctx{pid, {}};
  ::EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(lp);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        if (owner != c->pid) return TRUE;
        wchar_t cls[256] = {}, title[512] = {};
        ::GetClassNameW(hwnd, cls, 256);
        ::GetWindowTextW(hwnd, title, 512);
        std::wstring name = cls;
        if (name == L"IME" || name == L"MSCTFIME UI") return TRUE;  // per-thread helper windows
        c->found.push_back({hwnd, name, title, ::IsWindowVisible(hwnd) != FALSE});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&ctx));
  return ctx.found;
}

void PumpFor(DWORD ms) {
  DWORD until = ::GetTickCount() + ms;
  while (static_cast<int>(until - ::GetTickCount()) > 0) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

HWND WaitFor(const std::function<HWND()>& found, DWORD timeout_ms) {
  DWORD until = ::GetTickCount() + timeout_ms;
  for (;;) {
    if (HWND hwnd = found()) return hwnd;
    if (static_cast<int>(until - ::GetTickCount()) <= 0) return nullptr;
    PumpFor(50);
  }
}

HWND WaitForWindow(DWORD pid, const std::wstring& title, bool visible, DWORD timeout_ms) {
  return WaitFor(
      [&]() -> HWND {
        for (const auto& w : WindowsOf(pid))
          if (w.title == title && w.visible == visible) return w.hwnd;
        return nullptr;
      },
      timeout_ms);
}

}  // namespace testing_win
