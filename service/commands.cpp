#include "service/commands.h"

#include <array>
#include <stdexcept>
#include <utility>

namespace lumora {
namespace {

constexpr std::string_view kUsage = R"(usage:
  lumora-service serve --db FILE [--bind 127.0.0.1] [--http-port 80]
                 [--https-port 443 --cert CERT.pem --key KEY.pem] [--delay-ms N] [--fault MODE]
  lumora-service capture --port P --out FILE [--bind 127.0.0.1] [--reply-file F] [--timeout-ms N]
  lumora-service add-account --db FILE --user U --password P --phone DIGITS [--credits N]
  lumora-service set-credits --db FILE --user U --credits N
  lumora-service set-password --db FILE --user U --password P
  lumora-service messages --db FILE
  lumora-service fault --db FILE MODE [--delay-ms N]
fault modes: none delay html-error malformed bad-code truncated drop huge
)";

using Runner = int (*)(const std::vector<std::string>&, std::ostream&);

constexpr std::array<std::pair<std::string_view, Runner>, 7> kCommands = {{
    {"serve", run_serve},
    {"capture", run_capture},
    {"add-account", run_add_account},
    {"set-credits", run_set_credits},
    {"set-password", run_set_password},
    {"messages", run_messages},
    {"fault", run_fault},
}};

}  // namespace

int run_command(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  for (const auto& [name, runner] : kCommands) {
    if (args.empty() || args[0] != name) continue;
    try {
      return runner({args.begin() + 1, args.end()}, out);
    } catch (const std::invalid_argument& error) {
      err << "lumora-service " << name << ": " << error.what() << "\n" << kUsage;
      return 2;
    } catch (const std::exception& error) {
      err << "lumora-service " << name << ": " << error.what() << "\n";
      return 1;
    }
  }
  err << kUsage;
  return 2;
}

FaultSettings fault_settings_from(const std::optional<std::string>& mode,
                                  const CommandLine& command_line) {
  const auto delay = command_line.get_int("delay-ms", 0, 600000);
  if (!mode) return delay ? FaultSettings{FaultMode::kDelay, *delay} : FaultSettings{};
  const auto parsed = parse_fault_mode(*mode);
  if (!parsed) throw std::invalid_argument("unknown fault mode " + *mode);
  if (*parsed == FaultMode::kNone) return {};
  return {*parsed, delay.value_or(*parsed == FaultMode::kDelay ? kDefaultDelayMs : 0)};
}

}  // namespace lumora
