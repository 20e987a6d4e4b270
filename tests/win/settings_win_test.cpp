// Loading and saving config2.txt beside the program, with real files.
#include <gtest/gtest.h>

#include "app/controls_win.h"
#include "app/frmWarning_win.h"
#include "app/modHotkeys_win.h"
#include "app/settings.h"
#include "wine_util.h"

using namespace testing_win;
using modHotkeys::state;

namespace {

class SettingsFileBesideTheProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = modHotkeys::AppPath() + L"\\config2.txt";
    modHotkeys::InstallAnsiCodePage();  // the system's conversions, as the program uses them
    Clean();
    static_cast<Settings&>(state) = Settings{};
  }
  void TearDown() override {
    Clean();
    if (frmWarning::IsLoaded()) frmWarning::Get().Unload();
  }
  void Clean() {
    ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path_.c_str());
    ::DeleteFileW((path_ + L".new").c_str());
  }
  bool NewFileLeftBehind() const {
    return ::GetFileAttributesW((path_ + L".new").c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  std::wstring path_;
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

TEST_F(SettingsFileBesideTheProgram, SaveWritesTheFormatAndLoadReadsItBack) {
  static_cast<Settings&>(state) = Changed();
  ASSERT_TRUE(modHotkeys::SaveSettings());
  EXPECT_EQ(ReadFileBytes(path_), settings_file::Format(Changed()));
  EXPECT_FALSE(NewFileLeftBehind());
  static_cast<Settings&>(state) = Settings{};
  modHotkeys::LoadSettings();
  EXPECT_EQ(static_cast<Settings&>(state), Changed());
}

TEST_F(SettingsFileBesideTheProgram, MissingOrDamagedFileGivesDefaults) {
  static_cast<Settings&>(state) = Changed();
  modHotkeys::LoadSettings();
  EXPECT_EQ(static_cast<Settings&>(state), Settings{});
  WriteFileBytes(path_, "\x01\x02 not a settings file");
  static_cast<Settings&>(state) = Changed();
  modHotkeys::LoadSettings();
  EXPECT_EQ(static_cast<Settings&>(state), Settings{});
}

TEST_F(SettingsFileBesideTheProgram, FailedSaveKeepsTheOldFileAndSaysWhy) {
  std::string old = settings_file::Format(Changed());
  WriteFileBytes(path_, old);
  ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY);
  static_cast<Settings&>(state) = Settings{};
  EXPECT_FALSE(modHotkeys::SaveSettings());
  EXPECT_EQ(ReadFileBytes(path_), old);
  EXPECT_FALSE(NewFileLeftBehind());
  ASSERT_TRUE(frmWarning::IsLoaded());
  EXPECT_EQ(frmWarning::Get().Mode, AlertMode::SendResult);
  EXPECT_EQ(frmWarning::Get().Message(),
            L"Settings not saved: " + ui::SystemErrorText(ERROR_ACCESS_DENIED));
}

TEST_F(SettingsFileBesideTheProgram, AFieldWithASpaceIsRefusedAndNothingIsWritten) {
  std::string old = settings_file::Format(Changed());
  WriteFileBytes(path_, old);
  static_cast<Settings&>(state) = Changed();
  state.Pwd = L"two words";
  EXPECT_FALSE(modHotkeys::SaveSettings());
  EXPECT_EQ(ReadFileBytes(path_), old);
  ASSERT_TRUE(frmWarning::IsLoaded());
  EXPECT_EQ(frmWarning::Get().Mode, AlertMode::Settings);
  EXPECT_NE(frmWarning::Get().Message().find(L"Lumora password"), std::wstring::npos);
}
