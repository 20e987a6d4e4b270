#pragma once
// One number captured by the number hotkey; the shared state's History keeps them oldest first.
#include <string>

struct HistoryItem {
  std::wstring number;
};
