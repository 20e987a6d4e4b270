#include "service/xml_reply.h"

#include <string>

namespace lumora {
namespace {

std::string xml_escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

std::string reply_document(std::string_view code_text, std::string_view result_text) {
  std::string out(kXmlDeclaration);
  out += R"(<SubmitMessageResponse Version="1.0"><ResultCode>)";
  out += xml_escape(code_text);
  out += "</ResultCode><ResultText>";
  out += xml_escape(result_text);
  out += "</ResultText></SubmitMessageResponse>";
  return out;
}

std::string result_reply(ResultCode code) {
  return reply_document(std::to_string(result_number(code)), result_text(code));
}

}  // namespace lumora
