#include <gtest/gtest.h>

#include "phone/counters.h"

TEST(CountMessage, PartsAndCharactersLeftAtTheBoundaries) {
  struct Case {
    std::size_t message, footer;
    int total, parts, left;
  } cases[] = {{0, 0, 1, 1, 159},     {150, 9, 160, 1, 0},   {151, 9, 161, 2, 159},
               {319, 0, 320, 2, 0},   {479, 0, 480, 3, 0},   {32767, 100, 32868, 206, 92},
               {1000000, 0, 1000001, 6251, 159}};
  for (const auto& c : cases) {
    MessageCount got = CountMessage(std::wstring(c.message, L'a'), std::wstring(c.footer, L'b'));
    EXPECT_EQ(got.total, c.total) << c.message;
    EXPECT_EQ(got.nummsgs, c.parts) << c.message;
    EXPECT_EQ(got.left, c.left) << c.message;
  }
}
