#pragma once
// Message boxes block the thread that shows them, so tests answer them from a helper thread:
// it finds the visible boxes of this process (dialog class #32770), records their title, text
// buttons and icon, and presses the button chosen for their title (the first button otherwise).
#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace test_boxes {

struct BoxSeen {
  std::wstring title, text;
  std::vector<int> buttons;  // identifiers of its push buttons
  bool warning = false;      // it shows the system's warning icon
};

// True when a visible icon control of `window` shows the system's warning icon.
inline bool ShowsWarningIcon(HWND window) {
  bool found = false;
  ::EnumChildWindows(window, [](HWND child, LPARAM found) {
    if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && ::IsWindowVisible(child) &&
        reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0)) == ::LoadIconW(nullptr, IDI_WARNING))
      *reinterpret_cast<bool*>(found) = true;
    return TRUE;
  }, reinterpret_cast<LPARAM>(&found));
  return found;
}

class BoxAnswerer {
 public:
  explicit BoxAnswerer(std::map<std::wstring, int> answers = {})
      : answers_(std::move(answers)), thread_([this] { Run(); }) {}
  ~BoxAnswerer() {
    stop_ = true;
    thread_.join();
  }
  std::vector<BoxSeen> Seen() {
    std::lock_guard lock(mutex_);
    return seen_;
  }

 private:
  static BOOL CALLBACK Collect(HWND hwnd, LPARAM boxes) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    wchar_t cls[16] = {};
    ::GetClassNameW(hwnd, cls, 16);
    if (owner == ::GetCurrentProcessId() && std::wstring(cls) == L"#32770" && ::IsWindowVisible(hwnd))
      reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(hwnd);
    return TRUE;
  }
  void Run() {
    std::set<HWND> answered;
    for (; !stop_; ::Sleep(30)) {
      std::vector<HWND> boxes;
      ::EnumWindows(&Collect, reinterpret_cast<LPARAM>(&boxes));
      std::erase_if(answered, [](HWND h) { return !::IsWindow(h); });
      for (HWND box : boxes) {
        if (!answered.insert(box).second) continue;
        BoxSeen seen;
        std::wstring text(8192, L'\0');
        seen.title = text.substr(0, ::GetWindowTextW(box, text.data(), 8192));
        seen.text = text.substr(0, ::GetDlgItemTextW(box, 0xFFFF, text.data(), 8192));
        for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO})
          if (HWND b = ::GetDlgItem(box, id); b && ::IsWindowVisible(b)) seen.buttons.push_back(id);
        seen.warning = ShowsWarningIcon(box);
        auto it = answers_.find(seen.title);
        const int button = it != answers_.end() ? it->second : (seen.buttons.empty() ? IDOK : seen.buttons[0]);
        {
          std::lock_guard lock(mutex_);
          seen_.push_back(seen);
        }
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, button)));
      }
    }
  }

  std::map<std::wstring, int> answers_;
  std::mutex mutex_;
  std::vector<BoxSeen> seen_;
  std::atomic<bool> stop_{false};
  std::thread thread_;  // last: starts once the members above exist
};

}  // namespace test_boxes
