#include "service/submit_request.h"

#include <pugixml.hpp>

#include "text/encodings.h"
#include "service/cp1252.h"
#include "service/form_decoding.h"

#include <algorithm>
#include <cstdint>

namespace lumora {
namespace {

// Text content of an element: every text and CDATA node below it, in document order, so a
// body split over several CDATA sections comes back in one piece. Walked with a loop, not
// recursion: a hostile document may nest elements tens of thousands deep.
void append_text(pugi::xml_node element, std::string& out) {
  pugi::xml_node node = element.first_child();
  while (node) {
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
      out += node.value();
    } else if (node.type() == pugi::node_element && node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (!node.next_sibling() && node.parent() != element) node = node.parent();
    node = node.next_sibling();
  }
}

// The characters XML allows in a document, whether written or referenced.
bool xml_char(std::uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// True when text (the characters after a '&') starts one of the five predefined entities or
// a reference to a character XML allows. pugixml would take "&#0;" as the end of the text and
// write a surrogate or a number past U+10FFFF as bytes that are not UTF-8.
bool starts_reference(std::string_view text) {
  static constexpr std::string_view kEntities[] = {"amp;", "lt;", "gt;", "quot;", "apos;"};
  for (std::string_view entity : kEntities) {
    if (text.substr(0, entity.size()) == entity) return true;
  }
  if (text.substr(0, 1) != "#") return false;
  const bool hex = text.substr(1, 1) == "x";
  const int base = hex ? 16 : 10;
  const std::size_t first = hex ? 2 : 1;
  std::size_t n = first;
  std::uint32_t value = 0;
  for (; n < text.size(); ++n) {
    const char c = text[n];
    const int digit = hex ? encodings::HexValue(c) : c >= '0' && c <= '9' ? c - '0' : -1;
    if (digit < 0) break;
    value = std::min<std::uint32_t>(value * base + digit, 0x110000);  // saturates, never wraps
  }
  return n > first && n < text.size() && text[n] == ';' && xml_char(value);
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

std::variant<SubmitRequest, ResultCode> read_submission(std::string_view form_body) {
  const auto xml = form_field(form_body, "XMLDATA");
  if (!xml || xml->empty()) return ResultCode::kNoXmlData;
  auto request = parse_submit_request(cp1252_to_utf8(*xml));
  if (!request) return ResultCode::kMalformedRequest;
  return std::move(*request);
}

}  // namespace lumora
