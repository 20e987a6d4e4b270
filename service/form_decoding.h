#pragma once
// Reading an application/x-www-form-urlencoded body. The client's body starts with CR LF CR LF
// before "&XMLDATA=", so the body is split here rather than trusted to a framework's parser.
#include <optional>
#include <string>
#include <string_view>

namespace lumora {

// '+' becomes a space and %XX the byte XX (either letter case); a '%' not followed by two
// hexadecimal digits stays as it is.
std::string form_decode(std::string_view text);

// The decoded value of the first field with exactly this (decoded) name, if any.
std::optional<std::string> form_field(std::string_view body, std::string_view name);

}  // namespace lumora
