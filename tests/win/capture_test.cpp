// Capturing the selection of a real application (our test editor, a separate program) with
// the hotkeys, and keeping the user's clipboard whole.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/controls_win.h"
#include "app/modHotkeys_win.h"
#include "capture/clipboard_win.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "phone/frmWarning_win.h"
#include "input_util.h"
#include "wine_util.h"

using namespace testing_win;
using modHotkeys::state;

namespace {

constexpr UINT kSetCopyKeys = WM_APP + 1;  // the editor's choice of copy keys
constexpr int kCopyOnCtrlC = 1, kCopyOnCtrlInsert = 2;

// --- the clipboard as the user's other programs see it ---

void PutOnClipboard(const std::vector<std::pair<UINT, std::string>>& formats) {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  for (const auto& [format, bytes] : formats) {
    HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(::GlobalLock(mem), bytes.data(), bytes.size());
    ::GlobalUnlock(mem);
    EXPECT_NE(::SetClipboardData(format, mem), nullptr) << "format " << format;
  }
  ::CloseClipboard();
}

std::string Utf16Bytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

void PutText(const std::wstring& text) { PutOnClipboard({{CF_UNICODETEXT, Utf16Bytes(text)}}); }

std::string ClipboardBytes(UINT format) {
  if (!::OpenClipboard(nullptr)) return "<clipboard busy>";
  std::string bytes;
  if (HANDLE data = ::GetClipboardData(format)) {
    bytes.assign(static_cast<const char*>(::GlobalLock(data)), ::GlobalSize(data));
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return bytes;
}

std::wstring ClipboardText() {
  std::string bytes = ClipboardBytes(CF_UNICODETEXT);
  std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

bool ClipboardOffers(UINT format) { return ::IsClipboardFormatAvailable(format) != FALSE; }

// A 2 by 2 picture as a packed device-independent bitmap (24 bits, rows padded to 4 bytes).
std::string SmallDib() {
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = 2;
  h.biHeight = 2;
  h.biPlanes = 1;
  h.biBitCount = 24;
  h.biCompression = BI_RGB;
  h.biSizeImage = 16;
  std::string bytes(reinterpret_cast<const char*>(&h), sizeof h);
  bytes += std::string("\x10\x20\x30\x40\x50\x60\0\0\x70\x80\x90\xA0\xB0\xC0\0\0", 16);
  return bytes;
}

// --- the editor ---

class Editor {
 public:
  Editor() : process_(WindowsPath(BREVIO_TEST_APPS_DIR "/edit_app.exe"), dir_.path()) {
    main_ = WaitForWindow(process_.id(), L"Brevio test editor", true);
    // Shown only once created, its boxes included (WS_VISIBLE takes effect after WM_CREATE).
    edit_ = ::GetDlgItem(main_, 100);
    log_ = ::GetDlgItem(main_, 101);
  }
  bool Ready() const { return main_ && edit_ && log_; }
  HWND Window() const { return main_; }

  // The editor in front with all of `text` selected.
  bool Select(const std::wstring& text) {
    ::SendMessageW(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageW(edit_, EM_SETSEL, 0, -1);
    ::SendMessageW(log_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    ::SetForegroundWindow(main_);
    return WaitFor([&] { return ::GetForegroundWindow() == main_ ? main_ : nullptr; }, 5000) != nullptr;
  }
  void CopyKeys(int which) { ::SendMessageW(main_, kSetCopyKeys, static_cast<WPARAM>(which), 0); }
  // The C and Insert key presses the editor saw, with their modifiers.
  std::wstring Log() const {
    wchar_t text[1024] = {};
    ::SendMessageW(log_, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
  }

 private:
  TempDir dir_;
  Process process_;
  HWND main_ = nullptr, edit_ = nullptr, log_ = nullptr;
};

class Capture : public ::testing::Test {
 protected:
  void SetUp() override {
    static_cast<Settings&>(state) = Settings{};
    state.History.clear();
    state.hWndPrev = nullptr;
    options_ = &frmOptions::Get();
    ASSERT_TRUE(editor_.Ready()) << "the test editor did not start";
  }
  void TearDown() override {
    KeysUp({'P', 'N', VK_MENU, VK_CONTROL});  // whatever a failed test left down
    if (frmOptions::IsLoaded()) frmOptions::Get().Unload();
    PumpFor(100);
  }
  // Runs the messages until `done` or five seconds have passed.
  static bool PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 250 && !done(); ++i) PumpFor(20);
    return done();
  }

  frmOptions* options_ = nullptr;
  Editor editor_;
};

}  // namespace

TEST_F(Capture, HotkeyOneCapturesTheSelectionAndTheClipboardHoldsItsTextAgain) {
  PutText(L"abc");
  ASSERT_TRUE(editor_.Select(L"hello"));
  // The send itself goes to the service; here the capture that hotkey 1 starts.
  std::wstring captured;
  bool fired = false;
  options_->VBHotKey1->HotkeyPressed = [&] {
    captured = options_->CaptureSelection();
    fired = true;
  };
  PressCtrlAlt('P');
  ASSERT_TRUE(PumpUntil([&] { return fired; })) << "Ctrl+Alt+P did not reach the hotkey";
  EXPECT_EQ(captured, L"hello");
  EXPECT_EQ(ClipboardText(), L"abc");
  EXPECT_EQ(editor_.Log(), L"ctrl+C") << "one plain Ctrl+C, nothing else";
}

TEST_F(Capture, HotkeyOneFillsTheHiddenPhoneWindowAndSendsToTheOwnPhone) {
  // No account is set, so the send stops at its first check, before any network: the alert
  // asking for the account shows that SendMessage ran, with the captured text in place.
  ui::SetText(frmPhone::Get().txtNum, L"447700900999");
  PutText(L"abc");
  ASSERT_TRUE(editor_.Select(L"hello"));
  PressCtrlAlt('P');
  ASSERT_TRUE(PumpUntil([] { return frmWarning::IsLoaded(); })) << "no send was attempted";
  EXPECT_EQ(frmWarning::Get().Message(), L"Please enter your Lumora username and password");
  frmPhone& phone = frmPhone::Get();
  EXPECT_EQ(ui::GetText(phone.txtNum), L"") << "the own phone: an empty destination";
  EXPECT_EQ(ui::GetText(phone.txtMsg), L"hello");
  EXPECT_FALSE(phone.Visible());
  EXPECT_EQ(ClipboardText(), L"abc");
  frmWarning::Get().Unload();
}

TEST_F(Capture, SelectingTheSameTextAsTheClipboardStillCountsAsACopy) {
  PutText(L"same");
  ASSERT_TRUE(editor_.Select(L"same"));
  EXPECT_EQ(options_->CaptureSelection(), L"same");
  EXPECT_EQ(editor_.Log(), L"ctrl+C") << "the copy is judged by the clipboard's sequence number";
  EXPECT_EQ(ClipboardText(), L"same");
}

TEST_F(Capture, TextPictureAndHtmlOnTheClipboardAllComeBack) {
  const UINT html = ::RegisterClipboardFormatW(L"HTML Format");
  const std::string fragment =
      "Version:0.9\r\nStartHTML:-1\r\nEndHTML:-1\r\nStartFragment:000000071\r\n"
      "EndFragment:000000089\r\n<b>bold words</b>";
  const std::string dib = SmallDib();
  const std::string text = Utf16Bytes(L"text beside a picture");
  PutOnClipboard({{CF_UNICODETEXT, text}, {CF_DIB, dib}, {html, fragment + '\0'}});
  ASSERT_TRUE(editor_.Select(L"hello"));

  EXPECT_EQ(options_->CaptureSelection(), L"hello");

  EXPECT_EQ(ClipboardText(), L"text beside a picture");
  EXPECT_EQ(ClipboardBytes(CF_DIB).substr(0, dib.size()), dib);
  EXPECT_EQ(ClipboardBytes(html).substr(0, fragment.size() + 1), fragment + '\0');
  EXPECT_TRUE(ClipboardOffers(CF_BITMAP)) << "the system derives the bitmap again";
  EXPECT_TRUE(ClipboardOffers(::RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing")))
      << "the restore is marked for clipboard-history tools";
}

TEST_F(Capture, AnEmptyClipboardStaysEmpty) {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  ::CloseClipboard();
  ASSERT_TRUE(editor_.Select(L"hello"));
  EXPECT_EQ(options_->CaptureSelection(), L"hello");
  EXPECT_FALSE(ClipboardOffers(CF_UNICODETEXT)) << "the copied selection is not left behind";
}

TEST_F(Capture, AnApplicationThatCopiesOnlyOnCtrlInsert) {
  PutText(L"abc");
  editor_.CopyKeys(kCopyOnCtrlInsert);
  ASSERT_TRUE(editor_.Select(L"hello insert"));
  EXPECT_EQ(options_->CaptureSelection(), L"hello insert");
  EXPECT_EQ(editor_.Log(), L"ctrl+C ctrl+Insert");
  EXPECT_EQ(ClipboardText(), L"abc");
}

TEST_F(Capture, AnApplicationThatCopiesNothingGivesEmptyTextAndKeepsTheClipboard) {
  PutText(L"abc");
  editor_.CopyKeys(0);
  ASSERT_TRUE(editor_.Select(L"hello"));
  EXPECT_EQ(options_->CaptureSelection(), L"");
  EXPECT_EQ(ClipboardText(), L"abc");
}

TEST_F(Capture, KeysStillHeldWhenTheHotkeyFiresAreReleasedAndTheCopyIsPlain) {
  PutText(L"abc");
  ASSERT_TRUE(editor_.Select(L"held"));
  std::wstring captured;
  bool fired = false;
  options_->VBHotKey1->HotkeyPressed = [&] {
    captured = options_->CaptureSelection();
    fired = true;
  };
  // The user presses Ctrl+Alt+P and keeps Ctrl and Alt down.
  KeysDown({VK_CONTROL, VK_MENU, 'P'});
  KeysUp({'P'});
  ASSERT_TRUE(PumpUntil([&] { return fired; }));
  EXPECT_EQ(captured, L"held");
  EXPECT_EQ(editor_.Log(), L"ctrl+C") << "not Ctrl+Alt+C";
  for (int vk : {VK_CONTROL, VK_MENU, VK_LCONTROL, VK_LMENU, VK_SHIFT, int{'C'}})
    EXPECT_FALSE(KeyIsDown(static_cast<WORD>(vk))) << "key " << vk << " left down";
  EXPECT_EQ(ClipboardText(), L"abc");
}

TEST_F(Capture, HotkeyTwoOpensThePhoneWithTheInternationalNumberAndRecordsIt) {
  ui::SetText(options_->txtCountryCode, L"44");
  PutText(L"abc");
  ASSERT_TRUE(editor_.Select(L"07700 900123"));
  PressCtrlAlt('N');
  frmPhone* phone = nullptr;
  ASSERT_TRUE(PumpUntil([&] {
    phone = frmPhone::IfLoaded();
    return phone && phone->Visible();
  })) << "the phone window did not open";
  EXPECT_EQ(ui::GetText(phone->txtNum), L"447700900123");
  ASSERT_EQ(state.History.size(), 1u);
  EXPECT_EQ(state.History[0].number, L"447700900123");
  EXPECT_EQ(options_->CapturedNumber, L"447700900123");
  EXPECT_EQ(state.hWndPrev, editor_.Window()) << "the application the text came from";
  EXPECT_EQ(::GetFocus(), phone->txtMsg);
  EXPECT_EQ(ClipboardText(), L"abc");

  // A selection without digits: the old number stays, nothing is recorded, the window opens.
  phone->Hide();
  ui::SetText(phone->txtMsg, L"draft");
  ASSERT_TRUE(editor_.Select(L"no number here"));
  PressCtrlAlt('N');
  ASSERT_TRUE(PumpUntil([&] { return phone->Visible(); }));
  EXPECT_EQ(ui::GetText(phone->txtNum), L"447700900123");
  EXPECT_EQ(state.History.size(), 1u);
  EXPECT_EQ(options_->CapturedNumber, L"");
  DWORD start = 1, end = 0;
  ::SendMessageW(phone->txtMsg, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 5u) << "the message text is selected";
}

TEST_F(Capture, ASelectionInOneOfOurOwnWindowsIsCapturedToo) {
  // The keystrokes then arrive in this thread's own queue, which the wait must run.
  PutText(L"abc");
  frmOptions& options = *options_;
  options.Show();
  ui::SetText(options.txtFooter, L"our own footer");
  ::SetFocus(options.txtFooter);
  ::SendMessageW(options.txtFooter, EM_SETSEL, 0, -1);
  ASSERT_EQ(::GetForegroundWindow(), options.hWnd());
  EXPECT_EQ(options.CaptureSelection(), L"our own footer");
  PumpFor(300);  // nothing left queued that copies after the restore
  EXPECT_EQ(ClipboardText(), L"abc");
}

TEST_F(Capture, AClipboardHeldOpenForAMomentByAnotherProgramIsWaitedFor) {
  PutText(L"abc");
  ASSERT_TRUE(editor_.Select(L"hello"));
  HANDLE opened = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {  // another thread stands in for a program that holds it open
    ::OpenClipboard(nullptr);
    ::SetEvent(opened);
    ::Sleep(150);
    ::CloseClipboard();
  });
  ::WaitForSingleObject(opened, 5000);
  EXPECT_EQ(options_->CaptureSelection(), L"hello");
  holder.join();
  ::CloseHandle(opened);
  EXPECT_EQ(ClipboardText(), L"abc");
}

TEST(ClipboardBackup, AClipboardChangedByAnotherProgramMeanwhileIsLeftAlone) {
  PutText(L"before");
  win::unique_window owner(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                             nullptr, nullptr, nullptr));
  clipboard::Backup backup;
  ASSERT_TRUE(backup.Save(owner.get()));
  EXPECT_FALSE(backup.Formats().empty());
  const DWORD after_copy = ::GetClipboardSequenceNumber();
  PutText(L"copied by someone else");
  EXPECT_FALSE(backup.Restore(owner.get(), after_copy));
  EXPECT_EQ(ClipboardText(), L"copied by someone else");

  // Unchanged since: the saved text comes back, and only once.
  PutText(L"before");
  ASSERT_TRUE(backup.Save(owner.get()));
  PutText(L"selection");
  EXPECT_TRUE(backup.Restore(owner.get(), ::GetClipboardSequenceNumber()));
  EXPECT_EQ(ClipboardText(), L"before");
  EXPECT_TRUE(backup.Formats().empty());
}
