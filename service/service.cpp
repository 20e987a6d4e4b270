#include "service/service.h"

#include <csignal>
#include <stdexcept>

#include "service/service_db.h"

namespace lumora {
namespace {

int bind_listener(httplib::Server& server, const std::string& host, int port) {
  if (port == 0) return server.bind_to_any_port(host);
  return server.bind_to_port(host, port) ? port : -1;
}

void wait_until(const std::function<bool()>& ready) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!ready() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace

Service::Service(const ServiceOptions& options)
    : context_{options.db_path, &stop_signal_, options.log_requests} {
  std::signal(SIGPIPE, SIG_IGN);
  open_service_db(options.db_path);  // create the tables once, before any request

  http_.server = std::make_unique<httplib::Server>();
  if (options.https_port) {
    https_.server = std::make_unique<httplib::SSLServer>(options.cert_path.c_str(),
                                                         options.key_path.c_str());
    if (!https_.server->is_valid()) {
      throw std::runtime_error("cannot load certificate " + options.cert_path + " and key " +
                               options.key_path);
    }
  }

  http_port_ = bind_listener(*http_.server, options.bind, options.http_port);
  if (http_port_ < 0) {
    throw std::runtime_error("cannot listen on " + options.bind + ":" +
                             std::to_string(options.http_port));
  }
  if (https_.server) {
    const int port = bind_listener(*https_.server, options.bind, *options.https_port);
    if (port < 0) {
      throw std::runtime_error("cannot listen on " + options.bind + ":" +
                               std::to_string(*options.https_port));
    }
    https_port_ = port;
  }
  start(http_);
  if (https_.server) start(https_);
}

void Service::start(Listener& listener) {
  RouteContext context = context_;  // the routes keep copies, each with its listener's scheme
  context.https = &listener == &https_;
  install_routes(*listener.server, context);
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
