#pragma once
// Misbehaviour switches, kept in the faults table and read on every request, so tests can
// change them while the server runs.
#include <cstdint>
#include <optional>
#include <string_view>

#include "service/sqlite_db.h"

namespace lumora {

enum class FaultMode { kNone, kDelay, kHtmlError, kMalformed, kBadCode, kTruncated, kDrop, kHuge };

struct FaultSettings {
  FaultMode mode = FaultMode::kNone;
  // Wait before answering. Mode "delay" waits and then answers normally; with any other
  // mode the wait comes first and the fault after it.
  std::int64_t delay_ms = 0;
};

inline constexpr std::int64_t kDefaultDelayMs = 2000;  // "delay" without --delay-ms

std::optional<FaultMode> parse_fault_mode(std::string_view name);
std::string_view fault_name(FaultMode mode);

FaultSettings read_faults(Database& db);
void write_faults(Database& db, const FaultSettings& settings);

}  // namespace lumora
