// The program's entry point: refuses a second instance, loads the settings and the options
// window, the program's main window, and runs until the last window unloads.
#include <windows.h>

#include "app/forms_win.h"
#include "app/modHotkeys_win.h"
#include "options/frmOptions_win.h"

namespace {

int Main() {
  using namespace modHotkeys;
  if (PrevInstance()) {
    ::MessageBoxW(nullptr,
                  L"Please double-click the phone icon in the System tray\r\nto access the Options",
                  L"Brevio already running", MB_OK);
    return 0;
  }
  InstallAnsiCodePage();
  LoadSettings();
  frmOptions& options = frmOptions::Get();
  if (state.HideStartUp == 0) {
    options.Show();
    // Painted now, before the message loop runs the start-up work the window put off.
    ::UpdateWindow(options.hWnd());
  }
  return forms::RunMessageLoop();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return Main(); }
