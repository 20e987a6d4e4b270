#include <fstream>
#include <sstream>
#include <stdexcept>

#include "service/capture.h"
#include "service/commands.h"

namespace lumora {

int run_capture(const std::vector<std::string>& args, std::ostream& out) {
  const CommandLine cl(args, {"bind", "port", "out", "reply-file", "timeout-ms"});
  const auto port = cl.get_int("port", 0, 65535);
  if (!port) throw std::invalid_argument("--port is required");
  const std::string out_path = cl.require("out");
  const auto timeout = cl.get_int("timeout-ms", 1, 3'600'000).value_or(60'000);

  std::optional<std::string> reply;
  if (const auto reply_path = cl.get("reply-file")) {
    std::ifstream in(*reply_path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + *reply_path);
    std::ostringstream content;
    content << in.rdbuf();
    reply = content.str();
  }

  CaptureListener listener(cl.get_or("bind", "127.0.0.1"), static_cast<int>(*port));
  out << "lumora-service: capturing on " << listener.port() << "\n";
  out.flush();
  listener.capture_one(out_path, reply, std::chrono::milliseconds(timeout));
  return 0;
}

}  // namespace lumora
