#include <gtest/gtest.h>

#include "text/number.h"

using modBrevio::NormaliseNumber;

// National numbers take the country code for their leading zero; international ones keep their own.
TEST(NormaliseNumber, NationalNumbersTakeTheCountryCodeInternationalOnesKeepTheirOwn) {
  const struct {
    const wchar_t *typed, *country, *expected;
  } cases[] = {
      {L"0", L"44", L"44"}, {L"00", L"44", L"440"},  // no number behind an international prefix
      {L"(020) 7946 0018", L"44", L"442079460018"}, {L"07700 900123", L"", L"7700900123"},
      {L"7700 900 100", L"44", L"7700900100"},  // no leading 0: unchanged
      {L"abc", L"44", L""}, {L"", L"44", L""},
      {L"0044 7700 900123", L"44", L"447700900123"}, {L"+44 (0)7700 900123", L"44", L"447700900123"},
      {L"0044 (0)7700 900123", L"49", L"447700900123"}, {L"Tel: +49 151 2345 6789", L"44", L"4915123456789"},
      // A 0 after the country code is part of the number (Italy keeps it when dialled from abroad).
      {L"+39 06 6988 4000", L"44", L"390669884000"}, {L"00 39 06 6988 4000", L"44", L"390669884000"},
  };
  for (const auto& c : cases) EXPECT_EQ(NormaliseNumber(c.typed, c.country), c.expected) << c.typed;
}
