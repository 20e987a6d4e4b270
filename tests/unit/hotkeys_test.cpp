// The portable side of the hotkeys: atom names and matching.
#include <gtest/gtest.h>

#include "hotkeys/ApiHotkey.h"

namespace {

ApiHotkey Hotkey(std::int32_t modifier, std::int32_t vkey, std::intptr_t hwnd = 0) {
  ApiHotkey h;
  h.Modifier(modifier);
  h.VKey(vkey);
  h.hwnd(hwnd);
  return h;
}

}  // namespace

TEST(AtomName, PrefixesInFixedOrderAtLeastThreeDigitsNoWindowAndMatching) {
  EXPECT_EQ(Hotkey(0, 9).UniqueAtomName(), "009");
  EXPECT_EQ(Hotkey(15, 90).UniqueAtomName(), "WIN+SHIFT+CONTROL+ALT+090");
  EXPECT_EQ(Hotkey(2, 1234).UniqueAtomName(), "CONTROL+1234");
  EXPECT_EQ(Hotkey(0x4000 | 1, 65).UniqueAtomName(), "ALT+065") << "high bits do not show";
  EXPECT_EQ(Hotkey(3, 80, 100).UniqueAtomName(), Hotkey(3, 80, 200).UniqueAtomName());
  EXPECT_EQ(Hotkey(3, 80, 1180).UniqueKey(), L"hwnd:1180");
  // Matching compares the four flags and the key only.
  EXPECT_TRUE(Hotkey(3, 80, 1).MatchedKey(Hotkey(3, 80, 2)));            // another window
  EXPECT_TRUE(Hotkey(3 | 0x10, 80).MatchedKey(Hotkey(3 | 0x4000, 80)));  // high bits
  for (ApiHotkey other : {Hotkey(7, 80), Hotkey(11, 80), Hotkey(2, 80), Hotkey(3, 78)})
    EXPECT_FALSE(Hotkey(3, 80).MatchedKey(other)) << other.UniqueAtomName();
}
