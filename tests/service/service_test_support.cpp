#include "service_test_support.h"

#include <random>

#include "app/encodings.h"
#include "service/accounts.h"
#include "service/service_db.h"

namespace lumora::test {

TempDir::TempDir()
    : dir_(std::filesystem::temp_directory_path() /
           ("lumora-test-" + std::to_string(std::random_device()()))) {
  std::filesystem::create_directories(dir_);
}

Database database_with_alice(const std::string& path, int credits) {
  Database db = open_service_db(path);
  add_account(db, {kUser, kPassword, kPhone, credits});
  return db;
}

std::string submit_xml(std::string_view user, std::string_view password, std::string_view body,
                       std::string_view destination) {
  return std::string(R"(<?xml version="1.0"?><SubmitMessageRequest Version="1.0"><Header>)") +
         "<Username>" + std::string(user) + "</Username><Password>" + std::string(password) +
         "</Password></Header><MessageRequest><Message><Body><![CDATA[" + std::string(body) +
         "]]></Body><Destination sequenceId=\"1\">" + std::string(destination) +
         "</Destination></Message></MessageRequest></SubmitMessageRequest>";
}

std::string form_body(std::string_view xml) { return "\r\n\r\n&XMLDATA=" + encodings::URLEncode(xml); }

std::string request_body(std::string_view body, std::string_view destination) {
  return form_body(submit_xml(kUser, kPassword, body, destination));
}

std::string between_tags(const std::string& reply, const std::string& tag) {
  const auto start = reply.find("<" + tag + ">"), end = reply.find("</" + tag + ">");
  if (start == std::string::npos || end == std::string::npos) return "(missing)";
  return reply.substr(start + tag.size() + 2, end - start - tag.size() - 2);
}

ServiceFixture::ServiceFixture(int credits) {
  database_with_alice(db_path(), credits);
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

std::string ServiceFixture::result_code(const std::string& form) {
  const auto reply = post(form);
  return reply ? between_tags(reply->body, "ResultCode") : "(no reply)";
}

std::vector<StoredMessage> ServiceFixture::messages() {
  Database db(db_path());
  return list_messages(db);
}

std::int64_t ServiceFixture::credits(const std::string& user) {
  Database db(db_path());
  return find_account(db, user).value().credits;
}

}  // namespace lumora::test
