// The real brevio.exe started from a folder of its own: hidden start (with its version label) and
// a second copy beside it; pictures that cannot be loaded; settings that cannot be written.
#include <gtest/gtest.h>

#include <tuple>

#include "app/settings.h"
#include "input_util.h"
#include "options/options_ids_win.h"
#include "wine_util.h"

using namespace testing_win;

namespace {

constexpr wchar_t kOptionsTitle[] = L"Lumora - Brevio";

std::wstring ControlText(HWND dialog, int id) {
  wchar_t text[512] = {};
  ::GetDlgItemTextW(dialog, id, text, 512);
  return text;
}

// The texts of a window's controls, one a line.
std::wstring ChildTexts(HWND window) {
  std::wstring texts;
  for (HWND c = ::GetWindow(window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    wchar_t text[1024] = {};
    if (::GetWindowTextW(c, text, 1024)) texts += std::wstring(text) + L"\n";
  }
  return texts;
}

// "major.minor" of a program's version resource, as the system's version library reads it.
std::wstring FileVersion(const std::wstring& exe) {
  std::string data(::GetFileVersionInfoSizeW(exe.c_str(), nullptr), '\0');
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (data.empty() || !::GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
      !::VerQueryValueW(data.data(), L"\\", reinterpret_cast<LPVOID*>(&fixed), &length))
    return L"<no version resource>";
  return std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionMS));
}

}  // namespace

// Started hidden, the options window loaded (it owns the tray icon) with the settings; a second
// copy beside it is refused without disturbing it.
TEST(Startup, HiddenStartShowsNothingAndASecondCopyIsRefusedWithoutDisturbingTheFirst) {
  TempDir dir;
  std::wstring exe = PrepareRunFolder(dir);
  Settings s;
  std::tie(s.HideStartUp, s.Usr) = std::pair(1, L"alice");
  WriteFileBytes(dir / L"config2.txt", settings_file::Format(s));
  Process first(exe, dir.path());
  HWND options = WaitForWindow(first.id(), kOptionsTitle, false);
  ASSERT_NE(options, nullptr);
  ::WaitForInputIdle(first.handle(), 5000);
  PumpFor(500);
  for (const auto& w : WindowsOf(first.id())) EXPECT_FALSE(w.visible) << "visible window: " << testing::PrintToString(w.title);
  EXPECT_EQ(ControlText(options, options_ids::kUsr), L"alice");
  // The one version number of the build, as the label reads it from the program's own resource.
  EXPECT_EQ(ControlText(options, options_ids::kVersion), L"Version: " + FileVersion(exe));

  Process second(exe, dir.path());
  HWND box = WaitForWindow(second.id(), L"Brevio already running", true);
  ASSERT_NE(box, nullptr) << "no refusal message box";
  // Nothing else of the second copy exists: no options window, hence no tray icon either.
  EXPECT_EQ(WindowsOf(second.id()).size(), 1u);
  ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  DWORD code = 99;
  ASSERT_TRUE(second.WaitForExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(::WaitForSingleObject(first.handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "the running copy must not be disturbed";
}

// A damaged folder. A picture that cannot be loaded leaves its window without it, never ends the
// program: the options window's picture claims 65535 x 65535 pixels in a few bytes (the decoder
// once reserved what the header claimed), the padlock's is cut off, the phone's is no picture.
// A config2.txt that cannot be written must not keep the user in: Exit tells the file and the
// reason, Cancel stays, and "Exit without saving" ends the program with the file as it was.
TEST(Startup, UnloadablePicturesAndUnwritableSettingsNeitherEndNorTrapTheProgram) {
  TempDir dir;
  std::wstring exe = PrepareRunFolder(dir);
  WriteFileBytes(dir / L"images\\options.gif",
                 std::string("GIF89a\xff\xff\xff\xff\x80\0\0\0\0\0\xff\xff\xff,\0\0\0\0\xff\xff\xff\xff\0\x02\x02\x44\x01\0;", 35));
  WriteFileBytes(dir / L"images\\padlock_locked.gif", ReadFileBytes(dir / L"images\\padlock_locked.gif").substr(0, 40));
  WriteFileBytes(dir / L"images\\phone4.gif", "not a picture");
  const std::wstring file = dir / L"config2.txt";
  Settings s;
  std::tie(s.Usr, s.Protocol) = std::pair(L"alice", 5);  // the account's page first; the padlock locked
  WriteFileBytes(file, settings_file::Format(s));
  ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
  Process brevio(exe, dir.path());
  HWND options = WaitForWindow(brevio.id(), kOptionsTitle, true);
  ASSERT_NE(options, nullptr);
  ::SetForegroundWindow(options);
  PumpFor(1000);
  POINT surface{516, 370}, strip{30, 18};  // where the picture would show; the first tab
  ::ClientToScreen(options, &surface), ::ClientToScreen(options, &strip);
  EXPECT_EQ(::GetPixel(win::window_dc(nullptr).get(), surface.x, surface.y), ::GetSysColor(COLOR_WINDOW));
  test_input::Mouse(strip, MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
  test_input::Press({VK_END});  // the Connection tab, with the padlock
  ::PostMessageW(::GetDlgItem(options, options_ids::kSendSMS), BM_CLICK, 0, 0);  // the phone
  PumpUntil([&] { return WindowsOf(brevio.id()).size() >= 2; });
  PumpFor(1000);
  ASSERT_EQ(::WaitForSingleObject(brevio.handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the program ended";

  ::SendMessageW(options, WM_COMMAND, options_ids::kPopOptions, 0);  // back from the phone, by the tray menu
  ::SendMessageW(::GetDlgItem(options, options_ids::kUsr), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"bob"));
  const struct { bool exiting; int answer; } steps[] = {{false, IDCANCEL}, {true, IDCANCEL}, {true, IDCLOSE}};
  for (const auto& step : steps) {
    if (step.exiting) ::PostMessageW(options, WM_COMMAND, options_ids::kPopExit, 0);
    else ::PostMessageW(::GetDlgItem(options, options_ids::kSave), BM_CLICK, 0, 0);
    HWND box = WaitForWindow(brevio.id(), L"Brevio", true);
    ASSERT_NE(box, nullptr) << "no question after a failed save";
    const std::wstring texts = ChildTexts(box);
    EXPECT_NE(texts.find(L"could not write " + file + L": Access denied"), std::wstring::npos) << texts;
    EXPECT_NE(::GetDlgItem(box, IDRETRY), nullptr) << texts;
    EXPECT_EQ(::GetDlgItem(box, IDCLOSE) != nullptr, step.exiting) << texts;
    ::PostMessageW(::GetDlgItem(box, step.answer), BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(box); }));
    if (step.answer == IDCLOSE) break;
    EXPECT_EQ(::WaitForSingleObject(brevio.handle(), 500), static_cast<DWORD>(WAIT_TIMEOUT)) << "Cancel stays";
    EXPECT_TRUE(::IsWindowVisible(options) && ControlText(options, options_ids::kUsr) == L"bob") << "with the edits";
  }
  ASSERT_TRUE(brevio.WaitForExit(10000)) << "Exit without saving ends the program";
  EXPECT_EQ(ReadFileBytes(file), settings_file::Format(s)) << "the file as it was";
  ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}
