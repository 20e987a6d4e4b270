#include "service/client_address.h"

#include <sodium.h>

namespace lumora {

ClientAddress client_of(const httplib::Request& request, std::string_view front_key) {
  const std::string key = request.get_header_value(kFrontKeyHeader);
  // Compared in constant time, so that the answer times tell nothing of the key.
  if (!front_key.empty() && key.size() == front_key.size() &&
      sodium_memcmp(key.data(), front_key.data(), key.size()) == 0) {
    return {request.get_header_value(kClientHeader), request.get_header_value(kSchemeHeader) == "https"};
  }
  return {request.remote_addr, false};
}

}  // namespace lumora
