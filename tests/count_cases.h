#pragma once
// The part count at its edges, shared by the counters' test and the service's billing test:
// the phone and the bill must agree on every one. Totals include the joining line break.
#include <string>

namespace count_cases {

inline const std::wstring kEmoji = L"\U0001F600";  // outside the Basic Multilingual Plane
constexpr wchar_t kZhe = L'\u0416';  // Cyrillic: not in the GSM alphabet

struct Case {
  const char* what;
  std::wstring message, footer;
  int total, parts, left;
};

inline const Case kCases[] = {
    {"empty", L"", L"", 1, 1, 159},
    {"GSM 160", std::wstring(159, L'a'), L"", 160, 1, 0},
    {"GSM 161", std::wstring(160, L'a'), L"", 161, 2, 145},
    {"GSM 306", std::wstring(300, L'a'), L"-- me", 306, 2, 0},
    {"GSM 307", std::wstring(306, L'a'), L"", 307, 3, 152},
    {"typed and footer line breaks count two", L"a\r\nb", L"x\r\ny", 9, 1, 151},
    {"extension sign takes two", L"{x} \u20ac", L"", 9, 1, 151},
    {"extension sign at 153 moves whole", std::wstring(152, L'a') + L"\u20ac" + std::wstring(9, L'a'), L"", 164, 2, 141},
    {"extension sign tips one part into two", std::wstring(158, L'a') + L"~", L"", 161, 2, 145},
    {"UCS-2 70", std::wstring(69, kZhe), L"", 70, 1, 0},
    {"UCS-2 71", std::wstring(70, kZhe), L"", 71, 2, 63},
    {"UCS-2 134", std::wstring(133, kZhe), L"", 134, 2, 0},
    {"UCS-2 135", std::wstring(134, kZhe), L"", 135, 3, 66},
    {"footer alone outside GSM", L"hello", L"\u041f\u0440\u0438\u0432\u0435\u0442", 12, 1, 58},
    {"emoji takes two", std::wstring(67, kZhe) + kEmoji, L"", 70, 1, 0},
    {"emoji at 70 does not fit one message", std::wstring(69, L'a') + kEmoji, L"", 72, 2, 62},
    {"emoji at 67 moves whole", std::wstring(66, kZhe) + kEmoji + std::wstring(10, kZhe), L"", 79, 2, 54},
    {"beyond sixteen bits", std::wstring(32767, L'a'), std::wstring(100, L'b'), 32868, 215, 27},
};

}  // namespace count_cases
