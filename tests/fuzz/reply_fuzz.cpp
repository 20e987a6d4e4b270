// The reply interpretation takes whatever a server or proxy sends. Whatever the bytes, it
// must not fail, and "Message sent" only ever comes from a readable reply that says so.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sending/reply.h"
#include "text/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte's bits: the transfer failed; the status was an error; proxy credentials went.
  const int flags = size > 0 ? data[0] : 0;
  const std::string bytes(reinterpret_cast<const char*>(data) + (size ? 1 : 0), size ? size - 1 : 0);
  const std::wstring reply = codepage::FromCp1252(bytes);
  sending::TransferEnd end{reply, flags & 2 ? L"HTTP/1.1 407 Proxy Authentication Required\r\n" : L"HTTP/1.1 200 OK\r\n"};
  if (flags & 1) end.problem = sending::TransferProblem::Other;
  end.error = L"error";
  end.proxy_credentials = (flags & 4) != 0;
  const sending::ReplyVerdict v = sending::InterpretReply(end);
  if (v.accepted && (!v.readable || v.text != L"Message sent")) std::abort();
  if (v.text.rfind(v.accepted ? L"Message sent" : L"Message not sent: ", 0) != 0) std::abort();
  return 0;
}
