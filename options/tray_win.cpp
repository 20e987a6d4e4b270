// The notification-area icon of the options window and its menu.
#include <windows.h>
#include <shellapi.h>

#include "app/controls_win.h"
#include "app/login_token.h"
#include "app/modBrevio_win.h"
#include "app/modHotkeys_win.h"
#include "options/frmOptions_win.h"
#include "options/options_ids_win.h"
#include "phone/frmPhone_win.h"

namespace ids = options_ids;

namespace {

NOTIFYICONDATAW IconData(HWND hwnd, HICON icon) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = hwnd;
  nid.uID = ids::kTrayIconId;  // identified by number: the exe may move
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = ids::kTrayMessage;
  nid.hIcon = icon;
  lstrcpynW(nid.szTip, L"Lumora Brevio", static_cast<int>(std::size(nid.szTip)));
  return nid;
}

}  // namespace

void frmOptions::AddTrayIcon() {
  if (!tray_icon_)
    tray_icon_.reset(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                     MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                     ::GetSystemMetrics(SM_CXSMICON),
                                                     ::GetSystemMetrics(SM_CYSMICON), 0)));
  NOTIFYICONDATAW nid = IconData(hWnd(), tray_icon_.get());
  tray_added_ = ::Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
}

void frmOptions::RemoveTrayIcon() {
  if (!tray_added_) return;
  NOTIFYICONDATAW nid = IconData(hWnd(), tray_icon_.get());
  ::Shell_NotifyIconW(NIM_DELETE, &nid);
  tray_added_ = false;
}

void frmOptions::OnTrayNotify(LPARAM mouse_message) {
  switch (LOWORD(mouse_message)) {
    case WM_RBUTTONDOWN:
      ::SetForegroundWindow(hWnd());  // or the menu would not close when clicking elsewhere
      ShowTrayMenu();
      break;
    case WM_LBUTTONDBLCLK:
      ::SetForegroundWindow(hWnd());
      Show();
      break;
  }
}

void frmOptions::ShowTrayMenu() {
  win::unique_menu menu(::CreatePopupMenu());
  ::AppendMenuW(menu.get(), MF_STRING, ids::kPopSMS, L"&Send SMS");
  ::AppendMenuW(menu.get(), MF_STRING, ids::kPopSent, L"Outbo&x");
  ::AppendMenuW(menu.get(), MF_STRING, ids::kPopOptions, L"&Options");
  ::AppendMenuW(menu.get(), MF_STRING, ids::kPopExit, L"&Exit");
  POINT at;
  ::GetCursorPos(&at);
  ::TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, at.x, at.y, 0, hWnd(), nullptr);
  ::PostMessageW(hWnd(), WM_NULL, 0, 0);
}

void frmOptions::popSMS_Click() { frmPhone::Get().Show(); }

void frmOptions::popOptions_Click() { Show(); }

void frmOptions::popSent_Click() {
  modBrevio::OpenURL(hWnd(), L"http://" + ui::GetText(Text5) +
                     L"/login?startpage=message_archive.jsp&login=" +
                     account_pages::LoginToken(modHotkeys::state.Usr, modHotkeys::state.Pwd));
}

void frmOptions::popExit_Click() {
  // A failed save keeps the program running, so the alert stays readable and nothing is lost.
  if (modHotkeys::SaveSettings()) Unload();
}
