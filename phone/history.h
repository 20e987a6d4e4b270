#pragma once
// The phone's arrows step through the number history (app/history_item.h): a position counts
// back from the newest entry (0 = newest).
#include <cstddef>
#include <cstdint>
#include <optional>

namespace history {

struct Move {
  std::int32_t histPos;  // the new position back from the newest entry
  std::int32_t histIdx;  // 1-based index of the entry to show: count - histPos
};

// The up arrow: one entry newer, when the position is not already the newest.
bool CanMoveNewer(std::int32_t histPos, std::size_t count);
std::optional<Move> MoveNewer(std::int32_t histPos, std::size_t count);

// The down arrow: one entry older, when there is an older one.
bool CanMoveOlder(std::int32_t histPos, std::size_t count);
std::optional<Move> MoveOlder(std::int32_t histPos, std::size_t count);

}  // namespace history
