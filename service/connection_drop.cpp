#include "service/connection_drop.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <charconv>
#include <filesystem>
#include <string>

namespace lumora {
namespace {

struct Endpoint {
  std::string address;
  int port = -1;
};

Endpoint endpoint_of(const sockaddr_storage& storage) {
  char text[INET6_ADDRSTRLEN] = {};
  if (storage.ss_family == AF_INET) {
    const auto& in = reinterpret_cast<const sockaddr_in&>(storage);
    inet_ntop(AF_INET, &in.sin_addr, text, sizeof text);
    return {text, ntohs(in.sin_port)};
  }
  if (storage.ss_family == AF_INET6) {
    const auto& in6 = reinterpret_cast<const sockaddr_in6&>(storage);
    inet_ntop(AF_INET6, &in6.sin6_addr, text, sizeof text);
    return {text, ntohs(in6.sin6_port)};
  }
  return {};
}

bool is_request_socket(int fd, const httplib::Request& request) {
  sockaddr_storage local{}, peer{};
  socklen_t local_size = sizeof local, peer_size = sizeof peer;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &local_size) != 0 ||
      getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peer_size) != 0) {
    return false;  // not a socket, or not a connected one
  }
  const Endpoint here = endpoint_of(local), there = endpoint_of(peer);
  return here.port == request.local_port && there.port == request.remote_port &&
         here.address == request.local_addr && there.address == request.remote_addr;
}

}  // namespace

bool drop_connection(const httplib::Request& request) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
    const std::string name = entry.path().filename().string();
    int fd = -1;
    std::from_chars(name.data(), name.data() + name.size(), fd);
    if (fd >= 0 && is_request_socket(fd, request)) {
      return shutdown(fd, SHUT_RDWR) == 0;
    }
  }
  return false;
}

}  // namespace lumora
