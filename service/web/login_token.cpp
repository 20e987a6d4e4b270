#include "service/web/login_token.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "service/cp1252.h"
#include "text/encodings.h"
#include "text/unicode.h"

namespace lumora {
namespace {

// The program scrambles at most 256 - key characters, two digits each.
constexpr std::size_t kMaxDigits = 2 * (256 - encodings::kScrambleKey);
constexpr int kNever = -1;
// The names tried at each place the first space may stand: each costs only a look-up, and a
// name read wrongly is no account. Names are at most 32 bytes of UTF-8, which references
// make at most 7 bytes a character.
constexpr std::size_t kNames = 256;
constexpr std::size_t kMaxNameBytes = 7 * 32;

// How unlikely a character of the login text is: letters and digits 0, other printable ASCII
// 1, bytes beyond ASCII 4 (a digit taken with the wrong neighbour turns about every other byte
// into one of those), control characters never.
int cost_of(int plain) {
  if (plain < 0x20 || plain == 0x7F) return kNever;
  if (plain >= 0x80) return 4;
  const bool alnum = (plain >= '0' && plain <= '9') || ((plain | 0x20) >= 'a' && (plain | 0x20) <= 'z');
  const bool reference = plain == '&' || plain == '#' || plain == ';';  // "&#x421;" stands for a letter
  return alnum || reference ? 0 : 1;
}

// Reads the token's digits as bytes. A state is (digits read, bytes made); the byte made at
// position p is unscrambled with key + p. Each state keeps its `limit` least unlikely ways to
// be reached from the start without a space (the user name holds none) and to be completed to
// the end; so the work is bounded by the number of states, never by the number of readings.
class Reader {
 public:
  Reader(std::string_view hex, std::size_t limit)
      : hex_(hex), limit_(limit), to_(std::min(hex.size(), 2 * kMaxNameBytes) + 1), from_(hex.size() + 1) {
    const std::size_t n = hex.size();
    for (std::size_t i = 0; i < to_.size(); ++i) to_[i].resize(std::min(i, kMaxNameBytes) + 1);
    for (std::size_t i = 0; i <= n; ++i) from_[i].resize(i + 1);
    to_[0][0].push_back({0, 0, 0});
    for (std::size_t i = 1; i < to_.size(); ++i)
      for (std::size_t p = (i + 1) / 2; p < to_[i].size(); ++p) fill_to(i, p);
    for (auto& end : from_[n]) end.push_back({0, 0, 0});
    for (std::size_t i = n; i-- > 0;)
      for (std::size_t p = (i + 1) / 2; p <= i; ++p) fill_from(i, p);
  }

  // The ways of cutting the text at its first space into a user name and a password whose
  // name `known` accepts, the least unlikely first; when it accepts none, the least unlikely
  // way of all. Texts in Windows-1252.
  struct Split {
    int cost;
    std::string name, password;
  };
  std::vector<Split> splits(const std::function<bool(const std::string&)>& known) const {
    std::vector<Split> out;
    std::optional<Split> likeliest;
    for (std::size_t i = 0; i < to_.size(); ++i) {
      for (std::size_t p = 0; p < to_[i].size(); ++p) {
        for (int digits : {2, 1}) {
          if (to_[i][p].empty() || !fits(i, digits) || plain(i, digits, p) != ' ') continue;
          const auto& names = to_[i][p];
          const auto& passwords = from_[i + digits][p + 1];
          if (passwords.empty()) continue;
          const auto password_text = [&](std::size_t b) { return unscramble(password(i + digits, p + 1, b), p + 1); };
          if (!likeliest || names[0].cost + passwords[0].cost < likeliest->cost)
            likeliest = Split{names[0].cost + passwords[0].cost, unscramble(name(i, p, 0), 0), password_text(0)};
          for (std::size_t a = 0; a < names.size(); ++a) {
            const std::string text = unscramble(name(i, p, a), 0);
            if (!known(text)) continue;
            for (std::size_t b = 0; b < passwords.size(); ++b)
              out.push_back({names[a].cost + passwords[b].cost, text, password_text(b)});
          }
        }
      }
    }
    if (out.empty() && likeliest) out.push_back(std::move(*likeliest));
    std::stable_sort(out.begin(), out.end(), [](const Split& a, const Split& b) { return a.cost < b.cost; });
    return out;
  }

 private:
  struct Step {
    int cost;
    std::uint8_t digits;  // 1 or 2: the digits of the byte between this state and the next
    std::uint16_t rank;   // which of the next state's ways continues this one
  };

  bool fits(std::size_t i, int digits) const {
    return i + digits <= hex_.size() && (digits == 1 || encodings::HexValue(hex_[i]) > 0);
  }
  int byte(std::size_t i, int digits) const {
    const int first = encodings::HexValue(hex_[i]);
    return digits == 1 ? first : first * 16 + encodings::HexValue(hex_[i + 1]);
  }
  int plain(std::size_t i, int digits, std::size_t p) const {
    return byte(i, digits) ^ static_cast<int>((encodings::kScrambleKey + p) & 0xFF);
  }
  static std::string unscramble(const std::string& bytes, std::size_t from) {
    std::string out(bytes);
    for (std::size_t k = 0; k < out.size(); ++k) out[k] = encodings::ScrambleAt(out[k], from + k);
    return out;
  }
  // `steps` holds two runs, each least unlikely first, the second from `second` on.
  static void keep_best(std::vector<Step>& steps, std::size_t second, std::size_t count) {
    std::inplace_merge(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(second), steps.end(),
                       [](const Step& a, const Step& b) { return a.cost < b.cost; });
    if (steps.size() > count) steps.resize(count);
  }

