// The portable side of the hotkeys: atom names, registry keys, matching, reading a name back,
// the keyed registries and the control's stored properties.
#include <gtest/gtest.h>

#include <memory>

#include "hotkeys/ApiHotkey.h"
#include "hotkeys/hotkey_properties.h"
#include "hotkeys/keyed_collection.h"
#include "hotkeys/property_bag.h"

namespace {

ApiHotkey Hotkey(std::int32_t modifier, std::int32_t vkey, std::intptr_t hwnd = 0) {
  ApiHotkey h;
  h.Modifier(modifier);
  h.VKey(vkey);
  h.hwnd(hwnd);
  return h;
}

}  // namespace

TEST(AtomName, PrefixesInFixedOrderAndAtLeastThreeDigits) {
  EXPECT_EQ(Hotkey(0, 9).UniqueAtomName(), "009");
  EXPECT_EQ(Hotkey(0, 65).UniqueAtomName(), "065");
  EXPECT_EQ(Hotkey(3, 80).UniqueAtomName(), "CONTROL+ALT+080");
  EXPECT_EQ(Hotkey(8 | 4, 112).UniqueAtomName(), "WIN+SHIFT+112");
  EXPECT_EQ(Hotkey(15, 90).UniqueAtomName(), "WIN+SHIFT+CONTROL+ALT+090");
  // Four digits are written whole, nothing cut.
  EXPECT_EQ(Hotkey(2, 1234).UniqueAtomName(), "CONTROL+1234");
  // Bits beyond the four flags do not show in the name.
  EXPECT_EQ(Hotkey(0x4000 | 1, 65).UniqueAtomName(), "ALT+065");
  // No window in the name: equal combinations share one atom. The registry key is the window.
  EXPECT_EQ(Hotkey(3, 80, 100).UniqueAtomName(), Hotkey(3, 80, 200).UniqueAtomName());
  EXPECT_EQ(Hotkey(3, 80, 1180).UniqueKey(), L"hwnd:1180");
}

TEST(ModifierFlags, EachFlagSetsAndClearsOnlyItsOwnBit) {
  ApiHotkey h;
  h.Modifier(3);
  EXPECT_TRUE(h.AltKey());
  EXPECT_TRUE(h.ControlKey());
  EXPECT_FALSE(h.ShiftKey());
  EXPECT_FALSE(h.WinKey());
  h.Modifier(0x100 | 2);
  h.AltKey(false);  // clear already: unchanged
  EXPECT_EQ(h.Modifier(), 0x102);
  h.WinKey(true);
  h.ShiftKey(true);
  EXPECT_EQ(h.Modifier(), 0x10E);
  h.ControlKey(false);
  EXPECT_EQ(h.Modifier(), 0x10C);
}

TEST(MatchedKey, ComparesFlagsAndKeyOnly) {
  EXPECT_TRUE(Hotkey(3, 80, 1).MatchedKey(Hotkey(3, 80, 2)));        // another window
  EXPECT_TRUE(Hotkey(3 | 0x10, 80).MatchedKey(Hotkey(3 | 0x4000, 80)));  // high bits
  EXPECT_FALSE(Hotkey(3, 80).MatchedKey(Hotkey(7, 80)));  // Shift added
  EXPECT_FALSE(Hotkey(3, 80).MatchedKey(Hotkey(3 | 8, 80)));
  EXPECT_FALSE(Hotkey(3, 80).MatchedKey(Hotkey(3, 78)));
  EXPECT_FALSE(Hotkey(3, 80).MatchedKey(Hotkey(2, 80)));
}

TEST(ReadAtomName, IsTheInverseOfTheNameForThreeDigitKeys) {
  for (std::int32_t mod = 0; mod < 16; ++mod) {
    ApiHotkey read;
    read.ApplyAtomName(Hotkey(mod, 112).UniqueAtomName());
    EXPECT_EQ(read.Modifier(), mod) << Hotkey(mod, 112).UniqueAtomName();
    EXPECT_EQ(read.VKey(), 112);
  }
  ApiHotkey nine;
  nine.ApplyAtomName("009");
  EXPECT_EQ(nine.VKey(), 9);
  EXPECT_EQ(nine.Modifier(), 0);
}

TEST(ReadAtomName, FourDigitKeysReadOnlyTheirLastThreeDigits) {
  ApiHotkey h;
  h.ApplyAtomName(Hotkey(2, 1234).UniqueAtomName());
  EXPECT_EQ(h.VKey(), 234);
  EXPECT_TRUE(h.ControlKey());
}

