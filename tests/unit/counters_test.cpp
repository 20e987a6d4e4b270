#include <gtest/gtest.h>

#include "tests/count_cases.h"
#include "sending/counters.h"

TEST(CountMessage, PartsAndPlacesLeftAtTheEdgesOfEachEncoding) {
  for (const auto& c : count_cases::kCases) {
    MessageCount got = CountMessage(c.message, c.footer);
    EXPECT_EQ(got.total, c.total) << c.what;
    EXPECT_EQ(got.nummsgs, c.parts) << c.what;
    EXPECT_EQ(got.left, c.left) << c.what;
  }
}
