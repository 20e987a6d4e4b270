// What the tray icon's commands do (the icon itself: options/tray_icon_win.cpp).
#include "app/modHotkeys_win.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"

void frmOptions::picicon_DblClick() {
  ::SetForegroundWindow(hWnd());
  TabChoose();
  Show();
}

void frmOptions::popSMS_Click() { frmPhone::Get().Show(); }

void frmOptions::popOptions_Click() {
  Show();
  SelectTab(kTabOptions);
}

void frmOptions::popBuy_Click() {
  Show();
  SelectTab(kTabBuy);
}

void frmOptions::popSent_Click() { Command4_Click(); }

void frmOptions::popExit_Click() {
  // When the file cannot be written the user may try again, stay, or exit without saving.
  if (modHotkeys::SaveSettings(hWnd(), true) != modHotkeys::SaveOutcome::KeepEditing) Unload();
}
