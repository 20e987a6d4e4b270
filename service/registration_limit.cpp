#include "service/registration_limit.h"

namespace lumora {
namespace {

constexpr std::int64_t kHour = 60 * 60;

}  // namespace

bool RegistrationLimit::allows(const std::string& address, std::int64_t now) {
  const std::lock_guard lock(mutex_);
  forget_old(now);
  const auto it = made_.find(address);
  return it == made_.end() || it->second.size() < kRegistrationsPerHour;
}

void RegistrationLimit::count(const std::string& address, std::int64_t now) {
  const std::lock_guard lock(mutex_);
  made_[address].push_back(now);
}

void RegistrationLimit::forget_old(std::int64_t now) {
  for (auto it = made_.begin(); it != made_.end();) {
    auto& times = it->second;
    while (!times.empty() && now - times.front() >= kHour) times.pop_front();
    it = times.empty() ? made_.erase(it) : std::next(it);
  }
}

}  // namespace lumora
