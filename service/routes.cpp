#include "service/routes.h"

#include <array>
#include <string>

namespace lumora {
namespace {

constexpr std::array<RouteInstaller, 8> kRoutes = {
    install_submit_route,  install_login_route,  install_register_route,
    install_account_route, install_buy_route,    install_outbox_route,
    install_help_route,    install_stylesheet_route,
};

std::string_view status_title(int status) {
  switch (status) {
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 413: return "Payload Too Large";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Error";
  }
}

// Gives every error answer that has no body of its own a small HTML page (404 for unknown
// paths). Answers that already carry a page, such as the html-error fault, keep it.
httplib::Server::HandlerResponse error_page(const httplib::Request&, httplib::Response& res) {
  if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
  const std::string title = std::to_string(res.status) + " " + std::string(status_title(res.status));
  res.set_content("<html><head><title>" + title + "</title></head><body><h1>" + title +
                      "</h1><p>The Lumora service has no such page.</p></body></html>",
                  "text/html");
  return httplib::Server::HandlerResponse::Handled;
}

}  // namespace

void install_routes(httplib::Server& server, const RouteContext& context) {
  for (RouteInstaller install : kRoutes) install(server, context);
  server.set_error_handler(httplib::Server::HandlerWithResponse(error_page));
}

}  // namespace lumora
