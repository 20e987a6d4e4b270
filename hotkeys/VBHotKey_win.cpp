#include "hotkeys/VBHotKey_win.h"

#include "app/window_class_win.h"

std::shared_ptr<VBHotKey> VBHotKey::Load(const PropertyBag& stored) {
  auto control = std::make_shared<VBHotKey>();
  control->ReadProperties(stored);
  control->Start();
  return control;
}

VBHotKey::VBHotKey() = default;

VBHotKey::~VBHotKey() { StopHotkey(); }

void VBHotKey::Start() {
  if (window_) return;
  // A window that only receives the hotkey message; the hook sits on it.
  window_ = win::MakeMessageWindow(nullptr);
  const auto handle = reinterpret_cast<std::intptr_t>(window_.get());
  if (handle == 0 || !hotkey_) return;
  started_window_ = handle;
  hotkey_->AltKey(props_.AltKey);
  hotkey_->ShiftKey(props_.ShiftKey);
  hotkey_->ControlKey(props_.CtrlKey);
  hotkey_->WinKey(props_.WinKey);
  hotkey_->VKey(props_.VKey);
  hotkey_->hwnd(handle);
  // Registered before the control enters the registry: a refusal now is not reported.
  hotkey_->Register();
  HotkeySubclass::HookWindow(window_.get());
  HotkeySubclass::AddHotkeyControl(shared_from_this());
}

void VBHotKey::StopHotkey() {
  if (started_window_ == 0) return;
  // Keeps this control alive while the registry lets go of it.
  std::shared_ptr<VBHotKey> self = weak_from_this().lock();
  HotkeySubclass::UnhookWindow(reinterpret_cast<HWND>(started_window_));
  if (hotkey_) {
    hotkey_->Unregister();
    hotkey_.reset();
  }
}

std::wstring VBHotKey::UniqueKey() const { return hotkey_ ? hotkey_->UniqueKey() : L""; }

template <typename T>
void VBHotKey::ChangeKey(T HotkeyProperties::*field, const char* name, T value,
                         void (ApiHotkey::*apply)(T)) {
  if (props_.*field == value) return;
  props_.*field = value;
  changed_.insert(name);
  if (!hotkey_ || hotkey_->hwnd() == 0) return;  // not started: the value waits for Start
  hotkey_->Unregister();
  ((*hotkey_).*apply)(value);
  hotkey_->Register();
}

void VBHotKey::AltKey(bool value) {
  ChangeKey(&HotkeyProperties::AltKey, "AltKey", value, &ApiHotkey::AltKey);
}
void VBHotKey::ShiftKey(bool value) {
  ChangeKey(&HotkeyProperties::ShiftKey, "ShiftKey", value, &ApiHotkey::ShiftKey);
}
void VBHotKey::CtrlKey(bool value) {
  ChangeKey(&HotkeyProperties::CtrlKey, "CtrlKey", value, &ApiHotkey::ControlKey);
}
void VBHotKey::WinKey(bool value) {
  ChangeKey(&HotkeyProperties::WinKey, "WinKey", value, &ApiHotkey::WinKey);
}
void VBHotKey::VKey(std::int32_t value) {
  ChangeKey(&HotkeyProperties::VKey, "VKey", value, &ApiHotkey::VKey);
}

void VBHotKey::Enabled(bool value) {
  if (props_.Enabled == value) return;
  props_.Enabled = value;
  changed_.insert("Enabled");
  if (!hotkey_) return;
  // A control that has not started has no window: registering then would bind the
  // combination to no window at all, so it waits for Start.
  if (value) {
    if (hotkey_->hwnd() != 0) hotkey_->Register();
  } else {
    hotkey_->Unregister();
  }
}

void VBHotKey::RaiseKeyPressEvent(std::int32_t vkey, std::int32_t modifier) {
  if (!hotkey_) return;
  ApiHotkey pressed;
  pressed.VKey(vkey);
  pressed.Modifier(modifier);
  if (!pressed.MatchedKey(*hotkey_)) return;
  // A copy: the handler may replace the member while it runs.
  if (auto handler = HotkeyPressed) handler();
}
