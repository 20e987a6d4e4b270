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
  if (form && form->NavigationKey(msg)) return true;
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

namespace {

bool Down(int vk) { return ::GetKeyState(vk) < 0; }
bool Usable(HWND control) { return ::IsWindowVisible(control) && ::IsWindowEnabled(control); }
bool IsClass(HWND control, const wchar_t* kind) {
  wchar_t name[16] = {};
  ::GetClassNameW(control, name, 16);
  return !lstrcmpiW(name, kind);
}
LRESULT DialogCode(HWND control, const MSG* msg) {
  return ::SendMessageW(control, WM_GETDLGCODE, msg ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg));
}
bool IsPushButton(HWND control) {
  if (DialogCode(control, nullptr) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) return true;
  return IsClass(control, L"Button") && (::GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}
// Whether the focused control takes the key itself. A multi-line edit box claims every key
// (and would then close the window on Esc, or hand Tab back to a dialog it is not in): of an
// edit box only Enter counts, and only in a box that takes new lines.
bool Keeps(HWND control, const MSG& msg) {
  const LRESULT code = DialogCode(control, &msg);
  if (!(code & DLGC_HASSETSEL)) return (code & DLGC_WANTMESSAGE) != 0;
  const LONG style = ::GetWindowLongW(control, GWL_STYLE);
  return msg.wParam == VK_RETURN &&
         (style & (ES_MULTILINE | ES_WANTRETURN | ES_READONLY)) == (ES_MULTILINE | ES_WANTRETURN);
}
// Clicks a button as Enter does in a dialog: a system button's window hears BN_CLICKED (so the
// button may go with its window meanwhile); a drawn one is asked by BM_CLICK.
void Click(HWND button) {
  if (IsClass(button, L"Button"))
    ::SendMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
  else
    ::SendMessageW(button, BM_CLICK, 0, 0);
}
HWND FirstTabStop(HWND window) {
  for (HWND c = ::GetWindow(window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if ((::GetWindowLongW(c, GWL_STYLE) & WS_TABSTOP) && Usable(c)) return c;
  return nullptr;
}

}  // namespace

bool Form::NavigationKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !hWnd()) return false;
  HWND focus = ::GetFocus();
  if (focus && !::IsChild(hWnd(), focus)) focus = nullptr;
  const bool ctrl = Down(VK_CONTROL), shift = Down(VK_SHIFT);
  switch (msg.wParam) {
    case VK_TAB:
      if (!(ctrl && SwitchTab(!shift))) MoveFocus(shift);
      return true;
    case VK_NEXT:
    case VK_PRIOR:
      return ctrl && SwitchTab(msg.wParam == VK_NEXT);
    case VK_RETURN: {
      if (focus && Keeps(focus, msg)) return false;
      HWND button = focus && IsPushButton(focus) ? focus : DefaultButton();
      if (button && Usable(button)) Click(button);
      return true;
    }
    case VK_ESCAPE:
      if (focus && Keeps(focus, msg)) return false;  // a list that is open closes itself
      ::SendMessageW(hWnd(), WM_COMMAND, IDCANCEL, 0);
      return true;
  }
  return false;
}

HWND Form::FirstFocus() const { return FirstTabStop(hWnd()); }

HWND Form::DefaultButton() const {
  for (HWND c = ::GetWindow(hWnd(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if (IsClass(c, L"Button") && (::GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON && Usable(c))
      return c;
  return nullptr;
}

void Form::MoveFocus(bool back) {
  HWND focus = ::GetFocus();
  HWND next = nullptr;
  if (focus && ::IsChild(hWnd(), focus))
    next = ::GetNextDlgTabItem(hWnd(), focus, back);
  else if (HWND first = FirstTabStop(hWnd()))  // the window itself has the focus
    next = back ? ::GetNextDlgTabItem(hWnd(), first, TRUE) : first;
  if (next) FocusControl(next);
}

void Form::FocusControl(HWND control) {
  if (DialogCode(control, nullptr) & DLGC_HASSETSEL) ::SendMessageW(control, EM_SETSEL, 0, -1);
  ::SetFocus(control);
}

void Form::Activated(bool active) {
  HWND focus = ::GetFocus();
  if (!active) {
    if (focus && ::IsChild(hWnd(), focus) && ::IsWindowVisible(hWnd())) last_focus_ = focus;
    return;
  }
  // The focus and the letters of the captions always show, not only once a key was pressed.
  ::SendMessageW(hWnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  const bool keep = last_focus_ && ::IsChild(hWnd(), last_focus_) && Usable(last_focus_);
  HWND to = keep ? last_focus_ : FirstFocus();
  ::SetFocus(to ? to : hWnd());
}

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
  switch (msg) {
    case WM_CLOSE:
      Form_QueryUnload();
      return 0;
    case WM_ACTIVATE:
      if (!HIWORD(wp)) Activated(LOWORD(wp) != WA_INACTIVE);  // minimised: nothing to focus
      return 0;
    case WM_SHOWWINDOW:
      if (!wp) last_focus_ = nullptr;  // each opening starts from the first focus
      break;
    case WM_NEXTDLGCTL:  // a box's own Tab, or a caption's letter, as in a dialog
      if (LOWORD(lp))
        FocusControl(reinterpret_cast<HWND>(wp));
      else
        MoveFocus(wp != 0);
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
