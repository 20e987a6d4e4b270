#pragma once
// The reply document to POST /hotkeys. The client finds its parts by plain text search, so the
// declaration comes first and the tags are written exactly as below, with no white space.
#include <string>
#include <string_view>

#include "service/result_codes.h"

namespace lumora {

inline constexpr std::string_view kXmlDeclaration = R"(<?xml version="1.0"?>)";

// <?xml version="1.0"?><SubmitMessageResponse Version="1.0"><ResultCode>CODE</ResultCode>
// <ResultText>TEXT</ResultText></SubmitMessageResponse>, the text XML-escaped.
std::string reply_document(std::string_view code_text, std::string_view result_text);

std::string result_reply(ResultCode code);

}  // namespace lumora
