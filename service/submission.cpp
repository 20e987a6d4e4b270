#include "service/submission.h"

#include <algorithm>

#include "text/unicode.h"
#include "text/counters.h"
#include "service/submit_request.h"

namespace lumora {

std::int64_t message_parts(std::string_view utf8) {
  // The program's own count, so that the bill is what its counters showed. Text that is not
  // UTF-8 (never stored) is counted a byte a character.
  const auto text = unicode::FromUtf8(utf8);
  return CountBody(text ? *text : std::wstring(utf8.size(), L'?')).nummsgs;
}

bool valid_destination(std::string_view number) {
  return number.size() >= 7 && number.size() <= 15 &&
         std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

ResultCode submit_message(Database& db, std::string_view form_body, std::string_view client_address,
                          LoginGuard& logins, MessageWriter& writer) {
  const auto read = read_submission(form_body);
  if (const auto* refused = std::get_if<ResultCode>(&read)) return *refused;
  const auto* request = &std::get<SubmitRequest>(read);

  const LoginOutcome login = logins.check(db, request->username, request->password, client_address);
  if (login.check != LoginCheck::kAccepted) {
    return login.check == LoginCheck::kThrottled ? ResultCode::kLoginThrottled : ResultCode::kLoginFailed;
  }
  if (!request->destination.empty() && !valid_destination(request->destination)) {
    return ResultCode::kBadDestination;
  }
  return writer.store({login.account->id, request->destination, request->body, message_parts(request->body)});
}

}  // namespace lumora
