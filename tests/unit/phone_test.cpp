// The phone window's portable rules: history moves and the keypad. (The walk through
// A, B, C is driven through the window in tests/win/phone_test.cpp.)
#include <gtest/gtest.h>

#include <vector>

#include "phone/history.h"
#include "phone/keypad.h"

namespace {

// Walks a history of `count` entries by a list of moves ('u' newer, 'd' older) from `pos`;
// returns the 1-based index shown after each move (0 when nothing moved).
std::vector<int> Walk(std::int32_t& pos, std::size_t count, const char* moves) {
  std::vector<int> shown;
  for (const char* m = moves; *m; ++m) {
    auto move = *m == 'u' ? history::MoveNewer(pos, count) : history::MoveOlder(pos, count);
    shown.push_back(move ? move->histIdx : 0);
    if (move) pos = move->histPos;
  }
  return shown;
}

}  // namespace

TEST(History, AnEntryArrivingKeepsThePosition) {
  std::int32_t pos = 1;  // B shown among A, B, C; then D is captured
  auto up = pos;
  EXPECT_EQ(Walk(up, 4, "u"), (std::vector<int>{4})) << "up shows the new newest entry D";
  auto down = pos;
  EXPECT_EQ(Walk(down, 4, "d"), (std::vector<int>{2})) << "down shows B";
}

TEST(History, EmptyAndSingleHistoriesDoNotMove) {
  for (std::size_t count : {0u, 1u}) {
    std::int32_t pos = 0;
    EXPECT_EQ(Walk(pos, count, "udu"), (std::vector<int>{0, 0, 0})) << count;
    EXPECT_FALSE(history::CanMoveNewer(0, count));
    EXPECT_FALSE(history::CanMoveOlder(0, count));
  }
  EXPECT_TRUE(history::CanMoveOlder(1, 3));
  EXPECT_FALSE(history::CanMoveOlder(2, 3));
  EXPECT_TRUE(history::CanMoveNewer(1, 3));
}

TEST(Keypad, DigitsUpToTheLimitAndBack) {
  EXPECT_EQ(keypad::PressDigit(L"12345678901234", L'5', 15), L"123456789012345");
  EXPECT_EQ(keypad::PressDigit(L"123456789012345", L'6', 15), L"123456789012345");
  EXPECT_EQ(keypad::PressBack(L""), L"");
  EXPECT_EQ(keypad::DigitOfArea(1), L'1');
  EXPECT_EQ(keypad::DigitOfArea(9), L'9');
  EXPECT_EQ(keypad::DigitOfArea(10), L'0');
  EXPECT_EQ(keypad::DigitOfArea(11), 0);
}
