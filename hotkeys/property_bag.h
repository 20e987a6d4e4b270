#pragma once
// The stored properties of a control as a host form keeps them: named values in the order
// they were written, where a value equal to its default is left out. Stored as text lines
// "Name = value" (Booleans as 0 and -1, as form layouts write them).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class PropertyBag {
 public:
  void WriteProperty(std::string_view name, bool value, bool default_value);
  void WriteProperty(std::string_view name, std::int32_t value, std::int32_t default_value);

  // The stored value, or the default when the name is absent or its text is not of the type.
  bool ReadProperty(std::string_view name, bool default_value) const;
  std::int32_t ReadProperty(std::string_view name, std::int32_t default_value) const;

  bool Contains(std::string_view name) const { return Find(name) != nullptr; }
  std::size_t Count() const { return entries_.size(); }
  const std::vector<std::pair<std::string, std::string>>& Entries() const { return entries_; }

  std::string Text() const;  // one "Name = value" line per entry, each ended by CR LF
  // Reads Text()'s format; lines that are not "Name = value" are skipped.
  static PropertyBag Parse(std::string_view text);

 private:
  const std::string* Find(std::string_view name) const;
  void Store(std::string_view name, std::string value);

  std::vector<std::pair<std::string, std::string>> entries_;
};
