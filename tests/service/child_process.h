#pragma once
// The built lumora-service run as a child process with its standard output in a pipe.
// Every wait is bounded; the destructor kills and reaps a child that is still running.
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "service/unique_fd.h"

namespace lumora::test {

class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& args);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The next line of output without its line end; throws when none comes in time.
  std::string read_line(std::chrono::milliseconds timeout);
  // Output up to the end of the stream.
  std::string read_all(std::chrono::milliseconds timeout);
  void send_signal(int signal);
  // Exit status, or -1 when the child has not ended in time.
  int wait(std::chrono::milliseconds timeout);

 private:
  bool read_more(std::chrono::steady_clock::time_point deadline);

  pid_t pid_ = -1;
  UniqueFd output_;
  std::string buffered_;
};

// Runs the built binary with these arguments to its end (at most 10 seconds); its output.
std::string run_service_command(const std::vector<std::string>& args, int* status = nullptr);

}  // namespace lumora::test
