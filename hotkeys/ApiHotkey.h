#pragma once
// One system-wide hotkey: a virtual key plus modifier keys, bound to one window, registered
// under a global atom whose name spells the combination. The combination logic (atom names,
// registry keys, matching, reading a name back) is portable; Register, Unregister and
// ReadFromAtom talk to the system and live in ApiHotkey_win.cpp.
#include <cstdint>
#include <string>
#include <string_view>

namespace hotkey_mod {
// The system's MOD_ALT, MOD_CONTROL, MOD_SHIFT and MOD_WIN values.
inline constexpr std::int32_t kAlt = 1;
inline constexpr std::int32_t kControl = 2;
inline constexpr std::int32_t kShift = 4;
inline constexpr std::int32_t kWin = 8;
}  // namespace hotkey_mod

// "hwnd:" and the window handle in decimal: the key of a window in the hotkey registries.
std::wstring HotkeyRegistryKey(std::intptr_t hwnd);

class ApiHotkey {
 public:
  bool AltKey() const { return Has(hotkey_mod::kAlt); }
  void AltKey(bool on) { Set(hotkey_mod::kAlt, on); }
  bool ControlKey() const { return Has(hotkey_mod::kControl); }
  void ControlKey(bool on) { Set(hotkey_mod::kControl, on); }
  bool ShiftKey() const { return Has(hotkey_mod::kShift); }
  void ShiftKey(bool on) { Set(hotkey_mod::kShift, on); }
  bool WinKey() const { return Has(hotkey_mod::kWin); }
  void WinKey(bool on) { Set(hotkey_mod::kWin, on); }

  // The whole modifier set; bits other than the four flags are kept and passed on to the system.
  std::int32_t Modifier() const { return modifier_; }
  void Modifier(std::int32_t value) { modifier_ = value; }
  std::int32_t VKey() const { return vkey_; }
  void VKey(std::int32_t value) { vkey_ = value; }
  // The window that receives the hotkey message. Window handles are pointer-sized on 64-bit
  // Windows, so the field is too (the system keeps their values within 32 bits).
  std::intptr_t hwnd() const { return hwnd_; }
  void hwnd(std::intptr_t value) { hwnd_ = value; }

  // The atom held (sign-extended 16-bit value) and the result of the last registration call.
  std::int32_t hAtom() const { return atom_; }
  std::int32_t hKey() const { return key_; }

  std::wstring UniqueKey() const { return HotkeyRegistryKey(hwnd_); }

  // "WIN+", "SHIFT+", "CONTROL+", "ALT+" (each only when set, in that order) followed by the
  // key number with at least three digits: Ctrl+Alt+P is CONTROL+ALT+080.
  std::string UniqueAtomName() const;

  // True when the four modifier flags and the key are equal; the window, the atom and any
  // other modifier bits are not compared.
  bool MatchedKey(const ApiHotkey& test) const;

  // Reads a combination from an atom name: sets (never clears) the flags whose text appears
  // anywhere in it, and takes the key from the name's last three characters when they are
  // digits. The inverse of UniqueAtomName for keys below 1000.
  void ApplyAtomName(std::string_view name);

  // Registers the combination for hwnd() under the atom of UniqueAtomName(). Never fails
  // towards the caller: a refusal reaches the control registered under UniqueKey() as its
  // error event (once it is in the registry).
  void Register();
  // Releases the registration and the atom; does nothing when no atom is held.
  void Unregister();
  // Reads the combination back from the name of a global atom.
  void ReadFromAtom(std::int32_t atom);

 private:
  bool Has(std::int32_t bit) const { return (modifier_ & bit) != 0; }
  void Set(std::int32_t bit, bool on) { modifier_ = on ? (modifier_ | bit) : (modifier_ & ~bit); }

  std::int32_t modifier_ = 0;
  std::int32_t vkey_ = 0;
  std::intptr_t hwnd_ = 0;
  std::int32_t atom_ = 0;
  std::int32_t key_ = 0;
};
