// A small editor that the capture tests select text in and send copy keystrokes to. It
// copies its selection on a plain Ctrl+C and/or a plain Ctrl+Insert (both at start; message
// WM_APP+1 chooses: wParam bit 1 Ctrl+C, bit 2 Ctrl+Insert) and writes every C and Insert key
// press it sees, with the modifiers held, into its log box: "ctrl+C ctrl+alt+C".
#include <windows.h>

#include <string>

namespace {

HWND g_edit = nullptr, g_log = nullptr;
WNDPROC g_edit_proc = nullptr;
WPARAM g_copy_keys = 3;

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if ((msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) && (wp == 'C' || wp == VK_INSERT)) {
    std::wstring key;
    for (auto [vk, name] : {std::pair{VK_CONTROL, L"ctrl+"}, {VK_MENU, L"alt+"}, {VK_SHIFT, L"shift+"}, {VK_LWIN, L"win+"}})
      if (::GetKeyState(vk) < 0) key += name;
    const bool plain_ctrl = key == L"ctrl+";
    wchar_t log[4096] = {};
    ::GetWindowTextW(g_log, log, 4096);
    key = std::wstring(log) + (log[0] ? L" " : L"") + key + (wp == 'C' ? L"C" : L"Insert");
    ::SetWindowTextW(g_log, key.c_str());
    if (plain_ctrl && (g_copy_keys & (wp == 'C' ? 1 : 2))) ::SendMessageW(hwnd, WM_COPY, 0, 0);
    return 0;  // the edit control's own copy keys are replaced by the rule above
  }
  if (msg == WM_CHAR && wp < 0x20 && wp != '\b') return 0;  // Ctrl+C as a character copies too
  return ::CallWindowProcW(g_edit_proc, hwnd, msg, wp, lp);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CREATE) {
    g_edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_NOHIDESEL, 10, 10, 360,
                               24, hwnd, reinterpret_cast<HMENU>(100), nullptr, nullptr);
    g_log = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 44, 360, 40, hwnd,
                              reinterpret_cast<HMENU>(101), nullptr, nullptr);
    g_edit_proc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(g_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
  } else if (msg == WM_ACTIVATE && LOWORD(wp) != WA_INACTIVE) {
    ::SetFocus(g_edit);
  } else if (msg == WM_APP + 1) {
    g_copy_keys = wp;
  } else if (msg == WM_DESTROY) {
    ::PostQuitMessage(0);
  } else {
    return ::DefWindowProcW(hwnd, msg, wp, lp);
  }
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{0, &MainProc, 0, 0, instance, nullptr, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr,
               L"BrevioTestEditor"};
  ::RegisterClassW(&wc);
  ::CreateWindowExW(0, L"BrevioTestEditor", L"Brevio test editor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400,
                    130, nullptr, nullptr, instance, nullptr);
  for (MSG msg; ::GetMessageW(&msg, nullptr, 0, 0) > 0; ::DispatchMessageW(&msg)) ::TranslateMessage(&msg);
  return 0;
}
