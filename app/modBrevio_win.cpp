#include "app/modBrevio_win.h"

#include <windows.h>
#include <shellapi.h>

#include "options/frmOptions_win.h"

namespace modBrevio {

void OpenURL(const std::wstring& address) {
  HWND owner = frmOptions::IsLoaded() ? frmOptions::Get().hWnd() : nullptr;
  ::ShellExecuteW(owner, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace modBrevio
