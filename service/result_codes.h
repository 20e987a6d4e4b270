#pragma once
// Result codes of the reply to POST /hotkeys. The client reads the number between the
// <ResultCode> tags: 0 means accepted; for any other code it shows the ResultText to the user.
// The table is repeated in service/README.md.
#include <string_view>

namespace lumora {

enum class ResultCode : int {
  kAccepted = 0,
  kNoXmlData = 1,          // the form body has no XMLDATA field, or the field is empty
  kMalformedRequest = 2,   // XMLDATA is not a well-formed, complete SubmitMessageRequest
  kLoginFailed = 3,        // unknown user name or wrong password
  kBadDestination = 4,     // the destination is neither empty nor 7 to 15 digits
  kNotEnoughCredits = 5,   // the account has fewer credits than the message has parts
  kLoginThrottled = 6,     // too many wrong passwords for the account from the client's address
  kServiceError = 9,       // the service could not use its database
};

constexpr int result_number(ResultCode code) { return static_cast<int>(code); }

constexpr std::string_view result_text(ResultCode code) {
  switch (code) {
    case ResultCode::kAccepted: return "Message accepted";
    case ResultCode::kNoXmlData: return "Empty request: no XMLDATA";
    case ResultCode::kMalformedRequest: return "Malformed request";
    case ResultCode::kLoginFailed: return "Login failed: wrong username or password";
    case ResultCode::kBadDestination: return "Invalid destination number";
    case ResultCode::kNotEnoughCredits: return "Not enough credits";
    case ResultCode::kLoginThrottled:
      return "Login refused: too many wrong passwords, try again later";
    case ResultCode::kServiceError: return "Service temporarily unavailable";
  }
  return "Unknown result";
}

}  // namespace lumora
