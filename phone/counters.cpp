#include "phone/counters.h"

#include <algorithm>

MessageCount CountMessage(std::wstring_view message, std::wstring_view footer) {
  // Counted in 64 bits and held in 32: the parts of any text a box can hold stay exact.
  std::int64_t total = static_cast<std::int64_t>(message.size() + footer.size()) + 1;
  std::int64_t parts = std::max<std::int64_t>(1, (total + kCharsPerPart - 1) / kCharsPerPart);
  MessageCount c;
  c.total = static_cast<std::int32_t>(std::min<std::int64_t>(total, INT32_MAX));
  c.nummsgs = static_cast<std::int32_t>(std::min<std::int64_t>(parts, INT32_MAX));
  c.left = static_cast<std::int32_t>(parts * kCharsPerPart - total);
  return c;
}
