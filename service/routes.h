#pragma once
// The service's pages. Each page lives in its own file with an install function; adding one
// means a new file and one line in the list in routes.cpp.
#include <httplib.h>

#include <map>
#include <string>

#include "service/login_check.h"
#include "service/message_writer.h"
#include "service/registration_limit.h"
#include "service/sqlite_db.h"
#include "service/stop_signal.h"

namespace lumora {

struct RouteContext {
  std::string db_path;
  DatabasePool* databases = nullptr;  // connections for the requests
  StopSignal* stop = nullptr;   // ends deliberate waits when the server stops
  bool log_requests = false;    // one line per submission on stderr
  std::string front_key;        // trusts the client headers of the front proxy that has it
  LoginGuard* logins = nullptr;   // every password check
  MessageWriter* writer = nullptr;  // stores accepted messages
  RegistrationLimit* registrations = nullptr;  // new accounts per client address
};

// Puts handlers on the server and notes which methods each path takes, so that another method
// is answered 405 with the list in `Allow`, and an unknown path 404, whatever its method.
// Paths are matched whole, as written.
class Router {
 public:
  explicit Router(httplib::Server& server) : server_(server) {}
  void get(const std::string& path, httplib::Server::Handler handler);
  void post(const std::string& path, httplib::Server::Handler handler);
  void post(const std::string& path, httplib::Server::HandlerWithContentReader handler);
  // "GET, HEAD, POST", say; empty for a path without handlers.
  std::string allowed(const std::string& path) const;

 private:
  void allow(const std::string& path, const char* methods);
  httplib::Server& server_;
  std::map<std::string, std::string> allowed_;
};

using RouteInstaller = void (*)(Router& router, const RouteContext& context);

// Installs every page, the 404 and 405 answers, and the site's page for every error answer.
void install_routes(httplib::Server& server, const RouteContext& context);

// POST /hotkeys (submit_route.cpp).
void install_submit_route(Router& router, const RouteContext& context);

// The account web site, one page a file in web/: sign-in and sign-out, registration, the
// account page, buying credits, the outbox, help, and the stylesheet.
void install_login_route(Router& router, const RouteContext& context);
void install_register_route(Router& router, const RouteContext& context);
void install_account_route(Router& router, const RouteContext& context);
void install_buy_route(Router& router, const RouteContext& context);
void install_outbox_route(Router& router, const RouteContext& context);
void install_help_route(Router& router, const RouteContext& context);
void install_stylesheet_route(Router& router, const RouteContext& context);

// Error answers without a body of their own get a page in the site's frame (web/error_page.cpp).
void install_error_pages(httplib::Server& server, const RouteContext& context);

}  // namespace lumora
