#pragma once
// The public face of `serve`: an HAProxy process that serve starts, supervises and stops.
// httplib gives a connection's worker thread no deadline for a whole request and keeps every
// header it is sent, so slow, silent or flooding clients could hold all its workers or all the
// memory. The proxy takes every connection instead: it holds a request until it has arrived
// whole (headers within a few seconds, the whole request within a bounded time), refuses
// too many or too large headers and bodies over the limit, ends TLS, and only then passes the
// complete request to the service's loopback listener, naming the client and the scheme in
// headers that the service trusts only with the key of this run (client_address.h). No more
// requests go to the service at once than it has workers: a burst waits in the proxy's queue.
//
// Nothing of it is written to disk: its configuration, the certificate with its key and its log
// are anonymous memory files (memfd) that end with the processes that hold them, and the key of
// the headers reaches the proxy in its environment. A killed service leaves nothing behind.
#include <sys/types.h>

#include <optional>
#include <string>

#include "service/unique_fd.h"

namespace lumora {

struct FrontOptions {
  std::string bind = "127.0.0.1";
  int http_port = 80;             // 0: any free port
  std::optional<int> https_port;  // set: also HTTPS, with the certificate and key below
  std::string cert_path;          // PEM files
  std::string key_path;
  int backend = 0;                // loopback port of the service's listener
  int backend_workers = 1;        // requests the listener serves at once
  std::string front_key;          // proves the client headers to the service
};

class FrontProxy {
 public:
  // Binds the public ports itself (so port 0 and bind errors behave as for any listener),
  // starts the proxy on those sockets and returns once it accepts connections. Throws std::runtime_error with the
  // reason when a port cannot be bound or the proxy does not start (a bad certificate, say).
  explicit FrontProxy(const FrontOptions& options);
  ~FrontProxy();
  FrontProxy(const FrontProxy&) = delete;
  FrontProxy& operator=(const FrontProxy&) = delete;

  int http_port() const { return http_port_; }
  std::optional<int> https_port() const { return https_port_; }

  // True once the proxy process has ended (it is reaped here).
  bool exited();

  // Stops the proxy at once (open connections are closed) and waits for it. Idempotent.
  void stop();

 private:
  void start(const FrontOptions& options);
  bool accepts_connections(int port) const;
  std::string failure(const std::string& what);

  UniqueFd log_;  // the proxy's output, read back when it fails to start
  std::string bind_;
  int http_port_ = 0;
  std::optional<int> https_port_;
  pid_t pid_ = -1;
};

// The proxy's configuration for the given options; the public sockets are descriptors 3
// (HTTP) and 4 (HTTPS) of the proxy, the certificate and key one PEM file at descriptor 6, and
// the header key comes from the environment variable LUMORA_FRONT_KEY.
std::string front_proxy_config(const FrontOptions& options);

}  // namespace lumora
