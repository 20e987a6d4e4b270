#pragma once
// The alert window: the one place where outcomes and problems are told to the user.
#include <string>

#include "app/forms_win.h"

class frmWarning : public FormOf<frmWarning> {
 public:
  // What OK does besides closing: "0" result of a send (focus back to hWndPrev),
  // "1" settings need attention (options window, then hWndPrev), "2" phone window (nothing).
  std::wstring Mode = L"0";

  // The usual way to tell the user something: set the mode, the text, and show.
  static void Alert(const std::wstring& mode, const std::wstring& text);

  void SetMessage(const std::wstring& text);
  std::wstring Message() const;
  void Command1_Click();  // OK

  HWND Label1 = nullptr;    // multi-line, read-only message box
  HWND Command1 = nullptr;  // "OK"

 protected:
  void Form_Load() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  win::unique_font font_;
  win::unique_brush label_brush_;
};
