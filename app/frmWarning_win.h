#pragma once
// The alert window: the one place where outcomes and problems are told to the user.
#include <functional>
#include <string>

#include "app/forms_win.h"

// What OK does besides closing (the alert's Mode, "0", "1" and "2" in the stored layout).
enum class AlertMode {
  SendResult = 0,  // the result of a send: the focus goes back to hWndPrev
  Settings = 1,    // the settings need attention: the options window, then hWndPrev
  Phone = 2,       // the phone window needs attention: the focus stays
};

class frmWarning : public FormOf<frmWarning> {
 public:
  AlertMode Mode = AlertMode::SendResult;

  // The usual way to tell the user something: set the mode, the text, and show. A `warning`
  // shows the system's warning icon beside the text; `settings_page` is the page of the
  // options window that OK opens in Mode Settings (-1: the page it shows).
  static void Alert(AlertMode mode, const std::wstring& text, bool warning = false, int settings_page = -1);
  int SettingsPage = -1;

  // The steps of OK that belong to windows above this one, set by the window that owns them
  // (the options window's sending code): ending the sending window's display, showing the
  // settings. Empty steps are skipped.
  static inline std::function<void()> OnOkAfterSend;
  static inline std::function<void(int page)> OnOkShowSettings;

  void SetMessage(const std::wstring& text);
  std::wstring Message() const;
  void Command1_Click();  // OK

  HWND Label1 = nullptr;    // multi-line, read-only message box
  HWND Command1 = nullptr;  // "OK"
  HWND Image1 = nullptr;    // the warning icon, shown for warnings only

 protected:
  void Form_Load() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  win::unique_font font_;
  win::unique_brush label_brush_;
};
