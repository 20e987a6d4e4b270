#include <gtest/gtest.h>

#include "app/number.h"

using modBrevio::NormaliseNumber;

TEST(NormaliseNumber, NationalNumbersTakeTheCountryCodeForTheirLeadingZero) {
  EXPECT_EQ(NormaliseNumber(L"07700 900123", L"44"), L"447700900123");
  EXPECT_EQ(NormaliseNumber(L"0", L"44"), L"44");
  EXPECT_EQ(NormaliseNumber(L"00", L"44"), L"440");  // no number behind an international prefix
  EXPECT_EQ(NormaliseNumber(L"(020) 7946 0018", L"44"), L"442079460018");
  EXPECT_EQ(NormaliseNumber(L"07700 900123", L""), L"7700900123");
  EXPECT_EQ(NormaliseNumber(L"7700 900 100", L"44"), L"7700900100");  // no leading 0: unchanged
  EXPECT_EQ(NormaliseNumber(L"abc", L"44"), L"");
  EXPECT_EQ(NormaliseNumber(L"", L"44"), L"");
}

TEST(NormaliseNumber, InternationalNumbersKeepTheirOwnCountryCode) {
  EXPECT_EQ(NormaliseNumber(L"+44 7700 900123", L"44"), L"447700900123");
  EXPECT_EQ(NormaliseNumber(L"0044 7700 900123", L"44"), L"447700900123");
  EXPECT_EQ(NormaliseNumber(L"+44 (0)7700 900123", L"44"), L"447700900123");
  EXPECT_EQ(NormaliseNumber(L"0044 (0)7700 900123", L"49"), L"447700900123");
  EXPECT_EQ(NormaliseNumber(L"Tel: +49 151 2345 6789", L"44"), L"4915123456789");
  // A 0 after the country code is part of the number (Italy keeps it when dialled from abroad).
  EXPECT_EQ(NormaliseNumber(L"+39 06 6988 4000", L"44"), L"390669884000");
  EXPECT_EQ(NormaliseNumber(L"00 39 06 6988 4000", L"44"), L"390669884000");
}
