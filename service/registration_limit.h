#pragma once
// New accounts per client address: at most kRegistrationsPerHour in any hour, so that free
// starting credits cannot be farmed. Held in memory.
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

namespace lumora {

inline constexpr std::size_t kRegistrationsPerHour = 3;

class RegistrationLimit {
 public:
  // True when `address` may make another account now.
  bool allows(const std::string& address, std::int64_t now);
  // Counts an account made from `address`.
  void count(const std::string& address, std::int64_t now);

 private:
  void forget_old(std::int64_t now);

  std::mutex mutex_;
  std::unordered_map<std::string, std::deque<std::int64_t>> made_;  // times, oldest first
};

}  // namespace lumora
