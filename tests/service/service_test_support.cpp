#include "service_test_support.h"

#include <arpa/inet.h>
#include <sys/socket.h>

#include <cerrno>
#include <random>

#include "service/accounts.h"
#include "service/service_db.h"

namespace lumora::test {

TempDir::TempDir()
    : dir_(std::filesystem::temp_directory_path() /
           ("lumora-test-" + std::to_string(std::random_device()()))) {
  std::filesystem::create_directories(dir_);
}

std::string form_encode(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if ((b < 0x80 && std::isalnum(b)) || c == '\r' || c == '\n') {
      out += c;
    } else {
      out += c == ' ' ? std::string("+") : std::string{'%', kHex[b >> 4], kHex[b & 15]};
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
  const auto start = reply.find("<" + tag + ">"), end = reply.find("</" + tag + ">");
  if (start == std::string::npos || end == std::string::npos) return "(missing)";
  return reply.substr(start + tag.size() + 2, end - start - tag.size() - 2);
}

ServiceFixture::ServiceFixture(int credits) {
  Database db = open_service_db(db_path());
  add_account(db, {kUser, kPassword, kPhone, credits});
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
  return result ? between_tags(result->body, "ResultCode") : "(no reply)";
}

std::int64_t ServiceFixture::credits() {
  Database db(db_path());
  return find_account(db, kUser).value().credits;
}

}  // namespace lumora::test
