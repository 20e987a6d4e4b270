#include "service/fault_settings.h"

#include <array>
#include <charconv>
#include <string>
#include <utility>

namespace lumora {
namespace {

constexpr std::array<std::pair<FaultMode, std::string_view>, 8> kNames = {{
    {FaultMode::kNone, "none"},
    {FaultMode::kDelay, "delay"},
    {FaultMode::kHtmlError, "html-error"},
    {FaultMode::kMalformed, "malformed"},
    {FaultMode::kBadCode, "bad-code"},
    {FaultMode::kTruncated, "truncated"},
    {FaultMode::kDrop, "drop"},
    {FaultMode::kHuge, "huge"},
}};

std::int64_t to_int(const std::string& text) {
  std::int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

std::optional<FaultMode> parse_fault_mode(std::string_view name) {
  for (const auto& [mode, text] : kNames) {
    if (text == name) return mode;
  }
  return std::nullopt;
}

std::string_view fault_name(FaultMode mode) {
  for (const auto& [m, text] : kNames) {
    if (m == mode) return text;
  }
  return "none";
}

FaultSettings read_faults(Database& db) {
  FaultSettings settings;
  auto stmt = db.prepare("SELECT key, value FROM faults");
  while (stmt.step()) {
    const std::string key = stmt.text(0);
    if (key == "mode") {
      settings.mode = parse_fault_mode(stmt.text(1)).value_or(FaultMode::kNone);
    } else if (key == "delay_ms") {
      settings.delay_ms = to_int(stmt.text(1));
    }
  }
  return settings;
}

void write_faults(Database& db, const FaultSettings& settings) {
  Transaction tx(db);
  const auto put = [&db](std::string_view key, std::string_view value) {
    db.prepare("INSERT OR REPLACE INTO faults (key, value) VALUES (?, ?)")
        .bind(1, key)
        .bind(2, value)
        .step();
  };
  put("mode", fault_name(settings.mode));
  put("delay_ms", std::to_string(settings.delay_ms));
  tx.commit();
}

}  // namespace lumora
