// Watches the windows on a Wine desktop, for the demo journey and the package test, which drive
// the programs from outside (xdotool) but need what X cannot tell: the texts inside a window.
//   window-probe
// Until it is ended, writes a line to its standard output whenever a visible top-level window
// with a title appears, moves or changes its texts: the title, its place on the screen in
// parentheses (left,top widthxheight, in the screen's own pixels), ": " and the texts of its
// controls joined by " | " ("Brevio Alert (507,410 291x225): Message sent | OK"); whenever
// such a window is hidden or destroyed, "(gone) " and its title; and whenever another window
// comes to the front, "(in front) " and its title. A pop-up menu is titled "(menu)". Line breaks
// become spaces.
//   window-probe --held TITLE KEYS...
// Waits (60 s at most) until the program of the window TITLE (shown or not) answers messages (its
// start-up is done) and holds every hotkey of KEYS ("ctrl+alt+p"): exit status 0 once it does.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <map>
#include <string>
#include <utility>
#include <vector>

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
  wchar_t class_name[16] = {};
  ::GetClassNameW(hwnd, class_name, 16);
  // A pop-up menu has no title: it goes by "(menu)".
  const std::wstring title = ::lstrcmpW(class_name, L"#32768") == 0 ? L"(menu)" : TextOf(hwnd);
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

struct Combination {
  UINT modifiers = 0, vkey = 0;
};

// "ctrl+alt+p" as RegisterHotKey's modifiers and key (a letter or a digit).
Combination Parse(std::wstring text) {
  Combination c;
  for (wchar_t& ch : text) ch = static_cast<wchar_t>(std::towlower(ch));
  for (size_t plus; (plus = text.find(L'+')) != std::wstring::npos; text.erase(0, plus + 1)) {
    const std::wstring word = text.substr(0, plus);
    c.modifiers |= word == L"ctrl" ? MOD_CONTROL : word == L"alt" ? MOD_ALT : word == L"shift" ? MOD_SHIFT : MOD_WIN;
  }
  if (text.size() == 1) c.vkey = std::towupper(text[0]);
  return c;
}

// Whether a program holds the combination: its global atom, named as ApiHotkey names it
// ("CONTROL+ALT+080"), exists. Asking RegisterHotKey instead would, under Wine, leave the
// keyboard of the program that holds it deaf to a pop-up menu's keys.
bool Held(const Combination& c) {
  std::wstring name;
  if (c.modifiers & MOD_WIN) name += L"WIN+";
  if (c.modifiers & MOD_SHIFT) name += L"SHIFT+";
  if (c.modifiers & MOD_CONTROL) name += L"CONTROL+";
  if (c.modifiers & MOD_ALT) name += L"ALT+";
  wchar_t digits[8];
  std::swprintf(digits, 8, L"%03u", c.vkey);
  return ::GlobalFindAtomW((name + digits).c_str()) != 0;
}

int WaitUntilHeld(const wchar_t* title, const std::vector<Combination>& keys) {
  for (int tries = 0; tries < 600; ++tries, ::Sleep(100)) {
    HWND window = ::FindWindowW(nullptr, title);
    if (!window || !::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr)) continue;
    bool all = true;
    for (const Combination& c : keys) all = all && Held(c);
    if (all) return 0;
  }
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 4 && std::wstring(argv[1]) == L"--held") {
    std::vector<Combination> keys;
    for (int i = 3; i < argc; ++i) keys.push_back(Parse(argv[i]));
    return WaitUntilHeld(argv[2], keys);
  }
  ::_setmode(::_fileno(stdout), _O_BINARY);  // lines end in LF, for the shell that reads them
  ::SetProcessDPIAware();  // places in the screen's pixels, where xdotool clicks
  std::map<HWND, std::wstring> logged;
  HWND front = nullptr;
  for (;; ::Sleep(200)) {
    std::map<HWND, std::wstring> now;
    ::EnumWindows(&Describe, reinterpret_cast<LPARAM>(&now));
    for (const auto& [hwnd, line] : now)
      if (logged[hwnd] != line) Print(line);
    for (const auto& [hwnd, line] : logged)
      if (!line.empty() && !now.count(hwnd)) Print(L"(gone) " + line.substr(0, line.find(L" (")));
    logged = std::move(now);
    if (::GetForegroundWindow() != front && (front = ::GetForegroundWindow()) != nullptr)
      Print(L"(in front) " + TextOf(front));
  }
}
