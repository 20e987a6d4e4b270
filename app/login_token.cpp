#include "app/login_token.h"

#include "app/codepage.h"
#include "app/encodings.h"

namespace modHotkeys {

std::wstring LoginToken(std::wstring_view usr, std::wstring_view pwd) {
  std::wstring login(usr);
  login += L' ';
  login += pwd;
  std::string hex = HexEncode(Scramble(codepage::ToAnsi(login)));
  return std::wstring(hex.begin(), hex.end());  // hexadecimal digits only
}

}  // namespace modHotkeys
