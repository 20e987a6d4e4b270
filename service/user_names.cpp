#include "service/user_names.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <stdexcept>

namespace lumora {

std::string name_key(std::string_view utf8) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* fold = icu::Normalizer2::getNFKCCasefoldInstance(status);
  if (U_FAILURE(status)) throw std::runtime_error("ICU has no NFKC_Casefold data");
  const icu::UnicodeString text =
      icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<std::int32_t>(utf8.size())));
  const icu::UnicodeString folded = fold->normalize(text, status);
  if (U_FAILURE(status)) return std::string(utf8);
  std::string key;
  folded.toUTF8String(key);
  return key;
}

bool visible_name(std::string_view utf8) {
  const auto size = static_cast<std::int32_t>(utf8.size());
  for (std::int32_t at = 0; at < size;) {
    UChar32 c;
    U8_NEXT(utf8.data(), at, size, c);
    if (c < 0) return false;
    switch (u_charType(c)) {
      case U_CONTROL_CHAR: case U_FORMAT_CHAR: case U_SPACE_SEPARATOR: case U_LINE_SEPARATOR:
      case U_PARAGRAPH_SEPARATOR: case U_PRIVATE_USE_CHAR: case U_SURROGATE: case U_UNASSIGNED:
        return false;
      default: break;
    }
    // Letters drawn as nothing (Hangul fillers, variation selectors) and the other blanks.
    if (u_hasBinaryProperty(c, UCHAR_DEFAULT_IGNORABLE_CODE_POINT) || u_isUWhiteSpace(c)) return false;
  }
  return true;
}

}  // namespace lumora
