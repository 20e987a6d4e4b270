// A stand-in web browser for the tests: registered as the handler of http and https addresses
// with the command line  "url_recorder.exe" "LOG" "%1", it appends the address it was given,
// exactly as received, and a line feed to the file LOG (UTF-8), then ends.
#include <windows.h>

#include <algorithm>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The last two quoted arguments: the log and the address.
  std::wstring line = ::GetCommandLineW();
  const auto quoted = [&line] {
    const std::size_t end = line.rfind(L'"'), start = line.rfind(L'"', end - 1);
    std::wstring value = line.substr(start + 1, end - start - 1);
    line.erase(start);
    return value;
  };
  if (std::count(line.begin(), line.end(), L'"') < 4) return 2;
  const std::wstring address = quoted() + L"\n", log = quoted();
  std::string bytes(address.size() * 3, '\0');
  bytes.resize(static_cast<std::size_t>(::WideCharToMultiByte(CP_UTF8, 0, address.c_str(), static_cast<int>(address.size()),
                                                               bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)));
  HANDLE file = INVALID_HANDLE_VALUE;  // the test may be reading it just now: try again a while
  for (int tries = 0; file == INVALID_HANDLE_VALUE && tries < 100; ++tries, ::Sleep(file == INVALID_HANDLE_VALUE ? 50 : 0))
    file = ::CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  return 0;
}
