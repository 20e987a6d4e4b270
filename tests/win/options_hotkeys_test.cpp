// The options window's two hotkeys: loading them, the letter lists and their rule.
#include <gtest/gtest.h>

#include "app/frmWarning_win.h"
#include "app/modHotkeys_win.h"
#include "hotkeys/HotkeySubclass_win.h"
#include "options/frmOptions_win.h"
#include "options/options_ids_win.h"
#include "wine_util.h"

using modHotkeys::state;

namespace {

// Whether the system still has Ctrl+Alt+key free (taken means registered by someone).
bool CtrlAltFree(UINT key) {
  win::unique_window probe(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
  if (!::RegisterHotKey(probe.get(), 0x77, MOD_CONTROL | MOD_ALT, key)) return false;
  ::UnregisterHotKey(probe.get(), 0x77);
  return true;
}

LRESULT Selected(HWND list) { return ::SendMessageW(list, CB_GETCURSEL, 0, 0); }

// The user picks an entry: the list changes and tells its window.
void Choose(frmOptions& options, HWND list, int id, int index) {
  ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  ::SendMessageW(options.hWnd(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

}  // namespace

TEST(OptionsHotkeys, LoadingRegistersPAndNAndALetterTakenByTheOtherHotkeyIsRefused) {
  static_cast<Settings&>(state) = Settings{};  // VKey1 80 (P), VKey2 78 (N)
  ASSERT_EQ(HotkeySubclass::HotkeyControls(), nullptr);
  frmOptions& options = frmOptions::Get();  // the registries are created on demand
  EXPECT_FALSE(CtrlAltFree('P'));
  EXPECT_FALSE(CtrlAltFree('N'));
  EXPECT_TRUE(CtrlAltFree('A')) << "the start-up Ctrl+Alt+A is released again";
  // VBHotKey2 was loaded (and entered the registry) first.
  auto* controls = HotkeySubclass::HotkeyControls();
  ASSERT_TRUE(controls && controls->Count() == 2u);
  EXPECT_EQ(controls->At(0).first, options.VBHotKey2->UniqueKey());
  EXPECT_EQ(controls->At(1).first, options.VBHotKey1->UniqueKey());
  EXPECT_EQ(Selected(options.Combo1), 15);  // P
  EXPECT_EQ(Selected(options.Combo2), 13);  // N
  EXPECT_FALSE(frmWarning::IsLoaded()) << "no alert on a normal start";
  char atom[32] = {};
  ::GlobalGetAtomNameA(static_cast<ATOM>(options.VBHotKey1->hAtom()), atom, 32);
  EXPECT_STREQ(atom, "CONTROL+ALT+080");

  Choose(options, options.Combo2, options_ids::kCombo2, 15);  // P, taken by hotkey 1
  EXPECT_EQ(Selected(options.Combo2), 13) << "back to N";
  EXPECT_EQ(options.VBHotKey2->VKey(), 78);
  EXPECT_FALSE(CtrlAltFree('N'));
  ASSERT_TRUE(frmWarning::IsLoaded());
  EXPECT_TRUE(frmWarning::Get().Visible());
  EXPECT_EQ(frmWarning::Get().Message(), L"Hotkey combinations cannot be the same");
  frmWarning::Get().Unload();

  Choose(options, options.Combo1, options_ids::kCombo1, 25);
  EXPECT_EQ(options.VBHotKey1->VKey(), 90);
  EXPECT_FALSE(CtrlAltFree('Z')) << "registered at once";
  EXPECT_TRUE(CtrlAltFree('P'));
  EXPECT_EQ(state.VKey1, 80) << "the setting changes only when saved";
  const ATOM z = static_cast<ATOM>(options.VBHotKey1->hAtom());
  options.Unload();  // and released when empty, the atoms deleted
  EXPECT_EQ(HotkeySubclass::HotkeyControls(), nullptr);
  EXPECT_EQ(HotkeySubclass::SubclassedWindows(), nullptr);
  EXPECT_EQ(::GlobalGetAtomNameA(z, atom, 32), 0u);
  EXPECT_TRUE(CtrlAltFree('Z'));
}
