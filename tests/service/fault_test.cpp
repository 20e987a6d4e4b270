// The misbehaviour switches as a client sees them, switched while the service runs.
#include <gtest/gtest.h>

#include <functional>

#include "service/fault_replies.h"
#include "service/messages.h"
#include "service/service_db.h"
#include "service_test_support.h"

namespace lumora::test {
namespace {

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

}  // namespace
}  // namespace lumora::test
