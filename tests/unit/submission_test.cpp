// The request as it leaves the program: document, form body and header lines, byte for byte.
#include <gtest/gtest.h>

#include <stdexcept>

#include "sending/send_request.h"
#include "sending/submission.h"
#include "text/codepage.h"
#include "text/encodings.h"

using namespace sending;

// What goes where in the request, its header lines with and without the proxy's among them, is
// seen whole on the wire by tests/e2e/capture_test.cpp; the proxy's password by proxy_test.cpp.
TEST(SendRequest, ThePortIsANumberFrom1To65535) {
  SendInputs in{.number = L"447700900123", .message = L"m", .footer = L"-- A", .username = L"alice",
                .password = L"secret", .host = {}, .port = L"8080", .proxy_auth = true, .proxy_user = L"user",
                .proxy_password = L"pass"};
  EXPECT_EQ(BuildSendRequest(in).port, 8080);
  for (const wchar_t* port : {L"", L"0", L"65536", L"80x", L"-1"}) {
    in.port = port;
    EXPECT_THROW(BuildSendRequest(in), std::runtime_error) << port;
  }
}

// Fields are escaped, the body stays raw in CDATA; characters outside Windows-1252 go as one
// reference each outside CDATA (an emoji is one; the em dash is in the code page). The document
// is one line in the service's order; the form body carries it URL-encoded, in Windows-1252 bytes.
TEST(SubmissionRequest, DocumentEscapesItsFieldsAndTheFormBodyCarriesItEncoded) {
  const std::wstring xml = BuildSubmissionXml({L"a&b<c>\u0410\u043d\u044f", L"p<w>&\u00e9\u4e2d",
      ComposeBody(L"\u041f\u0440 ]]> x\U0001F600 1 < 2 & 3 > 2", L"\u2014 \u0410"), L"<44>4\u0661"});
  EXPECT_EQ(xml,
            L"<?xml version=\"1.0\"?><SubmitMessageRequest Version=\"1.0\"><Header>"
            L"<Username>a&amp;b&lt;c&gt;&#x410;&#x43D;&#x44F;</Username><Password>p&lt;w&gt;&amp;\u00e9&#x4E2D;"
            L"</Password></Header><MessageRequest><Message><Body>&#x41F;&#x440;<![CDATA[ ]]]]><![CDATA[> x]]>"
            L"&#x1F600;<![CDATA[ 1 < 2 & 3 > 2\r\n\u2014 ]]>&#x410;</Body><Destination sequenceId=\"1\">"
            L"&lt;44&gt;4&#x661;</Destination></Message></MessageRequest></SubmitMessageRequest>");
  const std::string body = BuildFormBody(xml);
  EXPECT_EQ(body.substr(0, 13), "\r\n\r\n&XMLDATA=");
  EXPECT_EQ(encodings::URLDecode(body.substr(13)), codepage::ToCp1252(xml));
  EXPECT_EQ(BuildFormBody(L"a&b=c+d \u00e9\u20ac"), "\r\n\r\n&XMLDATA=a%26b%3Dc%2Bd+%E9%80");
  EXPECT_EQ(ComposeBody(L"x", L""), L"x\r\n") << "an empty footer still ends the body in CR LF";
  // Every end marker is split across two sections, even back to back; "]]" alone is no marker.
  EXPECT_EQ(CdataSection(L"]]>]]>"), L"<![CDATA[]]]]><![CDATA[>]]]]><![CDATA[>]]>");
  EXPECT_EQ(CdataSection(L"]]"), L"<![CDATA[]]]]>");
  // What XML cannot carry at all becomes the replacement character.
  EXPECT_EQ(EscapeXmlText(std::wstring{L'a', static_cast<wchar_t>(0xD800), L'\uFFFF'}), L"a&#xFFFD;&#xFFFD;");
}
