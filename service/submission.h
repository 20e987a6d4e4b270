#pragma once
// Checking and storing one submitted message.
#include <cstdint>
#include <string_view>

#include "service/login_check.h"
#include "service/message_writer.h"
#include "service/result_codes.h"
#include "service/sqlite_db.h"

namespace lumora {

// Reads XMLDATA from the raw form body, checks request, login (of `client_address`),
// destination and credits in that order, and on success has `writer` store the message and
// take its credits in one transaction.
ResultCode submit_message(Database& db, std::string_view form_body, std::string_view client_address,
                          LoginGuard& logins, MessageWriter& writer);

// SMS parts of a UTF-8 body (message, CR LF, footer) as the program counts them: GSM 7-bit
// or UCS-2, the joining line break as one character (text/counters.h).
std::int64_t message_parts(std::string_view utf8);

// 7 to 15 digits and nothing else.
bool valid_destination(std::string_view number);

}  // namespace lumora
