// Watches the windows on a Wine desktop, for the demo journey and the package test, which drive
// the programs from outside (xdotool) but need what X cannot tell: the texts inside a window.
//   window-probe
// Until it is ended, writes a line to its standard output whenever a visible top-level window
// with a title appears, moves or changes its texts: the title, its place on the screen in
// parentheses (left,top widthxheight, in the screen's own pixels), ": " and the texts of its
// controls joined by " | " ("Brevio Alert (507,410 291x225): Message sent | OK"); and whenever
// another window comes to the front, "(in front) " and its title. Line breaks become spaces.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <string>
#include <utility>

namespace {

// A window's text. Edit boxes and status bars keep theirs inside the control, so they are asked
// (with a time limit, a busy program must not hold the probe up); other windows' texts the
// system keeps itself, and reading those costs their programs nothing.
std::wstring TextOf(HWND hwnd) {
  wchar_t class_name[64] = {}, text[4096] = {};
  ::GetClassNameW(hwnd, class_name, 64);
  if (::lstrcmpiW(class_name, L"Edit") == 0 || ::lstrcmpiW(class_name, L"msctls_statusbar32") == 0) {
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 500, &copied))
      text[0] = L'\0';
  } else {
    ::GetWindowTextW(hwnd, text, 4096);
  }
  std::wstring out = text;
  for (wchar_t& c : out)
    if (c == L'\r' || c == L'\n') c = L' ';
  return out;
}

BOOL CALLBACK AddChildText(HWND hwnd, LPARAM line) {
  const std::wstring text = TextOf(hwnd);
  auto& out = *reinterpret_cast<std::wstring*>(line);
  if (!text.empty()) out += (out.back() == L' ' ? L"" : L" | ") + text;
  return TRUE;
}

BOOL CALLBACK Describe(HWND hwnd, LPARAM lines) {
  if (!::IsWindowVisible(hwnd)) return TRUE;
  const std::wstring title = TextOf(hwnd);
  if (title.empty()) return TRUE;
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  std::wstring line = title + L" (" + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" " +
                      std::to_wstring(r.right - r.left) + L"x" + std::to_wstring(r.bottom - r.top) + L"): ";
  ::EnumChildWindows(hwnd, &AddChildText, reinterpret_cast<LPARAM>(&line));
  (*reinterpret_cast<std::map<HWND, std::wstring>*>(lines))[hwnd] = line;
  return TRUE;
}

void Print(const std::wstring& line) {
  std::string utf8(::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
  utf8.back() = '\n';  // in place of the terminating zero
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

}  // namespace

int wmain() {
  ::_setmode(::_fileno(stdout), _O_BINARY);  // lines end in LF, for the shell that reads them
  ::SetProcessDPIAware();  // places in the screen's pixels, where xdotool clicks
  std::map<HWND, std::wstring> logged;
  HWND front = nullptr;
  for (;; ::Sleep(200)) {
    std::map<HWND, std::wstring> now;
    ::EnumWindows(&Describe, reinterpret_cast<LPARAM>(&now));
    for (const auto& [hwnd, line] : now)
      if (logged[hwnd] != line) Print(line);
    logged = std::move(now);
    if (::GetForegroundWindow() != front && (front = ::GetForegroundWindow()) != nullptr)
      Print(L"(in front) " + TextOf(front));
  }
}
