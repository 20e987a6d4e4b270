#pragma once
// The phone window's counters: characters in all (message, footer and one for the line
// break), SMS parts of 160 characters, and characters left in the last part.
#include <cstdint>
#include <string_view>

struct MessageCount {
  std::int32_t total = 0;
  std::int32_t nummsgs = 0;  // at least 1
  std::int32_t left = 0;     // 0 to 159
};

inline constexpr std::int32_t kCharsPerPart = 160;

MessageCount CountMessage(std::wstring_view message, std::wstring_view footer);
