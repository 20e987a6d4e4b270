#pragma once
// Helpers shared by the win and e2e tests: keyboard and mouse input through the system's input
// queue (SendInput), the clipboard as other programs see it, the test editor, and the stand-in
// browser.
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "wine_util.h"

namespace test_input {

using testing_win::PumpUntil;

// Presses (or, with KEYEVENTF_KEYUP, releases) the keys in the order given as one input sequence.
inline void Keys(const std::vector<WORD>& keys, DWORD flags = 0) {
  std::vector<INPUT> in;
  for (WORD vk : keys) {
    in.push_back(INPUT{INPUT_KEYBOARD, {}});
    in.back().ki = {vk, static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), flags, 0, 0};
  }
  ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}
// Presses the keys in order and lets them go in reverse: Press({VK_CONTROL, VK_MENU, 'P'}).
inline void Press(const std::vector<WORD>& keys) {
  Keys(keys);
  Keys({keys.rbegin(), keys.rend()}, KEYEVENTF_KEYUP);
}
inline void PressCtrlAlt(WORD key) { Press({VK_CONTROL, VK_MENU, key}); }

// The real mouse moved to `at` on the screen, with the MOUSEEVENTF_ button `flags` given.
inline void Mouse(POINT at, DWORD flags = 0) {
  INPUT in{INPUT_MOUSE, {}};
  in.mi = {at.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1), at.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1),
           0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags, 0, 0};
  ::SendInput(1, &in, sizeof in);
}

using ClipboardFormats = std::vector<std::pair<UINT, std::string>>;
inline bool PutOnClipboard(const ClipboardFormats& formats) {
  bool all = ::OpenClipboard(nullptr) && ::EmptyClipboard();
  for (const auto& [format, bytes] : formats) {
    HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(::GlobalLock(mem), bytes.data(), bytes.size());
    ::GlobalUnlock(mem);
    all = ::SetClipboardData(format, mem) && all;
  }
  return ::CloseClipboard() && all;
}
inline std::string Utf16Bytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}
// Text alone on the clipboard; an empty text leaves it empty.
inline bool PutText(const std::wstring& text) {
  return PutOnClipboard(text.empty() ? ClipboardFormats{} : ClipboardFormats{{CF_UNICODETEXT, Utf16Bytes(text)}});
}
inline std::string ClipboardBytes(UINT format) {
  if (!::OpenClipboard(nullptr)) return "<clipboard busy>";
  std::string bytes;
  if (HANDLE data = ::GetClipboardData(format)) {
    bytes.assign(static_cast<const char*>(::GlobalLock(data)), ::GlobalSize(data));
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return bytes;
}
inline std::wstring ClipboardText() {
  std::string bytes = ClipboardBytes(CF_UNICODETEXT);
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t)).c_str();
}

// The test editor (apps/edit_app.exe) as a program of its own, ended with this object. Message
// WM_APP+1 chooses its copy keys (bit 1 Ctrl+C, bit 2 Ctrl+Insert); its log box lists the C and
// Insert presses it saw with their modifiers.
class Editor {
 public:
  Editor() {
    // Found while still being created: wait for the boxes too (WS_VISIBLE applies after WM_CREATE).
    PumpUntil([&] { return (log_ = ::GetDlgItem(main_ = ::FindWindowW(L"BrevioTestEditor", nullptr), 101)) != nullptr; }, 15000);
    edit_ = ::GetDlgItem(main_, 100);
  }
  bool Ready() const { return edit_ && log_; }
  HWND Window() const { return main_; }
  // The editor in front with all of `text` selected, copying on the keys given.
  bool Select(const std::wstring& text, int copy_keys = 3) {
    ::SendMessageW(main_, WM_APP + 1, static_cast<WPARAM>(copy_keys), 0);
    ::SendMessageW(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageW(edit_, EM_SETSEL, 0, -1);
    ::SendMessageW(log_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    ::SetForegroundWindow(main_);
    return PumpUntil([&] { return ::GetForegroundWindow() == main_; });
  }
  std::wstring Log() const {
    wchar_t text[1024] = {};
    ::SendMessageW(log_, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
  }

 private:
  testing_win::Process process_{testing_win::WindowsPath(BREVIO_TEST_APPS_DIR "/edit_app.exe")};
  HWND main_ = nullptr, edit_ = nullptr, log_ = nullptr;
};

// The stand-in browser (apps/url_recorder.exe) as the prefix's http and https handler while the
// guard lives: it appends every address the shell hands it, and a line feed, to `log`. The
// prefix is shared by the tree's tests, so the handlers before are put back.
class StandInBrowser {
 public:
  explicit StandInBrowser(const std::wstring& log) {
    const std::wstring exe = testing_win::WindowsPath(BREVIO_TEST_APPS_DIR "/url_recorder.exe");
    for (const wchar_t* key : kKeys) {
      wchar_t old[1024] = {};
      DWORD size = sizeof old;
      saved_.push_back(::RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, old, &size) ? L"" : old);
      Set(key, L"\"" + exe + L"\" \"" + log + L"\" \"%1\"");
    }
  }
  ~StandInBrowser() {
    for (std::size_t i = 0; i < std::size(kKeys); ++i) Set(kKeys[i], saved_[i]);
  }

 private:
  static constexpr const wchar_t* kKeys[] = {L"http\\shell\\open\\command", L"https\\shell\\open\\command"};
  static void Set(const wchar_t* key, const std::wstring& value) {
    ::RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  std::vector<std::wstring> saved_;
};

}  // namespace test_input
