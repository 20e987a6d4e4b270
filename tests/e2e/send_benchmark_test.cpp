// Benchmark, not a timed assertion: the processor time the program spends waiting for a reply
// that the service delays by 5 seconds. The wait sleeps in the system between messages, so
// the figure should stay near zero whatever the wall time.
#include <gtest/gtest.h>

#include <cstdio>

#include "e2e_util.h"
#include "options/frmOptions_win.h"
#include "phone/frmWarning_win.h"

using namespace e2e;

namespace {

double Seconds(const FILETIME& t) {
  return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
}

// The whole process: the program's thread, the transfer's worker and the test's box answerer.
double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  return Seconds(kernel) + Seconds(user);
}

// The program's user-interface thread alone, which runs the wait.
double ThreadCpuSeconds() {
  FILETIME created, exited, kernel, user;
  ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
  return Seconds(kernel) + Seconds(user);
}

}  // namespace

TEST(SendBenchmark, ProcessorTimeDuringAFiveSecondWait) {
  if (Env("BREVIO_E2E_DB").empty()) GTEST_SKIP() << "not started by netns-run";
  PrepareProgram();
  FillMessage(L"447700900123", L"benchmark");
  SetFault("delay", 5000);
  BoxAnswerer boxes;
  const double process_before = ProcessCpuSeconds(), thread_before = ThreadCpuSeconds();
  const DWORD start = ::GetTickCount();
  const bool sent = frmOptions::Get().SendMessage(true);
  const DWORD wall_ms = ::GetTickCount() - start;
  const double process = ProcessCpuSeconds() - process_before;
  const double thread = ThreadCpuSeconds() - thread_before;
  SetFault("none");
  EXPECT_TRUE(sent);
  EXPECT_TRUE(boxes.Seen().empty());
  EXPECT_EQ(AlertText(), L"Message sent");
  const double wall = wall_ms / 1000.0;
  std::printf("[ figures  ] send with a reply delayed 5 s: wall %.2f s; processor time of the UI thread "
              "%.3f s (%.1f%% of a core), of the whole process %.3f s (%.1f%%)\n",
              wall, thread, 100.0 * thread / wall, process, 100.0 * process / wall);
}
