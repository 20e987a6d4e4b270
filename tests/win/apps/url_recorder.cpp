// A stand-in web browser for the tests: registered as the handler of http and https addresses
// with the command line  "url_recorder.exe" "LOG" "%1", it appends the address it was given,
// exactly as received, and a line feed to the file LOG (UTF-8), then ends.
#include <windows.h>

#include <string>
#include <vector>

namespace {

// The quoted or blank-separated arguments of the command line, program name first.
std::vector<std::wstring> Arguments(const wchar_t* line) {
  std::vector<std::wstring> out;
  while (*line) {
    while (*line == L' ' || *line == L'\t') ++line;
    if (!*line) break;
    std::wstring arg;
    if (*line == L'"') {
      for (++line; *line && *line != L'"'; ++line) arg += *line;
      if (*line) ++line;
    } else {
      for (; *line && *line != L' ' && *line != L'\t'; ++line) arg += *line;
    }
    out.push_back(arg);
  }
  return out;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::vector<std::wstring> args = Arguments(::GetCommandLineW());
  if (args.size() < 3) return 2;
  const std::wstring line = args[2] + L"\n";
  std::string bytes(static_cast<std::size_t>(::WideCharToMultiByte(
                        CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr)),
                    '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(),
                        static_cast<int>(bytes.size()), nullptr, nullptr);
  HANDLE log = INVALID_HANDLE_VALUE;
  for (int tries = 0; log == INVALID_HANDLE_VALUE && tries < 100; ++tries) {  // the test may be reading it
    log = ::CreateFileW(args[1].c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) ::Sleep(50);
  }
  if (log == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(log, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(log);
  return 0;
}
