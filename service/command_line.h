#pragma once
// Arguments of one command: "--name value" options and positional words, in any order.
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

class CommandLine {
 public:
  // Throws std::invalid_argument for an option without a value or one not in `allowed`.
  CommandLine(const std::vector<std::string>& args, std::initializer_list<std::string_view> allowed);

  const std::vector<std::string>& positional() const { return positional_; }
  std::optional<std::string> get(const std::string& name) const;
  std::string get_or(const std::string& name, const std::string& fallback) const;
  // Throws std::invalid_argument when the option is missing.
  std::string require(const std::string& name) const;
  // Throws std::invalid_argument when the value is not a whole number in [low, high].
  std::optional<std::int64_t> get_int(const std::string& name, std::int64_t low,
                                      std::int64_t high) const;

 private:
  std::vector<std::string> positional_;
  std::map<std::string, std::string> options_;
};

}  // namespace lumora
