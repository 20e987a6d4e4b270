#pragma once
// Stored passwords: Argon2id hashes from libsodium, in its self-describing string form
// ("$argon2id$v=19$m=...,t=...,p=1$salt$hash"), so the cost travels with each hash.
#include <string>
#include <string_view>

namespace lumora {

// A fresh salt each time; throws std::runtime_error when the memory for the hash is lacking.
std::string hash_password(std::string_view password);

// Constant-time comparison inside libsodium; false for anything that is not a hash.
bool password_matches(std::string_view stored_hash, std::string_view password);

}  // namespace lumora
