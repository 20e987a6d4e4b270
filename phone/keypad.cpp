#include "phone/keypad.h"

namespace keypad {

std::wstring PressDigit(const std::wstring& text, wchar_t digit, std::size_t limit) {
  if (text.size() >= limit) return text;
  return text + digit;
}

std::wstring PressBack(const std::wstring& text) {
  return text.empty() ? text : text.substr(0, text.size() - 1);
}

wchar_t DigitOfArea(int area) {
  if (area >= 1 && area <= 9) return static_cast<wchar_t>(L'0' + area);
  if (area == 10) return L'0';
  return 0;
}

}  // namespace keypad
