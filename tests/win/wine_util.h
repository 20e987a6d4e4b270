#pragma once
// Helpers for Windows tests that start the real program and look at its windows.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/handles_win.h"

namespace testing_win {

// A Linux path (as CMake passes it) seen from inside Wine, through its Z: drive.
std::wstring WindowsPath(const std::string& unix_path);

// A fresh empty folder under the temporary directory, removed again by the destructor.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// A folder holding a copy of brevio.exe (and its pictures) to run it from.
std::wstring PrepareRunFolder(const TempDir& dir);
// Copies the program's "images" folder into `folder`.
void CopyImagesTo(const std::wstring& folder);

void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);

// A started process, ended on destruction if still running.
class Process {
 public:
  Process(const std::wstring& exe, const std::wstring& dir);
  ~Process();
  DWORD id() const { return info_.dwProcessId; }
  HANDLE handle() const { return info_.hProcess; }
  bool WaitForExit(DWORD ms, DWORD* exit_code = nullptr) const;

 private:
  PROCESS_INFORMATION info_{};
};

struct WindowInfo {
  HWND hwnd;
  std::wstring class_name;
  std::wstring title;
  bool visible;
};
// Top-level windows of a process, leaving out the system's own helper windows.
std::vector<WindowInfo> WindowsOf(DWORD pid);

// Polls until `found` returns a window or the time is up; null then.
HWND WaitFor(const std::function<HWND()>& found, DWORD timeout_ms = 15000);
HWND WaitForWindow(DWORD pid, const std::wstring& title, bool visible, DWORD timeout_ms = 15000);

// Runs the calling thread's pending messages for about `ms` milliseconds.
void PumpFor(DWORD ms);

}  // namespace testing_win
