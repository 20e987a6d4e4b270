#pragma once
// A bare TCP listener that records one HTTP request byte for byte, for tests that must see
// exactly what the client sent. No HTTP library is involved, so nothing is normalised.
#include <chrono>
#include <optional>
#include <string>

#include "service/unique_fd.h"

namespace lumora {

class CaptureListener {
 public:
  // Binds and listens; throws std::runtime_error on failure. Port 0 picks a free port.
  CaptureListener(const std::string& bind, int port);

  int port() const { return port_; }

  // Accepts one connection; reads the request line, the headers and exactly Content-Length
  // bytes of body (none without that header); writes those bytes unchanged to out_path;
  // answers 200 OK with reply_body, or with the accepted XML reply when none is given; closes.
  // Throws std::runtime_error when no complete request arrives within `timeout`.
  void capture_one(const std::string& out_path, const std::optional<std::string>& reply_body,
                   std::chrono::milliseconds timeout);

 private:
  UniqueFd socket_;
  int port_ = 0;
};

}  // namespace lumora
