#pragma once
// Forms: windows that each exist at most once, created on first reference and discarded
// by unloading. The program runs while any form is loaded.
#include <windows.h>

#include <memory>
#include <string>

#include "app/handles_win.h"
#include "app/window_class_win.h"

class Form : public win::MessageReceiver {
 public:
  Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form() = default;

  HWND hWnd() const { return window_.get(); }
  void Show();  // not modal; brings the form to the front
  void Hide();
  bool Visible() const;
  void Unload();  // runs Form_Unload, destroys the window and discards this instance

  // Forms that see key presses before the focused control (the message loop asks them).
  virtual bool PreviewKey(const MSG&) { return false; }
  // The dialog keys, the same in every form and asked after PreviewKey, whatever the focused
  // control wants: Tab and Shift+Tab move through the tab stops and wrap; Ctrl+Tab,
  // Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp switch tabs (SwitchTab); Enter presses the
  // focused push button, or else the default one unless the focused box keeps Enter for new
  // lines; Esc sends IDCANCEL. True when the key was used.
  bool NavigationKey(const MSG& msg);

 protected:
  struct WindowSpec {
    const wchar_t* class_name;
    const wchar_t* caption;
    DWORD style;
    DWORD ex_style;
    int client_width;   // pixels at 96 dots per inch, scaled to the screen
    int client_height;
    HBRUSH background = nullptr;  // null: the system window colour
  };
  void CreateFormWindow(const WindowSpec& spec);

  // The control that has the focus when the form opens: the first tab stop unless a form
  // knows better. The focus a form had when it was left is given back when it is activated
  // again, until it is hidden.
  virtual HWND FirstFocus() const;
  // What Enter presses: the child styled BS_DEFPUSHBUTTON unless a form says.
  virtual HWND DefaultButton() const;
  // Selects the next or previous tab, wrapping; false for a form without tabs.
  virtual bool SwitchTab(bool /*forward*/) { return false; }
  void MoveFocus(bool back);     // to the next (previous) tab stop, wrapping
  void FocusControl(HWND control);  // as Tab does: an edit box's text selected

  virtual void Form_Load() {}
  virtual void Form_Unload() {}
  // The close box: unloads the form unless a form overrides it (hiding, for instance).
  virtual void Form_QueryUnload() { Unload(); }
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return ::DefWindowProcW(hWnd(), msg, wp, lp); }

 private:
  template <class F> friend class FormOf;
  LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) override;
  void OnWindowGone() override { window_.release(); }  // nothing left to destroy

  void Activated(bool active);  // keeps the focus across deactivation, or gives the first

  win::unique_window window_;
  void (*unload_)() = nullptr;
  HWND last_focus_ = nullptr;
};

namespace forms {

void Loaded(Form* form, void (*unload)());  // bookkeeping of FormOf
void Discarded(std::unique_ptr<Form> form);
void UnloadAll();           // every loaded form
bool AnyLoaded();
int RunMessageLoop();       // until the last form unloads
void DoEvents();            // runs the messages waiting now, then returns
bool Dispatch(MSG& msg);    // dialog keys and key preview, then DispatchMessage
Form* FromWindow(HWND hwnd);  // the form whose window is hwnd or holds it

}  // namespace forms

// The single instance of form F.
template <class F>
class FormOf : public Form {
 public:
  static F& Get() {
    if (!slot()) {
      slot() = std::make_unique<F>();
      F& form = *slot();
      form.unload_ = &UnloadForm;
      forms::Loaded(&form, &UnloadForm);
      static_cast<Form&>(form).Form_Load();
    }
    return *slot();
  }
  static bool IsLoaded() { return slot() != nullptr; }
  static F* IfLoaded() { return slot().get(); }

 private:
  static std::unique_ptr<F>& slot() {
    static std::unique_ptr<F> instance;
    return instance;
  }
  static void UnloadForm() {
    if (!slot()) return;
    std::unique_ptr<F> form = std::move(slot());
    static_cast<Form&>(*form).Form_Unload();
    form->window_.reset();
    forms::Discarded(std::move(form));
  }
};
