#pragma once
// What assistive technology (screen readers, magnifiers, UI Automation's MSAA bridge) learns
// of a control that draws itself: its name, role, state, value and default action. Whatever
// a description leaves unset is answered by the system's standard object for the window, so
// location, parent, navigation and hit-testing keep working.
#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <memory>
#include <string>

// IAccessible's identifier is written __uuidof(IAccessible): MinGW's oleacc import library
// exports the name IID_IAccessible as a function, and a program linked with it would read the
// bytes of a jump as the identifier.
namespace access {

struct Description {
  std::function<std::wstring()> name{};  // unset: the standard name (a label's, the window text)
  LONG role = 0;                       // ROLE_SYSTEM_...; 0: the standard role
  std::function<LONG()> state{};       // STATE_SYSTEM_... added to the standard state
  std::function<std::wstring()> value{};
  std::function<std::wstring()> description{};  // a longer hint, as a tooltip gives
  std::wstring action_name{};          // the default action ("Press"); empty: the standard one
  std::function<void()> act{};         // performs it
};

// A text that does not change, for the name or the value of a description.
inline std::function<std::wstring()> Fixed(std::wstring text) {
  return [text = std::move(text)] { return text; };
}

// The IAccessible of one window's client area (OBJID_CLIENT), from its description and the
// standard object. Reference counted; Disconnect, when the window goes, makes every later
// call fail with RPC_E_DISCONNECTED, since a client may hold the object longer than the window.
// The default action is posted to the window as `action_message` and run by its handler
// (access::Describe, described_win.h), so a screen reader calling from another process never waits
// for what the action opens (a message box, say).
class Accessible final : public IAccessible, public IOleWindow {
 public:
  Accessible(HWND hwnd, IAccessible* standard, std::shared_ptr<const Description> description,
             UINT action_message);
  Accessible(const Accessible&) = delete;
  Accessible& operator=(const Accessible&) = delete;

  void Disconnect();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IDispatch: not offered; clients call IAccessible directly.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
  // IOleWindow: WindowFromAccessibleObject finds the control through it.
  STDMETHODIMP GetWindow(HWND* hwnd) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override;
  // IAccessible: ours for CHILDID_SELF where the description says, else the standard object's.
  STDMETHODIMP get_accParent(IDispatch** parent) override;
  STDMETHODIMP get_accChildCount(LONG* count) override;
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override;
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  STDMETHODIMP get_accFocus(VARIANT* focus) override;
  STDMETHODIMP get_accSelection(VARIANT* selection) override;
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
  STDMETHODIMP accSelect(LONG flags, VARIANT child) override;
  STDMETHODIMP accLocation(LONG* x, LONG* y, LONG* width, LONG* height, VARIANT child) override;
  STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
  STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* child) override;
  STDMETHODIMP accDoDefaultAction(VARIANT child) override;
  STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
  STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

 private:
  ~Accessible();
  // The description when `child` is the control itself and the object is still connected.
  const Description* Own(const VARIANT& child) const;
  // `call` on the standard object; RPC_E_DISCONNECTED once the window is gone.
  template <class Call>
  HRESULT Standard(Call call);
  // `ours` when it is about the control itself and not empty, else the standard answer.
  HRESULT Text(const VARIANT& child, const std::wstring& ours, BSTR* out,
               HRESULT (STDMETHODCALLTYPE IAccessible::*standard)(VARIANT, BSTR*));

  LONG references_ = 1;
  HWND hwnd_;
  IAccessible* standard_;  // ours: released when disconnected
  std::shared_ptr<const Description> description_;
  UINT action_message_;
};

}  // namespace access
