#pragma once
// Shared pieces of the service tests: a temporary directory, a running service with one
// account, requests built the way the Windows program builds them, and bounded raw sockets.
#include <httplib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "service/service.h"

namespace lumora::test {

inline constexpr char kUser[] = "alice";
inline constexpr char kPassword[] = "s3cret";
inline constexpr char kPhone[] = "447700900123";

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::filesystem::path path(const std::string& name) const { return dir_ / name; }

 private:
  std::filesystem::path dir_;
};

// The client's form encoding: letters, digits, CR and LF stay, space is '+', every other
// byte is %XX in uppercase.
std::string form_encode(std::string_view bytes);

// The program's XML document, user name, password and number inserted unescaped.
std::string submit_xml(std::string_view user, std::string_view password, std::string_view body,
                       std::string_view destination);

// CR LF CR LF "&XMLDATA=" and the encoded document.
std::string form_body(std::string_view xml);

std::string request_body(std::string_view body, std::string_view destination = "");

// The text between the first <Tag> and </Tag>, or "(missing)".
std::string between_tags(const std::string& reply, const std::string& tag);

// A service on free loopback ports with a fresh database holding alice with `credits`.
class ServiceFixture {
 public:
  explicit ServiceFixture(int credits = 10);
  std::string db_path() const { return dir.path("lumora.db").string(); }
  httplib::Result post(const std::string& body, const std::string& path = "/hotkeys");
  // Posts request_body(...) and returns the ResultCode text.
  std::string submit(std::string_view body, std::string_view destination = "");
  std::int64_t credits();

  TempDir dir;
  std::unique_ptr<Service> service;
};

// Connects to the loopback port, sends `request` and returns every byte received until the
// peer closes the connection (at most 5 seconds).
std::string raw_exchange(int port, const std::string& request);

}  // namespace lumora::test
