#pragma once
// Reading the service's reply: accepted or not, and what to tell the user.
#include <string>
#include <string_view>

namespace sending {

struct ReplyVerdict {
  // False when the reply cannot be cut apart (a tag missing, a code that is no number, no
  // reply at all): `text` then says plainly what went wrong, for a message box.
  bool readable = false;
  bool accepted = false;  // the service reported the message as sent
  std::wstring text;      // the alert text when readable
};

// `reply`: the text the transfer left. It is a service reply when it begins "<?xml" exactly;
// its code between the first <ResultCode> and </ResultCode> is read as a number, 0 meaning
// accepted, otherwise its <ResultText> is the reason. Anything else is a foreign page, shown
// with its title (tags in any letter case) and the whole text.
// `transfer_error`: the transfer's own error text when it failed; it names the failure when
// the reply cannot be read.
ReplyVerdict InterpretReply(std::wstring_view reply, std::wstring_view transfer_error);

// True when `text` reads as a number (surrounding blanks, a sign and a decimal fraction
// allowed); `is_zero` tells whether every digit of it is 0.
bool ReadResultCode(std::wstring_view text, bool& is_zero);

}  // namespace sending
