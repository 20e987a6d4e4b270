// The tab control SSTab1 and its pages, and the handlers of the pages' own controls.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "app/controls_win.h"
#include "options/frmOptions_win.h"
#include "options/options_ids_win.h"
#include "phone/frmPhone_win.h"

using modHotkeys::state;

namespace {

// The tab control shows the window's picture through its pages. Only its tabs take the mouse:
// its pages let it through to the window (which drags by them), so the window hears of moves
// over the tabs from here.
LRESULT CALLBACK TabProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* background = reinterpret_cast<BackgroundPicture*>(data);
  switch (msg) {
    case WM_ERASEBKGND: {
      if (!background->Brush()) break;
      RECT rc;
      ::GetClientRect(hwnd, &rc);
      background->Fill(hwnd, reinterpret_cast<HDC>(wp), rc);
      return 1;
    }
    case WM_PAINT: {
      // The control fills its pages with a plain colour while it paints: the picture goes
      // back over them, inside the border, once it is done.
      const LRESULT painted = ::DefSubclassProc(hwnd, msg, wp, lp);
      if (!background->Brush()) return painted;
      RECT page, tab;
      ::GetClientRect(hwnd, &page);
      ::SendMessageW(hwnd, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
      page.top = tab.bottom;
      ::InflateRect(&page, -2, -2);  // inside the border
      background->Fill(hwnd, win::window_dc(hwnd).get(), page);
      return painted;
    }
    case WM_MOUSEMOVE:
      ::SendMessageW(::GetParent(hwnd), options_ids::kTabMouseMove, 0, 0);
      break;
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(hwnd, &TabProc, 1);
      break;
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void options_pages::DrawThrough(HWND tab_control, BackgroundPicture& background) {
  ::SetWindowSubclass(tab_control, &TabProc, 1, reinterpret_cast<DWORD_PTR>(&background));
  // Beneath the pages' controls, which it must not paint over.
  ::SetWindowPos(tab_control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int frmOptions::SelectedTab() const {
  return static_cast<int>(::SendMessageW(frame.SSTab1, TCM_GETCURSEL, 0, 0));
}

void frmOptions::SelectTab(int index) {
  ::SendMessageW(frame.SSTab1, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  HWND focus = ::GetFocus();
  for (int tab = kTabOptions; tab <= kTabConnection; ++tab)
    for (HWND control : PageOf(tab).controls) ::ShowWindow(control, tab == index ? SW_SHOWNA : SW_HIDE);
  if (focus && !::IsWindowVisible(focus) && ::IsChild(hWnd(), focus)) {  // it was on the page left
    const auto& page = PageOf(index).controls;
    auto first = std::find_if(page.begin(), page.end(), [](HWND c) {
      return (::GetWindowLongW(c, GWL_STYLE) & WS_TABSTOP) && ::IsWindowEnabled(c);
    });
    FocusControl(first != page.end() ? *first : frame.SSTab1);
  }
}

bool frmOptions::SwitchTab(bool forward) {
  FinishLoad();  // every page
  const int count = kTabConnection + 1;
  SelectTab((SelectedTab() + (forward ? 1 : count - 1)) % count);
  return true;
}

HWND frmOptions::FirstFocus() const {
  if (SelectedTab() == kTabOptions)
    for (HWND box : {account.txtUsr, account.txtPwd})
      if (::GetWindowTextLengthW(box) == 0) return box;
  return Form::FirstFocus();
}

void frmOptions::TabChoose() {
  if (state.Usr.empty()) SelectTab(kTabHelp);
}

void frmOptions::SSTab1_Click() { SelectTab(SelectedTab()); }

void frmOptions::txtUsr_Change() { account.txtUsr_Change(); }

void frmOptions::Text5_Change() {
  ui::SetText(help.Label12, account_links::HelpAddress(ui::GetText(frame.Text5)));
}

void frmOptions::Label6_Click() {
  ::SetFocus(connection.chkSecure);
  ::SendMessageW(connection.chkSecure, BM_CLICK, 0, 0);
}

void frmOptions::Command1_Click() {
  Hide();
  frmPhone::Get().Show();
}
