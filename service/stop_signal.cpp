#include "service/stop_signal.h"

namespace lumora {

void StopSignal::raise() {
  {
    std::lock_guard lock(mutex_);
    raised_ = true;
  }
  raised_cv_.notify_all();
}

bool StopSignal::wait_for(std::chrono::milliseconds duration) {
  std::unique_lock lock(mutex_);
  return raised_cv_.wait_for(lock, duration, [this] { return raised_; });
}

}  // namespace lumora
