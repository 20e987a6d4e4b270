#include "options/account_links.h"

#include "sending/submission.h"
#include "text/codepage.h"
#include "text/encodings.h"

namespace account_links {

std::wstring Address(Page page, const std::wstring& host, bool secure, const std::wstring& token,
                     const std::wstring& quantity) {
  std::wstring address = (secure ? L"https://" : L"http://") + host;
  switch (page) {
    case Page::Subscribe:
      return address + L"/login?startpage=subscribe&login=" + token;
    case Page::BuyMessages: {
      // "?n=" is encoded, so the quantity travels inside the startpage value.
      const std::string query = encodings::URLEncode("?n=");
      return address + L"/login?startpage=buymsgs.jsp" + std::wstring(query.begin(), query.end()) +
             (quantity.empty() ? kDefaultQuantity : quantity) + L"&login=" + token;
    }
    case Page::Register:
      return address + L"/options.jsp";
    case Page::MessageArchive:
      return address + L"/login?startpage=message_archive.jsp&login=" + token;
  }
  return address;
}

std::wstring LoginToken(std::wstring_view usr, std::wstring_view pwd) {
  const std::wstring login = sending::EscapeXmlText(usr) + L' ' + sending::EscapeXmlText(pwd);
  const std::string hex = encodings::HexEncode(encodings::Scramble(codepage::ToCp1252(login)));
  return std::wstring(hex.begin(), hex.end());  // hexadecimal digits only
}

std::wstring HelpAddress(const std::wstring& host) { return L"http://" + host + L"/help.jsp"; }

}  // namespace account_links
