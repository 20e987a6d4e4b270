#include <gtest/gtest.h>

#include "sending/counters.h"

TEST(CountMessage, PartsAndCharactersLeftAtTheBoundaries) {
  struct Case {
    std::size_t message, footer;
    int total, parts, left;
  } cases[] = {{0, 0, 1, 1, 159},     {150, 9, 160, 1, 0},   {151, 9, 161, 2, 159},
               {319, 0, 320, 2, 0},   {479, 0, 480, 3, 0},   {32767, 100, 32868, 206, 92},
               {1000000, 0, 1000001, 6251, 159}};
  for (const auto& c : cases) {
    const std::wstring message(static_cast<std::size_t>(c.message), L'm');
    MessageCount got = CountMessage(message, std::wstring(static_cast<std::size_t>(c.footer), L'f'));
    EXPECT_EQ(got.total, c.total) << c.message;
    EXPECT_EQ(got.nummsgs, c.parts) << c.message;
    EXPECT_EQ(got.left, c.left) << c.message;
  }
}
