#include "service/service.h"

#include <sys/socket.h>

#include <csignal>
#include <stdexcept>

#include "service/service_db.h"

namespace lumora {
namespace {

// Connections the listener's system queue holds before it refuses one (httplib listens with 5).
constexpr int kBacklog = 511;

void wait_until(const std::function<bool()>& ready) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!ready() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace

Service::Service(const ServiceOptions& options) : databases_(options.db_path) {
  std::signal(SIGPIPE, SIG_IGN);
  open_service_db(options.db_path);  // create the tables once, before any request
  writer_ = std::make_unique<MessageWriter>(options.db_path);

  context_ = RouteContext{options.db_path, &databases_, &stop_signal_, options.log_requests,
                          options.front_key, &logins_, writer_.get(), &registrations_};
  server_.new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
  int socket = -1;
  server_.set_socket_options([&socket](int fd) {
    httplib::default_socket_options(fd);
    socket = fd;
  });
  const char* host = "127.0.0.1";
  port_ = options.port == 0 ? server_.bind_to_any_port(host)
                            : (server_.bind_to_port(host, options.port) ? options.port : -1);
  if (port_ < 0) throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(options.port));
  ::listen(socket, kBacklog);  // listening again only changes the queue's length
  server_.set_socket_options(httplib::default_socket_options);

  install_routes(server_, context_);
  server_.set_payload_max_length(2 * 1024 * 1024);
  thread_ = std::thread([this] {
    server_.listen_after_bind();
    finished_ = true;
  });
  // httplib's stop() does nothing until the accept loop runs, so a stop() right after
  // construction would be lost; wait for the loop here.
  wait_until([this] { return finished_ || server_.is_running(); });
}

Service::~Service() { stop(); }

void Service::stop() {
  stop_signal_.raise();
  if (!thread_.joinable()) return;
  server_.stop();
  thread_.join();
}

}  // namespace lumora
