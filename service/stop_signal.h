#pragma once
// Raised once when the server stops, so that deliberate waits end early instead of holding
// up the shutdown.
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace lumora {

class StopSignal {
 public:
  void raise();

  // Waits up to `duration`; true when the signal was raised before or during the wait.
  bool wait_for(std::chrono::milliseconds duration);

 private:
  std::mutex mutex_;
  std::condition_variable raised_cv_;
  bool raised_ = false;
};

}  // namespace lumora
