// VBHotKey's specified interface that the program itself does not call: the stored properties and the error event.
#include "hotkeys/VBHotKey_win.h"

void VBHotKey::ReadProperties(const PropertyBag& stored) { props_ = HotkeyProperties::Read(stored); }

void VBHotKey::WriteProperties(PropertyBag& bag) const { props_.Write(bag); }

void VBHotKey::RaiseError(const std::wstring& message, const std::wstring& source) {
  if (auto handler = ErrorOccured) handler(message, source);
}
