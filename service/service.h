#pragma once
// The Lumora service's application server: a plain HTTP listener on loopback with a fixed
// number of workers, serving every page from one database file. Clients never reach it
// directly when `serve` runs: the front proxy (front_proxy.h) takes the connections, holds each
// request until it is complete, ends TLS, names the client (client_address.h) and passes the
// request on, never more at once than the listener has workers.
#include <httplib.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "service/routes.h"
#include "service/stop_signal.h"

namespace lumora {

struct ServiceOptions {
  std::string db_path;
  int port = 0;               // loopback port; 0: any free one
  std::string front_key;      // the front proxy's header key; empty: no proxy trusted
  bool log_requests = false;
};

class Service {
 public:
  // Requests served at once; the front proxy sends no more.
  static constexpr int kWorkers = 16;

  // Creates the database tables, binds the port and starts accepting connections;
  // throws std::runtime_error when the port cannot be bound.
  // Ignores SIGPIPE for the whole process: a client that goes away must not end the server.
  explicit Service(const ServiceOptions& options);
  ~Service();
  Service(const Service&) = delete;
  Service& operator=(const Service&) = delete;

  int port() const { return port_; }
  LoginGuard& logins() { return logins_; }

  // Ends deliberate waits, stops the listener and waits for its thread. Idempotent.
  void stop();

 private:
  StopSignal stop_signal_;
  DatabasePool databases_;
  LoginGuard logins_;
  RegistrationLimit registrations_;
  std::unique_ptr<MessageWriter> writer_;  // made once the tables exist
  RouteContext context_;
  httplib::Server server_;
  std::thread thread_;
  std::atomic<bool> finished_{false};
  int port_ = 0;
};

}  // namespace lumora
