#include "service/password_hash.h"

#include <sodium.h>

#include <stdexcept>

namespace lumora {
namespace {

// The smallest Argon2id cost that current guidance accepts for interactive logins (19 MiB, two
// passes): each check runs on a request thread, and every POST /hotkeys makes one.
constexpr unsigned long long kOpsLimit = 2;
constexpr std::size_t kMemLimit = 19u * 1024 * 1024;

void init_sodium() {
  static const bool ready = sodium_init() >= 0;  // thread-safe once; later calls do nothing
  if (!ready) throw std::runtime_error("libsodium cannot start");
}

}  // namespace

std::string hash_password(std::string_view password) {
  init_sodium();
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(out, password.data(), password.size(), kOpsLimit, kMemLimit) != 0) {
    throw std::runtime_error("not enough memory to hash a password");
  }
  return out;
}

bool password_matches(std::string_view stored_hash, std::string_view password) {
  init_sodium();
  if (stored_hash.size() >= crypto_pwhash_STRBYTES) return false;
  const std::string terminated(stored_hash);  // libsodium reads a C string
  return crypto_pwhash_str_verify(terminated.c_str(), password.data(), password.size()) == 0;
}

}  // namespace lumora
