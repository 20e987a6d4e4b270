#pragma once
// The service's pages. Each page lives in its own file with an install function; adding one
// means a new file and one line in the list in routes.cpp.
#include <httplib.h>

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

using RouteInstaller = void (*)(httplib::Server& server, const RouteContext& context);

// Installs every page and the HTML error page for unknown paths.
void install_routes(httplib::Server& server, const RouteContext& context);

// POST /hotkeys (submit_route.cpp).
void install_submit_route(httplib::Server& server, const RouteContext& context);

// The account web site, one page a file in web/: sign-in and sign-out, registration, the
// account page, buying credits, the outbox, help, and the stylesheet.
void install_login_route(httplib::Server& server, const RouteContext& context);
void install_register_route(httplib::Server& server, const RouteContext& context);
void install_account_route(httplib::Server& server, const RouteContext& context);
void install_buy_route(httplib::Server& server, const RouteContext& context);
void install_outbox_route(httplib::Server& server, const RouteContext& context);
void install_help_route(httplib::Server& server, const RouteContext& context);
void install_stylesheet_route(httplib::Server& server, const RouteContext& context);

}  // namespace lumora
