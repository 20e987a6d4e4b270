#pragma once
// User names as people read them. Names that look alike are one name: they are compared after
// compatibility normalisation and case folding (NFKC_Casefold, which also drops characters
// that are never drawn, such as the soft hyphen), so "Alice", "ALICE" and "alice" are one.
// A new name may hold nothing invisible at all: no control, format or space character of any
// kind (no-break and zero-width spaces, soft hyphen, tab), so that what shows is all there is.
#include <string>
#include <string_view>

namespace lumora {

// The form in which names are compared (UTF-8 in, UTF-8 out); text that is not UTF-8 is
// compared as it is.
std::string name_key(std::string_view utf8);

// False for a name holding an invisible character (see above), a private-use or unassigned
// code point, or bytes that are not UTF-8.
bool visible_name(std::string_view utf8);

}  // namespace lumora
