// The admin command line, and the built binary serving until SIGTERM.
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>

#include <csignal>
#include <sstream>
#include <thread>

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

// lumora-service as a child with its output in a pipe; killed and reaped if still running.
class ServiceProcess {
 public:
  explicit ServiceProcess(std::vector<std::string> args) {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe");
    output_.reset(fds[0]);
    const UniqueFd write_end(fds[1]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, write_end.get(), STDOUT_FILENO);
    args.insert(args.begin(), LUMORA_SERVICE_EXE);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start lumora-service");
  }
  ~ServiceProcess() {
    if (pid_ > 0 && kill(pid_, SIGKILL) == 0) waitpid(pid_, nullptr, 0);
  }

  // The first output line; empty when none comes within 10 seconds.
  std::string first_line() {
    std::string line;
    char c;
    pollfd p{output_.get(), POLLIN, 0};
    while (poll(&p, 1, 10000) == 1 && read(output_.get(), &c, 1) == 1 && c != '\n') line += c;
    return line;
  }

  // Sends SIGTERM; the exit status, or -1 when the child has not ended within 10 seconds.
  int terminate() {
    kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 1000; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
    }
    return -1;
  }

 private:
  pid_t pid_ = -1;
  UniqueFd output_;
};

TEST(AdminJson, EscapesControlsAndQuotesAndKeepsUtf8) {
  EXPECT_EQ(json_string("say \"hi\"\\\r\n\t\x01\x1F caf\xC3\xA9"),
            R"("say \"hi\"\\\r\n\t\u0001\u001f café")");
  std::ostringstream empty;
  write_messages_json(empty, {});
  EXPECT_EQ(empty.str(), "[]\n");
}

TEST(AdminCommands, AccountsCreditsAndFaultsInTheDatabase) {
  TempDir dir;
  const std::string db = dir.path("admin.db").string();
  const std::vector<std::string> bob = {"--db", db, "--user", "bob", "--password", "pw"};
  auto with = [](std::vector<std::string> a, std::initializer_list<std::string> b) {
    a.insert(a.begin(), b);
    return a;
  };
  EXPECT_EQ(run(with(bob, {"add-account", "--phone", "447700900123", "--credits", "7"})), 0);
  EXPECT_EQ(run(with(bob, {"add-account", "--phone", "447700900123"})), 1);  // taken
  EXPECT_EQ(run(with(bob, {"add-account", "--phone", "+4477"})), 2);
  EXPECT_EQ(run({"set-credits", "--db", db, "--user", "bob", "--credits", "42"}), 0);
  EXPECT_EQ(run({"set-credits", "--db", db, "--user", "bob", "--credits", "-1"}), 2);
  EXPECT_EQ(run({"set-credits", "--db", db, "--user", "nobody", "--credits", "1"}), 1);
  std::string output;
  EXPECT_EQ(run({"fault", "--db", db, "sometimes"}, &output), 2);
  EXPECT_NE(output.find("unknown fault mode"), std::string::npos);
  EXPECT_EQ(run({"serve", "--db", db, "--http-port", "70000"}), 2);
  EXPECT_EQ(run({"frobnicate"}), 2);

  EXPECT_EQ(run({"fault", "--db", db, "delay"}), 0);
  Database handle = open_service_db(db);
  EXPECT_EQ(find_account(handle, "bob").value().credits, 42);
  EXPECT_EQ(read_faults(handle).mode, FaultMode::kDelay);
  EXPECT_EQ(read_faults(handle).delay_ms, kDefaultDelayMs);
  EXPECT_EQ(run({"fault", "--db", db, "none"}), 0);
  EXPECT_EQ(read_faults(handle).mode, FaultMode::kNone);
  EXPECT_EQ(read_faults(handle).delay_ms, 0);
}

TEST(Binary, ServesSwitchesFaultsAtRunTimeListsAndStopsOnSigterm) {
  TempDir dir;
  const std::string db = dir.path("bin.db").string();
  run({"add-account", "--db", db, "--user", kUser, "--password", kPassword, "--phone", kPhone});
  ServiceProcess server({"serve", "--db", db, "--http-port", "0", "--fault", "html-error"});
  const std::string line = server.first_line();
  const std::string prefix = "lumora-service: listening on http://127.0.0.1:";
  ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
  httplib::Client client("127.0.0.1", std::stoi(line.substr(prefix.size())));
  client.set_read_timeout(5);

  auto reply = client.Post("/hotkeys", request_body("via \"the\" binary\r\n"), "text/plain");
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->status, 500);
  run({"fault", "--db", db, "none"});
  reply = client.Post("/hotkeys", request_body("via \"the\" binary\r\n"), "text/plain");
  ASSERT_TRUE(reply);
  EXPECT_EQ(between_tags(reply->body, "ResultCode"), "0");

  std::string json;
  EXPECT_EQ(run({"messages", "--db", db}, &json), 0);
  EXPECT_EQ(json.rfind("[\n  {\"id\": 1, \"username\": \"alice\", \"destination\": "
                       "\"447700900123\", \"body\": \"via \\\"the\\\" binary\\r\\n\", "
                       "\"parts\": 1, \"created\": \"", 0), 0u) << json;
  EXPECT_EQ(server.terminate(), 0);
}

}  // namespace
}  // namespace lumora::test
