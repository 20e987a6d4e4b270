#include "options/frmOptions_win.h"

#include <commctrl.h>

#include "app/controls_win.h"
#include "app/frmWarning_win.h"
#include "app/modHotkeys_win.h"
#include "options/options_ids_win.h"

using modHotkeys::state;

void frmOptions::Form_Load() {
  CreateFormWindow({L"BrevioOptions", L"Lumora - Brevio",
                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_CONTROLPARENT,
                    520, 410});
  // First in the queue, so it runs before any hotkey or click, but after the first paint.
  ::PostMessageW(hWnd(), options_ids::kFinishLoad, 0, 0);
  state.History.clear();
  CreateControls(!paint_first);
  GetProperties();
  TabChoose();
  ConnectAlertSteps();
  if (!paint_first) FinishLoad();
  ui::CentreOnScreen(hWnd());
  loading_ = false;
}

void frmOptions::FinishLoad() {
  if (load_finished_) return;
  load_finished_ = true;
  for (int page = kTabOptions; page <= kTabConnection; ++page) {
    if (PageMade(page)) continue;
    CreatePage(page);
    ShowProperties(page);
  }
  SelectTab(SelectedTab());  // the pages just made stay hidden
  ui::AddTooltip(hWnd(), Command2, L"Help");  // a window of its own, wanted only on a hover
  AddTrayIcon();  // the system's tray answers slowly: after the window is up
}

void frmOptions::LoadPictures() {
  if (pictures_loaded_) return;
  pictures_loaded_ = true;
  // The background picture, drawn under the window and (aligned) under its labels.
  background_picture_ = graphics::ScreenPicture::Load(modHotkeys::AppPath() + L"\\images\\options.gif");
  if (HBITMAP picture = background_picture_.Handle())
    background_.reset(::CreatePatternBrush(picture));
  AttachPadlock();
  AttachTabBackground();
}

void frmOptions::AttachPadlock() {
  if (!pictures_loaded_ || !chkSecure || padlock_attached_) return;
  padlock_attached_ = true;
  padlock_.Attach(chkSecure, modHotkeys::AppPath() + L"\\images", background_.get());
}

void frmOptions::Form_Unload() {
  frmWarning::OnOkAfterSend = nullptr;
  frmWarning::OnOkShowSettings = nullptr;
  UnloadHotkeys();
  RemoveTrayIcon();
  forms::UnloadAll();  // every other window; with none left the program ends
}

void frmOptions::GetProperties() {
  for (int page = kTabOptions; page <= kTabConnection; ++page)
    if (PageMade(page)) ShowProperties(page);
  ui::SetChecked(txtHideStartUp, state.HideStartUp != 0);
}

void frmOptions::ShowProperties(int page) {
  if (page == kTabOptions) {
    // A changed key registers its hotkey at once; selecting an entry runs the lists' rule.
    if (VBHotKey1->VKey() != state.VKey1) {
      VBHotKey1->VKey(state.VKey1);
      SelectKeyEntry(Combo1, state.VKey1);
    }
    if (VBHotKey2->VKey() != state.VKey2) {
      VBHotKey2->VKey(state.VKey2);
      SelectKeyEntry(Combo2, state.VKey2);
    }
    SelectKeyEntry(Combo1, VBHotKey1->VKey());
    SelectKeyEntry(Combo2, VBHotKey2->VKey());
    ShowHotkeyStatus();
    ui::SetText(txtUsr, state.Usr);
    ui::SetText(txtPwd, state.Pwd);
    ui::SetText(txtCountryCode, state.CountryCode);
    ui::SetText(txtFooter, state.Footer);
  } else if (page == kTabConnection) {
    ui::SetChecked(chkSecure, static_cast<TransferProtocol>(state.Protocol) != TransferProtocol::HTTP);
    ui::SetChecked(chkProxy, state.ProxyAuth != 0);
    ui::SetText(txtProxyUsr, state.ProxyUsr);
    ui::SetText(txtProxyPwd, state.ProxyPwd);
  }
}

