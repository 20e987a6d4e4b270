#include "service/fault_replies.h"

#include <string>

#include "service/connection_drop.h"
#include "service/xml_reply.h"

namespace lumora {
namespace {

// Title tags in capitals, as some web servers and proxies write them.
constexpr std::string_view kHtmlErrorPage =
    "<HTML><HEAD><TITLE>500 Internal Server Error</TITLE></HEAD><BODY>"
    "<H1>Internal Server Error</H1><P>The Lumora service could not handle the request.</P>"
    "</BODY></HTML>";

// An XML reply whose code has no <ResultCode> tags around it.
std::string malformed_reply() {
  return std::string(kXmlDeclaration) +
         R"(<SubmitMessageResponse Version="1.0"><Result>0</Result>)"
         "<ResultText>Message accepted</ResultText></SubmitMessageResponse>";
}

// A well-formed code-0 reply of exactly kHugeReplySize bytes, its ResultText padded.
const std::string& huge_reply() {
  static const std::string reply = [] {
    const std::string frame = reply_document("0", "");
    const std::string_view filler = "Lumora filler text. ";
    const std::size_t cut = frame.find("</ResultText>");
    std::string padding;
    padding.reserve(kHugeReplySize);
    while (padding.size() < kHugeReplySize - frame.size()) padding += filler;
    padding.resize(kHugeReplySize - frame.size());
    return frame.substr(0, cut) + padding + frame.substr(cut);
  }();
  return reply;
}

// Announces the whole accepted reply, sends its first half and closes the connection:
// a provider that returns false makes httplib abandon the response there.
void send_truncated(httplib::Response& response) {
  auto reply = std::make_shared<const std::string>(result_reply(ResultCode::kAccepted));
  response.set_content_provider(
      reply->size(), "text/xml",
      [reply](std::size_t offset, std::size_t, httplib::DataSink& sink) {
        if (offset == 0) sink.write(reply->data(), reply->size() / 2);
        return false;
      });
}

}  // namespace

bool apply_fault(FaultMode mode, const httplib::Request& request, httplib::Response& response) {
  switch (mode) {
    case FaultMode::kNone:
    case FaultMode::kDelay:
      return false;
    case FaultMode::kHtmlError:
      response.status = 500;
      response.set_content(kHtmlErrorPage.data(), kHtmlErrorPage.size(), "text/html");
      return true;
    case FaultMode::kMalformed:
      response.set_content(malformed_reply(), "text/xml");
      return true;
    case FaultMode::kBadCode:
      response.set_content(reply_document("OK", "Message accepted"), "text/xml");
      return true;
    case FaultMode::kTruncated:
      send_truncated(response);
      return true;
    case FaultMode::kDrop:
      drop_connection(request);
      response.set_header("Connection", "close");
      return true;
    case FaultMode::kHuge:
      response.set_content(huge_reply(), "text/xml");
      return true;
  }
  return false;
}

}  // namespace lumora
