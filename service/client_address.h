#pragma once
// Who sent a request. Behind the front proxy every connection comes from 127.0.0.1, so the
// proxy names the client's address and the scheme it used in headers of its own, and proves
// them with a key made for this run. Without that key (a connection made straight to the
// listener, or a client that sent the headers itself) the connection's own peer counts, over
// plain HTTP.
#include <httplib.h>

#include <string>
#include <string_view>

namespace lumora {

inline constexpr char kClientHeader[] = "X-Lumora-Client";
inline constexpr char kSchemeHeader[] = "X-Lumora-Scheme";
inline constexpr char kFrontKeyHeader[] = "X-Lumora-Front";

struct ClientAddress {
  std::string address;  // as the proxy writes it: "127.0.0.2", or an IPv6 address
  bool https = false;
};

// `front_key` empty: no proxy is trusted.
ClientAddress client_of(const httplib::Request& request, std::string_view front_key);

}  // namespace lumora
