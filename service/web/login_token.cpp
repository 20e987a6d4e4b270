#include "service/web/login_token.h"

#include <set>
#include <utility>

#include "text/encodings.h"
#include "service/cp1252.h"

namespace lumora {
namespace {

// The program scrambles at most 256 - key characters, two digits each.
constexpr std::size_t kMaxDigits = 2 * (256 - encodings::kScrambleKey);

class Reader {
 public:
  Reader(std::string_view hex, std::size_t limit) : hex_(hex), limit_(limit) {}

  std::vector<std::string> texts() {
    walk(0);
    return std::move(found_);
  }

 private:
  // The byte at position p is unscrambled with key + p, as Scramble does it.
  static bool printable(int scrambled, std::size_t p) {
    const int plain = scrambled ^ static_cast<int>((encodings::kScrambleKey + p) & 0xFF);
    return plain >= 0x20 && plain != 0x7F;
  }

  // Reads hex_ from digit i with the bytes so far in scrambled_; true when some reading of the
  // rest exists. Dead ends are remembered by (digit, byte position), so no state is tried twice.
  bool walk(std::size_t i) {
    if (found_.size() >= limit_) return true;
    if (i == hex_.size()) {
      found_.push_back(encodings::Scramble(scrambled_));
      return true;
    }
    const std::size_t p = scrambled_.size();
    if (dead_.count({i, p})) return false;
    bool any = false;
    const int first = encodings::HexValue(hex_[i]);
    // Two digits first: most bytes are 16 or more, so the likely reading is found early.
    if (first > 0 && i + 1 < hex_.size() && printable(first * 16 + encodings::HexValue(hex_[i + 1]), p)) {
      any |= take(first * 16 + encodings::HexValue(hex_[i + 1]), i + 2);
    }
    if (printable(first, p)) any |= take(first, i + 1);
    if (!any) dead_.insert({i, p});
    return any;
  }

  bool take(int byte, std::size_t next) {
    scrambled_.push_back(static_cast<char>(byte));
    const bool any = walk(next);
    scrambled_.pop_back();
    return any;
  }

  std::string_view hex_;
  std::size_t limit_;
  std::string scrambled_;
  std::vector<std::string> found_;
  std::set<std::pair<std::size_t, std::size_t>> dead_;
};

}  // namespace

std::vector<LoginReading> read_login_token(std::string_view hex, std::size_t limit) {
  if (hex.empty() || hex.size() > kMaxDigits) return {};
  for (char c : hex) {
    if (encodings::HexValue(c) < 0) return {};
  }
  std::vector<LoginReading> readings;
  for (const std::string& text : Reader(hex, limit).texts()) {
    for (std::size_t space = text.find(' '); space != std::string::npos && readings.size() < limit;
         space = text.find(' ', space + 1)) {
      readings.push_back({cp1252_to_utf8(text.substr(0, space)), cp1252_to_utf8(text.substr(space + 1))});
    }
  }
  return readings;
}

}  // namespace lumora
