#include <chrono>
#include <cstdio>
#include <exception>

#include "service/client_address.h"
#include "service/fault_replies.h"
#include "service/routes.h"
#include "service/sqlite_db.h"
#include "service/submission.h"
#include "service/xml_reply.h"

namespace lumora {
namespace {

// A form body larger than this is refused; a long message is a few kilobytes encoded.
constexpr std::size_t kMaxBody = 1024 * 1024;

void log_line(const RouteContext& context, const httplib::Request& request,
              const std::string& what) {
  if (context.log_requests) {
    std::fprintf(stderr, "lumora-service: POST /hotkeys from %s: %s\n",
                 client_of(request, context.front_key).address.c_str(), what.c_str());
  }
}

void answer(const RouteContext& context, const httplib::Request& request,
            const std::string& body, httplib::Response& response) {
  const DatabasePool::Lease lease = context.databases->lease();
  Database& db = *lease;
  const FaultSettings faults = read_faults(db);
  if (faults.delay_ms > 0 && context.stop->wait_for(std::chrono::milliseconds(faults.delay_ms))) {
    response.status = 503;  // stopping: no answer, and nothing stored
    return;
  }
  if (apply_fault(faults.mode, request, response)) {
    log_line(context, request, "fault " + std::string(fault_name(faults.mode)));
    return;
  }
  const ResultCode code =
      submit_message(db, body, client_of(request, context.front_key).address, *context.logins, *context.writer);
  response.set_content(result_reply(code), "text/xml");
  log_line(context, request, std::to_string(result_number(code)) + " " +
                                 std::string(result_text(code)));
}

}  // namespace

void install_submit_route(Router& router, const RouteContext& context) {
  // The content-reader form of the handler: httplib's own form reading would refuse form
  // bodies over 8 KB, which a long message with many escaped characters exceeds.
  router.post("/hotkeys", [context](const httplib::Request& request, httplib::Response& response,
                                    const httplib::ContentReader& read) {
    std::string body;
    const bool complete = read([&body](const char* data, std::size_t size) {
      body.append(data, size);
      return body.size() <= kMaxBody;
    });
    if (!complete) {
      response.status = 413;
      return;
    }
    try {
      answer(context, request, body, response);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "lumora-service: %s\n", error.what());
      response.status = 200;
      response.set_content(result_reply(ResultCode::kServiceError), "text/xml");
    }
  });
}

}  // namespace lumora
