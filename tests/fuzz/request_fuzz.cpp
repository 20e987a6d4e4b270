// The service's whole reading of a request: form decoding, code page, the XML document and
// the reply. Whatever the bytes, it must not fail, a request it takes holds only valid UTF-8
// without NUL characters, and the reply is the one fixed document for its code.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/unicode.h"
#include "service/submit_request.h"
#include "service/xml_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view form(reinterpret_cast<const char*>(data), size);
  const auto read = lumora::read_submission(form);
  const auto* request = std::get_if<lumora::SubmitRequest>(&read);
  if (request)
    for (std::string_view text : {request->username, request->password, request->body, request->destination})
      if (!unicode::FromUtf8(text) || text.find('\0') != std::string_view::npos) std::abort();
  const std::string reply = lumora::result_reply(request ? lumora::ResultCode::kAccepted : std::get<lumora::ResultCode>(read));
  if (reply.rfind("<?xml version=\"1.0\"?><SubmitMessageResponse Version=\"1.0\"><ResultCode>", 0) != 0)
    std::abort();
  return 0;
}
