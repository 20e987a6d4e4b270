#pragma once
// One number captured by the number hotkey; the history keeps them oldest first.
#include <string>

struct HistoryItem {
  std::wstring number;
};
