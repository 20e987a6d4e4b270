#pragma once
// Shared by the service tests: a temporary directory, a database or a running service with
// alice's account, requests built the way the Windows program builds them.
#include <httplib.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "text/encodings.h"
#include "service/accounts.h"
#include "service/messages.h"
#include "service/service.h"
#include "service/service_db.h"
#include "service/sqlite_db.h"

namespace lumora::test {

inline constexpr char kUser[] = "alice";
inline constexpr char kPassword[] = "s3cret";
inline constexpr char kPhone[] = "447700900123";
inline constexpr char kFrontKey[] = "the front proxy's key in the tests";

// A fresh folder, removed with everything in it at the end of its scope.
struct TempDir {
  TempDir() { std::filesystem::create_directories(dir); }
  ~TempDir() { std::filesystem::remove_all(dir); }
  std::string path(const std::string& name) const { return (dir / name).string(); }
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("lumora-test-" + std::to_string(std::random_device()()));
};

// A fresh service database at `path` holding alice with `credits`.
inline Database database_with_alice(const std::string& path, int credits = 10) {
  Database db = open_service_db(path);
  add_account(db, {kUser, kPassword, kPhone, credits});
  return db;
}

// The program's document, with user name, password and number inserted unescaped.
inline std::string submit_xml(std::string_view user, std::string_view password, std::string_view body,
                              std::string_view destination) {
  return std::string(R"(<?xml version="1.0"?><SubmitMessageRequest Version="1.0"><Header><Username>)") +
         std::string(user) + "</Username><Password>" + std::string(password) +
         "</Password></Header><MessageRequest><Message><Body><![CDATA[" + std::string(body) +
         "]]></Body><Destination sequenceId=\"1\">" + std::string(destination) +
         "</Destination></Message></MessageRequest></SubmitMessageRequest>";
}
// CR LF CR LF "&XMLDATA=" and the document encoded as the program encodes it.
inline std::string form_body(std::string_view xml) { return "\r\n\r\n&XMLDATA=" + encodings::URLEncode(xml); }
// form_body of a request, by default alice's.
inline std::string request_body(std::string_view body, std::string_view destination = "",
                                std::string_view user = kUser, std::string_view password = kPassword) {
  return form_body(submit_xml(user, password, body, destination));
}
// The text between the first <tag> and </tag>, or "(missing)".
inline std::string between_tags(const std::string& reply, const std::string& tag) {
  const auto start = reply.find("<" + tag + ">"), end = reply.find("</" + tag + ">");
  if (start == std::string::npos || end == std::string::npos) return "(missing)";
  return reply.substr(start + tag.size() + 2, end - start - tag.size() - 2);
}

// A service on a free loopback port, its fresh database holding alice with `credits`.
struct ServiceFixture {
  explicit ServiceFixture(int credits = 10) {
    database_with_alice(db_path(), credits);
    ServiceOptions options;  // HTTP on any free port
    options.db_path = db_path();
    options.front_key = kFrontKey;
    service = std::make_unique<Service>(options);
  }
  std::string db_path() const { return dir.path("lumora.db"); }
  httplib::Result post(const std::string& body, const httplib::Headers& headers = {}) {
    httplib::Client client("127.0.0.1", service->port());
    client.set_connection_timeout(5);
    client.set_read_timeout(5);
    return client.Post("/hotkeys", headers, body, "application/x-www-form-urlencoded");
  }
  // The reply's ResultCode, or why there is none.
  std::string code_of(const std::string& body, const httplib::Headers& headers = {}) {
    const auto reply = post(body, headers);
    return reply ? between_tags(reply->body, "ResultCode") : "(no reply)";
  }
  std::vector<StoredMessage> messages() {
    Database db(db_path());
    return list_messages(db);
  }
  std::int64_t credits(const std::string& user = kUser) {
    Database db(db_path());
    return find_account(db, user).value().credits;
  }

  TempDir dir;
  std::unique_ptr<Service> service;
};

}  // namespace lumora::test
