#include "app/forms_win.h"

#include <algorithm>
#include <vector>

#include "app/dpi_win.h"

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
  win::RegisterClassOnce({spec.class_name, ::LoadCursorW(nullptr, IDC_ARROW),
                          ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)),
                          spec.background ? spec.background : ::GetSysColorBrush(COLOR_WINDOW)});
  RECT rc{0, 0, ui::Scale(spec.client_width), ui::Scale(spec.client_height)};
  ::AdjustWindowRectEx(&rc, spec.style, FALSE, spec.ex_style);
  HWND hwnd = win::CreateFor(this, spec.class_name, spec.ex_style, spec.caption, spec.style,
                             CW_USEDEFAULT, CW_USEDEFAULT, rc.right - rc.left, rc.bottom - rc.top,
                             nullptr, nullptr);
  if (!window_) window_.reset(hwnd);  // normally already taken over by OnMessage
}

LRESULT Form::OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (!window_) window_.reset(hwnd);  // messages sent during CreateWindowEx
  if (msg == WM_CLOSE) {
    Form_QueryUnload();
    return 0;
  }
  return HandleMessage(msg, wp, lp);
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
