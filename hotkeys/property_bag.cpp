// The property bag is the hotkey control's specified interface for its stored layout; the program stores none.
#include "hotkeys/property_bag.h"

#include <charconv>

namespace {

std::optional<std::int32_t> ToNumber(std::string_view text) {
  std::int32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

void PropertyBag::Store(std::string_view name, std::string value) {
  for (auto& [key, text] : entries_)
    if (key == name) {
      text = std::move(value);
      return;
    }
  entries_.emplace_back(std::string(name), std::move(value));
}

const std::string* PropertyBag::Find(std::string_view name) const {
  for (const auto& [key, text] : entries_)
    if (key == name) return &text;
  return nullptr;
}

void PropertyBag::WriteProperty(std::string_view name, bool value, bool default_value) {
  if (value == default_value) return;
  Store(name, value ? "-1" : "0");
}

void PropertyBag::WriteProperty(std::string_view name, std::int32_t value,
                                std::int32_t default_value) {
  if (value == default_value) return;
  Store(name, std::to_string(value));
}

bool PropertyBag::ReadProperty(std::string_view name, bool default_value) const {
  const std::string* text = Find(name);
  if (!text) return default_value;
  auto number = ToNumber(*text);
  return number ? *number != 0 : default_value;
}

std::int32_t PropertyBag::ReadProperty(std::string_view name, std::int32_t default_value) const {
  const std::string* text = Find(name);
  if (!text) return default_value;
  return ToNumber(*text).value_or(default_value);
}

std::string PropertyBag::Text() const {
  std::string out;
  for (const auto& [name, value] : entries_) out += name + " = " + value + "\r\n";
  return out;
}

PropertyBag PropertyBag::Parse(std::string_view text) {
  PropertyBag bag;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string_view name = Trim(line.substr(0, eq));
    if (name.empty()) continue;
    bag.Store(name, std::string(Trim(line.substr(eq + 1))));
  }
  return bag;
}
