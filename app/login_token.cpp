#include "app/login_token.h"

#include "app/text.h"
#include "text/codepage.h"
#include "text/encodings.h"

namespace account_pages {

std::wstring LoginToken(std::wstring_view usr, std::wstring_view pwd) {
  std::wstring login(usr);
  login += L' ';
  login += pwd;
  std::string hex = encodings::HexEncode(encodings::Scramble(codepage::ToAnsi(login)));
  return Widen(hex);  // hexadecimal digits only
}

}  // namespace account_pages
