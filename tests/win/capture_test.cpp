// Capturing the selection of a real application (our test editor, a separate program) with
// the hotkeys, and keeping the user's clipboard whole.
#include <gtest/gtest.h>

#include <thread>

#include "app/controls_win.h"
#include "app/modHotkeys_win.h"
#include "capture/clipboard_win.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "input_util.h"

using namespace test_input;
using modHotkeys::state;

namespace {

class Capture : public ::testing::Test {
 protected:
  void SetUp() override {
    static_cast<Settings&>(state) = Settings{};
    state.History.clear();
    options_ = &frmOptions::Get();
    options_->FinishLoad();
    ASSERT_TRUE(editor_.Ready()) << "the test editor did not start";
  }
  void TearDown() override {
    Keys({'P', 'N', VK_MENU, VK_CONTROL}, KEYEVENTF_KEYUP);  // whatever a failed test left down
    if (frmOptions::IsLoaded()) frmOptions::Get().Unload();
    testing_win::PumpFor(100);
  }
  frmOptions* options_ = nullptr;
  Editor editor_;
};

}  // namespace

TEST_F(Capture, WhatIsCapturedAndThatTheClipboardComesBackUnchanged) {
  const UINT html = ::RegisterClipboardFormatW(L"HTML Format");
  const std::string fragment = std::string("Version:0.9\r\nStartHTML:-1\r\nEndHTML:-1\r\nStartFragment:000000071\r\n") +
                               "EndFragment:000000089\r\n<b>bold words</b>" + '\0';
  // A 2 by 2 picture as a packed 24-bit DIB, rows padded to 4 bytes.
  BITMAPINFOHEADER h{sizeof h, 2, 2, 1, 24, BI_RGB, 16, 0, 0, 0, 0};
  const std::string dib = std::string(reinterpret_cast<const char*>(&h), sizeof h) +
                          std::string("\x10\x20\x30\x40\x50\x60\0\0\x70\x80\x90\xA0\xB0\xC0\0\0", 16);
  auto text = [](const wchar_t* t) { return ClipboardFormats{{CF_UNICODETEXT, Utf16Bytes(t)}}; };
  struct Case { ClipboardFormats clipboard; std::wstring selection; int copy_keys; std::wstring captured, log; };
  const Case cases[] = {
      {text(L"abc"), L"hello", 3, L"hello", L"ctrl+C"},  // one plain Ctrl+C, nothing else
      {{{CF_UNICODETEXT, Utf16Bytes(L"beside a picture")}, {CF_DIB, dib}, {html, fragment}}, L"hello", 3, L"hello", L"ctrl+C"},
      {text(L"same"), L"same", 3, L"same", L"ctrl+C"},  // judged by the sequence number, not the text
      {{}, L"hello", 3, L"hello", L"ctrl+C"},
      {text(L"abc"), L"hello insert", 2, L"hello insert", L"ctrl+C ctrl+Insert"},
      {text(L"abc"), L"hello", 0, L"", L"ctrl+C ctrl+Insert"},  // copies nothing at all
  };
  const UINT marker = ::RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "selection " << c.selection << ", keys " << c.copy_keys << ", formats " << c.clipboard.size());
    ASSERT_TRUE(PutOnClipboard(c.clipboard));
    ASSERT_TRUE(editor_.Select(c.selection, c.copy_keys));
    EXPECT_EQ(options_->CaptureSelection(), c.captured);
    EXPECT_EQ(editor_.Log(), c.log);
    for (const auto& [format, bytes] : c.clipboard) EXPECT_EQ(ClipboardBytes(format).substr(0, bytes.size()), bytes) << format;
    EXPECT_TRUE(!c.clipboard.empty() || ClipboardText().empty()) << "an empty clipboard stays empty";
    EXPECT_EQ(::IsClipboardFormatAvailable(CF_BITMAP) != 0, c.clipboard.size() > 1) << "the system derives the bitmap again";
    EXPECT_TRUE(::IsClipboardFormatAvailable(marker)) << "the restore is marked for clipboard-history tools";
  }
}

TEST_F(Capture, HotkeyTwoWithCtrlAndAltStillHeldOpensThePhoneWithTheInternationalNumber) {
  ui::SetText(options_->account.txtCountryCode, L"44");
  ASSERT_TRUE(PutText(L"abc"));
  ASSERT_TRUE(editor_.Select(L"07700 900123"));
  Keys({VK_CONTROL, VK_MENU, 'N'});  // the user keeps Ctrl and Alt down
  Keys({'N'}, KEYEVENTF_KEYUP);
  frmPhone* phone = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (phone = frmPhone::IfLoaded()) && phone->Visible(); }));
  EXPECT_EQ(editor_.Log(), L"ctrl+C") << "a plain Ctrl+C, not Ctrl+Alt+C";
  for (int vk : {VK_CONTROL, VK_MENU, VK_LCONTROL, VK_LMENU, VK_SHIFT, int{'C'}})
    EXPECT_FALSE(::GetAsyncKeyState(vk) & 0x8000) << "key " << vk << " left down";
  EXPECT_EQ(ui::GetText(phone->txtNum), L"447700900123");
  ASSERT_EQ(state.History.size(), 1u);
  EXPECT_EQ(state.History[0].number, L"447700900123");
  EXPECT_EQ(state.hWndPrev, editor_.Window()) << "the application the text came from";
  EXPECT_EQ(ClipboardText(), L"abc");

  // A selection without digits: the old number stays, nothing is recorded, the window opens.
  Keys({VK_MENU, VK_CONTROL}, KEYEVENTF_KEYUP);  // the user lets go at last
  phone->Hide();
  ASSERT_TRUE(editor_.Select(L"no number here"));
  PressCtrlAlt('N');
  ASSERT_TRUE(PumpUntil([&] { return phone->Visible(); }));
  EXPECT_EQ(ui::GetText(phone->txtNum), L"447700900123");
  EXPECT_EQ(state.History.size(), 1u);
}

TEST(ClipboardBackup, AClipboardHeldOpenForAMomentIsWaitedForAndOneChangedMeanwhileIsLeftAlone) {
  ASSERT_TRUE(PutText(L"before"));
  win::unique_window owner(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
  HANDLE opened = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {  // another thread stands in for a program that holds it open
    ::OpenClipboard(nullptr);
    ::SetEvent(opened);
    ::Sleep(150);
    ::CloseClipboard();
  });
  ::WaitForSingleObject(opened, 5000);
  clipboard::Backup backup;
  EXPECT_TRUE(backup.Save(owner.get()));
  holder.join();
  ::CloseHandle(opened);
  const DWORD after_copy = ::GetClipboardSequenceNumber();
  ASSERT_TRUE(PutText(L"copied by someone else"));
  EXPECT_FALSE(backup.Restore(owner.get(), after_copy));
  EXPECT_EQ(ClipboardText(), L"copied by someone else");
}
