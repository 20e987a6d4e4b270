// The request as it leaves the program: document, form body and header lines, byte for byte.
#include <gtest/gtest.h>

#include "app/encodings.h"
#include "sending/submission.h"

using namespace sending;

namespace {

SubmissionFields Fields(std::wstring user, std::wstring pwd, std::wstring body, std::wstring num) {
  return {std::move(user), std::move(pwd), std::move(body), std::move(num)};
}

}  // namespace

TEST(SubmissionRequest, DocumentIsOneLineInTheServiceOrder) {
  EXPECT_EQ(BuildSubmissionXml(Fields(L"alice", L"secret", ComposeBody(L"Hi there", L"-- A"),
                                      L"447700900123")),
            L"<?xml version=\"1.0\"?><SubmitMessageRequest Version=\"1.0\"><Header>"
            L"<Username>alice</Username><Password>secret</Password></Header><MessageRequest>"
            L"<Message><Body><![CDATA[Hi there\r\n-- A]]></Body>"
            L"<Destination sequenceId=\"1\">447700900123</Destination></Message>"
            L"</MessageRequest></SubmitMessageRequest>");
}

TEST(SubmissionRequest, EmptyFooterStillEndsTheBodyInCrLfAndOwnPhoneHasEmptyDestination) {
  const std::wstring xml = BuildSubmissionXml(Fields(L"a", L"b", ComposeBody(L"x", L""), L""));
  EXPECT_NE(xml.find(L"<Body><![CDATA[x\r\n]]></Body>"), std::wstring::npos) << xml;
  EXPECT_NE(xml.find(L"<Destination sequenceId=\"1\"></Destination>"), std::wstring::npos);
}

TEST(SubmissionRequest, MarkupInAccountFieldsAndNumberIsEscapedButBodyStaysRawInCdata) {
  const std::wstring xml =
      BuildSubmissionXml(Fields(L"a&b<c>", L"p<w>&", L"1 < 2 & 3 > 2 = true", L"<44>"));
  EXPECT_NE(xml.find(L"<Username>a&amp;b&lt;c&gt;</Username>"), std::wstring::npos) << xml;
  EXPECT_NE(xml.find(L"<Password>p&lt;w&gt;&amp;</Password>"), std::wstring::npos) << xml;
  EXPECT_NE(xml.find(L"<![CDATA[1 < 2 & 3 > 2 = true]]>"), std::wstring::npos) << xml;
  EXPECT_NE(xml.find(L">&lt;44&gt;</Destination>"), std::wstring::npos) << xml;
}

TEST(SubmissionRequest, CdataEndMarkerInTheMessageIsSplitAcrossSections) {
  EXPECT_EQ(CdataSection(L"a]]>b"), L"<![CDATA[a]]]]><![CDATA[>b]]>");
  EXPECT_EQ(CdataSection(L"]]>]]>"), L"<![CDATA[]]]]><![CDATA[>]]]]><![CDATA[>]]>");
  EXPECT_EQ(CdataSection(L"]]"), L"<![CDATA[]]]]>");  // no marker: one section
  EXPECT_EQ(CdataSection(L""), L"<![CDATA[]]>");
  // Reading the sections back (their contents joined) gives the text as typed.
  for (std::wstring text : {L"x]]>y]]>", L"]]]>>", L"]>]]"}) {
    std::wstring cdata = CdataSection(text), joined;
    for (std::size_t at = 0; (at = cdata.find(L"<![CDATA[", at)) != std::wstring::npos;) {
      at += 9;
      std::size_t end = cdata.find(L"]]>", at);
      joined += cdata.substr(at, end - at);
      at = end + 3;
    }
    EXPECT_EQ(joined, text);
  }
}

TEST(SubmissionRequest, FormBodyStartsWithTwoCrLfPairsAndTheEncodedDeclaration) {
  const std::string body = BuildFormBody(BuildSubmissionXml(Fields(L"u", L"p", L"m", L"1")));
  const std::string start =
      "\r\n\r\n&XMLDATA=%3C%3Fxml+version%3D%221%2E0%22%3F%3E%3CSubmitMessageRequest+Version%3D%"
      "221%2E0%22%3E%3CHeader%3E%3CUsername%3E";
  ASSERT_EQ(body.substr(0, start.size()), start);
  EXPECT_EQ(modHotkeys::URLDecode(body.substr(13)),
            "<?xml version=\"1.0\"?><SubmitMessageRequest Version=\"1.0\"><Header><Username>u"
            "</Username><Password>p</Password></Header><MessageRequest><Message><Body><![CDATA[m]]>"
            "</Body><Destination sequenceId=\"1\">1</Destination></Message></MessageRequest>"
            "</SubmitMessageRequest>");
}

TEST(SubmissionRequest, FormBodyEscapesFormSignsAndCarriesAnsiBytes) {
  const std::string body = BuildFormBody(L"a&b=c+d \u00e9\u20ac");
  EXPECT_EQ(body, "\r\n\r\n&XMLDATA=a%26b%3Dc%2Bd+%E9%80");  // Windows-1252 in the native build
}

TEST(SubmissionRequest, HeadersCarryOnlyTheContentTypeWithoutProxyAuthentication) {
  EXPECT_EQ(BuildHeaders(false, L"proxyuser", L"pw"),
            L"Content-type: application/x-www-form-urlencoded\r\n");
}

TEST(SubmissionRequest, ProxyAuthenticationAddsTwoLinesBeforeTheContentType) {
  EXPECT_EQ(BuildHeaders(true, L"user", L"pass"),
            L"Proxy-Connection: Keep-Alive\r\n"
            L"Proxy-Authorization: Basic dXNlcjpwYXNz\r\n"
            L"Content-type: application/x-www-form-urlencoded\r\n");
  // An empty password keeps the colon: "user:".
  EXPECT_EQ(BuildHeaders(true, L"user", L""),
            L"Proxy-Connection: Keep-Alive\r\n"
            L"Proxy-Authorization: Basic dXNlcjo=\r\n"
            L"Content-type: application/x-www-form-urlencoded\r\n");
}
