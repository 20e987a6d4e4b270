#pragma once
// The submission request: the XML document, the form body that carries it and the header
// lines of the program's own. Pure text work; the transfer control posts the result.
#include <string>
#include <string_view>

namespace sending {

// The document travels in Windows-1252. A character outside it goes as an XML numeric
// character reference ("&#x41F;"), one per character, an emoji included; one that XML cannot
// carry at all (a lone surrogate, U+FFFE, U+FFFF) as the replacement character U+FFFD.
// Text within Windows-1252 is written exactly as before, so Western requests keep their bytes.

// "&", "<" and ">" as entities and references as above, so that an XML reader sees exactly the
// typed text.
std::wstring EscapeXmlText(std::wstring_view text);

// `text` in CDATA sections, with the references standing between them (a reference inside
// CDATA would be read as plain text). A "]]>" in the text would end a section early, so it is
// split across two sections ("]]" ends one, ">" starts the next). Text wholly in Windows-1252
// is one section, as it always was.
std::wstring CdataSection(std::wstring_view text);

struct SubmissionFields {
  std::wstring username;
  std::wstring password;
  std::wstring body;    // ComposeBody's result (text/counters.h)
  std::wstring number;  // empty: the account holder's own phone
};

// One line, no white space between the elements.
std::wstring BuildSubmissionXml(const SubmissionFields& fields);

// CR LF, CR LF, "&XMLDATA=", then the URL encoding of the document's Windows-1252 bytes.
std::string BuildFormBody(std::wstring_view xml);

// The program's own header lines, each ended by CR LF: with proxy authentication on, the
// proxy's keep-alive and Basic credentials ("user:password", the colon always present),
// then always the form content type.
std::wstring BuildHeaders(bool proxy_auth, std::wstring_view proxy_user,
                          std::wstring_view proxy_password);

}  // namespace sending
