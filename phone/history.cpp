#include "phone/history.h"

namespace history {
namespace {

Move At(std::int64_t pos, std::size_t count) {
  return {static_cast<std::int32_t>(pos), static_cast<std::int32_t>(static_cast<std::int64_t>(count) - pos)};
}

}  // namespace

// Counted in 64 bits: a history longer than a 32-bit position is never reached in a run, but
// the comparisons must not wrap if it were.
bool CanMoveNewer(std::int32_t histPos, std::size_t count) {
  const auto n = static_cast<std::int64_t>(count);
  // The second condition only guards against a position beyond a shortened history, which
  // would otherwise name an entry below index 1.
  return n - histPos < n && histPos - 1 < n;
}

std::optional<Move> MoveNewer(std::int32_t histPos, std::size_t count) {
  if (!CanMoveNewer(histPos, count)) return std::nullopt;
  return At(static_cast<std::int64_t>(histPos) - 1, count);
}

bool CanMoveOlder(std::int32_t histPos, std::size_t count) {
  const auto n = static_cast<std::int64_t>(count);
  return static_cast<std::int64_t>(histPos) + 1 < n && n > 1 && histPos >= 0;
}

std::optional<Move> MoveOlder(std::int32_t histPos, std::size_t count) {
  if (!CanMoveOlder(histPos, count)) return std::nullopt;
  return At(static_cast<std::int64_t>(histPos) + 1, count);
}

}  // namespace history