TEST(ReadAtomName, SetsFlagsButNeverClearsThemAndKeepsWhatItCannotRead) {
  ApiHotkey h = Hotkey(8 | 1, 70, 55);
  h.ApplyAtomName("SHIFT+0x1");  // flags found anywhere; tail not numeric
  EXPECT_EQ(h.Modifier(), 8 | 4 | 1);
  EXPECT_EQ(h.VKey(), 70);
  EXPECT_EQ(h.hwnd(), 55);
  h.ApplyAtomName("shift+alt+081");  // the search is case-sensitive
  EXPECT_EQ(h.Modifier(), 8 | 4 | 1);
  EXPECT_EQ(h.VKey(), 81);
  h.ApplyAtomName("");
  EXPECT_EQ(h.VKey(), 81);
  h.ApplyAtomName("7");
  EXPECT_EQ(h.VKey(), 7);
}

TEST(KeyedCollection, KeepsOrderRefusesDuplicatesAndRemovesByExactKey) {
  KeyedCollection<std::shared_ptr<int>> c;
  EXPECT_TRUE(c.Add(L"hwnd:1234", std::make_shared<int>(1)));
  EXPECT_TRUE(c.Add(L"hwnd:123", std::make_shared<int>(2)));
  EXPECT_FALSE(c.Add(L"hwnd:123", std::make_shared<int>(3)));
  ASSERT_EQ(c.Count(), 2u);
  EXPECT_EQ(*c.At(0).second, 1);
  EXPECT_EQ(**c.Find(L"hwnd:123"), 2);
  EXPECT_EQ(c.Find(L"hwnd:12"), nullptr);
  EXPECT_TRUE(c.Remove(L"hwnd:123"));
  EXPECT_FALSE(c.Remove(L"hwnd:123"));
  ASSERT_EQ(c.Count(), 1u);
  EXPECT_EQ(c.At(0).first, L"hwnd:1234");
}

TEST(PropertyBag, DefaultsAreNotStoredAndOthersRoundTripInWriteOrder) {
  PropertyBag bag;
  bag.WriteProperty("A", true, true);
  bag.WriteProperty("B", std::int32_t{65}, std::int32_t{65});
  EXPECT_EQ(bag.Count(), 0u);
  bag.WriteProperty("Z", false, true);
  bag.WriteProperty("N", std::int32_t{-90}, std::int32_t{65});
  bag.WriteProperty("T", true, false);
  EXPECT_EQ(bag.Text(), "Z = 0\r\nN = -90\r\nT = -1\r\n");
  PropertyBag back = PropertyBag::Parse(bag.Text());
  EXPECT_EQ(back.Entries(), bag.Entries());
  EXPECT_FALSE(back.ReadProperty("Z", true));
  EXPECT_TRUE(back.ReadProperty("T", false));
  EXPECT_EQ(back.ReadProperty("N", std::int32_t{0}), -90);
  EXPECT_EQ(back.ReadProperty("missing", std::int32_t{7}), 7);
}

TEST(PropertyBag, UnreadableValuesGiveTheDefault) {
  PropertyBag bag = PropertyBag::Parse("VKey = abc\nAltKey = \njunk line\n = 3\nWinKey=-1");
  EXPECT_EQ(bag.ReadProperty("VKey", std::int32_t{65}), 65);
  EXPECT_TRUE(bag.ReadProperty("AltKey", true));
  EXPECT_TRUE(bag.ReadProperty("WinKey", false));
  EXPECT_EQ(bag.Count(), 3u);
}

TEST(HotkeyProperties, DefaultControlStoresNothingAndChangesKeepTheirOrder) {
  PropertyBag empty;
  HotkeyProperties{}.Write(empty);
  EXPECT_EQ(empty.Count(), 0u);
  EXPECT_EQ(HotkeyProperties::Read(empty), HotkeyProperties{});  // Ctrl+Alt+A, enabled

  HotkeyProperties p;
  p.Enabled = false;
  p.WinKey = true;
  p.VKey = 80;
  p.AltKey = false;
  p.ShiftKey = true;
  PropertyBag bag;
  p.Write(bag);
  EXPECT_EQ(bag.Text(), "AltKey = 0\r\nShiftKey = -1\r\nVKey = 80\r\nWinKey = -1\r\nEnabled = 0\r\n");
  EXPECT_EQ(HotkeyProperties::Read(PropertyBag::Parse(bag.Text())), p);
}
