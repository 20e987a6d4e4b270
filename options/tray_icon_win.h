#pragma once
// The icon in the notification area and its menu. The icon is there while the object lives:
// added when it is made, added again when Explorer restarts, removed when it is destroyed. What
// the user chooses reaches the owner window as WM_COMMAND: the menu item's identifier, or
// options_ids::kTrayOpen for a double-click (or Enter or Space on the icon).
#include <windows.h>

#include "app/handles_win.h"

class TrayIcon {
 public:
  explicit TrayIcon(HWND owner);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // The owner's messages that concern the icon: its notifications, and TaskbarCreated. True
  // when handled. A chosen command may unload the owner, and this object with it.
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void Add();
  void OnNotify(WPARAM anchor, LPARAM notification);
  void ShowMenu(const POINT* at);  // at the mouse when null

  HWND owner_;
  win::unique_icon icon_;
  bool added_ = false;             // the system took the icon (no tray: it did not)
  DWORD button_up_time_ = 0;       // tick count of the icon's last button release
};
