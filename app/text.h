#pragma once
// Bytes taken as characters one for one (ASCII texts, exception texts, hexadecimal digits).
#include <string>
#include <string_view>

inline std::wstring Widen(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (char c : bytes) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return out;
}
