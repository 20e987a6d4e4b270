#include "access/accessible_win.h"

#include <utility>

namespace access {

namespace {

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT ToBstr(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;  // "no such property", as the standard objects answer
  *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

Accessible::Accessible(HWND hwnd, IAccessible* standard, std::shared_ptr<const Description> description,
                       UINT action_message)
    : hwnd_(hwnd), standard_(standard), description_(std::move(description)), action_message_(action_message) {}

Accessible::~Accessible() { Disconnect(); }

void Accessible::Disconnect() {
  description_.reset();
  if (standard_) std::exchange(standard_, nullptr)->Release();
  hwnd_ = nullptr;
}

const Description* Accessible::Own(const VARIANT& child) const {
  return IsSelf(child) ? description_.get() : nullptr;
}

STDMETHODIMP Accessible::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible))
    *out = static_cast<IAccessible*>(this);
  else if (riid == IID_IOleWindow)
    *out = static_cast<IOleWindow*>(this);
  else
    return *out = nullptr, E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) Accessible::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) Accessible::Release() {
  const LONG left = ::InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

STDMETHODIMP Accessible::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}
STDMETHODIMP Accessible::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP Accessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
STDMETHODIMP Accessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

STDMETHODIMP Accessible::GetWindow(HWND* hwnd) {
  if (!hwnd) return E_POINTER;
  *hwnd = hwnd_;
  return hwnd_ ? S_OK : RPC_E_DISCONNECTED;
}
STDMETHODIMP Accessible::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

template <class Call>
HRESULT Accessible::Standard(Call call) {
  return standard_ ? call(standard_) : RPC_E_DISCONNECTED;
}

HRESULT Accessible::Text(const VARIANT& child, const std::wstring& ours, BSTR* out,
                         HRESULT (STDMETHODCALLTYPE IAccessible::*standard)(VARIANT, BSTR*)) {
  if (Own(child) && !ours.empty()) return ToBstr(ours, out);
  return Standard([&](IAccessible* s) { return (s->*standard)(child, out); });
}

STDMETHODIMP Accessible::get_accName(VARIANT child, BSTR* name) {
  const Description* d = Own(child);
  return Text(child, d && d->name ? d->name() : L"", name, &IAccessible::get_accName);
}
STDMETHODIMP Accessible::get_accValue(VARIANT child, BSTR* value) {
  const Description* d = Own(child);
  return Text(child, d && d->value ? d->value() : L"", value, &IAccessible::get_accValue);
}
STDMETHODIMP Accessible::get_accDescription(VARIANT child, BSTR* description) {
  const Description* d = Own(child);
  return Text(child, d && d->description ? d->description() : L"", description, &IAccessible::get_accDescription);
}
STDMETHODIMP Accessible::get_accDefaultAction(VARIANT child, BSTR* action) {
  const Description* d = Own(child);
  return Text(child, d ? d->action_name : L"", action, &IAccessible::get_accDefaultAction);
}

STDMETHODIMP Accessible::get_accRole(VARIANT child, VARIANT* role) {
  const Description* d = Own(child);
  if (!d || !d->role) return Standard([&](IAccessible* s) { return s->get_accRole(child, role); });
  if (!role) return E_POINTER;
  role->vt = VT_I4;
  role->lVal = d->role;
  return S_OK;
}

STDMETHODIMP Accessible::get_accState(VARIANT child, VARIANT* state) {
  const HRESULT hr = Standard([&](IAccessible* s) { return s->get_accState(child, state); });
  const Description* d = Own(child);
  if (FAILED(hr) || !d || !d->state) return hr;
  const LONG standard = state->vt == VT_I4 ? state->lVal : 0;
  state->vt = VT_I4;
  state->lVal = standard | d->state();
  return S_OK;
}

STDMETHODIMP Accessible::accDoDefaultAction(VARIANT child) {
  const Description* d = Own(child);
  if (!d || !d->act) return Standard([&](IAccessible* s) { return s->accDoDefaultAction(child); });
  return ::PostMessageW(hwnd_, action_message_, 0, 0) ? S_OK : E_FAIL;
}

// The rest is the standard object's: where the control is, its parent, its neighbours.
STDMETHODIMP Accessible::get_accParent(IDispatch** parent) {
  return Standard([&](IAccessible* s) { return s->get_accParent(parent); });
}
STDMETHODIMP Accessible::get_accChildCount(LONG* count) {
  return Standard([&](IAccessible* s) { return s->get_accChildCount(count); });
}
STDMETHODIMP Accessible::get_accChild(VARIANT child, IDispatch** out) {
  return Standard([&](IAccessible* s) { return s->get_accChild(child, out); });
}
STDMETHODIMP Accessible::get_accHelp(VARIANT child, BSTR* help) {
  return Standard([&](IAccessible* s) { return s->get_accHelp(child, help); });
}
STDMETHODIMP Accessible::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
  return Standard([&](IAccessible* s) { return s->get_accHelpTopic(file, child, topic); });
}
STDMETHODIMP Accessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  return Standard([&](IAccessible* s) { return s->get_accKeyboardShortcut(child, shortcut); });
}
STDMETHODIMP Accessible::get_accFocus(VARIANT* focus) {
  return Standard([&](IAccessible* s) { return s->get_accFocus(focus); });
}
STDMETHODIMP Accessible::get_accSelection(VARIANT* selection) {
  return Standard([&](IAccessible* s) { return s->get_accSelection(selection); });
}
STDMETHODIMP Accessible::accSelect(LONG flags, VARIANT child) {
  return Standard([&](IAccessible* s) { return s->accSelect(flags, child); });
}
STDMETHODIMP Accessible::accLocation(LONG* x, LONG* y, LONG* width, LONG* height, VARIANT child) {
  return Standard([&](IAccessible* s) { return s->accLocation(x, y, width, height, child); });
}
STDMETHODIMP Accessible::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  return Standard([&](IAccessible* s) { return s->accNavigate(direction, start, end); });
}
STDMETHODIMP Accessible::accHitTest(LONG x, LONG y, VARIANT* child) {
  return Standard([&](IAccessible* s) { return s->accHitTest(x, y, child); });
}
STDMETHODIMP Accessible::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }  // obsolete; nobody renames
STDMETHODIMP Accessible::put_accValue(VARIANT child, BSTR value) {
  return Standard([&](IAccessible* s) { return s->put_accValue(child, value); });
}

}  // namespace access
