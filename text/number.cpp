#include "text/number.h"

namespace modBrevio {
namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::wstring Digits(std::wstring_view text) {
  std::wstring out;
  for (wchar_t c : text)
    if (IsDigit(c)) out.push_back(c);
  return out;
}

// "+44 (0)20 ..." writes the national trunk 0 in brackets; dialled internationally it is left out.
std::wstring WithoutTrunkPrefix(std::wstring_view text) {
  std::wstring out(text);
  for (std::size_t pos; (pos = out.find(L"(0)")) != std::wstring::npos;) out.erase(pos, 3);
  return out;
}

}  // namespace

std::wstring NormaliseNumber(std::wstring_view number, std::wstring_view country_code) {
  std::size_t first = number.find_first_of(L"+0123456789");
  if (first == std::wstring_view::npos) return {};
  if (number[first] == L'+') return Digits(WithoutTrunkPrefix(number.substr(first)));
  std::wstring digits = Digits(number);
  if (digits.size() > 2 && digits.starts_with(L"00")) return Digits(WithoutTrunkPrefix(number)).substr(2);

  std::wstring result;
  for (wchar_t c : digits) {
    if (c == L'0' && result.empty())
      result = country_code;  // the leading 0 of a national number
    else
      result.push_back(c);
  }
  return result;
}

}  // namespace modBrevio
