// /style.css: the site's one style sheet. It is web/style.css, built into the service by
// cmake/embed_file.cmake, so that it is edited and checked as the CSS file it is.
#include <string_view>

#include "service/routes.h"

namespace lumora {

extern const std::string_view kStyleSheet;

void install_stylesheet_route(Router& router, const RouteContext&) {
  router.get("/style.css", [](const httplib::Request&, httplib::Response& response) {
    response.set_header("Cache-Control", "max-age=3600");
    response.set_header("X-Content-Type-Options", "nosniff");
    response.set_content(kStyleSheet.data(), kStyleSheet.size(), "text/css; charset=utf-8");
  });
}

}  // namespace lumora
