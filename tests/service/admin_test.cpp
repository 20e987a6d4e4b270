// The admin command line.
#include <gtest/gtest.h>

#include <sstream>

#include "service/accounts.h"
#include "service/commands.h"
#include "service/json_output.h"
#include "service/service_db.h"
#include "service_test_support.h"

namespace lumora::test {
namespace {

int run(const std::vector<std::string>& args, std::string* output = nullptr) {
  std::ostringstream out, err;
  const int status = run_command(args, out, err);
  if (output) *output = out.str() + err.str();
  return status;
}

TEST(AdminCommands, AccountsCreditsFaultsAndMessagesInTheDatabase) {
  EXPECT_EQ(json_string("say \"hi\"\\\r\n\t\x01\x1F caf\xC3\xA9"),
            R"("say \"hi\"\\\r\n\t\u0001\u001f café")");
  TempDir dir;
  const std::string db = dir.path("admin.db");
  std::string output;
  EXPECT_EQ(run({"messages", "--db", db}, &output), 0);
  EXPECT_EQ(output, "[]\n") << "no messages yet: an empty list";
  EXPECT_EQ(run({"add-account", "--db", db, "--user", "bob", "--password", "pw", "--phone", "447700900123",
                 "--credits", "7"}), 0);
  EXPECT_EQ(run({"add-account", "--db", db, "--user", "bob", "--password", "pw", "--phone", "447700900123"}), 1);  // taken
  EXPECT_EQ(run({"add-account", "--db", db, "--user", "bob", "--password", "pw", "--phone", "+4477"}), 2);
  EXPECT_EQ(run({"set-credits", "--db", db, "--user", "bob", "--credits", "42"}), 0);
  EXPECT_EQ(run({"set-credits", "--db", db, "--user", "bob", "--credits", "-1"}), 2);
  EXPECT_EQ(run({"set-credits", "--db", db, "--user", "nobody", "--credits", "1"}), 1);
  EXPECT_EQ(run({"fault", "--db", db, "sometimes"}, &output), 2);
  EXPECT_NE(output.find("unknown fault mode"), std::string::npos);
  EXPECT_EQ(run({"serve", "--db", db, "--http-port", "70000"}), 2);
  EXPECT_EQ(run({"frobnicate"}), 2);

  EXPECT_EQ(run({"fault", "--db", db, "delay"}), 0);
  Database handle = open_service_db(db);
  EXPECT_EQ(find_account(handle, "bob").value().credits, 42);
  EXPECT_EQ(std::tuple(read_faults(handle).mode, read_faults(handle).delay_ms), std::tuple(FaultMode::kDelay, kDefaultDelayMs));
  EXPECT_EQ(run({"fault", "--db", db, "none"}), 0);
  EXPECT_EQ(std::tuple(read_faults(handle).mode, read_faults(handle).delay_ms), std::tuple(FaultMode::kNone, 0));
}

}  // namespace
}  // namespace lumora::test
