// A small editor that the capture tests select text in and send copy keystrokes to. It
// copies its selection on a plain Ctrl+C and/or a plain Ctrl+Insert (both at start; the
// message kSetCopyKeys chooses: wParam bit 1 Ctrl+C, bit 2 Ctrl+Insert) and writes every C
// and Insert key press it sees, with the modifiers held, into its log box: "ctrl+C ctrl+alt+C".
#include <windows.h>

#include <string>

namespace {

constexpr int kEditId = 100, kLogId = 101;
constexpr UINT kSetCopyKeys = WM_APP + 1;
HWND g_edit = nullptr, g_log = nullptr;
WNDPROC g_edit_proc = nullptr;
bool g_copy_c = true, g_copy_insert = true;

std::wstring Modifiers() {
  std::wstring m;
  if (::GetKeyState(VK_CONTROL) < 0) m += L"ctrl+";
  if (::GetKeyState(VK_MENU) < 0) m += L"alt+";
  if (::GetKeyState(VK_SHIFT) < 0) m += L"shift+";
  if (::GetKeyState(VK_LWIN) < 0 || ::GetKeyState(VK_RWIN) < 0) m += L"win+";
  return m;
}

void Log(const std::wstring& entry) {
  wchar_t text[4096] = {};
  ::GetWindowTextW(g_log, text, 4096);
  std::wstring all = text;
  if (!all.empty()) all += L' ';
  all += entry;
  ::SetWindowTextW(g_log, all.c_str());
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if ((msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) && (wp == 'C' || wp == VK_INSERT)) {
    const std::wstring mods = Modifiers();
    Log(mods + (wp == 'C' ? L"C" : L"Insert"));
    const bool wanted = wp == 'C' ? g_copy_c : g_copy_insert;
    if (mods == L"ctrl+" && wanted) ::SendMessageW(hwnd, WM_COPY, 0, 0);
    return 0;  // the edit control's own copy keys are replaced by the rule above
  }
  if (msg == WM_CHAR && wp < 0x20 && wp != '\b') return 0;  // Ctrl+C as a character
  return ::CallWindowProcW(g_edit_proc, hwnd, msg, wp, lp);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      g_edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                 WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_NOHIDESEL, 10, 10, 360,
                                 24, hwnd, reinterpret_cast<HMENU>(kEditId), nullptr, nullptr);
      g_log = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 44, 360, 40, hwnd,
                                reinterpret_cast<HMENU>(kLogId), nullptr, nullptr);
      g_edit_proc = reinterpret_cast<WNDPROC>(
          ::SetWindowLongPtrW(g_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) ::SetFocus(g_edit);
      return 0;
    case kSetCopyKeys:
      g_copy_c = (wp & 1) != 0;
      g_copy_insert = (wp & 2) != 0;
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &MainProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"BrevioTestEditor";
  ::RegisterClassW(&wc);
  HWND main = ::CreateWindowExW(0, L"BrevioTestEditor", L"Brevio test editor",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 130, nullptr,
                                nullptr, instance, nullptr);
  if (!main) return 1;
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
