#pragma once
// Keyboard input through the system's input queue (SendInput), as if typed.
#include <windows.h>

#include <initializer_list>

namespace testing_win {

// Presses (down) or releases (up) the keys in the order given, as one input sequence.
void KeysDown(std::initializer_list<WORD> keys);
void KeysUp(std::initializer_list<WORD> keys);
// Ctrl+Alt+key pressed and released completely.
void PressCtrlAlt(WORD key);
// True while the system sees the key down.
bool KeyIsDown(WORD vk);

}  // namespace testing_win
