#include <windows.h>

#include "app/modHotkeys_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return modHotkeys::Main(); }
