#include <pthread.h>

#include <csignal>

#include "service/commands.h"
#include "service/service.h"
#include "service/service_db.h"

namespace lumora {

int run_serve(const std::vector<std::string>& args, std::ostream& out) {
  const CommandLine cl(args, {"db", "bind", "http-port", "https-port", "cert", "key",
                              "delay-ms", "fault"});
  ServiceOptions options;
  options.db_path = cl.require("db");
  options.bind = cl.get_or("bind", "127.0.0.1");
  options.http_port = static_cast<int>(cl.get_int("http-port", 0, 65535).value_or(80));
  if (const auto https = cl.get_int("https-port", 0, 65535)) {
    options.https_port = static_cast<int>(*https);
    options.cert_path = cl.require("cert");
    options.key_path = cl.require("key");
  }
  options.log_requests = true;
  // A run behaves as its command line says, whatever switches an earlier run left behind.
  {
    Database db = open_service_db(options.db_path);
    write_faults(db, fault_settings_from(cl.get("fault"), cl));
  }

  // Block the stop signals before any thread starts, so that only sigwait below sees them.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  Service service(options);
  out << "lumora-service: listening on http://" << options.bind << ":" << service.http_port()
      << "\n";
  if (service.https_port()) {
    out << "lumora-service: listening on https://" << options.bind << ":" << *service.https_port()
        << "\n";
  }
  out.flush();

  int received = 0;
  sigwait(&stop_signals, &received);
  service.stop();
  return 0;
}

}  // namespace lumora
