// The reply interpretation takes whatever a server or proxy sends. Whatever the bytes, it
// must not fail, and "Message sent" only ever comes from a readable reply that says so.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sending/reply.h"
#include "text/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte says whether the transfer reported an error text as well.
  const bool transfer_failed = size > 0 && (data[0] & 1);
  const std::string bytes(reinterpret_cast<const char*>(data) + (size ? 1 : 0), size ? size - 1 : 0);
  const std::wstring reply = codepage::FromCp1252(bytes);
  const sending::ReplyVerdict v = sending::InterpretReply(reply, transfer_failed ? L"error" : L"");
  if (v.accepted && (!v.readable || v.text != L"Message sent")) std::abort();
  if (v.text.rfind(v.accepted ? L"Message sent" : L"Message not sent: ", 0) != 0) std::abort();
  return 0;
}
