// HTTPS beside HTTP, with a throwaway self-signed certificate made at test time.
#include <gtest/gtest.h>

#include <cstdlib>

#include "service/messages.h"
#include "service/service_db.h"
#include "service_test_support.h"

namespace lumora::test {
namespace {

TEST(Https, BothListenersServeTheSameDatabaseAndTheCertificateVerifies) {
  ServiceFixture plain;  // holds the account and the database file
  plain.service->stop();
  const std::string cert = plain.dir.path("cert.pem").string();
  const std::string key = plain.dir.path("key.pem").string();
  const std::string command =
      "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 "
      "-subj /CN=localhost -addext subjectAltName=IP:127.0.0.1 -keyout " + key + " -out " +
      cert + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << "openssl could not make a certificate";

  ServiceOptions options;
  options.db_path = plain.db_path();
  options.http_port = 0;
  options.https_port = 0;
  options.cert_path = cert;
  options.key_path = key;
  Service service(options);
  ASSERT_TRUE(service.https_port());

  httplib::SSLClient secure("127.0.0.1", *service.https_port());
  secure.set_ca_cert_path(cert.c_str());
  secure.enable_server_certificate_verification(true);
  secure.set_read_timeout(5);
  auto reply = secure.Post("/hotkeys", request_body("over TLS"), "text/plain");
  ASSERT_TRUE(reply) << httplib::to_string(reply.error());
  EXPECT_EQ(between_tags(reply->body, "ResultCode"), "0");

  httplib::Client http("127.0.0.1", service.http_port());
  http.set_read_timeout(5);
  reply = http.Post("/hotkeys", request_body("in clear"), "text/plain");
  ASSERT_TRUE(reply);
  EXPECT_EQ(between_tags(reply->body, "ResultCode"), "0");

  Database db(plain.db_path());
  const auto messages = list_messages(db);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].body, "over TLS");
}

TEST(Https, UnreadableCertificateIsRefusedAtStart) {
  TempDir dir;
  ServiceOptions options;
  options.db_path = dir.path("x.db").string();
  options.http_port = 0;
  options.https_port = 0;
  options.cert_path = dir.path("missing.pem").string();
  options.key_path = options.cert_path;
  EXPECT_THROW(Service{options}, std::runtime_error);
}

}  // namespace
}  // namespace lumora::test
