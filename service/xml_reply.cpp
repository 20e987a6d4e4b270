#include "service/xml_reply.h"

#include "service/markup_escape.h"

namespace lumora {

std::string reply_document(std::string_view code_text, std::string_view result_text) {
  std::string out(kXmlDeclaration);
  out += R"(<SubmitMessageResponse Version="1.0"><ResultCode>)";
  out += escape_markup(code_text);
  out += "</ResultCode><ResultText>";
  out += escape_markup(result_text);
  out += "</ResultText></SubmitMessageResponse>";
  return out;
}

std::string result_reply(ResultCode code) {
  return reply_document(std::to_string(result_number(code)), result_text(code));
}

}  // namespace lumora
