#pragma once
// Control, menu and command identifiers of the options window, and its private messages.
#include <windows.h>

namespace options_ids {

enum : int {
  kUsr = 1001,
  kPwd,
  kCountryCode,
  kFooter,
  kHideStartUp,
  kSecure,
  kProxy,
  kProxyUsr,
  kProxyPwd,
  kText5,
  kSave,
  kCancel,
  kCombo1,
  kCombo2,
  // The tab control and what it holds beyond the settings' own boxes.
  kTab,
  kRegister,
  kSendSMS,
  kOutbox,
  kHelpButton,
  kBuy,
  kCheckCredits,
  kCombo3,
  kRegisterHelp,
  kActivate,
  kHelpLink,
  kVersion,
  kChange,
  kSecureLabel,
  kHotkeyStatus1,
  kHotkeyStatus2,
  kPopSMS = 2001,
  kPopSent,
  kPopOptions,
  kPopBuy,
  kPopExit,
  kTrayOpen,  // the tray icon double-clicked, or Enter or Space on it
};

inline constexpr UINT kTrayMessage = WM_APP + 1;  // notifications of the tray icon
inline constexpr UINT kTrayIconId = 1;
inline constexpr UINT kTabMouseMove = WM_APP + 2;  // the mouse moved over the tab control
inline constexpr UINT kFinishLoad = WM_APP + 3;    // the start-up work that follows the first paint

// Broadcast when Explorer (re)starts and the tray must be filled again.
inline UINT TaskbarCreated() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

}  // namespace options_ids
