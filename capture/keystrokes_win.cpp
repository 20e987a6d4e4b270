#include "capture/keystrokes_win.h"

#include <vector>

#include "capture/clipboard_win.h"

namespace keystrokes {
namespace {

// An unassigned key code: pressing it between a modifier's press and release makes the
// release a chord rather than a lone Alt or Windows tap.
constexpr WORD kNeutralKey = 0xE8;

struct SideKey {
  WORD vk;
  bool extended;
  WORD generic;  // the key code that stands for both sides
};
// The left and right keys of each modifier, as the system tracks them.
constexpr SideKey kModifiers[] = {
    {VK_LCONTROL, false, VK_CONTROL}, {VK_RCONTROL, true, VK_CONTROL},
    {VK_LMENU, false, VK_MENU},       {VK_RMENU, true, VK_MENU},
    {VK_LSHIFT, false, VK_SHIFT},     {VK_RSHIFT, false, VK_SHIFT},
    {VK_LWIN, true, VK_LWIN},         {VK_RWIN, true, VK_RWIN},
};
constexpr WORD kGeneric[] = {VK_CONTROL, VK_MENU, VK_SHIFT};

bool Down(WORD vk) { return (::GetAsyncKeyState(vk) & 0x8000) != 0; }

void Add(std::vector<INPUT>& in, WORD vk, bool up, bool extended) {
  INPUT i{};
  i.type = INPUT_KEYBOARD;
  i.ki.wVk = vk;
  i.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  i.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  in.push_back(i);
}

}  // namespace

bool AnyModifierDown() {
  for (const SideKey& k : kModifiers)
    if (Down(k.vk)) return true;
  for (WORD vk : kGeneric)
    if (Down(vk)) return true;
  return false;
}

void WaitForModifiersReleased(DWORD max_ms) {
  const DWORD start = ::GetTickCount();
  while (AnyModifierDown() && ::GetTickCount() - start < max_ms) clipboard::ProcessSentMessages(10);
}

bool SendCtrlChord(WORD vk, bool extended_key) {
  std::vector<INPUT> in;
  std::vector<SideKey> held;
  for (const SideKey& k : kModifiers)
    if (Down(k.vk)) held.push_back(k);
  bool alt_or_win = false;
  for (const SideKey& k : held)
    if (k.vk == VK_LMENU || k.vk == VK_RMENU || k.vk == VK_LWIN || k.vk == VK_RWIN) alt_or_win = true;
  if (alt_or_win) {
    Add(in, kNeutralKey, false, false);
    Add(in, kNeutralKey, true, false);
  }
  for (const SideKey& k : held) Add(in, k.vk, true, k.extended);
  // A generic modifier that shows as down without either of its sides (some injected input).
  for (WORD vk : kGeneric) {
    bool side_held = false;
    for (const SideKey& k : held)
      if (k.generic == vk) side_held = true;
    if (Down(vk) && !side_held) Add(in, vk, true, false);
  }

  Add(in, VK_CONTROL, false, false);
  Add(in, vk, false, extended_key);
  Add(in, vk, true, extended_key);
  Add(in, VK_CONTROL, true, false);
  const UINT sent = ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
  return sent == in.size();
}

}  // namespace keystrokes
