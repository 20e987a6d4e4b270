// The system side of ApiHotkey: the global atom and the hotkey registration.
#include <windows.h>
#include <versionhelpers.h>

#include "app/text.h"
#include "hotkeys/ApiHotkey.h"
#include "hotkeys/HotkeySubclass_win.h"

namespace {

// Atoms are 16-bit; the field keeps them sign-extended, as the registration identifier.
std::int32_t SignExtended(ATOM atom) { return static_cast<std::int16_t>(atom); }
ATOM AsAtom(std::int32_t value) { return static_cast<ATOM>(value & 0xFFFF); }

}  // namespace

void ApiHotkey::Register() {
  if (atom_ != 0) ::GlobalDeleteAtom(AsAtom(atom_));
  // A failed atom (0) is not an error of its own: the registration below decides.
  atom_ = SignExtended(::GlobalAddAtomW(Widen(UniqueAtomName()).c_str()));
  HWND window = reinterpret_cast<HWND>(hwnd_);
  // Cleared first, so that only this call's own failure counts. The identifier is the atom
  // itself, 0xC000 to 0xFFFF: the range the system sets aside for such shared identifiers.
  ::SetLastError(ERROR_SUCCESS);
  // Windows 7 and later can be asked not to repeat the hotkey while its keys are held.
  static const UINT no_repeat = ::IsWindows7OrGreater() ? MOD_NOREPEAT : 0;
  key_ = ::RegisterHotKey(window, AsAtom(atom_), static_cast<UINT>(modifier_) | no_repeat,
                          static_cast<UINT>(vkey_));
  const DWORD error = ::GetLastError();
  if (error == ERROR_SUCCESS) return;
  const std::wstring text = HotkeySubclass::SystemErrorText();
  // Reported to the control of this window, if it is registered already; it is not during
  // the control's own first registration, so a refusal at start-up stays silent.
  auto* controls = HotkeySubclass::HotkeyControls();
  if (!controls) return;
  auto* control = controls->Find(UniqueKey());
  if (!control || !*control) return;
  // The control's handler may change the registry: hold the control while it runs.
  std::shared_ptr<HotkeyControl> owner = *control;
  owner->RaiseError(text, L"ApiHotkey:Register");
}

void ApiHotkey::Unregister() {
  if (atom_ == 0) return;
  ::UnregisterHotKey(reinterpret_cast<HWND>(hwnd_), AsAtom(atom_));
  ::GlobalDeleteAtom(AsAtom(atom_));
  atom_ = 0;
}
