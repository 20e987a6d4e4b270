#include "app/modBrevio_win.h"

#include <shellapi.h>

namespace modBrevio {

void OpenURL(HWND owner, const std::wstring& address) {
  ::ShellExecuteW(owner, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace modBrevio
