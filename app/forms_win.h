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

  win::unique_window window_;
  void (*unload_)() = nullptr;
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
