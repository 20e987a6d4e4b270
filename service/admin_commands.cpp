#include <stdexcept>

#include "service/accounts.h"
#include "service/commands.h"
#include "service/json_output.h"
#include "service/messages.h"
#include "service/service_db.h"
#include "service/submission.h"

namespace lumora {
namespace {

constexpr std::int64_t kDefaultCredits = 100;
constexpr std::int64_t kMaxCredits = 1'000'000'000;

}  // namespace

int run_add_account(const std::vector<std::string>& args, std::ostream& out) {
  const CommandLine cl(args, {"db", "user", "password", "phone", "credits"});
  NewAccount account;
  account.username = cl.require("user");
  account.password = cl.require("password");
  account.phone = cl.require("phone");
  account.credits = cl.get_int("credits", 0, kMaxCredits).value_or(kDefaultCredits);
  if (account.username.empty()) throw std::invalid_argument("--user must not be empty");
  if (!valid_destination(account.phone)) throw std::invalid_argument("--phone must be 7 to 15 digits");
  Database db = open_service_db(cl.require("db"));
  if (const auto same = find_look_alike(db, account.username)) {
    throw std::runtime_error("account " + same->username + " already exists");
  }
  add_account(db, account);
  out << "added " << account.username << " with " << account.credits << " credits\n";
  return 0;
}

int run_set_credits(const std::vector<std::string>& args, std::ostream& out) {
  const CommandLine cl(args, {"db", "user", "credits"});
  const std::string user = cl.require("user");
  const auto credits = cl.get_int("credits", 0, kMaxCredits);
  if (!credits) throw std::invalid_argument("--credits is required");
  Database db = open_service_db(cl.require("db"));
  if (!set_credits(db, user, *credits)) throw std::runtime_error("no account " + user);
  out << user << " has " << *credits << " credits\n";
  return 0;
}

int run_set_password(const std::vector<std::string>& args, std::ostream& out) {
  const CommandLine cl(args, {"db", "user", "password"});
  const std::string user = cl.require("user");
  Database db = open_service_db(cl.require("db"));
  if (!set_password(db, user, cl.require("password"))) throw std::runtime_error("no account " + user);
  out << user << " has a new password\n";
  return 0;
}

int run_messages(const std::vector<std::string>& args, std::ostream& out) {
  const CommandLine cl(args, {"db"});
  Database db = open_service_db(cl.require("db"));
  write_messages_json(out, list_messages(db));
  return 0;
}

int run_fault(const std::vector<std::string>& args, std::ostream& out) {
  const CommandLine cl(args, {"db", "delay-ms"});
  if (cl.positional().size() != 1) throw std::invalid_argument("give exactly one fault mode");
  const FaultSettings settings = fault_settings_from(cl.positional()[0], cl);
  Database db = open_service_db(cl.require("db"));
  write_faults(db, settings);
  out << "fault " << fault_name(settings.mode) << ", delay " << settings.delay_ms << " ms\n";
  return 0;
}

}  // namespace lumora
