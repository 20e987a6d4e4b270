#include "app/settings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

#include "text/codepage.h"
#include "text/encodings.h"
#include "text/unicode.h"

namespace settings_file {
namespace {

using encodings::Scramble;
using Fields = std::vector<std::string>;

constexpr std::string_view kCrLf = "\r\n";
constexpr std::size_t kLine1Fields = 9;
constexpr std::size_t kLine2Fields = 3;

// Text values that the code page cannot hold are kept in a third line, written only for them:
// "UTF-8", then each text setting in this order as URL-encoded UTF-8, each followed by a space,
// scrambled like the others. Lines 1 and 2 stay as before, with the code page's stand-ins
// ("?"), so a file without such values keeps its bytes, and a program that reads two lines
// still reads the rest. A file written the old way ends with line 2: its line 2 ends where it
// holds its three fields, so no byte of it is ever read as a third line.
constexpr std::string_view kUnicodeMark = "UTF-8";
constexpr std::array kTextSettings = {&Settings::Pwd,  &Settings::Usr,      &Settings::CountryCode,
                                      &Settings::Footer, &Settings::Port, &Settings::ProxyUsr,
                                      &Settings::ProxyPwd};

std::string Field(std::wstring_view text) { return codepage::ToAnsi(text) + ' '; }
std::string Field(std::int16_t n) { return std::to_string(n) + ' '; }

Fields SplitAtSpaces(std::string_view line) {
  Fields out;
  std::size_t start = 0;
  for (std::size_t pos; (pos = line.find(' ', start)) != std::string_view::npos; start = pos + 1)
    out.emplace_back(line.substr(start, pos - start));
  out.emplace_back(line.substr(start));
  return out;
}

// Finds where the scrambled line starting at `from` ends. Scrambled bytes may by chance hold
// a CR LF, so the break chosen is the first one whose line unscrambles to exactly `count`
// fields; if none does, the first CR LF (or the end of the text) is taken. One pass: the bytes
// are unscrambled as they are passed and the spaces counted, and the search stops once the
// line holds more spaces than a line of `count` fields has.
std::size_t LineEnd(std::string_view bytes, std::size_t from, std::size_t count) {
  const std::size_t first = bytes.find(kCrLf, from);
  if (first == std::string_view::npos) return bytes.size();
  std::size_t spaces = 0;
  bool ends_with_space = false;
  for (std::size_t pos = from; pos + 1 < bytes.size() && spaces <= count; ++pos) {
    if (bytes[pos] == '\r' && bytes[pos + 1] == '\n' && spaces == count && ends_with_space)
      return pos;
    ends_with_space = encodings::ScrambleAt(bytes[pos], pos - from) == ' ';
    if (ends_with_space) ++spaces;
  }
  return first;
}

std::optional<std::int16_t> Number(const std::string& text) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (begin != end && *begin == '+') ++begin;
  std::int16_t value = 0;
  auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr != end || begin == end) return std::nullopt;
  return value;
}

std::wstring Text(const std::string& bytes) { return codepage::FromAnsi(bytes); }

bool InCodePage(const std::wstring& text) { return Text(codepage::ToAnsi(text)) == text; }

std::string UnicodeLine(const Settings& s) {
  std::string line(kUnicodeMark);
  line += ' ';
  for (auto setting : kTextSettings) line += encodings::URLEncode(unicode::ToUtf8(s.*setting)) + ' ';
  return line;
}

// Takes the values of a third line when it is one written by Format for these settings: every
// value is one whose code-page form is what lines 1 and 2 hold, and one at least lies outside.
void TakeUnicodeLine(std::string_view line, Settings& s) {
  Fields f = SplitAtSpaces(Scramble(line.substr(0, LineEnd(line, 0, kTextSettings.size() + 1))));
  if (f.size() != kTextSettings.size() + 2 || f.front() != kUnicodeMark || !f.back().empty())
    return;
  Settings unicode = s;
  for (std::size_t i = 0; i < kTextSettings.size(); ++i) {
    auto value = unicode::FromUtf8(encodings::URLDecode(f[i + 1]));
    if (!value || codepage::ToAnsi(*value) != codepage::ToAnsi(s.*kTextSettings[i])) return;
    unicode.*kTextSettings[i] = std::move(*value);
  }
  if (unicode != s) s = std::move(unicode);
}

}  // namespace

std::string Format(const Settings& s) {
  std::string line1 = Field(s.Pwd) + Field(s.Usr) + Field(s.VKey1) + Field(s.VKey2) +
                      Field(s.CountryCode) +
                      encodings::URLEncode(codepage::ToAnsi(s.Footer)) + ' ' +
                      Field(s.HideStartUp) + Field(s.Port) + Field(s.Protocol);
  std::string line2 = Field(s.ProxyAuth) + Field(s.ProxyUsr) + Field(s.ProxyPwd);
  std::string file = Scramble(line1) + std::string(kCrLf) + Scramble(line2) + std::string(kCrLf);
  if (!std::all_of(kTextSettings.begin(), kTextSettings.end(),
                   [&s](auto setting) { return InCodePage(s.*setting); }))
    file += Scramble(UnicodeLine(s)) + std::string(kCrLf);
  return file;
}

Settings Parse(std::string_view bytes) {
  Settings s;
  std::size_t end1 = LineEnd(bytes, 0, kLine1Fields);
  Fields f = SplitAtSpaces(Scramble(bytes.substr(0, end1)));
  if (f.size() < kLine1Fields) return Settings{};
  auto protocol = Number(f[8]), hide = Number(f[6]), vkey2 = Number(f[3]), vkey1 = Number(f[2]);
  if (!protocol || !hide || !vkey2 || !vkey1) return Settings{};
  s.Protocol = *protocol;
  s.Port = Text(f[7]);
  s.HideStartUp = *hide;
  s.Footer = Text(encodings::URLDecode(f[5]));
  s.CountryCode = Text(f[4]);
  s.VKey2 = *vkey2;
  s.VKey1 = *vkey1;
  s.Usr = Text(f[1]);
  s.Pwd = Text(f[0]);

  if (end1 == bytes.size()) return s;  // line 1 alone: the proxy settings keep their defaults
  std::size_t from = end1 + kCrLf.size();
  std::size_t end2 = LineEnd(bytes, from, kLine2Fields);
  Fields g = SplitAtSpaces(Scramble(bytes.substr(from, end2 - from)));
  if (g.size() < kLine2Fields) return Settings{};
  auto proxy_auth = Number(g[0]);
  if (!proxy_auth) return Settings{};
  s.ProxyPwd = Text(g[2]);
  s.ProxyUsr = Text(g[1]);
  s.ProxyAuth = *proxy_auth;
  if (end2 + kCrLf.size() < bytes.size()) TakeUnicodeLine(bytes.substr(end2 + kCrLf.size()), s);
  return s;
}

std::optional<std::wstring> FieldThatCannotBeStored(const Settings& s) {
  const std::pair<const std::wstring*, const wchar_t*> fields[] = {
      {&s.Usr, L"Lumora username"},     {&s.Pwd, L"Lumora password"},
      {&s.CountryCode, L"country code"}, {&s.Port, L"port"},
      {&s.ProxyUsr, L"proxy username"},  {&s.ProxyPwd, L"proxy password"}};
  for (const auto& [value, name] : fields)
    if (codepage::ToAnsi(*value).find(' ') != std::string::npos) return std::wstring(name);
  return std::nullopt;
}

}  // namespace settings_file
