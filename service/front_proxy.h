#pragma once
// The public face of `serve`: an HAProxy process that serve starts, supervises and stops.
// httplib gives a connection's worker thread no deadline for a whole request and keeps every
// header it is sent, so slow, silent or flooding clients could hold all its workers or all the
// memory. The proxy takes every connection instead: it holds a request until it has arrived
// whole (headers within a few seconds, the whole request within a bounded time), refuses
// too many or too large headers and bodies over the limit, ends TLS, and only then passes the
// complete request to the service's loopback listener of its scheme.
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

namespace lumora {

struct FrontOptions {
  std::string bind = "127.0.0.1";
  int http_port = 80;             // 0: any free port
  std::optional<int> https_port;  // set: also HTTPS, with the certificate and key below
  std::string cert_path;          // PEM files
  std::string key_path;
  int http_backend = 0;           // loopback ports of the service's listeners per scheme
  int https_backend = 0;
};

class FrontProxy {
 public:
  // Binds the public ports itself (so port 0 and bind errors behave as for any listener),
  // writes the proxy's configuration into a private run folder, starts the proxy on those
  // sockets and returns once it accepts connections. Throws std::runtime_error with the
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

  std::filesystem::path run_dir_;
  std::string bind_;
  int http_port_ = 0;
  std::optional<int> https_port_;
  pid_t pid_ = -1;
};

// The proxy's configuration for the given options; the public sockets are descriptors 3
// (HTTP) and 4 (HTTPS) of the proxy, the certificate and key one PEM file in run_dir.
std::string front_proxy_config(const FrontOptions& options, const std::filesystem::path& run_dir);

}  // namespace lumora
