#pragma once
// Shared by the service tests: a temporary directory, a running service with one account,
// requests built the way the Windows program builds them, and a bounded raw exchange.
#include <httplib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "service/service.h"
#include "service/unique_fd.h"

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
  std::filesystem::path path(const std::string& name) const { return dir_ / name; }

 private:
  std::filesystem::path dir_;
};

// The program's encoding: letters, digits, CR and LF stay, space is '+', else %XX uppercase.
std::string form_encode(std::string_view bytes);
// The program's document, with user name, password and number inserted unescaped.
std::string submit_xml(std::string_view user, std::string_view password, std::string_view body,
                       std::string_view destination);
// CR LF CR LF "&XMLDATA=" and the encoded document.
std::string form_body(std::string_view xml);
// form_body of alice's request.
std::string request_body(std::string_view body, std::string_view destination = "");
// The text between the first <tag> and </tag>, or "(missing)".
std::string between_tags(const std::string& reply, const std::string& tag);

// A service on a free loopback port, its fresh database holding alice with `credits`.
struct ServiceFixture {
  explicit ServiceFixture(int credits = 10);
  std::string db_path() const { return dir.path("lumora.db").string(); }
  httplib::Result post(const std::string& body, const std::string& path = "/hotkeys");
  std::string submit(std::string_view body, std::string_view destination = "");  // ResultCode
  std::int64_t credits();

  TempDir dir;
  std::unique_ptr<Service> service;
};

}  // namespace lumora::test
