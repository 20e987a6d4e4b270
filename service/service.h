#pragma once
// The Lumora service: one HTTP listener and optionally one HTTPS listener, each on its own
// thread, serving the same pages from one database file.
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
  std::string bind = "127.0.0.1";
  int http_port = 80;             // 0: any free port
  std::optional<int> https_port;  // set: also serve HTTPS with the certificate below
  std::string cert_path;
  std::string key_path;
  bool log_requests = false;
};

class Service {
 public:
  // Creates the database tables, binds every port and starts accepting connections;
  // throws std::runtime_error when a port cannot be bound or the certificate not loaded.
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
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    std::atomic<bool> finished{false};
  };

  void start(Listener& listener);

  StopSignal stop_signal_;
  RouteContext context_;
  Listener http_;
  Listener https_;
  int http_port_ = 0;
  std::optional<int> https_port_;
};

}  // namespace lumora
