#pragma once
// A listening IPv4 TCP socket.
#include <string>

#include "service/unique_fd.h"

namespace lumora {

struct TcpListener {
  UniqueFd socket;
  int port = 0;  // the bound port, also when port 0 asked for any free one
};

// Binds bind:port (SO_REUSEADDR, close-on-exec) and listens; throws std::runtime_error with
// `who` (unless empty) and the system's reason when that fails.
TcpListener listen_tcp(const std::string& who, const std::string& bind, int port, int backlog);

}  // namespace lumora
