// A stand-in web browser for the tests. Registered as the http and https handler of a test's
// Wine prefix with the command  "browser_app.exe" "RECORD" "%1"  it writes the address it is
// given, in UTF-8, to the file RECORD and exits.
#include <windows.h>

#include <cwchar>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
  std::vector<std::wstring> words;  // the double-quoted words, as the handler's command has them
  for (const wchar_t* at = command_line; (at = wcschr(at, L'"')) != nullptr;) {
    const wchar_t* end = wcschr(at + 1, L'"');
    if (!end) break;
    words.emplace_back(at + 1, end);
    at = end + 1;
  }
  if (words.size() != 2) return 2;
  const std::wstring& address = words[1];
  std::string utf8(::WideCharToMultiByte(CP_UTF8, 0, address.c_str(), static_cast<int>(address.size()),
                                         nullptr, 0, nullptr, nullptr), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, address.c_str(), static_cast<int>(address.size()), utf8.data(),
                        static_cast<int>(utf8.size()), nullptr, nullptr);
  // Written aside and renamed, so the test never reads half an address.
  const std::filesystem::path record(words[0]), partial(words[0] + L".partial");
  std::ofstream(partial, std::ios::binary) << utf8;
  std::filesystem::rename(partial, record);
  return 0;
}
