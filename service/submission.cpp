#include "service/submission.h"

#include <algorithm>

#include "service/accounts.h"
#include "service/login_check.h"
#include "service/messages.h"
#include "service/submit_request.h"

namespace lumora {

std::int64_t message_parts(std::string_view utf8) {
  // Count characters, not bytes: continuation bytes (10xxxxxx) do not start one.
  const auto characters = std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  });
  return std::max<std::int64_t>(1, (characters + 159) / 160);
}

bool valid_destination(std::string_view number) {
  return number.size() >= 7 && number.size() <= 15 &&
         std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

ResultCode submit_message(Database& db, std::string_view form_body) {
  const auto read = read_submission(form_body);
  if (const auto* refused = std::get_if<ResultCode>(&read)) return *refused;
  const auto* request = &std::get<SubmitRequest>(read);

  Transaction tx(db);
  const auto account = find_account(db, request->username);
  if (!account) return ResultCode::kLoginFailed;
  if (const LoginCheck login = check_login(db, *account, request->password);
      login != LoginCheck::kAccepted) {
    return login == LoginCheck::kThrottled ? ResultCode::kLoginThrottled : ResultCode::kLoginFailed;
  }
  if (!request->destination.empty() && !valid_destination(request->destination)) {
    return ResultCode::kBadDestination;
  }
  const std::int64_t parts = message_parts(request->body);
  if (account->credits < parts) return ResultCode::kNotEnoughCredits;

  const std::string& destination =
      request->destination.empty() ? account->phone : request->destination;
  record_message(db, account->id, destination, request->body, parts);
  take_credits(db, account->id, parts);
  tx.commit();
  return ResultCode::kAccepted;
}

}  // namespace lumora
