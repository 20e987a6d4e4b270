#pragma once
// Helpers of the Windows-side tests (tests/win, tests/e2e, the start-up benchmark): paths,
// folders and files, a bitmap's pixels, started programs and their windows, and running this
// thread's messages.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/forms_win.h"
#include "app/handles_win.h"

namespace testing_win {

// A Linux path (as CMake passes it) seen from inside Wine, through its Z: drive.
inline std::wstring WindowsPath(const std::string& unix_path) {
  std::wstring out = L"Z:";
  for (char c : unix_path) out.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
  return out;
}

// Runs this thread's messages through the program's own dispatch (key preview, dialog keys)
// until `done` or about `ms` milliseconds have passed. The quit message that unloading the
// last form posts is dropped: left queued, it would end the next message box or menu at once.
template <class Done>
bool PumpUntil(Done done, DWORD ms = 5000) {
  for (const DWORD start = ::GetTickCount(); !done() && ::GetTickCount() - start < ms;) {
    forms::DoEvents();
    for (MSG quit; ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);) {}
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return done();
}
inline void PumpFor(DWORD ms) { PumpUntil([] { return false; }, ms); }

// A fresh empty folder under the temporary directory, removed again by the destructor.
class TempDir {
 public:
  TempDir() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("brevio-test-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter));
    std::filesystem::create_directory(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::wstring path() const { return path_.wstring(); }
  std::wstring operator/(const std::wstring& name) const { return (path_ / name).wstring(); }

 private:
  std::filesystem::path path_;
};

// Copies the program's pictures into `folder`\images.
inline void CopyImagesTo(const std::wstring& folder) {
  ::CreateDirectoryW((folder + L"\\images").c_str(), nullptr);
  for (const auto& image : std::filesystem::directory_iterator(WindowsPath(BREVIO_BIN_DIR "/images")))
    ::CopyFileW(image.path().c_str(), (folder + L"\\images\\" + image.path().filename().wstring()).c_str(), FALSE);
}
// A folder holding a copy of brevio.exe (and its pictures) to run it from; the exe's path.
inline std::wstring PrepareRunFolder(const TempDir& dir) {
  std::filesystem::copy_file(WindowsPath(BREVIO_BIN_DIR "/brevio.exe"), dir / L"brevio.exe");
  CopyImagesTo(dir.path());
  return dir / L"brevio.exe";
}

inline void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}
inline std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// 0x00RRGGBB pixels, rows from the top, of any bitmap.
inline std::vector<std::uint32_t> BitmapPixels(HBITMAP bitmap) {
  BITMAP bm{};
  if (!::GetObjectW(bitmap, sizeof bm, &bm)) return {};
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(bm.bmWidth) * bm.bmHeight);
  win::unique_dc dc(::CreateCompatibleDC(nullptr));
  ::GetDIBits(dc.get(), bitmap, 0, bm.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
  for (auto& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

// A started process (in `dir`, or the test's own folder), ended on destruction if still running.
class Process {
 public:
  Process(const std::wstring& exe, const std::wstring& dir = L"") {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring command = L"\"" + exe + L"\"";
    ::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     dir.empty() ? nullptr : dir.c_str(), &si, &info_);
  }
  ~Process() {
    if (!info_.hProcess) return;
    ::TerminateProcess(info_.hProcess, 1);  // refused, and harmless, when it has ended
    ::WaitForSingleObject(info_.hProcess, 5000);
    ::CloseHandle(info_.hProcess);
    ::CloseHandle(info_.hThread);
  }
  DWORD id() const { return info_.dwProcessId; }
  HANDLE handle() const { return info_.hProcess; }
  bool WaitForExit(DWORD ms, DWORD* exit_code = nullptr) const {
    if (::WaitForSingleObject(info_.hProcess, ms) != WAIT_OBJECT_0) return false;
    return !exit_code || ::GetExitCodeProcess(info_.hProcess, exit_code);
  }

 private:
  PROCESS_INFORMATION info_{};
};

struct WindowInfo {
  HWND hwnd;
  std::wstring title;
  bool visible;
};
// Top-level windows of a process, leaving out the system's own per-thread helper windows.
inline std::vector<WindowInfo> WindowsOf(DWORD pid) {
  std::pair<DWORD, std::vector<WindowInfo>> ctx{pid, {}};
  ::EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto& [of, found] = *reinterpret_cast<decltype(ctx)*>(lp);
        DWORD owner = 0;
        wchar_t cls[32] = {}, title[512] = {};
        ::GetWindowThreadProcessId(hwnd, &owner);
        ::GetClassNameW(hwnd, cls, 32);
        ::GetWindowTextW(hwnd, title, 512);
        if (owner == of && lstrcmpW(cls, L"IME") && lstrcmpW(cls, L"MSCTFIME UI"))
          found.push_back({hwnd, title, ::IsWindowVisible(hwnd) != FALSE});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&ctx));
  return ctx.second;
}

// The process's top-level window titled `title` and (in)visible as asked; null when none came.
inline HWND WaitForWindow(DWORD pid, const std::wstring& title, bool visible, DWORD timeout_ms = 15000) {
  HWND found = nullptr;
  PumpUntil([&] {
    for (const auto& w : WindowsOf(pid))
      if (w.title == title && w.visible == visible) found = w.hwnd;
    return found != nullptr;
  }, timeout_ms);
  return found;
}

}  // namespace testing_win
