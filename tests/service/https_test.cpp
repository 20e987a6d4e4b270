// HTTPS beside HTTP, with a throwaway self-signed certificate made at test time.
#include <gtest/gtest.h>

#include <cstdlib>

#include "service/messages.h"
#include "service/service_db.h"
#include "service_test_support.h"

namespace lumora::test {
namespace {

TEST(Https, ServesTheSameDatabaseWithTheGivenCertificate) {
  ServiceFixture fixture;  // HTTP, and the database with alice
  const std::string cert = fixture.dir.path("cert.pem"), key = fixture.dir.path("key.pem");
  const std::string openssl =
      "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 "
      "-subj /CN=localhost -addext subjectAltName=IP:127.0.0.1 -keyout " + key + " -out " +
      cert + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(openssl.c_str()), 0) << "openssl could not make a certificate";
  ServiceOptions options{fixture.db_path(), "127.0.0.1", 0, 0, cert, key};
  Service service(options);

  httplib::SSLClient client("127.0.0.1", service.https_port().value());
  client.set_ca_cert_path(cert.c_str());
  client.enable_server_certificate_verification(true);  // proves it is our certificate
  client.set_read_timeout(5);
  const auto reply = client.Post("/hotkeys", request_body("over TLS"), "text/plain");
  ASSERT_TRUE(reply) << httplib::to_string(reply.error());
  EXPECT_EQ(between_tags(reply->body, "ResultCode"), "0");
  EXPECT_EQ(fixture.submit("in clear"), "0");

  Database db(fixture.db_path());
  const auto messages = list_messages(db);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].body, "over TLS");
  EXPECT_EQ(fixture.credits(), 8);

  options.cert_path = fixture.dir.path("missing.pem");
  EXPECT_THROW(Service{options}, std::runtime_error);
}

}  // namespace
}  // namespace lumora::test
