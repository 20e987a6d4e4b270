#include "service/command_line.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace lumora {

CommandLine::CommandLine(const std::vector<std::string>& args,
                         std::initializer_list<std::string_view> allowed) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i].rfind("--", 0) != 0) {
      positional_.push_back(args[i]);
      continue;
    }
    const std::string name = args[i].substr(2);
    if (std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
      throw std::invalid_argument("unknown option --" + name);
    }
    if (i + 1 == args.size()) throw std::invalid_argument("--" + name + " needs a value");
    options_[name] = args[++i];
  }
}

std::optional<std::string> CommandLine::get(const std::string& name) const {
  const auto it = options_.find(name);
  if (it == options_.end()) return std::nullopt;
  return it->second;
}

std::string CommandLine::get_or(const std::string& name, const std::string& fallback) const {
  return get(name).value_or(fallback);
}

std::string CommandLine::require(const std::string& name) const {
  auto value = get(name);
  if (!value) throw std::invalid_argument("--" + name + " is required");
  return *value;
}

std::optional<std::int64_t> CommandLine::get_int(const std::string& name, std::int64_t low,
                                                 std::int64_t high) const {
  const auto text = get(name);
  if (!text) return std::nullopt;
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (error != std::errc() || end != text->data() + text->size() || value < low || value > high) {
    throw std::invalid_argument("--" + name + " must be a whole number from " +
                                std::to_string(low) + " to " + std::to_string(high));
  }
  return value;
}

}  // namespace lumora
