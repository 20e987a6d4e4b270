// Hotkey 1 end to end: text selected in another program (our test editor) reaches the
// reference service, addressed to the account holder's own phone, and the clipboard keeps
// what it held.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/modHotkeys_win.h"
#include "e2e_util.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"

using namespace e2e;

namespace {

void PutText(const std::wstring& text) {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(::GlobalLock(mem), text.c_str(), bytes);
  ::GlobalUnlock(mem);
  ::SetClipboardData(CF_UNICODETEXT, mem);
  ::CloseClipboard();
}

std::wstring ClipboardText() {
  if (!::OpenClipboard(nullptr)) return L"<clipboard busy>";
  std::wstring text;
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(::GlobalLock(data));
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return text;
}

void PressCtrlAlt(WORD key) {
  std::vector<INPUT> in;
  auto add = [&](WORD vk, DWORD flags) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    i.ki.dwFlags = flags;
    in.push_back(i);
  };
  for (WORD vk : {WORD{VK_CONTROL}, WORD{VK_MENU}, key}) add(vk, 0);
  for (WORD vk : {key, WORD{VK_MENU}, WORD{VK_CONTROL}}) add(vk, KEYEVENTF_KEYUP);
  ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// The test editor (tests/win/apps/edit_app.cpp), started as a program of its own.
class Editor {
 public:
  Editor() {
    std::wstring exe = WindowsPath(BREVIO_TEST_APPS_DIR "/edit_app.exe");
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &si, &info_))
      return;
    // The window can be found while it is still being created: wait for its edit box too.
    for (int i = 0; i < 500 && !edit_; ++i) {
      main_ = ::FindWindowW(L"BrevioTestEditor", nullptr);
      edit_ = main_ ? ::GetDlgItem(main_, 100) : nullptr;
      if (!edit_) PumpFor(20);
    }
  }
  ~Editor() {
    if (!info_.hProcess) return;
    ::TerminateProcess(info_.hProcess, 0);
    ::WaitForSingleObject(info_.hProcess, 5000);
    ::CloseHandle(info_.hProcess);
    ::CloseHandle(info_.hThread);
  }
  bool Started() const { return edit_ != nullptr; }
  bool Select(const std::wstring& text) {
    if (!edit_) return false;
    ::SendMessageW(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageW(edit_, EM_SETSEL, 0, -1);
    ::SetForegroundWindow(main_);
    for (int i = 0; i < 250 && ::GetForegroundWindow() != main_; ++i) PumpFor(20);
    return ::GetForegroundWindow() == main_;
  }

 private:
  PROCESS_INFORMATION info_{};
  HWND main_ = nullptr, edit_ = nullptr;
};

}  // namespace

TEST(HotkeySend, HotkeyOneSendsTheSelectionToTheOwnPhoneAndTheClipboardKeepsItsText) {
  if (Env("BREVIO_E2E_DB").empty()) GTEST_SKIP() << "not started by netns-run";
  PrepareProgram();
  const int before = MessageCount();
  Editor editor;
  PutText(L"abc");
  ASSERT_TRUE(editor.Started()) << "the test editor did not start";
  ASSERT_TRUE(editor.Select(L"hello")) << "the test editor is not in front";

  PressCtrlAlt('P');
  for (int i = 0; i < 1000 && AlertText().empty(); ++i) PumpFor(20);
  EXPECT_EQ(AlertText(), L"Message sent");
  ASSERT_EQ(MessageCount(), before + 1);
  const std::string last = LastStoredMessage();
  // An empty destination in the request: the service uses the account's own phone.
  EXPECT_NE(last.find("\"destination\": \"447700900001\""), std::string::npos) << last;
  EXPECT_NE(last.find("\"body\": \"hello"), std::string::npos) << last;
  EXPECT_EQ(ClipboardText(), L"abc");
  EXPECT_FALSE(frmPhone::Get().Visible()) << "hotkey 1 does not show the phone window";
  ResetWindows();
}
