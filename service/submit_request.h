#pragma once
// The SubmitMessageRequest document that the client posts in XMLDATA.
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "service/result_codes.h"

namespace lumora {

struct SubmitRequest {
  std::string username;
  std::string password;
  std::string body;         // the whole text of <Body>, line ends kept as sent
  std::string destination;  // empty: the account holder's own phone
};

// Parses a UTF-8 document. Empty when it is not well-formed XML, its root is not
// SubmitMessageRequest, or one of Username, Password, Body, Destination is missing.
std::optional<SubmitRequest> parse_submit_request(std::string_view utf8_xml);

// The request in a raw form body as the client posts it: XMLDATA form-decoded, read as
// Windows-1252 and parsed. Otherwise kNoXmlData or kMalformedRequest. Every text in a
// request is valid UTF-8 without NUL characters.
std::variant<SubmitRequest, ResultCode> read_submission(std::string_view form_body);

}  // namespace lumora
