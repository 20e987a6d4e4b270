#pragma once
// The Lumora service's application server: plain HTTP listeners on loopback, each on its own
// thread, serving the same pages from one database file. Clients never reach them directly
// when `serve` runs: the front proxy (front_proxy.h) takes the connections, holds each request
// until it is complete, ends TLS, and passes it on to the listener of its scheme.
#include <httplib.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "service/routes.h"
#include "service/stop_signal.h"

namespace lumora {

struct ServiceOptions {
  std::string db_path;
  int http_port = 0;              // loopback port for requests that came over HTTP; 0: any free
  std::optional<int> https_port;  // set: a second listener, for requests that came over HTTPS
  bool log_requests = false;
};

class Service {
 public:
  // Creates the database tables, binds every port and starts accepting connections;
  // throws std::runtime_error when a port cannot be bound.
  // Ignores SIGPIPE for the whole process: a client that goes away must not end the server.
  explicit Service(const ServiceOptions& options);
  ~Service();
  Service(const Service&) = delete;
  Service& operator=(const Service&) = delete;

  int http_port() const { return http_port_; }
  std::optional<int> https_port() const { return https_port_; }

  // Ends deliberate waits, stops both listeners and waits for their threads. Idempotent.
  void stop();

 private:
  struct Listener {
    RouteContext context;
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    std::atomic<bool> finished{false};
  };

  static int bind_listener(Listener& listener, int port);
  void start(Listener& listener);

  StopSignal stop_signal_;
  Listener http_;
  Listener https_;
  int http_port_ = 0;
  std::optional<int> https_port_;
};

}  // namespace lumora
