#pragma once
// Reading the service's reply: accepted or not, and what to tell the user.
#include <optional>
#include <string>
#include <string_view>

namespace sending {

// Why a transfer ended without a reply, in the terms the user is told.
enum class TransferProblem { None, Unreachable, ProxyUnreachable, TimedOut, BrokenOff, Untrusted, Other };

// What the alert's OK opens, for an outcome the user mends in the settings.
enum class Followup { None, AccountPage, BuyPage, ConnectionPage };

// What a transfer left behind.
struct TransferEnd {
  std::wstring_view reply{};    // the reply's body, or the transfer's error text
  std::wstring_view headers{};  // the reply's status line and headers; empty when none came
  TransferProblem problem = TransferProblem::None;  // why no reply came
  std::wstring_view error{};    // the transfer's own error text when it failed
  bool proxy_credentials = false;  // the request carried the proxy user name and password
};

struct ReplyVerdict {
  // False when the reply cannot be read (no reply at all, a tag missing, a code that is no
  // number): `text` then says so, for a message box.
  bool readable = false;
  bool accepted = false;  // the service reported the message as sent
  // "Message sent", or "Message not sent: " with one line in the user's words and, after an
  // empty line, the technical detail.
  std::wstring text;
  Followup followup = Followup::None;
};

// The service's reply begins "<?xml" exactly; its code between the first <ResultCode> and
// </ResultCode> is read as a number, 0 meaning accepted, otherwise its <ResultText> is the
// reason (code 3, the login, and 5, the credits, lead to their settings). Anything else is a
// foreign page, told by its HTTP status and its text without markup; a refusal with 401 or
// 407 is the proxy's when 407 or when proxy credentials were sent.
ReplyVerdict InterpretReply(const TransferEnd& end);

// The value of a result code: surrounding blanks, a sign and a decimal fraction allowed;
// nothing when it is not a number. Only whole codes are told apart: any other fraction reads
// as one half.
std::optional<double> ReadResultCode(std::wstring_view text);

// The status of a reply's first header line ("HTTP/1.1 500 Internal Server Error"); code 0
// when there is none.
struct HttpStatus {
  int code = 0;
  std::wstring reason;
};
HttpStatus StatusOf(std::wstring_view headers);

// The words of an HTML page as a reader sees them: tags, comments, scripts and styles left
// out, the usual entities decoded, blanks collapsed; at most `limit` characters, then "...".
std::wstring PageText(std::wstring_view html, std::size_t limit);

}  // namespace sending
