#pragma once
// The twelve user settings and their file, config2.txt: two scrambled lines, each ended by
// CR LF. Line 1 holds nine fields, line 2 three, each field followed by one space.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The transfer protocol; the settings file keeps its number in `Settings::Protocol`.
enum class TransferProtocol : std::int16_t { HTTP = 4, HTTPS = 5 };

struct Settings {
  std::wstring Usr;
  std::wstring Pwd;
  std::wstring CountryCode = L"44";
  std::int16_t VKey1 = 80;  // P
  std::int16_t VKey2 = 78;  // N
  std::wstring Footer;
  std::int16_t Protocol = 4;  // 4 HTTP, 5 HTTPS
  std::wstring Port = L"80";
  std::int16_t ProxyAuth = 0;
  std::wstring ProxyUsr;
  std::wstring ProxyPwd;
  std::int16_t HideStartUp = 0;

  bool operator==(const Settings&) const = default;
};

namespace settings_file {

inline constexpr wchar_t kFileName[] = L"config2.txt";

// The file's bytes for these settings.
std::string Format(const Settings& s);

// The settings a file holds. A missing field or a number that is not one gives the
// defaults for all twelve; a file of line 1 alone leaves the proxy settings at their defaults.
Settings Parse(std::string_view bytes);

// Fields other than the footer are stored unescaped, so a space inside one would shift the
// fields behind it. Returns the name of the first such field as the user knows it, if any.
std::optional<std::wstring> FieldThatCannotBeStored(const Settings& s);

}  // namespace settings_file
