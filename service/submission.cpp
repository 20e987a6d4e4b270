#include "service/submission.h"

#include <algorithm>

#include "text/unicode.h"
#include "text/counters.h"
#include "service/accounts.h"
#include "service/login_check.h"
#include "service/messages.h"
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

ResultCode submit_message(Database& db, std::string_view form_body) {
  const auto read = read_submission(form_body);
  if (const auto* refused = std::get_if<ResultCode>(&read)) return *refused;
  const auto* request = &std::get<SubmitRequest>(read);

  // The password hash takes a while, so the login is checked before the write lock is taken:
  // one login must not hold up every other submission.
  const auto login_account = find_account(db, request->username);
  if (!login_account) return ResultCode::kLoginFailed;
  if (const LoginCheck login = check_login(db, *login_account, request->password);
      login != LoginCheck::kAccepted) {
    return login == LoginCheck::kThrottled ? ResultCode::kLoginThrottled : ResultCode::kLoginFailed;
  }
  if (!request->destination.empty() && !valid_destination(request->destination)) {
    return ResultCode::kBadDestination;
  }
  const std::int64_t parts = message_parts(request->body);

  Transaction tx(db);
  const auto account = find_account(db, login_account->id);  // the credits as they stand now
  if (!account) return ResultCode::kLoginFailed;
  if (account->credits < parts) return ResultCode::kNotEnoughCredits;

  const std::string& destination =
      request->destination.empty() ? account->phone : request->destination;
  record_message(db, account->id, destination, request->body, parts);
  take_credits(db, account->id, parts);
  tx.commit();
  return ResultCode::kAccepted;
}

}  // namespace lumora
