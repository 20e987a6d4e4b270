// The service's whole reading of a request: form decoding, code page and the XML document.
// Whatever the bytes, it must not fail, and a request it takes holds only valid UTF-8 without
// NUL characters. (The reply for each code is checked by tests/service/submission_test.cpp.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "service/submit_request.h"
#include "text/unicode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view form(reinterpret_cast<const char*>(data), size);
  const auto read = lumora::read_submission(form);
  const auto* request = std::get_if<lumora::SubmitRequest>(&read);
  if (request)
    for (std::string_view text : {request->username, request->password, request->body, request->destination})
      if (!unicode::FromUtf8(text) || text.find('\0') != std::string_view::npos) std::abort();
  return 0;
}