  // The ways to reach (i, p): through a byte of one or two digits from an earlier state.
  void fill_to(std::size_t i, std::size_t p) {
    std::vector<Step> steps;
    std::size_t second = 0;
    for (int digits : {2, 1}) {
      second = steps.size();
      if (i < static_cast<std::size_t>(digits) || p == 0 || p - 1 > i - digits) continue;
      const std::size_t j = i - digits;
      if (!fits(j, digits)) continue;
      const int c = plain(j, digits, p - 1);
      if (c == ' ' || cost_of(c) == kNever) continue;
      const auto& before = to_[j][p - 1];
      for (std::size_t r = 0; r < before.size(); ++r)
        steps.push_back({before[r].cost + cost_of(c), static_cast<std::uint8_t>(digits), static_cast<std::uint16_t>(r)});
    }
    keep_best(steps, second, kNames);
    to_[i][p] = std::move(steps);
  }

  // The ways to complete (i, p) to the end.
  void fill_from(std::size_t i, std::size_t p) {
    std::vector<Step> steps;
    std::size_t second = 0;
    for (int digits : {2, 1}) {
      second = steps.size();
      if (!fits(i, digits)) continue;
      const int cost = cost_of(plain(i, digits, p));
      if (cost == kNever) continue;
      const auto& after = from_[i + digits][p + 1];
      for (std::size_t r = 0; r < after.size(); ++r)
        steps.push_back({after[r].cost + cost, static_cast<std::uint8_t>(digits), static_cast<std::uint16_t>(r)});
    }
    keep_best(steps, second, limit_);
    from_[i][p] = std::move(steps);
  }

  std::string name(std::size_t i, std::size_t p, std::size_t rank) const {
    std::string bytes;
    while (i > 0) {
      const Step& s = to_[i][p][rank];
      i -= s.digits, --p, rank = s.rank;
      bytes.insert(bytes.begin(), static_cast<char>(byte(i, s.digits)));
    }
    return bytes;
  }
  std::string password(std::size_t i, std::size_t p, std::size_t rank) const {
    std::string bytes;
    while (i < hex_.size()) {
      const Step& s = from_[i][p][rank];
      bytes.push_back(static_cast<char>(byte(i, s.digits)));
      i += s.digits, ++p, rank = s.rank;
    }
    return bytes;
  }

  std::string_view hex_;
  std::size_t limit_;
  std::vector<std::vector<std::vector<Step>>> to_, from_;  // [digits read][bytes made]
};

// The character a reference names ("amp", "#1057", "#x421"), or 0 for none.
char32_t referenced(std::string_view name) {
  static constexpr std::pair<std::string_view, char32_t> kEntities[] = {
      {"amp", U'&'}, {"lt", U'<'}, {"gt", U'>'}, {"quot", U'"'}, {"apos", U'\''}};
  for (const auto& [entity, c] : kEntities) {
    if (name == entity) return c;
  }
  const bool hex = name.size() > 2 && name.substr(0, 2) == "#x";
  if (!hex && (name.size() < 2 || name[0] != '#')) return 0;
  std::uint32_t code = 0;
  for (char c : name.substr(hex ? 2 : 1)) {
    const int v = hex ? encodings::HexValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (v < 0 || code > 0x10FFFF) return 0;
    code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(v);
  }
  return code <= 0x10FFFF && !unicode::IsSurrogate(code) ? code : 0;
}

// UTF-8 text with its XML references read, as the submission's XML reader reads the login:
// the program writes its token's login as it writes its request's. Anything that is not a
// reference stays as it is (tokens of older programs hold a bare "&").
std::string read_references(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t end = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
    const char32_t c = end != std::string_view::npos && end - i <= 10 ? referenced(text.substr(i + 1, end - i - 1)) : 0;
    if (c == 0) {
      out.push_back(text[i++]);
      continue;
    }
    out += unicode::ToUtf8(unicode::Wide(c));
    i = end + 1;
  }
  return out;
}

}  // namespace

std::vector<LoginReading> read_login_token(std::string_view hex, const std::function<bool(const std::string&)>& is_account,
                                          std::size_t limit) {
  if (hex.empty() || hex.size() > kMaxDigits) return {};
  for (char c : hex) {
    if (encodings::HexValue(c) < 0) return {};
  }
  const auto text = [](const std::string& cp1252) { return read_references(cp1252_to_utf8(cp1252)); };
  // The program writes "&" only to begin a reference, so one that begins none marks a wrong cut
  // (or a token of an older program, which wrote it bare).
  const auto stray_ampersands = [](std::string_view cp1252) {
    int count = 0;
    for (std::size_t at = cp1252.find('&'); at != std::string_view::npos; at = cp1252.find('&', at + 1)) {
      const std::size_t end = cp1252.find(';', at);
      count += end == std::string_view::npos || end - at > 10 || !referenced(cp1252.substr(at + 1, end - at - 1));
    }
    return count;
  };
  std::map<std::string, bool> known;  // by user name as read
  const auto is_known = [&](const std::string& cp1252) {
    const auto [at, added] = known.try_emplace(cp1252, false);
    if (added) at->second = is_account(text(cp1252));
    return at->second;
  };
  std::vector<Reader::Split> splits = Reader(hex, limit).splits(is_known);
  for (Reader::Split& split : splits) split.cost += 8 * (stray_ampersands(split.name) + stray_ampersands(split.password));
  std::stable_sort(splits.begin(), splits.end(), [](const auto& a, const auto& b) { return a.cost < b.cost; });
  // A token that names no account still names someone, so that it costs what a wrong password
  // costs.
  std::vector<LoginReading> readings;
  for (const Reader::Split& split : splits) {
    if (readings.size() == limit) break;
    readings.push_back({text(split.name), text(split.password)});
  }
  return readings;
}

}  // namespace lumora
