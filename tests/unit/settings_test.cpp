#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/settings.h"
#include "text/codepage.h"
#include "text/encodings.h"

using encodings::Scramble;

namespace {

const Settings kCustom{.Usr = L"alice", .Pwd = L"s3cr\u00e9t!", .CountryCode = L"49", .VKey1 = 90,
                       .VKey2 = 65, .Footer = L"50% off + free\r\nsee you", .Protocol = 5, .Port = L"443",
                       .ProxyAuth = 1, .ProxyUsr = L"proxy", .ProxyPwd = L"p:w", .HideStartUp = 1};

// A value that, starting at line position `start`, makes the scrambled line hold a CR LF pair
// at line position `at` (both counted from 1).
std::wstring CollidingValue(int start, int at) {
  std::wstring v(at - start, L'x');
  v.push_back(static_cast<wchar_t>('\r' ^ ((encodings::kScrambleKey + at - 1) & 0xFF)));
  v.push_back(static_cast<wchar_t>('\n' ^ ((encodings::kScrambleKey + at) & 0xFF)));
  return v;
}

}  // namespace

TEST(SettingsFile, DefaultsMatchTheGoldenFileByteForByte) {
  std::ifstream file(BREVIO_TEST_DATA "/config2-defaults.txt", std::ios::binary);
  const std::string golden{std::istreambuf_iterator<char>(file), {}};
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(settings_file::Format(Settings{}), golden);
  EXPECT_EQ(settings_file::Parse(golden), Settings{});
}

TEST(SettingsFile, ScrambledCrLfInsideALineIsNotTakenForTheLineBreak) {
  for (int position : {1, 7, 30, 300}) {
    Settings s = kCustom;
    s.Pwd = CollidingValue(1, position);
    std::string bytes = settings_file::Format(s);
    ASSERT_EQ(bytes.find("\r\n"), static_cast<std::size_t>(position - 1));
    EXPECT_EQ(settings_file::Parse(bytes), s) << position;

    Settings p = kCustom;
    p.ProxyPwd = CollidingValue(9, 8 + position);  // behind "1 proxy "
    std::string with_proxy = settings_file::Format(p);
    std::size_t line2 = with_proxy.find("\r\n") + 2;
    ASSERT_EQ(with_proxy.find("\r\n", line2), line2 + 8 + position - 1);
    EXPECT_EQ(settings_file::Parse(with_proxy), p) << position;
  }
}

TEST(SettingsFile, LineOneAloneDefaultsTheProxyAndDamagedFilesGiveAllDefaults) {
  std::string bytes = settings_file::Format(kCustom);
  std::string line1 = bytes.substr(0, bytes.find("\r\n"));
  // The footer stands URL-encoded inside the plain line.
  EXPECT_NE(Scramble(line1).find(" 50%25+off+%2B+free\r\nsee+you "), std::string::npos) << Scramble(line1);
  Settings expected = kCustom;
  expected.ProxyAuth = 0, expected.ProxyUsr.clear(), expected.ProxyPwd.clear();
  EXPECT_EQ(settings_file::Parse(line1), expected);
  // Nothing; an empty second line; letters or an overflow for numbers; no structure.
  for (const std::string& bytes :
       {std::string(), line1 + "\r\n", Scramble("a b c d e f g h ") + "\r\n", Scramble("p u eighty 78 44  0 80 4 "),
        Scramble("p u 80 78 44  0 80 99999 "), line1 + "\r\n" + Scramble("yes a b ") + "\r\n",
        std::string("garbage without structure")})
    EXPECT_EQ(settings_file::Parse(bytes), Settings{}) << bytes;
}

TEST(SettingsFile, SpacesAreRefusedInEveryFieldButTheFooter) {
  EXPECT_EQ(settings_file::FieldThatCannotBeStored(kCustom), std::nullopt);  // its footer has spaces
  Settings s = kCustom;
  s.ProxyPwd = L"two words";
  EXPECT_EQ(settings_file::FieldThatCannotBeStored(s), L"proxy password");
  s.Usr = L"a b", s.CountryCode = L"4 4";
  EXPECT_EQ(settings_file::FieldThatCannotBeStored(s), L"Lumora username");
  s.Usr = L"alice";
  EXPECT_EQ(settings_file::FieldThatCannotBeStored(s), L"country code");
}

TEST(SettingsFile, ValuesOutsideTheCodePageSurviveInALineOfTheirOwn) {
  Settings s = kCustom;
  s.Footer = L"\u2014 \u0421\u0430\u0448\u0430 \u03b1\u03b2 \u0142\u00f3d\u017a \u4e2d\u6587 \U0001F600";
  s.Usr = L"\u0410\u043d\u044f";
  s.ProxyPwd = L"\u4e2d%+";
  std::string bytes = settings_file::Format(s);
  EXPECT_EQ(settings_file::Parse(bytes), s);
  // The first two lines are those of the same settings with the code page's stand-ins, so a
  // reader of two lines still gets every other value.
  Settings stand_ins = s;
  for (auto* v : {&stand_ins.Footer, &stand_ins.Usr, &stand_ins.ProxyPwd})
    *v = codepage::FromAnsi(codepage::ToAnsi(*v));
  std::string old = settings_file::Format(stand_ins);
  EXPECT_EQ(bytes.substr(0, old.size()), old);
}

TEST(SettingsFile, AFileWrittenTheOldWayIsNeverReadAsHoldingTheUnicodeLine) {
  // A third line is read only behind the end of line 2, which ends only where it holds its three
  // fields, and only when it restates every text value of lines 1 and 2 (so it can never sit
  // inside one). Forged here: an old file whose proxy password carries, behind a chance CR LF,
  // the exact bytes of a valid third line. It is read as the old file.
  Settings unicode = kCustom;
  unicode.Footer = L"\u0416";
  const std::string real = settings_file::Format(unicode);
  const std::size_t line3 = real.find("\r\n", real.find("\r\n") + 2) + 2;
  const std::string third = real.substr(line3);  // scrambled, with its CR LF

  Settings old = unicode;
  old.Footer = L"?";
  for (int chance = 9; chance < 200; ++chance) {  // the first chance CR LF without a space
    old.ProxyPwd = CollidingValue(9, chance);     // line 2 is "1 proxy " then this password
    const std::size_t at = 8 + old.ProxyPwd.size();  // where the forged bytes start in line 2
    for (std::size_t i = 0; i < third.size(); ++i)
      old.ProxyPwd.push_back(static_cast<wchar_t>(
          static_cast<unsigned char>(encodings::ScrambleAt(third[i], at + i))));
    if (!settings_file::FieldThatCannotBeStored(old)) break;
  }
  ASSERT_EQ(settings_file::FieldThatCannotBeStored(old), std::nullopt) << "no space in the forgery";
  const std::string file = settings_file::Format(old);
  ASSERT_NE(file.find(third), std::string::npos);
  EXPECT_EQ(settings_file::Parse(file), old);
  // The same bytes behind a real line 2 are the third line, and carry the value.
  EXPECT_EQ(settings_file::Parse(real), unicode);
}
