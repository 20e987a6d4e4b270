#include "service/routes.h"

#include <array>

namespace lumora {
namespace {

constexpr std::array<RouteInstaller, 8> kRoutes = {
    install_submit_route,  install_login_route,  install_register_route,
    install_account_route, install_buy_route,    install_outbox_route,
    install_help_route,    install_stylesheet_route,
};

}  // namespace

void Router::allow(const std::string& path, const char* methods) {
  std::string& list = allowed_[path];
  list += (list.empty() ? "" : ", ") + std::string(methods);
}

void Router::get(const std::string& path, httplib::Server::Handler handler) {
  allow(path, "GET, HEAD");
  server_.Get(path, std::move(handler));
}

void Router::post(const std::string& path, httplib::Server::Handler handler) {
  allow(path, "POST");
  server_.Post(path, std::move(handler));
}

void Router::post(const std::string& path, httplib::Server::HandlerWithContentReader handler) {
  allow(path, "POST");
  server_.Post(path, std::move(handler));
}

std::string Router::allowed(const std::string& path) const {
  const auto found = allowed_.find(path);
  return found == allowed_.end() ? std::string() : found->second;
}

void install_routes(httplib::Server& server, const RouteContext& context) {
  Router router(server);
  for (RouteInstaller install : kRoutes) install(router, context);
  // Before any handler: httplib itself would answer an unknown method 400 and a known one on a
  // path without it 404. The error pages then give these answers their body.
  server.set_pre_routing_handler([router](const httplib::Request& request, httplib::Response& response) {
    const std::string allowed = router.allowed(request.path);
    if (allowed.empty()) {
      response.status = 404;
    } else if ((", " + allowed + ", ").find(", " + request.method + ", ") == std::string::npos) {
      response.status = 405;
      response.set_header("Allow", allowed);
    } else {
      return httplib::Server::HandlerResponse::Unhandled;
    }
    return httplib::Server::HandlerResponse::Handled;
  });
  install_error_pages(server, context);
}

}  // namespace lumora
