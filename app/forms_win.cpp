#include "app/forms_win.h"

#include <algorithm>
#include <vector>

namespace forms {
namespace {

struct LoadedForm {
  Form* form;
  void (*unload)();
};
std::vector<LoadedForm> g_loaded;
// Unloaded forms wait here until the outermost message loop runs again: a form may unload
// itself from inside one of its own handlers, which must not see it deleted.
std::vector<std::unique_ptr<Form>> g_discarded;
int g_loop_depth = 0;

}  // namespace

void Loaded(Form* form, void (*unload)()) { g_loaded.push_back({form, unload}); }

void Discarded(std::unique_ptr<Form> form) {
  std::erase_if(g_loaded, [&](const LoadedForm& f) { return f.form == form.get(); });
  g_discarded.push_back(std::move(form));
  if (g_loaded.empty()) ::PostQuitMessage(0);
}

void UnloadAll() {
  // A form calling this from its own Form_Unload is still listed, and unloading it again does
  // nothing: go through a copy, newest first, rather than until the list is empty.
  const std::vector<LoadedForm> loaded = g_loaded;
  for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) it->unload();
}

bool AnyLoaded() { return !g_loaded.empty(); }

Form* FromWindow(HWND hwnd) {
  HWND root = hwnd ? ::GetAncestor(hwnd, GA_ROOT) : nullptr;
  for (const auto& f : g_loaded)
    if (f.form->hWnd() && (f.form->hWnd() == hwnd || f.form->hWnd() == root)) return f.form;
  return nullptr;
}

bool Dispatch(MSG& msg) {
  Form* form = FromWindow(msg.hwnd);
  if (form && (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) && form->PreviewKey(msg))
    return true;
  if (form && ::IsDialogMessageW(form->hWnd(), &msg)) return true;
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
  return true;
}

int RunMessageLoop() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ++g_loop_depth;
    Dispatch(msg);
    --g_loop_depth;
    if (g_loop_depth == 0) g_discarded.clear();
  }
  g_discarded.clear();
  return static_cast<int>(msg.wParam);
}

void DoEvents() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {  // leave it for the outer loop
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ++g_loop_depth;
    Dispatch(msg);
    --g_loop_depth;
  }
}

}  // namespace forms

void Form::CreateFormWindow(const WindowSpec& spec) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!::GetClassInfoExW(instance, spec.class_name, &wc)) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Form::WndProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hbrBackground = spec.background ? spec.background : ::GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = spec.class_name;
    ::RegisterClassExW(&wc);
  }
  RECT rc{0, 0, spec.client_width, spec.client_height};
  ::AdjustWindowRectEx(&rc, spec.style, FALSE, spec.ex_style);
  HWND hwnd = ::CreateWindowExW(spec.ex_style, spec.class_name, spec.caption, spec.style,
                                CW_USEDEFAULT, CW_USEDEFAULT, rc.right - rc.left,
                                rc.bottom - rc.top, nullptr, nullptr, instance, this);
  if (!window_) window_.reset(hwnd);  // normally already taken over by WndProc
}

LRESULT CALLBACK Form::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* form = reinterpret_cast<Form*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (form) form->window_.release();  // the window is gone; nothing left to destroy
    return ::DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (!form) return ::DefWindowProcW(hwnd, msg, wp, lp);
  if (!form->window_) form->window_.reset(hwnd);  // messages sent during CreateWindowEx
  if (msg == WM_CLOSE) {
    form->Form_QueryUnload();
    return 0;
  }
  return form->HandleMessage(msg, wp, lp);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

void Form::Show() {
  if (!hWnd()) return;
  ::ShowWindow(hWnd(), SW_SHOW);
  ::SetForegroundWindow(hWnd());
}

void Form::Hide() {
  if (hWnd()) ::ShowWindow(hWnd(), SW_HIDE);
}

bool Form::Visible() const { return hWnd() && ::IsWindowVisible(hWnd()); }

void Form::Unload() {
  if (unload_) unload_();
}
