#include "service/submit_request.h"

#include <pugixml.hpp>

namespace lumora {
namespace {

// Text content of an element: every text and CDATA node below it, in document order, so a
// body split over several CDATA sections comes back in one piece.
void append_text(pugi::xml_node node, std::string& out) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
      out += child.value();
    } else if (child.type() == pugi::node_element) {
      append_text(child, out);
    }
  }
}

std::optional<std::string> text_of(pugi::xml_node node) {
  if (!node) return std::nullopt;
  std::string out;
  append_text(node, out);
  return out;
}

}  // namespace

std::optional<SubmitRequest> parse_submit_request(std::string_view utf8_xml) {
  // No parse_eol: the message keeps its CR LF. Whitespace-only text is part of a message.
  constexpr unsigned kFlags = (pugi::parse_default & ~pugi::parse_eol) | pugi::parse_ws_pcdata;
  pugi::xml_document doc;
  if (!doc.load_buffer(utf8_xml.data(), utf8_xml.size(), kFlags, pugi::encoding_utf8)) {
    return std::nullopt;
  }
  const pugi::xml_node root = doc.child("SubmitMessageRequest");
  const pugi::xml_node header = root.child("Header");
  const pugi::xml_node message = root.child("MessageRequest").child("Message");

  auto username = text_of(header.child("Username"));
  auto password = text_of(header.child("Password"));
  auto body = text_of(message.child("Body"));
  auto destination = text_of(message.child("Destination"));
  if (!username || !password || !body || !destination) return std::nullopt;
  return SubmitRequest{std::move(*username), std::move(*password), std::move(*body),
                       std::move(*destination)};
}

}  // namespace lumora
