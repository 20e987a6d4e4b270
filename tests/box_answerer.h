#pragma once
// Message boxes block the thread that shows them, so tests answer them from a helper thread:
// it finds the boxes of this process (dialog class #32770), records their title, text, icon
// and buttons, and presses the button chosen for their title (the first button otherwise).
#include <windows.h>

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace test_boxes {

struct BoxSeen {
  std::wstring title;
  std::wstring text;
  bool question_icon = false;
  bool topmost = false;  // system modal boxes stay above every window
  std::vector<int> buttons;  // identifiers of its push buttons
};
class BoxAnswerer {
 public:
  explicit BoxAnswerer(std::map<std::wstring, int> answers = {});
  ~BoxAnswerer();
  std::vector<BoxSeen> Seen();

 private:
  void Run();
  std::map<std::wstring, int> answers_;
  std::mutex mutex_;
  std::vector<BoxSeen> seen_;
  HANDLE stop_ = nullptr;
  std::thread thread_;
};

inline BoxAnswerer::BoxAnswerer(std::map<std::wstring, int> answers)
    : answers_(std::move(answers)), stop_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  thread_ = std::thread([this] { Run(); });
}

inline BoxAnswerer::~BoxAnswerer() {
  ::SetEvent(stop_);
  thread_.join();
  ::CloseHandle(stop_);
}

inline std::vector<BoxSeen> BoxAnswerer::Seen() {
  std::lock_guard lock(mutex_);
  return seen_;
}

inline void BoxAnswerer::Run() {
  std::set<HWND> answered;
  const DWORD pid = ::GetCurrentProcessId();
  while (::WaitForSingleObject(stop_, 30) == WAIT_TIMEOUT) {
    std::vector<HWND> boxes;
    struct Ctx {
      DWORD pid;
      std::vector<HWND>* boxes;
    } ctx{pid, &boxes};
    ::EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
          auto* c = reinterpret_cast<Ctx*>(lp);
          DWORD owner = 0;
          ::GetWindowThreadProcessId(hwnd, &owner);
          wchar_t cls[64] = {};
          ::GetClassNameW(hwnd, cls, 64);
          if (owner == c->pid && std::wstring(cls) == L"#32770" && ::IsWindowVisible(hwnd))
            c->boxes->push_back(hwnd);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    std::erase_if(answered, [](HWND h) { return !::IsWindow(h); });
    for (HWND box : boxes) {
      if (answered.count(box)) continue;
      BoxSeen seen;
      wchar_t text[8192] = {};
      ::GetWindowTextW(box, text, 8192);
      seen.title = text;
      text[0] = 0;
      ::GetDlgItemTextW(box, 0xFFFF, text, 8192);
      seen.text = text;
      HWND icon = ::GetDlgItem(box, 0x0440);
      seen.question_icon = icon && reinterpret_cast<HICON>(::SendMessageW(icon, STM_GETICON, 0, 0)) ==
                                       ::LoadIconW(nullptr, IDI_QUESTION);
      seen.topmost = (::GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
      for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO})
        if (HWND b = ::GetDlgItem(box, id); b && ::IsWindowVisible(b)) seen.buttons.push_back(id);
      auto it = answers_.find(seen.title);
      int button = it != answers_.end() ? it->second : (seen.buttons.empty() ? IDOK : seen.buttons[0]);
      {
        std::lock_guard lock(mutex_);
        seen_.push_back(seen);
      }
      ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(box, button)));
      answered.insert(box);
    }
  }
}

}  // namespace test_boxes
