#pragma once
// Turning a phone number as people write it into the international digits the service expects.
#include <string>
#include <string_view>

namespace modBrevio {

// Digits only. A national number's leading 0 becomes `country_code`; a number written
// internationally ("+44 ...", "0044 ...") keeps its own country code, and a trunk prefix
// written "(0)" inside it is dropped. Zeros after the first digit always stay.
std::wstring NormaliseNumber(std::wstring_view number, std::wstring_view country_code);

}  // namespace modBrevio
