// The pieces that turn the client's form body into a message: code page, form decoding,
// the XML document, the part count and the number check.
#include <gtest/gtest.h>

#include "service/cp1252.h"
#include "service/form_decoding.h"
#include "service/submission.h"
#include "service/submit_request.h"
#include "service_test_support.h"

namespace lumora {
namespace {

TEST(Cp1252, LatinBytesAndTheRemappedRangeBecomeUtf8) {
  EXPECT_EQ(cp1252_to_utf8("caf\xE9 \xFF"), "caf\xC3\xA9 \xC3\xBF");
  EXPECT_EQ(cp1252_to_utf8("\x80\x99\x9F"), "\xE2\x82\xAC\xE2\x84\xA2\xC5\xB8");  // euro, TM, Y-diaeresis
  EXPECT_EQ(cp1252_to_utf8("\x81\x9D"), "\xC2\x81\xC2\x9D");  // undefined: the C1 control
  EXPECT_EQ(cp1252_to_utf8(std::string("a\0b\r\n", 5)), std::string("a\0b\r\n", 5));
}

TEST(FormDecoding, PlusPercentBrokenEscapesAndTheFirstFieldBehindTheLeadingLineBreaks) {
  EXPECT_EQ(form_decode("a+b%3C%3c%E9"), "a b<<\xE9");
  EXPECT_EQ(form_decode("100%"), "100%");
  EXPECT_EQ(form_decode("%G1%4"), "%G1%4");
  const std::string body = "\r\n\r\n&XMLDATA=a%26b%3Dc&XMLDATA=second";
  EXPECT_EQ(form_field(body, "XMLDATA"), "a&b=c");
  EXPECT_EQ(form_field("XMLDATA", "XMLDATA"), "");
  EXPECT_EQ(form_field(body, "xmldata"), std::nullopt);
}

TEST(SubmitRequest, CdataSectionsJoinAndAnAmpersandMustStartAReferenceOutsideThem) {
  const auto read = [](const std::string& user, const std::string& body, const std::string& password = "p") {
    return parse_submit_request(test::submit_xml(user, password, "]]>" + body + "<![CDATA[", "447700900999"));
  };
  const auto request = read("Tom &amp; Co", "<![CDATA[a ]]]]><![CDATA[> b\r\n]]> <![CDATA[c]]>", "&lt;pw&gt;");
  ASSERT_TRUE(request);
  EXPECT_EQ(std::tie(request->username, request->password, request->body, request->destination),
            std::tuple("Tom & Co", "<pw>", "a ]]> b\r\n c", "447700900999"));
  EXPECT_EQ(read("A&#38;B&#x26;C", "<![CDATA[&]]><![CDATA[ & ]]>").value().username, "A&B&C");
  EXPECT_EQ(read("u", "<![CDATA[&]]><![CDATA[ & ]]>").value().body, "& & ");
  // References to characters beyond Windows-1252 arrive as UTF-8.
  EXPECT_EQ(read("u", "&#x416;&#128512;&#9;&#xFFFD;").value().body, "\xD0\x96\xF0\x9F\x98\x80\t\xEF\xBF\xBD");
  // A bare ampersand, an unknown entity, and references to characters XML does not allow.
  for (const char* user : {"Tom & Co", "Tom&nbsp;Co", "&#;", "a&#xD800;", "a&#x110000;", "a&#4294967337;", "a&#27;"})
    EXPECT_FALSE(read(user, "")) << user;
  std::string unclosed = test::submit_xml("u", "p", "never closed", "");
  EXPECT_FALSE(parse_submit_request(unclosed.erase(unclosed.find("]]>"), 3)));
}

TEST(Submission, NumbersAreSevenToFifteenDigits) {
  for (const char* good : {"1234567", "123456789012345"}) EXPECT_TRUE(valid_destination(good));
  for (const char* bad : {"123456", "1234567890123456", "+447700900123", "07700 900123"})
    EXPECT_FALSE(valid_destination(bad)) << bad;
}

}  // namespace
}  // namespace lumora
