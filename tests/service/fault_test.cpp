// The misbehaviour switches as a client sees them, switched while the service runs.
#include <gtest/gtest.h>

#include <functional>
#include <future>

#include "service/fault_replies.h"
#include "service/messages.h"
#include "service/service_db.h"
#include "service_test_support.h"

namespace lumora::test {
namespace {

using std::chrono::milliseconds;
using Check = std::function<void(const httplib::Result&)>;

void set_fault(ServiceFixture& fixture, FaultMode mode, std::int64_t delay_ms = 0) {
  Database db(fixture.db_path());
  write_faults(db, {mode, delay_ms});
}

std::size_t stored_count(ServiceFixture& fixture) {
  Database db(fixture.db_path());
  return list_messages(db).size();
}

TEST(Faults, EachBrokenReplyAsTheClientSeesItStoresNothing) {
  ServiceFixture fixture;
  const std::pair<FaultMode, Check> cases[] = {
      {FaultMode::kHtmlError, [](const httplib::Result& r) {
         ASSERT_TRUE(r);
         EXPECT_EQ(r->status, 500);
         EXPECT_EQ(r->body.rfind("<HTML><HEAD><TITLE>500 Internal Server Error</TITLE>", 0), 0u);
       }},
      {FaultMode::kMalformed, [](const httplib::Result& r) {
         ASSERT_TRUE(r);
         EXPECT_EQ(r->body.rfind("<?xml", 0), 0u);
         EXPECT_EQ(r->body.find("ResultCode>"), std::string::npos);
       }},
      {FaultMode::kBadCode, [](const httplib::Result& r) {
         ASSERT_TRUE(r);
         EXPECT_EQ(between_tags(r->body, "ResultCode"), "OK");
       }},
      {FaultMode::kHuge, [](const httplib::Result& r) {
         ASSERT_TRUE(r);
         EXPECT_EQ(r->body.size(), kHugeReplySize);
         EXPECT_EQ(between_tags(r->body.substr(0, 200), "ResultCode"), "0");
         EXPECT_EQ(r->body.substr(r->body.size() - 37), "</ResultText></SubmitMessageResponse>");
       }},
      {FaultMode::kTruncated, [](const httplib::Result& r) { EXPECT_FALSE(r); }},
      {FaultMode::kDrop, [](const httplib::Result& r) { EXPECT_FALSE(r); }},
  };
  for (const auto& [mode, check] : cases) {
    SCOPED_TRACE(fault_name(mode));
    set_fault(fixture, mode);
    check(fixture.post(request_body("hello")));
  }
  EXPECT_EQ(stored_count(fixture), 0u);
  EXPECT_EQ(fixture.credits(), 10);
  set_fault(fixture, FaultMode::kNone);
  EXPECT_EQ(fixture.submit("hello"), "0");
  EXPECT_EQ(stored_count(fixture), 1u);
}

TEST(Faults, TruncatedAnnouncesMoreThanItSendsAndDropSendsNothing) {
  ServiceFixture fixture;
  const std::string body = request_body("hello");
  const std::string request = "POST /hotkeys HTTP/1.1\r\nHost: localhost\r\nContent-Length: " +
                              std::to_string(body.size()) + "\r\n\r\n" + body;
  set_fault(fixture, FaultMode::kTruncated);
  const std::string reply = raw_exchange(fixture.service->http_port(), request);
  const auto length_at = reply.find("Content-Length: "), head_end = reply.find("\r\n\r\n");
  ASSERT_NE(length_at, std::string::npos) << reply;
  ASSERT_NE(head_end, std::string::npos) << reply;
  const std::string received = reply.substr(head_end + 4);
  EXPECT_EQ(received.rfind("<?xml", 0), 0u);
  EXPECT_LT(received.size(), std::stoul(reply.substr(length_at + 16)));

  set_fault(fixture, FaultMode::kDrop);
  EXPECT_EQ(raw_exchange(fixture.service->http_port(), request), "");
}

TEST(Faults, DelayWaitsThenAnswersNormally) {
  ServiceFixture fixture;
  set_fault(fixture, FaultMode::kDelay, 300);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(fixture.submit("late"), "0");
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(300));
  EXPECT_EQ(stored_count(fixture), 1u);
}

TEST(Faults, StoppingEndsALongDelayWithoutStoring) {
  ServiceFixture fixture;
  set_fault(fixture, FaultMode::kDelay, 30000);
  auto pending = std::async(std::launch::async, [&] { return fixture.submit("never"); });
  std::this_thread::sleep_for(milliseconds(200));
  const auto start = std::chrono::steady_clock::now();
  fixture.service->stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  ASSERT_EQ(pending.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_NE(pending.get(), "0");
  EXPECT_EQ(stored_count(fixture), 0u);
}

}  // namespace
}  // namespace lumora::test
