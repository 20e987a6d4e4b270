#include "input_util.h"

#include <vector>

namespace testing_win {
namespace {

void Send(std::initializer_list<WORD> keys, bool up) {
  std::vector<INPUT> in;
  for (WORD vk : keys) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
  }
  ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

}  // namespace

void KeysDown(std::initializer_list<WORD> keys) { Send(keys, false); }
void KeysUp(std::initializer_list<WORD> keys) { Send(keys, true); }

void PressCtrlAlt(WORD key) {
  KeysDown({VK_CONTROL, VK_MENU, key});
  KeysUp({key, VK_MENU, VK_CONTROL});
}

bool KeyIsDown(WORD vk) { return (::GetAsyncKeyState(vk) & 0x8000) != 0; }

}  // namespace testing_win
