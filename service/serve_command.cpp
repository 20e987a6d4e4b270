#include <pthread.h>

#include <csignal>
#include <stdexcept>

#include "service/commands.h"
#include "service/front_proxy.h"
#include "service/service.h"
#include "service/service_db.h"
#include "service/web/session.h"

namespace lumora {

int run_serve(const std::vector<std::string>& args, std::ostream& out) {
  const CommandLine cl(args, {"db", "bind", "http-port", "https-port", "cert", "key",
                              "delay-ms", "fault"});
  FrontOptions front;
  front.bind = cl.get_or("bind", "127.0.0.1");
  front.http_port = static_cast<int>(cl.get_int("http-port", 0, 65535).value_or(80));
  if (const auto https = cl.get_int("https-port", 0, 65535)) {
    front.https_port = static_cast<int>(*https);
    front.cert_path = cl.require("cert");
    front.key_path = cl.require("key");
  }
  ServiceOptions options;
  options.db_path = cl.require("db");
  options.log_requests = true;
  // Made for this run and held only in memory here and in the proxy's environment.
  options.front_key = front.front_key = random_token();
  // A run behaves as its command line says, whatever switches an earlier run left behind.
  {
    Database db = open_service_db(options.db_path);
    write_faults(db, fault_settings_from(cl.get("fault"), cl));
  }

  // Block the stop signals before any thread starts, so that only sigwait below sees them;
  // SIGCHLD too, which tells that the front proxy ended.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGCHLD);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  Service service(options);
  front.backend = service.port();
  front.backend_workers = Service::kWorkers;
  FrontProxy proxy(front);
  out << "lumora-service: listening on http://" << front.bind << ":" << proxy.http_port() << "\n";
  if (proxy.https_port()) {
    out << "lumora-service: listening on https://" << front.bind << ":" << *proxy.https_port()
        << "\n";
  }
  out.flush();

  int received = 0;
  do {
    sigwait(&stop_signals, &received);
  } while (received == SIGCHLD && !proxy.exited());
  proxy.stop();    // no new requests; open connections close
  service.stop();  // requests already passed on finish, and are stored if accepted
  if (received == SIGCHLD) throw std::runtime_error("the front proxy (haproxy) ended unexpectedly");
  return 0;
}

}  // namespace lumora
