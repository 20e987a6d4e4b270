#include "service/service.h"

#include <csignal>
#include <stdexcept>

#include "service/service_db.h"

namespace lumora {
namespace {

void wait_until(const std::function<bool()>& ready) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!ready() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace

Service::Service(const ServiceOptions& options) {
  std::signal(SIGPIPE, SIG_IGN);
  open_service_db(options.db_path);  // create the tables once, before any request

  const RouteContext context{options.db_path, &stop_signal_, options.log_requests, false};
  http_.context = context;
  http_port_ = bind_listener(http_, options.http_port);
  if (options.https_port) {
    https_.context = context;
    https_.context.https = true;
    https_port_ = bind_listener(https_, *options.https_port);
  }
  start(http_);
  if (https_.server) start(https_);
}

int Service::bind_listener(Listener& listener, int port) {
  listener.server = std::make_unique<httplib::Server>();
  const char* host = "127.0.0.1";
  const int bound = port == 0 ? listener.server->bind_to_any_port(host)
                              : (listener.server->bind_to_port(host, port) ? port : -1);
  if (bound < 0) throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
  return bound;
}

void Service::start(Listener& listener) {
  install_routes(*listener.server, listener.context);
  listener.server->set_payload_max_length(2 * 1024 * 1024);
  listener.thread = std::thread([&listener] {
    listener.server->listen_after_bind();
    listener.finished = true;
  });
  // httplib's stop() does nothing until the accept loop runs, so a stop() right after
  // construction would be lost; wait for the loop here.
  wait_until([&listener] { return listener.finished || listener.server->is_running(); });
}

Service::~Service() { stop(); }

void Service::stop() {
  stop_signal_.raise();
  for (Listener* listener : {&http_, &https_}) {
    if (!listener->thread.joinable()) continue;
    listener->server->stop();
    listener->thread.join();
  }
}

}  // namespace lumora
