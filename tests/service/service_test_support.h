#pragma once
// Shared by the service tests: a temporary directory, a database or a running service with
// alice's account, requests built the way the Windows program builds them.
#include <httplib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "service/messages.h"
#include "service/service.h"
#include "service/sqlite_db.h"

namespace lumora::test {

inline constexpr char kUser[] = "alice";
inline constexpr char kPassword[] = "s3cret";
inline constexpr char kPhone[] = "447700900123";

class TempDir {
 public:
  TempDir();
  ~TempDir() { std::filesystem::remove_all(dir_); }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string path(const std::string& name) const { return (dir_ / name).string(); }

 private:
  std::filesystem::path dir_;
};

// A fresh service database at `path` holding alice with `credits`.
Database database_with_alice(const std::string& path, int credits = 10);

// The program's document, with user name, password and number inserted unescaped.
std::string submit_xml(std::string_view user, std::string_view password, std::string_view body,
                       std::string_view destination);
// CR LF CR LF "&XMLDATA=" and the document encoded as the program encodes it.
std::string form_body(std::string_view xml);
// form_body of alice's request.
std::string request_body(std::string_view body, std::string_view destination = "");
// The text between the first <tag> and </tag>, or "(missing)".
std::string between_tags(const std::string& reply, const std::string& tag);

// A service on a free loopback port, its fresh database holding alice with `credits`.
struct ServiceFixture {
  explicit ServiceFixture(int credits = 10);
  std::string db_path() const { return dir.path("lumora.db"); }
  httplib::Result post(const std::string& body, const std::string& path = "/hotkeys");
  std::string result_code(const std::string& form);  // of the reply to POST /hotkeys
  std::vector<StoredMessage> messages();
  std::int64_t credits(const std::string& user = kUser);

  TempDir dir;
  std::unique_ptr<Service> service;
};

}  // namespace lumora::test
