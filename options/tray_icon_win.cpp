#include "options/tray_icon_win.h"

#include <shellapi.h>
#include <windowsx.h>

#include <iterator>

#include "options/options_ids_win.h"

namespace ids = options_ids;

namespace {

NOTIFYICONDATAW IconData(HWND hwnd, HICON icon) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = hwnd;
  nid.uID = ids::kTrayIconId;  // identified by number: the exe may move
  // With version 4 the system shows the tip only when asked to.
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
  nid.uCallbackMessage = ids::kTrayMessage;
  nid.hIcon = icon;
  lstrcpynW(nid.szTip, L"Lumora Brevio", static_cast<int>(std::size(nid.szTip)));
  return nid;
}

}  // namespace

TrayIcon::TrayIcon(HWND owner)
    : owner_(owner),
      icon_(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                            ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                            0))) {
  Add();
}

TrayIcon::~TrayIcon() {
  if (!added_) return;
  NOTIFYICONDATAW nid = IconData(owner_, icon_.get());
  ::Shell_NotifyIconW(NIM_DELETE, &nid);
}

void TrayIcon::Add() {
  NOTIFYICONDATAW nid = IconData(owner_, icon_.get());
  added_ = ::Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
  // Version 4: the notification names its mouse or keyboard event itself (whatever the
  // screen's dots per inch) and the anchor point, and keyboard users get select and
  // context-menu notices.
  nid.uVersion = NOTIFYICON_VERSION_4;
  ::Shell_NotifyIconW(NIM_SETVERSION, &nid);
}

bool TrayIcon::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == ids::TaskbarCreated()) {  // Explorer restarted: the icon is gone
    Add();
    return true;
  }
  if (msg != ids::kTrayMessage) return false;
  OnNotify(wp, lp);
  return true;
}

void TrayIcon::OnNotify(WPARAM anchor, LPARAM notification) {
  // Select and context-menu notices that follow a button release are the mouse's own echo of
  // it (a single click, a right release); only the keyboard's act on them.
  const bool from_keyboard = ::GetTickCount() - button_up_time_ >= ::GetDoubleClickTime();
  switch (LOWORD(notification)) {
    case WM_RBUTTONDOWN:
      ShowMenu(nullptr);
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      button_up_time_ = ::GetTickCount();  // notices may be sent: no message time
      break;
    case WM_CONTEXTMENU:  // Shift+F10 or the menu key: the menu, at the icon
      if (from_keyboard) {
        const POINT at{GET_X_LPARAM(anchor), GET_Y_LPARAM(anchor)};
        ShowMenu(&at);
      }
      break;
    case NIN_SELECT:     // Enter on the icon
    case NIN_KEYSELECT:  // Space (or Enter) on the icon
      if (!from_keyboard) break;
      [[fallthrough]];
    case WM_LBUTTONDBLCLK:
      ::SendMessageW(owner_, WM_COMMAND, MAKEWPARAM(ids::kTrayOpen, 0), 0);
      break;
  }
}

void TrayIcon::ShowMenu(const POINT* at) {
  ::SetForegroundWindow(owner_);  // or the menu would not close when clicking elsewhere
  win::unique_menu menu(::CreatePopupMenu());
  ::AppendMenuW(menu.get(), MF_STRING, ids::kPopSMS, L"&Send SMS");
  ::AppendMenuW(menu.get(), MF_STRING, ids::kPopSent, L"Outbo&x");
  ::AppendMenuW(menu.get(), MF_STRING, ids::kPopOptions, L"&Options");
  ::AppendMenuW(menu.get(), MF_STRING, ids::kPopBuy, L"&Buy Messages");
  ::AppendMenuW(menu.get(), MF_STRING, ids::kPopExit, L"&Exit");
  POINT where;
  if (at) where = *at; else ::GetCursorPos(&where);
  // Drops to the side the system's menu alignment says (right-to-left setups, handedness).
  // The chosen item is posted to the owner as WM_COMMAND.
  const UINT align = ::GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
  ::TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON | align, where.x, where.y, 0, owner_, nullptr);
  ::PostMessageW(owner_, WM_NULL, 0, 0);
}
