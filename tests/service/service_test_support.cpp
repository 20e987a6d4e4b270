#include "service_test_support.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <stdexcept>

#include "service/accounts.h"
#include "service/service_db.h"
#include "service/unique_fd.h"

namespace lumora::test {

TempDir::TempDir() {
  std::random_device random;
  dir_ = std::filesystem::temp_directory_path() /
         ("lumora-test-" + std::to_string(getpid()) + "-" + std::to_string(random()));
  std::filesystem::create_directories(dir_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string form_encode(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (std::isalnum(b) && b < 0x80) {
      out += c;
    } else if (c == '\r' || c == '\n') {
      out += c;
    } else if (c == ' ') {
      out += '+';
    } else {
      out += {'%', kHex[b >> 4], kHex[b & 15]};
    }
  }
  return out;
}

std::string submit_xml(std::string_view user, std::string_view password, std::string_view body,
                       std::string_view destination) {
  return std::string(R"(<?xml version="1.0"?><SubmitMessageRequest Version="1.0"><Header>)") +
         "<Username>" + std::string(user) + "</Username><Password>" + std::string(password) +
         "</Password></Header><MessageRequest><Message><Body><![CDATA[" + std::string(body) +
         "]]></Body><Destination sequenceId=\"1\">" + std::string(destination) +
         "</Destination></Message></MessageRequest></SubmitMessageRequest>";
}

std::string form_body(std::string_view xml) { return "\r\n\r\n&XMLDATA=" + form_encode(xml); }

std::string request_body(std::string_view body, std::string_view destination) {
  return form_body(submit_xml(kUser, kPassword, body, destination));
}

std::string between_tags(const std::string& reply, const std::string& tag) {
  const std::string open = "<" + tag + ">", close = "</" + tag + ">";
  const auto start = reply.find(open), end = reply.find(close);
  if (start == std::string::npos || end == std::string::npos) return "(missing)";
  return reply.substr(start + open.size(), end - start - open.size());
}

ServiceFixture::ServiceFixture(int credits) {
  Database db = open_service_db(db_path());
  add_account(db, {0, kUser, kPassword, kPhone, credits});
  ServiceOptions options;
  options.db_path = db_path();
  options.http_port = 0;
  service = std::make_unique<Service>(options);
}

httplib::Result ServiceFixture::post(const std::string& body, const std::string& path) {
  httplib::Client client("127.0.0.1", service->http_port());
  client.set_connection_timeout(5);
  client.set_read_timeout(5);
  return client.Post(path.c_str(), body, "application/x-www-form-urlencoded");
}

std::string ServiceFixture::submit(std::string_view body, std::string_view destination) {
  const auto result = post(request_body(body, destination));
  if (!result) return "(no reply: " + httplib::to_string(result.error()) + ")";
  return between_tags(result->body, "ResultCode");
}

std::int64_t ServiceFixture::credits() {
  Database db(db_path());
  return find_account(db, kUser).value().credits;
}

std::string raw_exchange(int port, const std::string& request) {
  UniqueFd fd(socket(AF_INET, SOCK_STREAM, 0));
  timeval timeout{5, 0};
  setsockopt(fd.get(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    throw std::runtime_error("cannot connect");
  }
  if (send(fd.get(), request.data(), request.size(), MSG_NOSIGNAL) !=
      static_cast<ssize_t>(request.size())) {
    throw std::runtime_error("short send");
  }
  std::string received;
  char buffer[4096];
  ssize_t n;
  while ((n = recv(fd.get(), buffer, sizeof buffer, 0)) > 0) received.append(buffer, n);
  if (n < 0 && errno != ECONNRESET) throw std::runtime_error("no end of reply within 5 seconds");
  return received;
}

}  // namespace lumora::test
