// The tab control SSTab1 and its pages, the help link, the hotkey notes, and the window's own
// mouse: everything of the options window that is neither a setting nor a send.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "app/controls_win.h"
#include "app/modHotkeys_win.h"
#include "options/frmOptions_win.h"
#include "options/options_ids_win.h"
#include "phone/frmPhone_win.h"

namespace ids = options_ids;
using modHotkeys::state;

namespace {

constexpr COLORREF kLinkColour = RGB(0, 70, 160);
constexpr COLORREF kWarningColour = RGB(170, 0, 0);
constexpr COLORREF kHeadingColour = RGB(29, 79, 115);

// Dragged as if by the title bar.
void DragWindow(HWND window) {
  ::ReleaseCapture();
  ::SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

// The tab control shows the window's picture through its pages. Only its tabs take the mouse:
// its pages let it through to the window (which drags by them), so the window hears of moves
// over the tabs from here.
LRESULT CALLBACK TabProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR brush) {
  switch (msg) {
    case WM_ERASEBKGND: {
      if (!brush) break;
      RECT rc;
      ::GetClientRect(hwnd, &rc);
      POINT at{0, 0};
      ::MapWindowPoints(hwnd, ::GetParent(hwnd), &at, 1);
      auto dc = reinterpret_cast<HDC>(wp);
      ::SetBrushOrgEx(dc, -at.x, -at.y, nullptr);
      ::FillRect(dc, &rc, reinterpret_cast<HBRUSH>(brush));
      return 1;
    }
    case WM_PAINT: {
      // The control fills its pages with a plain colour while it paints: the picture goes
      // back over them, inside the border, once it is done.
      const LRESULT painted = ::DefSubclassProc(hwnd, msg, wp, lp);
      if (!brush) return painted;
      RECT page, tab;
      ::GetClientRect(hwnd, &page);
      ::SendMessageW(hwnd, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
      page.top = tab.bottom;
      ::InflateRect(&page, -2, -2);  // inside the border
      win::window_dc dc(hwnd);
      POINT at{0, 0};
      ::MapWindowPoints(hwnd, ::GetParent(hwnd), &at, 1);
      ::SetBrushOrgEx(dc.get(), -at.x, -at.y, nullptr);
      ::FillRect(dc.get(), &page, reinterpret_cast<HBRUSH>(brush));
      return painted;
    }
    case WM_MOUSEMOVE:
      ::SendMessageW(::GetParent(hwnd), ids::kTabMouseMove, 0, 0);
      break;
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(hwnd, &TabProc, 1);
      break;
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void frmOptions::AttachTabBackground() {
  ::SetWindowSubclass(SSTab1, &TabProc, 1, reinterpret_cast<DWORD_PTR>(background_.get()));
  // Beneath the pages' controls, which it must not paint over.
  ::SetWindowPos(SSTab1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void frmOptions::AddToPage(int page, HWND control) {
  if (page >= 0 && page < static_cast<int>(std::size(pages_))) pages_[page].push_back(control);
}

void frmOptions::InsertInTabOrder(int page) {
  // After the last control of the nearest earlier page made, or before everything.
  HWND after = HWND_TOP;
  for (int earlier = page - 1; earlier >= 0 && after == HWND_TOP; --earlier)
    if (!pages_[earlier].empty()) after = pages_[earlier].back();
  for (HWND control : pages_[page]) {
    ::SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = control;
  }
}

int frmOptions::SelectedTab() const {
  return static_cast<int>(::SendMessageW(SSTab1, TCM_GETCURSEL, 0, 0));
}

void frmOptions::SelectTab(int index) {
  ::SendMessageW(SSTab1, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  HWND focus = ::GetFocus();
  for (int page = 0; page < static_cast<int>(std::size(pages_)); ++page)
    for (HWND control : pages_[page]) ::ShowWindow(control, page == index ? SW_SHOWNA : SW_HIDE);
  if (focus && !::IsWindowVisible(focus) && ::IsChild(hWnd(), focus)) ::SetFocus(SSTab1);
}

void frmOptions::TabChoose() {
  if (state.Usr.empty()) SelectTab(kTabHelp);
}

void frmOptions::txtUsr_Change() {
  ::EnableWindow(cmdRegister, ::GetWindowTextLengthW(txtUsr) == 0);
}

void frmOptions::Command1_Click() {
  Hide();
  frmPhone::Get().Show();
}

void frmOptions::ShowHotkeyStatus() {
  const std::pair<const VBHotKey*, HWND> notes[] = {{VBHotKey1.get(), HotkeyStatus1},
                                                    {VBHotKey2.get(), HotkeyStatus2}};
  for (const auto& [hotkey, note] : notes) {
    std::wstring text;
    if (hotkey && hotkey->Enabled() && hotkey->hKey() == 0)  // the system refused it
      text = std::wstring(L"Ctrl+Alt+") + static_cast<wchar_t>(hotkey->VKey()) +
             L" is in use by another program: choose another letter";
    ui::SetText(note, text);
  }
}

void frmOptions::UnderlineLink(bool underline) {
  if (underline == link_underlined_) return;
  link_underlined_ = underline;
  HFONT font = underline ? link_font_.get() : link_hover_font_.get();
  ::SendMessageW(Label12, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

bool frmOptions::HandleOptionsMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_COMMAND: {
      const int code = HIWORD(wp);
      switch (LOWORD(wp)) {
        case ids::kUsr:
          if (code == EN_CHANGE) txtUsr_Change();
          return true;
        case ids::kText5:  // the help link follows the host
          if (code == EN_CHANGE) ui::SetText(Label12, account_links::HelpAddress(ui::GetText(Text5)));
          return true;
        case ids::kHelpLink:
          if (code == STN_CLICKED) Label12_Click();
          return true;
        case ids::kSecureLabel:  // the padlock's caption works the padlock
          if (code == STN_CLICKED) {
            ::SetFocus(chkSecure);
            ::SendMessageW(chkSecure, BM_CLICK, 0, 0);
          }
          return true;
      }
      if (code != BN_CLICKED) return false;  // menu items arrive as 0, as clicks do
      switch (LOWORD(wp)) {
        case ids::kSendSMS: Command1_Click(); return true;
        case ids::kOutbox: Command4_Click(); return true;
        case ids::kHelpButton: return true;  // "?" only shows its tip
        case ids::kRegister: cmdRegister_Click(); return true;
        case ids::kRegisterHelp: Command3_Click(); return true;
        case ids::kActivate: cmdActivate_Click(); return true;
        case ids::kBuy: cmdBuy_Click(); return true;
        case ids::kCheckCredits: cmdCheckCredits_Click(); return true;
        case ids::kChange: Command5_Click(); return true;
        case ids::kPopBuy: popBuy_Click(); return true;
      }
      return false;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->hwndFrom != SSTab1 || header->code != TCN_SELCHANGE) return false;
      SelectTab(SelectedTab());
      return true;
    }
    // The mouse over the link takes its underline away; over the tab control, gives it back.
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) != Label12) return false;
      UnderlineLink(false);
      ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
      result = TRUE;
      return true;
    case ids::kTabMouseMove:
      UnderlineLink(true);
      return true;
    case WM_LBUTTONDOWN:
      DragWindow(hWnd());
      return true;
    case WM_MOUSEMOVE: {  // over the window's surface, or over the tab control's pages
      RECT tab;
      ::GetWindowRect(SSTab1, &tab);
      POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ::ClientToScreen(hWnd(), &at);
      if (::PtInRect(&tab, at)) UnderlineLink(true);
      return false;
    }
    case WM_CTLCOLORSTATIC: {  // colours only; the background is the window's
      const auto control = reinterpret_cast<HWND>(lp);
      const auto dc = reinterpret_cast<HDC>(wp);
      if (control == Label12) ::SetTextColor(dc, kLinkColour);
      if (control == HotkeyStatus1 || control == HotkeyStatus2) ::SetTextColor(dc, kWarningColour);
      if (reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)) == heading_font_.get())
        ::SetTextColor(dc, kHeadingColour);
      return false;
    }
  }
  return false;
}
