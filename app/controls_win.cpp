#include "app/controls_win.h"

#include <commctrl.h>

#include <cmath>
#include <vector>

#include "app/dpi_win.h"

namespace ui {

win::unique_font MakeFont(const wchar_t* face, double points, bool bold, bool underline) {
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(points * Dpi() / 72.0));
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfUnderline = underline;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return win::unique_font(::CreateFontIndirectW(&lf));
}

HWND AddControl(HWND parent, const wchar_t* window_class, const wchar_t* text, DWORD style,
                int x, int y, int width, int height, int id, HFONT font, DWORD ex_style) {
  HWND hwnd = ::CreateWindowExW(ex_style, window_class, text, WS_CHILD | WS_VISIBLE | style, Scale(x),
                                Scale(y), Scale(width), Scale(height), parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                ::GetModuleHandleW(nullptr), nullptr);
  HFONT use = font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(use), FALSE);
  return hwnd;
}

std::wstring GetText(HWND control) {
  int length = ::GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  int got = ::GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got));
  return text;
}

void SetText(HWND control, const std::wstring& text) { ::SetWindowTextW(control, text.c_str()); }

bool IsChecked(HWND check_box) {
  return ::SendMessageW(check_box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND check_box, bool checked) {
  ::SendMessageW(check_box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DrawFocusRing(HDC dc, RECT rc) {
  const int width = Scale(1);
  const std::pair<COLORREF, int> rings[] = {{RGB(0, 0, 0), width}, {RGB(255, 204, 0), 2 * width}};
  for (const auto& [colour, thickness] : rings) {
    win::unique_brush brush(::CreateSolidBrush(colour));
    for (int i = 0; i < thickness && rc.right - rc.left > 2 && rc.bottom - rc.top > 2; ++i) {
      ::FrameRect(dc, &rc, brush.get());
      ::InflateRect(&rc, -1, -1);
    }
  }
}

namespace {

LRESULT CALLBACK KeyboardLinkProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  switch (msg) {
    case WM_GETDLGCODE:
      return DLGC_UNDEFPUSHBUTTON;  // Enter presses it, as a push button
    case BM_CLICK:
      ::SendMessageW(::GetParent(hwnd), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hwnd), STN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
      return 0;
    case WM_KEYUP:
      if (wp == VK_SPACE) ::SendMessageW(hwnd, BM_CLICK, 0, 0);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      ::InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case WM_PAINT: {
      const LRESULT painted = ::DefSubclassProc(hwnd, msg, wp, lp);
      if (::GetFocus() == hwnd) {
        RECT rc;
        ::GetClientRect(hwnd, &rc);
        DrawFocusRing(win::window_dc(hwnd).get(), rc);
      }
      return painted;
    }
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(hwnd, &KeyboardLinkProc, 1);
      break;
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void MakeKeyboardLink(HWND link) {
  ::SetWindowLongW(link, GWL_STYLE, ::GetWindowLongW(link, GWL_STYLE) | WS_TABSTOP);
  ::SetWindowSubclass(link, &KeyboardLinkProc, 1, 0);
}

void AddTooltip(HWND parent, HWND control, const wchar_t* text) {
  constexpr wchar_t kProp[] = L"BrevioTooltip";
  auto tip = static_cast<HWND>(::GetPropW(parent, kProp));
  if (!tip) {
    // Owned by `parent`, so the system destroys it with the form.
    tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent,
                            nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetPropW(parent, kProp, tip);
  }
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = parent;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = const_cast<wchar_t*>(text);
  ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CentreOnScreen(HWND window, int down) {
  RECT rc;
  if (!::GetWindowRect(window, &rc)) return;
  const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2 - (rc.right - rc.left) / 2;
  const int y = ::GetSystemMetrics(SM_CYSCREEN) / 2 - (rc.bottom - rc.top) / 2 + Scale(down);
  ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring SystemMessage(DWORD code, bool keep_line_end) {
  wchar_t buffer[512] = {};
  DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
  std::wstring text(buffer, n);
  auto trailing = [&](wchar_t c) { return c == L' ' || (!keep_line_end && (c == L'\r' || c == L'\n')); };
  while (!text.empty() && trailing(text.back())) text.pop_back();
  const std::size_t first = text.find_first_not_of(L' ');
  return first == std::wstring::npos ? std::wstring() : text.substr(first);
}

std::wstring SystemErrorText(DWORD code) {
  std::wstring text = SystemMessage(code);
  return text.empty() ? L"Error " + std::to_wstring(code) : text;
}

void ShowError(const std::wstring& text) { ::MessageBoxW(nullptr, text.c_str(), kAppTitle, MB_OK); }

void ShowWarning(const std::wstring& text) {
  ::MessageBoxW(nullptr, text.c_str(), kAppTitle, MB_OK | MB_ICONWARNING);
}

}  // namespace ui
