#include "service/front_proxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <vector>

#include "service/client_address.h"
#include "service/tcp_listen.h"

namespace lumora {
namespace {

using Clock = std::chrono::steady_clock;

// Descriptors in the proxy process: the public sockets, its configuration, the certificate.
constexpr int kHttpFd = 3;
constexpr int kHttpsFd = 4;
constexpr int kConfigFd = 5;
constexpr int kCertFd = 6;
constexpr char kKeyVariable[] = "LUMORA_FRONT_KEY";

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An anonymous file in memory holding `text`: gone once no process holds it open.
UniqueFd memory_file(const char* name, const std::string& text) {
  UniqueFd fd(memfd_create(name, MFD_CLOEXEC));
  if (!fd) throw std::runtime_error(std::string("cannot make the memory file ") + name);
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t n = write(fd.get(), text.data() + done, text.size() - done);
    if (n <= 0) throw std::runtime_error(std::string("cannot write the memory file ") + name);
    done += static_cast<std::size_t>(n);
  }
  return fd;
}

// What the proxy's process gets: its descriptors where the configuration expects them, and
// an environment that holds the header key.
struct ProxyLaunch {
  int log, http, https, config, cert;
  std::vector<char*> argv, env;
};

// Runs in the forked child, so only async-signal-safe calls until the proxy replaces it.
[[noreturn]] void exec_proxy(const ProxyLaunch& launch) {
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);  // serve blocks SIGTERM for its sigwait
  prctl(PR_SET_PDEATHSIG, SIGKILL);           // never outlives serve
  const int null_fd = open("/dev/null", O_RDONLY);
  // Move every descriptor out of the way first, so that none lands on another's number; the
  // copies do not have close-on-exec, unlike their originals.
  int high[] = {launch.http, launch.https, launch.config, launch.cert};
  for (int& fd : high) fd = fd >= 0 ? fcntl(fd, F_DUPFD, 10) : -1;
  dup2(null_fd, 0);
  dup2(launch.log, 1);
  dup2(launch.log, 2);
  const int wanted[] = {kHttpFd, kHttpsFd, kConfigFd, kCertFd};
  for (int i = 0; i < 4; ++i) {
    if (high[i] >= 0) dup2(high[i], wanted[i]);
  }
  execve("/usr/sbin/haproxy", launch.argv.data(), launch.env.data());
  execvpe("haproxy", launch.argv.data(), launch.env.data());
  _exit(127);
}

}  // namespace

std::string front_proxy_config(const FrontOptions& options) {
  std::ostringstream c;
  // One buffer holds a whole request, 32 KiB of headers and the 1 MiB body limit, so that the
  // service only ever sees complete requests; buffers fill only as far as data arrives.
  c << "global\n"
       // Connections as many as the descriptor limit allows, up to about 5000.
       "  fd-hard-limit 10000\n"
       "  tune.bufsize 1114112\n"
       "  tune.maxrewrite 1024\n"
       // The certificate file holds its key; there are no files beside it to look for.
       "  ssl-load-extra-files none\n"
       "defaults\n"
       "  mode http\n"
       // The request must have arrived whole, headers and body, within this time.
       "  timeout http-request 5s\n"
       "  option http-buffer-request\n"
       "  timeout http-keep-alive 5s\n"
       "  timeout client 30s\n"
       "  timeout connect 5s\n"
       // A request waits this long for one of the service's workers before a 503.
       "  timeout queue 30s\n"
       // Above any delay the service is told to make on purpose.
       "  timeout server 10m\n"
       // A new connection to the service per request, so no idle one holds its workers.
       "  option http-server-close\n"
       // The service closing without a reply (the drop fault) reaches the client as such.
       "  errorfile 502 /dev/null\n";
  const auto frontend = [&](const char* name, const std::string& bind_line) {
    c << "frontend " << name << "\n"
         "  bind " << bind_line << "\n"
         // Over 100 header lines are refused by the parser itself (400), more than 32 KiB here.
         "  http-request deny status 431 content-type text/plain"
         " string \"Request header fields too large\" if { req.hdrs,length gt 32768 }\n"
         "  http-request deny deny_status 413 if { req.hdr_val(content-length) gt 1048576 }\n"
         "  http-request deny status 411 content-type text/plain"
         " string \"Content-Length required\" if { req.hdr(transfer-encoding) -m found }\n"
         // Set, not added: whatever a client sent under these names is replaced.
         "  http-request set-header " << kClientHeader << " %[src]\n"
         "  http-request set-header " << kSchemeHeader << " " << name << "\n"
         "  http-request set-header " << kFrontKeyHeader << " \"${" << kKeyVariable << "}\"\n"
         "  default_backend app\n";
  };
  frontend("http", "fd@" + std::to_string(kHttpFd));
  if (options.https_port) {
    frontend("https", "fd@" + std::to_string(kHttpsFd) + " ssl crt /dev/fd/" + std::to_string(kCertFd));
    // Browsers that reached the site over HTTPS keep to it. After-response rules reach every
    // answer of the frontend, the proxy's own refusals included.
    c << "  http-after-response set-header Strict-Transport-Security \"max-age=31536000\"\n";
  }
  // No more connections to the service than it has workers; the others queue here.
  c << "backend app\n  server app 127.0.0.1:" << options.backend << " maxconn " << options.backend_workers
    << "\n";
  return c.str();
}

