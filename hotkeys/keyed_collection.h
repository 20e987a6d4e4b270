#pragma once
// A collection of values under text keys that keeps the order in which they were added.
// Adding under a key that is already present fails and changes nothing.
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

template <typename T>
class KeyedCollection {
 public:
  using Entry = std::pair<std::wstring, T>;

  bool Add(std::wstring key, T value) {
    if (Contains(key)) return false;
    entries_.emplace_back(std::move(key), std::move(value));
    return true;
  }

  // Null when no entry has this key.
  T* Find(std::wstring_view key) {
    auto it = Position(key);
    return it == entries_.end() ? nullptr : &it->second;
  }
  bool Contains(std::wstring_view key) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.first == key; });
  }

  // Removes the entry with this key; false when there is none.
  bool Remove(std::wstring_view key) {
    auto it = Position(key);
    if (it == entries_.end()) return false;
    entries_.erase(it);
    return true;
  }

  std::size_t Count() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  const Entry& At(std::size_t index) const { return entries_.at(index); }
  auto begin() const { return entries_.begin(); }
  auto end() const { return entries_.end(); }

 private:
  typename std::vector<Entry>::iterator Position(std::wstring_view key) {
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const Entry& e) { return e.first == key; });
  }

  std::vector<Entry> entries_;
};
