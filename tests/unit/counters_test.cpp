#include <gtest/gtest.h>

#include "tests/count_cases.h"
#include "text/counters.h"

#include <tuple>

TEST(CountMessage, PartsAndPlacesLeftAtTheEdgesOfEachEncoding) {
  for (const auto& c : count_cases::kCases) {
    const MessageCount got = CountMessage(c.message, c.footer);
    EXPECT_EQ(std::tuple(got.total, got.nummsgs, got.left), std::tuple(c.total, c.parts, c.left)) << c.what;
  }
}
