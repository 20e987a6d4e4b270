#include "service/capture.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "service/result_codes.h"
#include "service/tcp_listen.h"
#include "service/xml_reply.h"

namespace lumora {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kMaxHeader = 64 * 1024;
constexpr std::size_t kMaxBody = 16 * 1024 * 1024;

[[noreturn]] void fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

// Waits until fd is readable or the deadline passes.
void wait_readable(int fd, Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  pollfd p{fd, POLLIN, 0};
  const int rc = poll(&p, 1, static_cast<int>(std::max<long long>(0, left.count())));
  if (rc == 0) throw std::runtime_error("capture: timed out waiting for the request");
  if (rc < 0) fail("capture: poll");
}

// Content-Length from the header block (name matched in any letter case); 0 without one.
std::size_t content_length(const std::string& head) {
  std::size_t line = head.find("\r\n");
  while (line != std::string::npos && line + 2 < head.size()) {
    const std::size_t start = line + 2;
    line = head.find("\r\n", start);
    const std::string field = head.substr(start, line - start);
    const std::size_t colon = field.find(':');
    if (colon == std::string::npos) continue;
    std::string name = field.substr(0, colon);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name == "content-length") {
      const std::size_t value = std::stoul(field.substr(colon + 1));
      if (value > kMaxBody) throw std::runtime_error("capture: body too large");
      return value;
    }
  }
  return 0;
}

std::string read_request(int fd, Clock::time_point deadline) {
  std::string data;
  std::size_t wanted = std::string::npos;  // total size, known once the header has arrived
  char buffer[16 * 1024];
  while (data.size() < wanted) {
    wait_readable(fd, deadline);
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n < 0) fail("capture: recv");
    if (n == 0) throw std::runtime_error("capture: connection closed before the request ended");
    data.append(buffer, static_cast<std::size_t>(n));
    if (wanted == std::string::npos) {
      const std::size_t end = data.find("\r\n\r\n");
      if (end == std::string::npos) {
        if (data.size() > kMaxHeader) throw std::runtime_error("capture: header too large");
        continue;
      }
      wanted = end + 4 + content_length(data.substr(0, end + 2));
    }
  }
  data.resize(wanted);  // anything sent after the body is not part of this request
  return data;
}

void send_all(int fd, const std::string& data) {
  std::size_t sent = 0;
  while (sent < data.size()) {
    const ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (n < 0) fail("capture: send");
    sent += static_cast<std::size_t>(n);
  }
}

}  // namespace

CaptureListener::CaptureListener(const std::string& bind, int port) {
  TcpListener listener = listen_tcp("capture", bind, port, 1);
  socket_ = std::move(listener.socket);
  port_ = listener.port;
}

void CaptureListener::capture_one(const std::string& out_path,
                                  const std::optional<std::string>& reply_body,
                                  std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  wait_readable(socket_.get(), deadline);
  const UniqueFd connection(::accept4(socket_.get(), nullptr, nullptr, SOCK_CLOEXEC));
  if (!connection) fail("capture: accept");

  const std::string request = read_request(connection.get(), deadline);
  std::ofstream out(out_path, std::ios::binary | std::ios::trunc);
  out.write(request.data(), static_cast<std::streamsize>(request.size()));
  if (!out.flush()) throw std::runtime_error("capture: cannot write " + out_path);

  const std::string body = reply_body ? *reply_body : result_reply(ResultCode::kAccepted);
  send_all(connection.get(), "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " +
                                 std::to_string(body.size()) +
                                 "\r\nConnection: close\r\n\r\n" + body);
  shutdown(connection.get(), SHUT_WR);
}

}  // namespace lumora
