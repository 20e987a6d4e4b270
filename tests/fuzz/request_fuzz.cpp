// The service's whole reading of a request: form decoding, code page, the XML document and
// the reply. Whatever the bytes, it must not fail, a request it takes holds only valid UTF-8
// without NUL characters, and the reply is the one fixed document for its code.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "service/submit_request.h"
#include "service/xml_reply.h"

namespace {

bool valid_utf8_without_nul(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    const std::size_t n = b == 0 ? 0 : b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3
                          : (b >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > text.size()) return false;
    char32_t c = n == 1 ? b : b & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
      const auto cont = static_cast<unsigned char>(text[i + k]);
      if ((cont & 0xC0) != 0x80) return false;
      c = (c << 6) | (cont & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += n;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view form(reinterpret_cast<const char*>(data), size);
  const auto read = lumora::read_submission(form);
  lumora::ResultCode code = lumora::ResultCode::kAccepted;
  if (const auto* request = std::get_if<lumora::SubmitRequest>(&read)) {
    for (std::string_view text : {request->username, request->password, request->body,
                                  request->destination}) {
      if (!valid_utf8_without_nul(text)) std::abort();
    }
  } else {
    code = std::get<lumora::ResultCode>(read);
  }
  const std::string reply = lumora::result_reply(code);
  if (reply.rfind("<?xml version=\"1.0\"?><SubmitMessageResponse Version=\"1.0\"><ResultCode>", 0) != 0)
    std::abort();
  return 0;
}
