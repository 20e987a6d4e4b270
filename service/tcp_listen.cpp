#include "service/tcp_listen.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace lumora {

TcpListener listen_tcp(const std::string& who, const std::string& bind, int port, int backlog) {
  const std::string prefix = who.empty() ? "" : who + ": ";
  const auto fail = [&prefix](const std::string& what) {
    throw std::runtime_error(prefix + what + ": " + std::strerror(errno));
  };
  TcpListener listener{UniqueFd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)), 0};
  if (!listener.socket) fail("socket");
  const int yes = 1;
  setsockopt(listener.socket.get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  if (inet_pton(AF_INET, bind.c_str(), &address.sin_addr) != 1) {
    throw std::runtime_error(prefix + "not an IPv4 address: " + bind);
  }
  if (::bind(listener.socket.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    fail("cannot listen on " + bind + ":" + std::to_string(port));
  }
  if (::listen(listener.socket.get(), backlog) != 0) fail("listen");
  socklen_t size = sizeof address;
  getsockname(listener.socket.get(), reinterpret_cast<sockaddr*>(&address), &size);
  listener.port = ntohs(address.sin_port);
  return listener;
}

}  // namespace lumora
