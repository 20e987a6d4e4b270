#pragma once
// The hotkey control: keeps one key combination as persisted properties and, once started,
// registers it for a small window of its own, hooks that window and raises HotkeyPressed
// whenever the combination is pressed anywhere in the system.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "app/handles_win.h"
#include "hotkeys/ApiHotkey.h"
#include "hotkeys/HotkeySubclass_win.h"
#include "hotkeys/hotkey_properties.h"

class VBHotKey : public HotkeyControl, public std::enable_shared_from_this<VBHotKey> {
 public:
  // A control loaded from its stored properties and started: registered, hooked and in the
  // control registry. A control that stores nothing starts with Ctrl+Alt+A.
  static std::shared_ptr<VBHotKey> Load(const PropertyBag& stored = {});

  VBHotKey();  // a control not yet started, with the default properties
  ~VBHotKey() override;
  VBHotKey(const VBHotKey&) = delete;
  VBHotKey& operator=(const VBHotKey&) = delete;

  // Reads the stored properties (without starting), and writes them.
  void ReadProperties(const PropertyBag& stored);
  void WriteProperties(PropertyBag& bag) const;
  // Creates the control's window, then registers, hooks and enters the registry. Once only.
  void Start();
  // Unhooks the window (which takes the control out of the registry) and unregisters the
  // hotkey. The owner calls it before letting the control go; it also runs on destruction.
  void StopHotkey();

  bool AltKey() const { return props_.AltKey; }
  void AltKey(bool value);
  bool ShiftKey() const { return props_.ShiftKey; }
  void ShiftKey(bool value);
  bool CtrlKey() const { return props_.CtrlKey; }
  void CtrlKey(bool value);
  bool WinKey() const { return props_.WinKey; }
  void WinKey(bool value);
  std::int32_t VKey() const { return props_.VKey; }
  void VKey(std::int32_t value);
  bool Enabled() const { return props_.Enabled; }
  void Enabled(bool value);
  std::wstring Name() const { return props_.Name(); }  // "Ctrl+Alt+P"
  std::int32_t About() const { return 0; }
  void About(std::int32_t) {}

  std::int32_t hAtom() const { return hotkey_ ? hotkey_->hAtom() : 0; }
  std::int32_t hKey() const { return hotkey_ ? hotkey_->hKey() : 0; }
  std::wstring UniqueKey() const override;
  std::intptr_t hwnd() const override { return hotkey_ ? hotkey_->hwnd() : 0; }
  HWND Window() const { return window_.get(); }  // null until started

  // Names of the persisted properties written since the control was created.
  const std::set<std::string>& ChangedProperties() const { return changed_; }

  void RaiseKeyPressEvent(std::int32_t vkey, std::int32_t modifier) override;
  void RaiseError(const std::wstring& message, const std::wstring& source) override;

  std::function<void()> HotkeyPressed;
  std::function<void(const std::wstring& message, const std::wstring& source)> ErrorOccured;

 private:
  // Stores a changed key property and registers the hotkey again with it, once started.
  template <typename T>
  void ChangeKey(T HotkeyProperties::*field, const char* name, T value,
                 void (ApiHotkey::*apply)(T));

  HotkeyProperties props_;
  std::unique_ptr<ApiHotkey> hotkey_ = std::make_unique<ApiHotkey>();  // released by StopHotkey
  std::intptr_t started_window_ = 0;  // the window handle once started at run time
  win::unique_window window_;
  std::set<std::string> changed_;
};
