// Benchmark, not a timed assertion: the processor time spent during a send whose reply the
// service delays by 5 seconds. The wait sleeps in the system between messages, so the figure
// should stay near zero whatever the wall time.
#include <cstdio>

#include "e2e_util.h"

using namespace e2e;
using SendBenchmark = E2eTest;

namespace {
using TimesOf = BOOL(WINAPI*)(HANDLE, LPFILETIME, LPFILETIME, LPFILETIME, LPFILETIME);
double CpuSeconds(TimesOf times, HANDLE of) {  // kernel and user time
  FILETIME t[4];
  times(of, &t[0], &t[1], &t[2], &t[3]);
  auto s = [](FILETIME f) { return static_cast<double>((ULONGLONG{f.dwHighDateTime} << 32) | f.dwLowDateTime) / 1e7; };
  return s(t[2]) + s(t[3]);
}
}  // namespace

TEST_F(SendBenchmark, ProcessorTimeDuringAFiveSecondWait) {
  SetFault("delay", 5000);
  // The whole process (the transfer's worker and the box answerer too) and the UI thread that waits.
  const double process = CpuSeconds(&::GetProcessTimes, ::GetCurrentProcess());
  const double thread = CpuSeconds(&::GetThreadTimes, ::GetCurrentThread());
  const Outcome o = Send();
  const double p = CpuSeconds(&::GetProcessTimes, ::GetCurrentProcess()) - process;
  const double t = CpuSeconds(&::GetThreadTimes, ::GetCurrentThread()) - thread;
  ExpectStored(o, L"test message\r\n");
  const double wall = o.ms / 1000.0;
  std::printf("[ figures  ] send with a reply delayed 5 s: wall %.2f s; processor time of the UI thread %.3f s "
              "(%.1f%% of a core), of the whole process %.3f s (%.1f%%)\n", wall, t, 100 * t / wall, p, 100 * p / wall);
}
