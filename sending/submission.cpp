#include "sending/submission.h"

#include "app/codepage.h"
#include "app/encodings.h"

namespace sending {

std::wstring ComposeBody(std::wstring_view text, std::wstring_view footer) {
  std::wstring body(text);
  body += L"\r\n";
  body += footer;
  return body;
}

std::wstring EscapeXmlText(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::wstring CdataSection(std::wstring_view text) {
  constexpr std::wstring_view kEnd = L"]]>";
  std::wstring out = L"<![CDATA[";
  std::size_t from = 0;
  for (std::size_t at = text.find(kEnd); at != std::wstring_view::npos;
       at = text.find(kEnd, from)) {
    out += text.substr(from, at + 2 - from);  // up to and including "]]"
    out += L"]]><![CDATA[";
    from = at + 2;  // the ">" opens the next section
  }
  out += text.substr(from);
  out += L"]]>";
  return out;
}

std::wstring BuildSubmissionXml(const SubmissionFields& f) {
  std::wstring xml =
      L"<?xml version=\"1.0\"?><SubmitMessageRequest Version=\"1.0\"><Header><Username>";
  xml += EscapeXmlText(f.username);
  xml += L"</Username><Password>";
  xml += EscapeXmlText(f.password);
  xml += L"</Password></Header><MessageRequest><Message><Body>";
  xml += CdataSection(f.body);
  xml += L"</Body><Destination sequenceId=\"1\">";
  xml += EscapeXmlText(f.number);
  xml += L"</Destination></Message></MessageRequest></SubmitMessageRequest>";
  return xml;
}

std::string BuildFormBody(std::wstring_view xml) {
  return "\r\n\r\n&XMLDATA=" + encodings::URLEncode(codepage::ToAnsi(xml));
}

std::wstring BuildHeaders(bool proxy_auth, std::wstring_view proxy_user,
                          std::wstring_view proxy_password) {
  std::wstring headers;
  if (proxy_auth) {
    std::wstring credentials(proxy_user);
    credentials += L':';
    credentials += proxy_password;
    headers += L"Proxy-Connection: Keep-Alive\r\n";
    headers += L"Proxy-Authorization: Basic " +
               codepage::FromAnsi(encodings::Base64Encode(codepage::ToAnsi(credentials))) +
               L"\r\n";
  }
  headers += L"Content-type: application/x-www-form-urlencoded\r\n";
  return headers;
}

}  // namespace sending
