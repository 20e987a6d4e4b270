// Capture mode: the request's bytes land in the file unchanged.
#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <sstream>

#include "service/capture.h"
#include "service_test_support.h"

namespace lumora::test {
namespace {

using std::chrono::milliseconds;

std::string file_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

TEST(Capture, WritesRequestLineHeadersAndExactlyTheBody) {
  TempDir dir;
  CaptureListener listener("127.0.0.1", 0);
  auto done = std::async(std::launch::async, [&] {
    listener.capture_one(dir.path("req.bin").string(), std::nullopt, milliseconds(5000));
  });
  const std::string body = request_body("caf\xE9 & <tea>\r\n");
  const std::string request =
      "POST /hotkeys HTTP/1.1\r\nHost: localhost\r\nContent-type: "
      "application/x-www-form-urlencoded\r\ncontent-LENGTH: " + std::to_string(body.size()) +
      "\r\n\r\n" + body;
  const std::string reply = raw_exchange(listener.port(), request + "EXTRA");
  done.get();
  EXPECT_EQ(file_bytes(dir.path("req.bin")), request);
  EXPECT_EQ(reply.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
  EXPECT_EQ(between_tags(reply, "ResultCode"), "0");
}

TEST(Capture, AnswersWithTheGivenReplyAndGivesUpWhenNobodyComes) {
  TempDir dir;
  CaptureListener listener("127.0.0.1", 0);
  auto done = std::async(std::launch::async, [&] {
    listener.capture_one(dir.path("req.bin").string(), "<html>custom</html>", milliseconds(5000));
  });
  const std::string reply = raw_exchange(listener.port(), "GET / HTTP/1.1\r\n\r\n");
  done.get();
  EXPECT_EQ(file_bytes(dir.path("req.bin")), "GET / HTTP/1.1\r\n\r\n");
  EXPECT_NE(reply.find("\r\nContent-Length: 19\r\n"), std::string::npos);
  EXPECT_EQ(reply.substr(reply.size() - 23), "\r\n\r\n<html>custom</html>");

  CaptureListener idle("127.0.0.1", 0);
  EXPECT_THROW(idle.capture_one(dir.path("none.bin").string(), std::nullopt, milliseconds(100)),
               std::runtime_error);
}

}  // namespace
}  // namespace lumora::test