FrontProxy::FrontProxy(const FrontOptions& options)
    : log_(memory_file("lumora-front-log", "")), bind_(options.bind) {
  try {
    start(options);
  } catch (...) {
    stop();
    throw;
  }
}

FrontProxy::~FrontProxy() { stop(); }

void FrontProxy::start(const FrontOptions& options) {
  TcpListener http = listen_tcp("", options.bind, options.http_port, 511);
  http_port_ = http.port;
  TcpListener https;
  UniqueFd cert;
  if (options.https_port) {
    https = listen_tcp("", options.bind, *options.https_port, 511);
    https_port_ = https.port;
    cert = memory_file("lumora-front-cert",
                       read_file(options.cert_path) + "\n" + read_file(options.key_path));
  }
  const UniqueFd config = memory_file("lumora-front-config", front_proxy_config(options));
  std::vector<std::string> args{"haproxy", "-db", "-f", "/dev/fd/" + std::to_string(kConfigFd)};
  std::vector<std::string> env{std::string(kKeyVariable) + "=" + options.front_key};
  for (char** e = environ; *e; ++e) {
    if (std::string_view(*e).rfind(kKeyVariable, 0) != 0) env.emplace_back(*e);
  }
  // Built before the fork: the child may only make async-signal-safe calls.
  ProxyLaunch launch{log_.get(), http.socket.get(), https.socket.get(), config.get(), cert.get(), {}, {}};
  for (std::string& a : args) launch.argv.push_back(a.data());
  for (std::string& e : env) launch.env.push_back(e.data());
  launch.argv.push_back(nullptr);
  launch.env.push_back(nullptr);

  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("cannot start the front proxy");
  if (pid_ == 0) exec_proxy(launch);

  // The sockets listen already; an answer to a request shows that the proxy serves them.
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (!accepts_connections(http_port_)) {
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      throw std::runtime_error(failure("the front proxy (haproxy) did not start"));
    }
    if (Clock::now() > deadline) throw std::runtime_error(failure("the front proxy does not answer"));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

bool FrontProxy::accepts_connections(int port) const {
  const std::string host = bind_ == "0.0.0.0" ? "127.0.0.1" : bind_;
  try {
    // Any reply will do; the probe's path is unknown to the service.
    const UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, host.c_str(), &address.sin_addr);
    if (connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return false;
    const std::string probe = "GET /lumora-front-probe HTTP/1.0\r\n\r\n";
    if (send(fd.get(), probe.data(), probe.size(), MSG_NOSIGNAL) < 0) return false;
    pollfd p{fd.get(), POLLIN, 0};
    char byte = 0;
    return poll(&p, 1, 200) == 1 && recv(fd.get(), &byte, 1, 0) == 1;
  } catch (const std::exception&) {
    return false;
  }
}

std::string FrontProxy::failure(const std::string& what) {
  std::string log(8192, '\0');
  const ssize_t n = pread(log_.get(), log.data(), log.size(), 0);
  log.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return what + ": " + log;
}

bool FrontProxy::exited() {
  if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == pid_) pid_ = -1;
  return pid_ < 0;
}

void FrontProxy::stop() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);  // HAProxy's immediate stop: every connection closes
    const auto deadline = Clock::now() + std::chrono::milliseconds(1500);
    while (waitpid(pid_, nullptr, WNOHANG) != pid_) {
      if (Clock::now() > deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = -1;
  }
}

}  // namespace lumora
