#pragma once
// Synthetic keystrokes for the copy: a plain Ctrl+key reaching the foreground application
// even while the user still holds the modifiers of the hotkey that started the capture.
#include <windows.h>

namespace keystrokes {

// True while Ctrl, Alt, Shift or a Windows key is down.
bool AnyModifierDown();

// Waits up to `max_ms` for the modifier keys to be released (letting sent messages run).
void WaitForModifiersReleased(DWORD max_ms);

// Sends Ctrl+`vk` as one uninterrupted sequence: modifiers still held are released first
// (with a neutral key in between, so that releasing Alt or Windows alone opens no menu), then
// Ctrl down, key down, key up, Ctrl up. The held keys are not pressed again: nothing is left
// down that the user has let go meanwhile. False when the system refused the input.
bool SendCtrlChord(WORD vk, bool extended_key);

}  // namespace keystrokes
