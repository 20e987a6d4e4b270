#pragma once
// The phone's keypad acting on the number box's text.
#include <cstddef>
#include <string>

namespace keypad {

// The digit appended, or the text unchanged when the box already holds `limit` characters.
std::wstring PressDigit(const std::wstring& text, wchar_t digit, std::size_t limit);

// The back key: the last character removed; an empty text stays empty.
std::wstring PressBack(const std::wstring& text);

// What a hit area of the keypad stands for: areas 1 to 9 the digits 1 to 9, area 10 the 0,
// area 11 the back key (0 returned); anything else nothing.
wchar_t DigitOfArea(int area);

}  // namespace keypad
