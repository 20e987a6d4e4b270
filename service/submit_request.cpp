#include "service/submit_request.h"

#include <pugixml.hpp>

#include <cctype>

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

// True when text (the characters after a '&') starts one of the five predefined entities or
// a character reference.
bool starts_reference(std::string_view text) {
  static constexpr std::string_view kEntities[] = {"amp;", "lt;", "gt;", "quot;", "apos;"};
  for (std::string_view entity : kEntities) {
    if (text.substr(0, entity.size()) == entity) return true;
  }
  if (text.substr(0, 1) != "#") return false;
  const bool hex = text.substr(1, 1) == "x";
  const std::size_t first = hex ? 2 : 1;
  std::size_t n = first;
  while (n < text.size() && (hex ? std::isxdigit(static_cast<unsigned char>(text[n]))
                                 : std::isdigit(static_cast<unsigned char>(text[n])))) {
    ++n;
  }
  return n > first && n < text.size() && text[n] == ';';
}

// pugixml keeps a '&' that starts no reference as a literal character; XML does not allow it.
// Checks every '&' outside CDATA sections, comments and processing instructions.
bool ampersands_are_references(std::string_view xml) {
  static constexpr std::string_view kVerbatim[][2] = {
      {"<![CDATA[", "]]>"}, {"<!--", "-->"}, {"<?", "?>"}};
  std::size_t i = 0;
  while (i < xml.size()) {
    bool skipped = false;
    for (const auto& [open, close] : kVerbatim) {
      if (xml.substr(i, open.size()) != open) continue;
      const std::size_t end = xml.find(close, i + open.size());
      if (end == std::string_view::npos) return false;
      i = end + close.size();
      skipped = true;
      break;
    }
    if (skipped) continue;
    if (xml[i] == '&' && !starts_reference(xml.substr(i + 1))) return false;
    ++i;
  }
  return true;
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
  if (!ampersands_are_references(utf8_xml)) return std::nullopt;
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
