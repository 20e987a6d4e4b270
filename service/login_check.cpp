#include "service/login_check.h"

#include <algorithm>
#include <stdexcept>

#include "service/password_hash.h"

namespace lumora {
namespace {

// Beyond this many remembered pairs, tries from addresses that verified nothing are refused
// rather than the memory given away.
constexpr std::size_t kMaxPairs = 200000;
constexpr int kMostLocks = 10;  // enough doublings to reach kLongestLock

bool attacked(const auto& windows, const std::string& key, int limit, std::int64_t now) {
  const auto it = windows.find(key);
  return it != windows.end() && it->second.failures >= limit && now - it->second.start < kWideWindow;
}

void count_failure(auto& window, std::int64_t now) {
  if (now - window.start >= kWideWindow) window = {now, 0};
  ++window.failures;
}

}  // namespace

std::int64_t unix_now() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

LoginGuard::LoginGuard(int wide_failures) : wide_failures_(wide_failures) {
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
  std::string password(32, '\0');
  randombytes_buf(password.data(), password.size());
  dummy_hash_ = hash_password(password);
  crypto_auth_hmacsha256_keygen(key_.data());
}

LoginGuard::~LoginGuard() { sodium_memzero(key_.data(), key_.size()); }

LoginGuard::Mac LoginGuard::mac_of(std::string_view stored_hash, std::string_view password) const {
  // A stored hash holds no NUL, so the one between the two keeps them apart.
  crypto_auth_hmacsha256_state state;
  crypto_auth_hmacsha256_init(&state, key_.data(), key_.size());
  crypto_auth_hmacsha256_update(&state, reinterpret_cast<const unsigned char*>(stored_hash.data()), stored_hash.size());
  crypto_auth_hmacsha256_update(&state, reinterpret_cast<const unsigned char*>(""), 1);
  crypto_auth_hmacsha256_update(&state, reinterpret_cast<const unsigned char*>(password.data()), password.size());
  Mac mac;
  crypto_auth_hmacsha256_final(&state, mac.data());
  return mac;
}

LoginOutcome LoginGuard::check(Database& db, std::string_view username, const std::vector<std::string>& passwords,
                               std::string_view address, std::int64_t now) {
  const std::string name(username), client(address), pair_key = name + '\0' + client;
  const LoginOutcome refused{LoginCheck::kThrottled, std::nullopt};
  {
    const std::lock_guard lock(mutex_);
    if (!admitted(pair_key, name, client, now)) return refused;
  }
  auto account = find_account(db, name);
  const std::string& stored = account ? account->password_hash : dummy_hash_;
  const std::size_t readings = std::min(passwords.size(), kMaxReadings);
  std::vector<Mac> macs;
  for (std::size_t i = 0; i < readings; ++i) macs.push_back(mac_of(stored, passwords[i]));
  {
    // One hash at a time for a name from an address: a try that comes meanwhile waits for its
    // outcome, then finds the password remembered or the address locked, as one after the
    // other would. A burst gets no more hashes than kFreeFailures, the owner's sends one.
    std::unique_lock lock(mutex_);
    for (;;) {
      Pair& pair = pairs_[pair_key];
      if (pair.locked_until > now) return refused;
      if (account && remembered(name, macs, now)) {
        record(pair_key, name, client, true, now);
        return {LoginCheck::kAccepted, std::move(account)};
      }
      if (!pair.hashing) {
        pair.hashing = true;
        break;
      }
      hashed_.wait(lock);
    }
  }
  const struct Landing {
    LoginGuard& guard;
    const std::string& key;
    ~Landing() {
      {
        const std::lock_guard lock(guard.mutex_);
        guard.pairs_[key].hashing = false;
      }
      guard.hashed_.notify_all();
    }
  } landing{*this, pair_key};

  std::optional<std::size_t> verified;
  for (std::size_t i = 0; i < readings && !verified; ++i) {
    ++hashes_;
    hashing_.acquire();
    const bool matches = password_matches(stored, passwords[i]);
    hashing_.release();
    if (matches && account) verified = i;
  }
  const std::lock_guard lock(mutex_);
  record(pair_key, name, client, verified.has_value(), now);
  if (!verified) return {LoginCheck::kWrongPassword, std::nullopt};
  remembered_[name] = {macs[*verified], now + kRemembered};
  return {LoginCheck::kAccepted, std::move(account)};
}

bool LoginGuard::remembered(const std::string& name, const std::vector<Mac>& macs, std::int64_t now) const {
  const auto it = remembered_.find(name);
  if (it == remembered_.end() || it->second.until <= now) return false;
  return std::any_of(macs.begin(), macs.end(), [&](const Mac& mac) {
    return sodium_memcmp(mac.data(), it->second.mac.data(), mac.size()) == 0;
  });
}

bool LoginGuard::admitted(const std::string& pair_key, const std::string& name, const std::string& address,
                          std::int64_t now) {
  const auto it = pairs_.find(pair_key);
  if (it != pairs_.end() && it->second.locked_until > now) return false;
  if (it != pairs_.end() && it->second.verified_at >= 0 && now - it->second.verified_at < kTrusted) return true;
  const bool crowded = it == pairs_.end() && pairs_.size() >= kMaxPairs;
  return !crowded && !attacked(names_, name, wide_failures_, now) &&
         !attacked(addresses_, address, wide_failures_, now);
}

void LoginGuard::record(const std::string& pair_key, const std::string& name, const std::string& address,
                        bool verified, std::int64_t now) {
  Pair& pair = pairs_[pair_key];
  if (verified) {
    pair.failures = pair.locks = 0;
    pair.verified_at = now;
  } else {
    if (now - pair.last_failure > kForgetFailures) pair.failures = pair.locks = 0;
    pair.last_failure = now;
    if (++pair.failures >= (pair.locks > 0 ? 1 : kFreeFailures)) {
      pair.locked_until = now + std::min(kFirstLock << pair.locks, kLongestLock);
      pair.locks = std::min(pair.locks + 1, kMostLocks);
      pair.failures = 0;
    }
    count_failure(names_[name], now);
    count_failure(addresses_[address], now);
  }
  if (pairs_.size() + names_.size() + addresses_.size() + remembered_.size() > next_prune_) prune(now);
}

void LoginGuard::prune(std::int64_t now) {
  std::erase_if(pairs_, [now](const auto& entry) {
    const Pair& p = entry.second;
    return !p.hashing && p.locked_until <= now && now - p.last_failure > kForgetFailures &&
           (p.verified_at < 0 || now - p.verified_at >= kTrusted);
  });
  const auto window_over = [now](const auto& entry) { return now - entry.second.start >= kWideWindow; };
  std::erase_if(names_, window_over);
  std::erase_if(addresses_, window_over);
  std::erase_if(remembered_, [now](const auto& entry) { return entry.second.until <= now; });
  next_prune_ = std::max<std::size_t>(1024, 2 * (pairs_.size() + names_.size() + addresses_.size() + remembered_.size()));
}

}  // namespace lumora
