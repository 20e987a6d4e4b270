#include "service/front_proxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "service/tcp_listen.h"

namespace lumora {
namespace {

using Clock = std::chrono::steady_clock;

// Descriptors of the public sockets in the proxy process.
constexpr int kHttpFd = 3;
constexpr int kHttpsFd = 4;

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

std::filesystem::path make_run_dir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lumora-front.XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a folder in /tmp");
  return pattern;
}

// Runs in the forked child, so only async-signal-safe calls until the proxy replaces it.
[[noreturn]] void exec_proxy(int log_fd, int http_fd, int https_fd, const char* config) {
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);  // serve blocks SIGTERM for its sigwait
  prctl(PR_SET_PDEATHSIG, SIGKILL);           // never outlives serve
  const int null_fd = open("/dev/null", O_RDONLY);
  // Move the sockets out of the way first, so that neither lands on the other's number.
  const int http_high = fcntl(http_fd, F_DUPFD, 10);
  const int https_high = https_fd >= 0 ? fcntl(https_fd, F_DUPFD, 10) : -1;
  dup2(null_fd, 0);
  dup2(log_fd, 1);
  dup2(log_fd, 2);
  dup2(http_high, kHttpFd);
  if (https_high >= 0) dup2(https_high, kHttpsFd);
  const char* const argv[] = {"haproxy", "-db", "-f", config, nullptr};
  execv("/usr/sbin/haproxy", const_cast<char* const*>(argv));
  execvp("haproxy", const_cast<char* const*>(argv));
  _exit(127);
}

}  // namespace

std::string front_proxy_config(const FrontOptions& options, const std::filesystem::path& run_dir) {
  std::ostringstream c;
  // One buffer holds a whole request, 32 KiB of headers and the 1 MiB body limit, so that the
  // service only ever sees complete requests; buffers fill only as far as data arrives.
  c << "global\n"
       // Connections as many as the descriptor limit allows, up to about 5000.
       "  fd-hard-limit 10000\n"
       "  tune.bufsize 1114112\n"
       "  tune.maxrewrite 1024\n"
       "defaults\n"
       "  mode http\n"
       // The request must have arrived whole, headers and body, within this time.
       "  timeout http-request 5s\n"
       "  option http-buffer-request\n"
       "  timeout http-keep-alive 5s\n"
       "  timeout client 30s\n"
       "  timeout connect 5s\n"
       // Above any delay the service is told to make on purpose.
       "  timeout server 10m\n"
       // A new connection to the service per request, so no idle one holds its workers.
       "  option http-server-close\n"
       // The service closing without a reply (the drop fault) reaches the client as such.
       "  errorfile 502 /dev/null\n";
  const auto frontend = [&](const char* name, const std::string& bind_line, const char* backend) {
    c << "frontend " << name << "\n"
         "  bind " << bind_line << "\n"
         // Over 100 header lines are refused by the parser itself (400), more than 32 KiB here.
         "  http-request deny status 431 content-type text/plain"
         " string \"Request header fields too large\" if { req.hdrs,length gt 32768 }\n"
         "  http-request deny deny_status 413 if { req.hdr_val(content-length) gt 1048576 }\n"
         "  http-request deny status 411 content-type text/plain"
         " string \"Content-Length required\" if { req.hdr(transfer-encoding) -m found }\n"
         "  default_backend " << backend << "\n";
  };
  frontend("http", "fd@" + std::to_string(kHttpFd), "http_app");
  if (options.https_port) {
    frontend("https", "fd@" + std::to_string(kHttpsFd) + " ssl crt " +
                          (run_dir / "server.pem").string(), "https_app");
    // Browsers that reached the site over HTTPS keep to it. After-response rules reach every
    // answer of the frontend, the proxy's own refusals included.
    c << "  http-after-response set-header Strict-Transport-Security \"max-age=31536000\"\n";
  }
  c << "backend http_app\n  server app 127.0.0.1:" << options.http_backend << "\n";
  if (options.https_port) c << "backend https_app\n  server app 127.0.0.1:" << options.https_backend << "\n";
  return c.str();
}

FrontProxy::FrontProxy(const FrontOptions& options) : run_dir_(make_run_dir()), bind_(options.bind) {
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
  if (options.https_port) {
    https = listen_tcp("", options.bind, *options.https_port, 511);
    https_port_ = https.port;
    write_file(run_dir_ / "server.pem",
               read_file(options.cert_path) + "\n" + read_file(options.key_path));
  }
  const std::string config = (run_dir_ / "haproxy.cfg").string();
  write_file(config, front_proxy_config(options, run_dir_));

  const UniqueFd log(open((run_dir_ / "proxy.log").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("cannot start the front proxy");
  if (pid_ == 0) exec_proxy(log.get(), http.socket.get(), https.socket.get(), config.c_str());

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
  return what + ": " + read_file(run_dir_ / "proxy.log");
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
  std::error_code ignored;
  if (!run_dir_.empty()) std::filesystem::remove_all(run_dir_, ignored);
  run_dir_.clear();
}

}  // namespace lumora
