// The pages of error answers: in the site's frame, with its headers, saying what went wrong
// and offering a way back. Answers that carry a body of their own (a page's refusal, the
// html-error fault) keep it.
#include <exception>

#include "service/web/page.h"

namespace lumora {
namespace {

struct ErrorText {
  int status;
  std::string_view title;
  std::string_view text;
};

constexpr ErrorText kErrors[] = {
    {403, "Form refused", "This form did not come from this site, or it is too old. Go back, "
                          "reload the page and try again."},
    {404, "Page not found", "There is no page at this address. The link may be mistyped, or "
                            "the page may have moved."},
    {405, "Request not allowed", "This address does not take this kind of request."},
    {413, "Request too large", "The request is larger than the service takes."},
    {500, "Something went wrong", "The service cannot answer right now. Please try again in a "
                                  "moment."},
    {503, "Service unavailable", "The service is stopping or too busy. Please try again in a "
                                 "moment."},
};
constexpr ErrorText kOther = {0, "Request not understood", "The service could not read this request."};

}  // namespace

Html error_page(int status, const Visit& visit) {
  ErrorText error = kOther;
  for (const ErrorText& known : kErrors) {
    if (known.status == status) error = known;
  }
  const Html way_back = visit.account ? R"(<a class="button" href="/subscribe">Back to your account</a>)"_html
                                      : R"(<a class="button" href="/login">Sign in</a>)"_html;
  return render_page(error.title, visit,
                     R"(<section class="card">)"_html + notice(Notice::kError, error.text) +
                         R"(<p class="actions">)"_html + way_back +
                         R"(<a class="button quiet" href="/help.jsp">Help</a></p></section>)"_html);
}

void install_error_pages(httplib::Server& server, const RouteContext& context) {
  const auto handler = [context](const httplib::Request& request, httplib::Response& response) {
    if (!response.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
    Visit visit;  // anonymous if the database cannot say who it is
    try {
      const DatabasePool::Lease lease = context.databases->lease();
      visit = visit_of(*lease, request, response, client_of(request, context.front_key).https);
    } catch (const std::exception&) {
    }
    send_page(response, error_page(response.status, visit), response.status);
    return httplib::Server::HandlerResponse::Handled;
  };
  server.set_error_handler(httplib::Server::HandlerWithResponse(handler));
}

}  // namespace lumora
