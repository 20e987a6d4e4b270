#include "child_process.h"

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace lumora::test {

using Clock = std::chrono::steady_clock;

ChildProcess::ChildProcess(const std::vector<std::string>& args) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) throw std::runtime_error("pipe");
  output_.reset(pipe_fds[0]);
  UniqueFd write_end(pipe_fds[1]);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, write_end.get(), STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, output_.get());
  std::vector<std::string> argv_text = {LUMORA_SERVICE_EXE};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argv_text) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + argv_text[0]);
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && wait(std::chrono::milliseconds(0)) < 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

bool ChildProcess::read_more(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  pollfd p{output_.get(), POLLIN, 0};
  if (poll(&p, 1, static_cast<int>(std::max<long long>(0, left.count()))) <= 0) {
    throw std::runtime_error("no output from lumora-service in time");
  }
  char buffer[4096];
  const ssize_t n = read(output_.get(), buffer, sizeof buffer);
  if (n > 0) buffered_.append(buffer, static_cast<std::size_t>(n));
  return n > 0;
}

std::string ChildProcess::read_line(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  std::size_t end;
  while ((end = buffered_.find('\n')) == std::string::npos) {
    if (!read_more(deadline)) throw std::runtime_error("lumora-service closed its output");
  }
  std::string line = buffered_.substr(0, end);
  buffered_.erase(0, end + 1);
  return line;
}

std::string ChildProcess::read_all(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (read_more(deadline)) {
  }
  return std::exchange(buffered_, {});
}

void ChildProcess::send_signal(int signal) { kill(pid_, signal); }

int ChildProcess::wait(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  int status = 0;
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (Clock::now() >= deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string run_service_command(const std::vector<std::string>& args, int* status) {
  ChildProcess child(args);
  std::string output = child.read_all(std::chrono::seconds(10));
  const int exit_status = child.wait(std::chrono::seconds(10));
  if (status) *status = exit_status;
  return output;
}

}  // namespace lumora::test
