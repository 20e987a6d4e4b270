// The admin command line and the built binary: accounts, fault switches, JSON listing, serve.
#include <gtest/gtest.h>

#include <csignal>
#include <sstream>

#include "child_process.h"
#include "service/accounts.h"
#include "service/commands.h"
#include "service/json_output.h"
#include "service/messages.h"
#include "service/service_db.h"
#include "service_test_support.h"

namespace lumora::test {
namespace {

using std::chrono::seconds;

int run(const std::vector<std::string>& args, std::string* output = nullptr) {
  std::ostringstream out, err;
  const int status = run_command(args, out, err);
  if (output) *output = out.str() + err.str();
  return status;
}

TEST(AdminJson, EscapesControlsAndQuotesAndKeepsUtf8) {
  EXPECT_EQ(json_string("say \"hi\"\\\r\n\t\x01\x1F caf\xC3\xA9"),
            R"("say \"hi\"\\\r\n\t\u0001\u001f café")");
  std::ostringstream empty;
  write_messages_json(empty, {});
  EXPECT_EQ(empty.str(), "[]\n");
}

TEST(AdminCommands, AccountsCreditsAndFaultsInTheDatabase) {
  TempDir dir;
  const std::string db_path = dir.path("admin.db").string();
  EXPECT_EQ(run({"add-account", "--db", db_path, "--user", "bob", "--password", "pw", "--phone",
                 "447700900123", "--credits", "7"}), 0);
  EXPECT_EQ(run({"add-account", "--db", db_path, "--user", "bob", "--password", "x", "--phone",
                 "447700900123"}), 1);  // taken
  EXPECT_EQ(run({"set-credits", "--db", db_path, "--user", "bob", "--credits", "42"}), 0);
  EXPECT_EQ(run({"set-credits", "--db", db_path, "--user", "nobody", "--credits", "1"}), 1);
  EXPECT_EQ(run({"fault", "--db", db_path, "delay"}), 0);

  Database db = open_service_db(db_path);
  EXPECT_EQ(find_account(db, "bob").value().credits, 42);
  EXPECT_EQ(read_faults(db).mode, FaultMode::kDelay);
  EXPECT_EQ(read_faults(db).delay_ms, kDefaultDelayMs);
  EXPECT_EQ(run({"fault", "--db", db_path, "none"}), 0);
  EXPECT_EQ(read_faults(db).mode, FaultMode::kNone);
  EXPECT_EQ(read_faults(db).delay_ms, 0);
}

TEST(AdminCommands, WrongUsageExitsWithTwo) {
  TempDir dir;
  const std::string db_path = dir.path("usage.db").string();
  std::string output;
  EXPECT_EQ(run({"fault", "--db", db_path, "sometimes"}, &output), 2);
  EXPECT_NE(output.find("unknown fault mode"), std::string::npos);
  EXPECT_EQ(run({"add-account", "--db", db_path, "--user", "u", "--password", "p", "--phone",
                 "+4477"}), 2);
  EXPECT_EQ(run({"set-credits", "--db", db_path, "--user", "u", "--credits", "-1"}), 2);
  EXPECT_EQ(run({"serve", "--db", db_path, "--http-port", "70000"}), 2);
  EXPECT_EQ(run({"messages", "--db"}), 2);
  EXPECT_EQ(run({"frobnicate"}), 2);
}

TEST(Binary, ServesSwitchesFaultsListsAndStopsOnSigterm) {
  TempDir dir;
  const std::string db_path = dir.path("bin.db").string();
  run_service_command({"add-account", "--db", db_path, "--user", kUser, "--password", kPassword,
                       "--phone", kPhone});
  ChildProcess server({"serve", "--db", db_path, "--http-port", "0", "--fault", "html-error"});
  const std::string line = server.read_line(seconds(10));
  const std::string prefix = "lumora-service: listening on http://127.0.0.1:";
  ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
  httplib::Client client("127.0.0.1", std::stoi(line.substr(prefix.size())));
  client.set_read_timeout(5);

  auto reply = client.Post("/hotkeys", request_body("via \"the\" binary\r\n"), "text/plain");
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->status, 500);
  run_service_command({"fault", "--db", db_path, "none"});
  reply = client.Post("/hotkeys", request_body("via \"the\" binary\r\n"), "text/plain");
  ASSERT_TRUE(reply);
  EXPECT_EQ(between_tags(reply->body, "ResultCode"), "0");

  int status = -1;
  const std::string json = run_service_command({"messages", "--db", db_path}, &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(json.rfind("[\n  {\"id\": 1, \"username\": \"alice\", \"destination\": "
                       "\"447700900123\", \"body\": \"via \\\"the\\\" binary\\r\\n\", "
                       "\"parts\": 1, \"created\": \"", 0), 0u) << json;

  server.send_signal(SIGTERM);
  EXPECT_EQ(server.wait(seconds(10)), 0);
}

}  // namespace
}  // namespace lumora::test
