#pragma once
// Password checks, cheap for the account's owner and costly for an attacker. The sign-in
// pages and POST /hotkeys share one guard, so neither is a way round the other.
//
// - A password is verified with Argon2id once. For kRemembered after that the same user name
//   and password are recognised by an HMAC of the stored hash and the password under a key made
//   at start and held only in memory, compared in constant time. A new password gives a new
//   stored hash, so the remembered one stops matching at once. A wrong password always costs
//   the full hash.
// - An unknown user name costs the same hash (against a dummy one made at start), gets the same
//   answer as a wrong password and is throttled alike, so neither answers nor times tell names.
// - Failures count per user name and client address: after kFreeFailures that address is
//   refused for that name, right password or not, for kFirstLock; each failure after a lock
//   locks it again for twice as long, up to kLongestLock. A success clears the count. Other
//   addresses are not touched, so a stranger cannot lock the owner out.
// - Wider limits, for one name failing from many addresses or one address failing on many
//   names (kWideFailures within kWideWindow): then only an address that verified that name's
//   password within kTrusted passes.
// Refusals cost no hash and count as no failure. Everything is held in memory only. At most
// kConcurrentHashes hashes run at once (19 MiB each); more would only share the same cores.
#include <sodium.h>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <semaphore>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "service/accounts.h"
#include "service/sqlite_db.h"

namespace lumora {

inline constexpr int kFreeFailures = 5;
inline constexpr std::int64_t kFirstLock = 60;               // seconds
inline constexpr std::int64_t kLongestLock = 15 * 60;
inline constexpr std::int64_t kForgetFailures = 60 * 60;     // a quiet hour clears a count
inline constexpr int kWideFailures = 50;
inline constexpr std::int64_t kWideWindow = 15 * 60;
inline constexpr std::int64_t kTrusted = 12 * 60 * 60;
inline constexpr std::int64_t kRemembered = 15 * 60;
inline constexpr std::ptrdiff_t kConcurrentHashes = 4;
// Each reading costs a hash; more than this many in one try is not a login but a search.
inline constexpr std::size_t kMaxReadings = 4;

enum class LoginCheck { kAccepted, kWrongPassword, kThrottled };

struct LoginOutcome {
  LoginCheck check = LoginCheck::kWrongPassword;
  std::optional<Account> account;  // set when accepted
};

std::int64_t unix_now();

class LoginGuard {
 public:
  // Makes the memory key and the dummy hash (one Argon2id hash). `wide_failures`: the wider
  // limits' count (tests lower it, since every failure costs a hash).
  explicit LoginGuard(int wide_failures = kWideFailures);
  ~LoginGuard();  // wipes the memory key
  LoginGuard(const LoginGuard&) = delete;
  LoginGuard& operator=(const LoginGuard&) = delete;

  // True when one of `passwords` is the password of the account named `username`; a login
  // token can be read several ways, so a caller may offer a few readings, one try together.
  LoginOutcome check(Database& db, std::string_view username, const std::vector<std::string>& passwords,
                     std::string_view address, std::int64_t now = unix_now());
  LoginOutcome check(Database& db, std::string_view username, std::string_view password,
                     std::string_view address, std::int64_t now = unix_now()) {
    return check(db, username, std::vector<std::string>{std::string(password)}, address, now);
  }

  // Argon2id verifications made so far.
  std::uint64_t hashes() const { return hashes_; }

 private:
  using Mac = std::array<unsigned char, crypto_auth_hmacsha256_BYTES>;
  struct Pair {  // one user name from one address
    int failures = 0, locks = 0;
    bool hashing = false;  // a try's hash is running
    std::int64_t locked_until = 0, last_failure = 0, verified_at = -1;
  };
  struct Window {
    std::int64_t start = 0;
    int failures = 0;
  };
  struct Remembered {
    Mac mac{};
    std::int64_t until = 0;
  };

  Mac mac_of(std::string_view stored_hash, std::string_view password) const;
  bool remembered(const std::string& name, const std::vector<Mac>& macs, std::int64_t now) const;
  bool admitted(const std::string& pair_key, const std::string& name, const std::string& address, std::int64_t now);
  void record(const std::string& pair_key, const std::string& name, const std::string& address, bool verified,
              std::int64_t now);
  void prune(std::int64_t now);

  const int wide_failures_;
  std::array<unsigned char, crypto_auth_hmacsha256_KEYBYTES> key_{};
  std::string dummy_hash_;
  std::atomic<std::uint64_t> hashes_{0};
  std::counting_semaphore<kConcurrentHashes> hashing_{kConcurrentHashes};
  std::mutex mutex_;
  std::condition_variable hashed_;  // a pair's hash ended
  std::unordered_map<std::string, Pair> pairs_;  // by user name, NUL, address
  std::unordered_map<std::string, Window> names_, addresses_;
  std::unordered_map<std::string, Remembered> remembered_;  // by user name
  std::size_t next_prune_ = 1024;
};

}  // namespace lumora
