#pragma once
// The lumora-service command line: serve, capture and the admin commands on the database.
#include <ostream>
#include <string>
#include <vector>

#include "service/command_line.h"
#include "service/fault_settings.h"

namespace lumora {

// args: the command word and its arguments. Returns the exit status: 0 done, 1 failed,
// 2 wrong usage. Errors are reported on `err`.
int run_command(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// One per command; they throw std::invalid_argument for wrong usage and
// std::runtime_error when the work fails.
int run_serve(const std::vector<std::string>& args, std::ostream& out);
int run_capture(const std::vector<std::string>& args, std::ostream& out);
int run_add_account(const std::vector<std::string>& args, std::ostream& out);
int run_set_credits(const std::vector<std::string>& args, std::ostream& out);
int run_set_password(const std::vector<std::string>& args, std::ostream& out);
int run_messages(const std::vector<std::string>& args, std::ostream& out);
int run_fault(const std::vector<std::string>& args, std::ostream& out);

// The switches named by a mode word and --delay-ms, shared by "serve" and "fault". No mode
// with a delay means "delay"; "delay" without one waits kDefaultDelayMs; "none" clears both.
FaultSettings fault_settings_from(const std::optional<std::string>& mode,
                                  const CommandLine& command_line);

}  // namespace lumora
