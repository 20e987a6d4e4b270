// Loading and saving config2.txt beside the program, with real files.
#include <gtest/gtest.h>

#include "app/controls_win.h"
#include "app/modHotkeys_win.h"
#include "app/settings.h"
#include "wine_util.h"

using namespace testing_win;
using modHotkeys::state;

namespace {

class SettingsFileBesideTheProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    modHotkeys::InstallAnsiCodePage();  // the system's conversions, as the program uses them
    Clean();
    static_cast<Settings&>(state) = Settings{};
  }
  void TearDown() override { Clean(); }
  void Clean() {
    ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path_.c_str());
    ::DeleteFileW((path_ + L".new").c_str());
  }
  bool NewFileLeftBehind() const { return std::filesystem::exists(path_ + L".new"); }
  const std::wstring path_ = modHotkeys::AppPath() + L"\\config2.txt";
};

Settings Changed() {
  Settings s;
  s.Usr = L"b\u00f6b\u0411\u043e\u0431";  // beyond the code page: kept in the file's third line
  s.Pwd = L"pa%+ss\u4e2d";
  s.Footer = L"Sent with Brevio: 100% + more \u2014 \u0421\u0430\u0448\u0430 \u0393\u03b5\u03b9\u03ac \u0142\u00f3d\u017a \U0001F600";
  s.VKey1 = 81;
  s.Protocol = 5;
  s.Port = L"443";
  return s;
}

}  // namespace

// A damaged file's bytes give the defaults as tests/unit/settings_test.cpp shows; here, a file
// that is not there.
TEST_F(SettingsFileBesideTheProgram, AFailedSaveKeepsTheFileItWouldHaveReplaced) {
  static_cast<Settings&>(state) = Changed();
  ASSERT_FALSE(modHotkeys::WriteSettings());
  const std::string saved = ReadFileBytes(path_);
  EXPECT_TRUE(saved == settings_file::Format(Changed()) && !NewFileLeftBehind());
  const struct { DWORD attributes; const wchar_t* password; modHotkeys::SaveProblem says; } refused[] = {
      {FILE_ATTRIBUTE_READONLY, L"", {L"Brevio could not write " + path_ + L": " + ui::SystemErrorText(ERROR_ACCESS_DENIED), true}},
      {FILE_ATTRIBUTE_NORMAL, L"two words", {L"The Lumora password must not contain spaces: please change it and save again.", false}},
  };
  for (const auto& c : refused) {
    ::SetFileAttributesW(path_.c_str(), c.attributes);
    static_cast<Settings&>(state) = Settings{};
    state.Pwd = c.password;
    const auto problem = modHotkeys::WriteSettings();
    ASSERT_TRUE(problem);
    EXPECT_EQ(std::pair(problem->text, problem->retry_may_help), std::pair(c.says.text, c.says.retry_may_help));
    EXPECT_EQ(ReadFileBytes(path_), saved);
    EXPECT_FALSE(NewFileLeftBehind());
  }
  static_cast<Settings&>(state) = Settings{};
  modHotkeys::LoadSettings();
  EXPECT_EQ(static_cast<Settings&>(state), Changed());
  Clean();
  modHotkeys::LoadSettings();
  EXPECT_EQ(static_cast<Settings&>(state), Settings{});
}
