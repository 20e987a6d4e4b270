#include "sending/submission.h"

#include "text/codepage.h"
#include "text/encodings.h"
#include "text/unicode.h"

namespace sending {

namespace {

bool TravelsAsReference(char32_t c) { return !codepage::InCp1252(c); }

std::wstring Reference(char32_t c) {
  if (unicode::IsSurrogate(c) || c == 0xFFFE || c == 0xFFFF || c > 0x10FFFF)
    c = unicode::kReplacement;
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring digits;
  do digits.insert(digits.begin(), kHex[c & 15]); while (c >>= 4);
  return L"&#x" + digits + L";";
}

// Calls `run` for each stretch of characters within Windows-1252 and `reference` for each
// character outside it, in order.
template <class Run, class Ref>
void SplitAtReferences(std::wstring_view text, Run run, Ref reference) {
  std::size_t from = 0;
  for (std::size_t at = 0; at < text.size();) {
    const unicode::Character c = unicode::CharacterAt(text, at);
    if (TravelsAsReference(c.code)) {
      if (at > from) run(text.substr(from, at - from));
      reference(c.code);
      from = at + c.units;
    }
    at += c.units;
  }
  if (from < text.size()) run(text.substr(from));
}

std::wstring OneCdataSection(std::wstring_view text) {
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

}  // namespace

std::wstring EscapeXmlText(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  auto run = [&out](std::wstring_view part) {
    for (wchar_t c : part) {
      switch (c) {
        case L'&': out += L"&amp;"; break;
        case L'<': out += L"&lt;"; break;
        case L'>': out += L"&gt;"; break;
        default: out.push_back(c);
      }
    }
  };
  SplitAtReferences(text, run, [&out](char32_t c) { out += Reference(c); });
  return out;
}

std::wstring CdataSection(std::wstring_view text) {
  if (text.empty()) return OneCdataSection(text);
  std::wstring out;
  SplitAtReferences(
      text, [&out](std::wstring_view part) { out += OneCdataSection(part); },
      [&out](char32_t c) { out += Reference(c); });
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
  return "\r\n\r\n&XMLDATA=" + encodings::URLEncode(codepage::ToCp1252(xml));
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
