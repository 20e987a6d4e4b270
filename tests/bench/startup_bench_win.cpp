// Starts brevio.exe and the bare one-window program in turn, each from a folder of its own,
// and prints the median time from process start to each one's first visible window. Then it
// starts both once more, Brevio hidden in the tray (its options window loaded but not shown),
// says "idle <folder>" for each on standard output, and leaves them running until standard
// input closes, so that startup_bench.sh can read their memory from outside.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/settings.h"
#include "wine_util.h"

using namespace testing_win;

namespace {

constexpr int kRounds = 15;

struct Subject {
  const char* name;
  std::wstring exe;
  std::wstring title;  // of its first window
  std::vector<double> ms;
};

// Polls every 2 ms: the shared helper's 50 ms steps would swamp the difference measured.
HWND WaitClosely(DWORD pid, const std::wstring& title, bool visible) {
  for (const DWORD until = ::GetTickCount() + 30000; static_cast<int>(until - ::GetTickCount()) > 0; ::Sleep(2))
    for (const auto& w : WindowsOf(pid))
      if (w.title == title && w.visible == visible) return w.hwnd;
  return nullptr;
}

// Milliseconds from CreateProcess to a visible window titled `title`; negative when none came.
double TimeToWindow(const Subject& s, const std::wstring& dir) {
  const auto start = std::chrono::steady_clock::now();
  Process process(s.exe, dir);
  HWND window = WaitClosely(process.id(), s.title, true);
  const double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  ::TerminateProcess(process.handle(), 0);
  process.WaitForExit(10000);
  return window ? elapsed : -1;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  TempDir brevio_dir, bare_dir;
  Subject brevio{"brevio", PrepareRunFolder(brevio_dir), L"Lumora - Brevio", {}};
  Subject bare{"bare", bare_dir / L"bare_window.exe", L"Bare window", {}};
  ::CopyFileW((WindowsPath(BREVIO_TEST_APPS_DIR) + L"\\bare_window.exe").c_str(), bare.exe.c_str(), FALSE);

  for (int round = 0; round < kRounds; ++round)
    for (Subject* s : {&bare, &brevio}) {  // interleaved, so that both see the same machine
      const double ms = TimeToWindow(*s, s == &bare ? bare_dir.path() : brevio_dir.path());
      if (ms < 0) {
        std::printf("FAIL: %s showed no window\n", s->name);
        return 1;
      }
      s->ms.push_back(ms);
    }
  const double brevio_ms = Median(brevio.ms), bare_ms = Median(bare.ms);
  std::printf("start to first visible window, median of %d: brevio %.1f ms, bare %.1f ms, ratio %.2f\n",
              kRounds, brevio_ms, bare_ms, brevio_ms / bare_ms);

  // Idle memory: Brevio in the tray, the bare program with its window.
  Settings tray;
  tray.HideStartUp = 1;
  WriteFileBytes(brevio_dir / L"config2.txt", settings_file::Format(tray));
  Process brevio_idle(brevio.exe, brevio_dir.path());
  Process bare_idle(bare.exe, bare_dir.path());
  if (!WaitForWindow(brevio_idle.id(), brevio.title, false, 30000) ||
      !WaitForWindow(bare_idle.id(), bare.title, true, 30000)) {
    std::printf("FAIL: a program did not start for the memory reading\n");
    return 1;
  }
  ::Sleep(3000);  // let both settle
  std::printf("idle brevio %ls\nidle bare %ls\n", brevio_dir.path().c_str(), bare_dir.path().c_str());
  std::fflush(stdout);
  char line[16];
  while (std::fgets(line, sizeof line, stdin)) {
  }
  return 0;
}