void frmOptions::SetProperties() {
  FinishLoad();  // every page's boxes
  state.Usr = ui::GetText(txtUsr);
  state.Pwd = ui::GetText(txtPwd);
  state.CountryCode = ui::GetText(txtCountryCode);
  state.VKey1 = static_cast<std::int16_t>(VBHotKey1->VKey());
  state.VKey2 = static_cast<std::int16_t>(VBHotKey2->VKey());
  state.Footer = ui::GetText(txtFooter);
  state.HideStartUp = ui::IsChecked(txtHideStartUp) ? 1 : 0;
  const bool secure = ui::IsChecked(chkSecure);
  state.Protocol = static_cast<std::int16_t>(secure ? TransferProtocol::HTTPS : TransferProtocol::HTTP);
  state.Port = secure ? L"443" : L"80";
  state.ProxyAuth = ui::IsChecked(chkProxy) ? 1 : 0;
  state.ProxyUsr = ui::GetText(txtProxyUsr);
  state.ProxyPwd = ui::GetText(txtProxyPwd);
  if (state.ProxyUsr.empty()) state.ProxyAuth = 0;
  modHotkeys::SaveSettings();
}

void frmOptions::cmdSave_Click() {
  Hide();
  SetProperties();
}

void frmOptions::cmdCancel_Click() {
  Hide();
  GetProperties();
}

bool frmOptions::PreviewKey(const MSG& msg) {
  if (msg.message != WM_KEYUP) return false;
  if (msg.wParam == VK_F12) {
    ::ShowWindow(Text5, ::IsWindowVisible(Text5) ? SW_HIDE : SW_SHOW);
    return true;
  }
  if (msg.wParam == VK_ESCAPE) {
    Hide();
    return true;
  }
  return false;
}

LRESULT frmOptions::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  // Whatever acts on the window once it is up finds every page, even ahead of kFinishLoad.
  // Drawing notices (the buttons' custom draw during the first paint) are no user's act.
  const bool drawing = msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lp)->code == NM_CUSTOMDRAW;
  if (!loading_ && !drawing &&
      (msg == WM_COMMAND || msg == WM_NOTIFY || msg == WM_SYSCOMMAND || msg == options_ids::kTrayMessage))
    FinishLoad();
  if (LRESULT result; HandleOptionsMessage(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case options_ids::kSave: cmdSave_Click(); return 0;
        case options_ids::kCancel: cmdCancel_Click(); return 0;
        case options_ids::kCombo1:
          if (HIWORD(wp) == CBN_SELCHANGE) {
            Combo1_Click();
            ShowHotkeyStatus();
          }
          return 0;
        case options_ids::kCombo2:
          if (HIWORD(wp) == CBN_SELCHANGE) {
            Combo2_Click();
            ShowHotkeyStatus();
          }
          return 0;
        case IDCANCEL: Hide(); return 0;
        case options_ids::kPopSMS: popSMS_Click(); return 0;
        case options_ids::kPopOptions: popOptions_Click(); return 0;
        case options_ids::kPopSent: popSent_Click(); return 0;
        case options_ids::kPopExit: popExit_Click(); return 0;
      }
      break;
    case WM_SHOWWINDOW:
      if (wp) LoadPictures();  // before the first painting
      break;
    case options_ids::kFinishLoad:
      FinishLoad();
      return 0;
    case options_ids::kTrayMessage:
      OnTrayNotify(wp, lp);
      return 0;
    case WM_ERASEBKGND:
      if (background_) {
        RECT rc;
        ::GetClientRect(hWnd(), &rc);
        ::FillRect(reinterpret_cast<HDC>(wp), &rc, background_.get());
        return 1;
      }
      break;
    case WM_CTLCOLORSTATIC: {
      auto dc = reinterpret_cast<HDC>(wp);
      if (background_) {  // the picture shows through, lined up with the window's own
        RECT rc;
        ::GetWindowRect(reinterpret_cast<HWND>(lp), &rc);
        ::MapWindowPoints(nullptr, hWnd(), reinterpret_cast<POINT*>(&rc), 1);
        ::SetBrushOrgEx(dc, -rc.left, -rc.top, nullptr);
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(background_.get());
      }
      ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    }
    default:
      if (msg == options_ids::TaskbarCreated()) {  // Explorer restarted: the icon is gone
        tray_added_ = false;
        if (load_finished_) AddTrayIcon();  // else FinishLoad adds it
        return 0;
      }
  }
  return Default(msg, wp, lp);
}
