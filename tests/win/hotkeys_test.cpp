// Global hotkeys with the real system: atoms, RegisterHotKey, the window hook and the
// hotkey control, under Wine.
#include <gtest/gtest.h>

#include "hotkeys/ApiHotkey.h"
#include "hotkeys/HotkeySubclass_win.h"
#include "hotkeys/VBHotKey_win.h"
#include "input_util.h"
#include "wine_util.h"

using namespace test_input;
using HotkeySubclass::HotkeyControls;
using HotkeySubclass::SubclassedWindows;

namespace {

// A plain window whose procedure records the messages it sees: the "old procedure".
std::vector<UINT> g_seen;
LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  g_seen.push_back(msg);
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}
win::unique_window RecordingWindow() {
  static WNDCLASSW wc{0, &RecordingProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"BrevioTestRecording"};
  static const ATOM cls = ::RegisterClassW(&wc);
  EXPECT_NE(cls, 0);
  return win::unique_window(
      ::CreateWindowExW(0, L"BrevioTestRecording", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
}
LONG_PTR ProcOf(HWND hwnd) { return ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC); }
HWND Handle(std::intptr_t h) { return reinterpret_cast<HWND>(h); }

// A control of our own for the registry cases that need handles no real window has.
struct FakeControl : HotkeyControl {
  explicit FakeControl(std::intptr_t h) : handle(h) {}
  std::intptr_t hwnd() const override { return handle; }
  std::wstring UniqueKey() const override { return HotkeyRegistryKey(handle); }
  void RaiseKeyPressEvent(std::int32_t vkey, std::int32_t modifier) override { presses.emplace_back(vkey, modifier); }
  void RaiseError(const std::wstring&, const std::wstring&) override {}
  std::intptr_t handle;
  std::vector<std::pair<std::int32_t, std::int32_t>> presses;
};

}  // namespace

TEST(Hotkeys, APressReachesOnlyItsOwnWindowsControlsEvenUnderAKeySharingTheirPrefix) {
  // Real windows carry the hook; other controls sit under the keys of handles 123 and 1234,
  // which share a prefix, so that a loose key comparison would show.
  auto window = RecordingWindow();
  const LONG_PTR original = ProcOf(window.get());
  HotkeySubclass::HookWindow(window.get());
  HotkeySubclass::HookWindow(window.get());  // twice: must keep the original as the old one
  auto c123 = std::make_shared<FakeControl>(123);
  ASSERT_TRUE(HotkeySubclass::AddHotkeyControl(std::make_shared<FakeControl>(1234)));
  ASSERT_TRUE(HotkeySubclass::AddHotkeyControl(c123));
  EXPECT_FALSE(HotkeySubclass::AddHotkeyControl(c123)) << "one entry per key";
  g_seen.clear();
  const LPARAM ctrl_alt_z = MAKELPARAM(MOD_CONTROL | MOD_ALT, 'Z');
  ::SendMessageW(window.get(), WM_HOTKEY, 0xC001, ctrl_alt_z);  // no control of this window
  EXPECT_EQ(g_seen, std::vector<UINT>{WM_HOTKEY});
  auto mine = std::make_shared<FakeControl>(reinterpret_cast<std::intptr_t>(window.get()));
  HotkeySubclass::AddHotkeyControl(mine);
  ::SendMessageW(window.get(), WM_HOTKEY, 0xC001, ctrl_alt_z);
  EXPECT_EQ(mine->presses, (decltype(mine->presses){{'Z', 3}}));
  EXPECT_TRUE(c123->presses.empty()) << "only the controls of the receiving window";
  EXPECT_EQ(g_seen, (std::vector<UINT>{WM_HOTKEY, WM_HOTKEY}));

  HotkeySubclass::UnhookWindow(Handle(123));
  ASSERT_NE(HotkeyControls(), nullptr);
  EXPECT_EQ(HotkeyControls()->Count(), 2u);
  EXPECT_TRUE(HotkeyControls()->Contains(L"hwnd:1234"));
  EXPECT_EQ(ProcOf(window.get()), reinterpret_cast<LONG_PTR>(&HotkeySubclass::HotkeyWndProc)) << "the hooked window stays hooked";
  EXPECT_EQ(c123.use_count(), 1) << "the registry let go of the control";
  HotkeySubclass::UnhookWindow(Handle(1234));
  HotkeySubclass::UnhookWindow(window.get());
  EXPECT_EQ(ProcOf(window.get()), original);
  EXPECT_EQ(HotkeyControls(), nullptr);
  EXPECT_EQ(SubclassedWindows(), nullptr);
}

TEST(Hotkeys, TheControlRegistersOnStartRaisesPressesAndReportsRefusalsAfterStart) {
  auto squatter = RecordingWindow();
  ASSERT_TRUE(::RegisterHotKey(squatter.get(), 7, MOD_CONTROL | MOD_ALT, 'Q'));
  auto control = std::make_shared<VBHotKey>();
  std::vector<std::pair<std::wstring, std::wstring>> errors;
  control->ErrorOccured = [&](const std::wstring& m, const std::wstring& s) { errors.emplace_back(m, s); };
  int pressed = 0;
  control->HotkeyPressed = [&] { ++pressed; };
  control->VKey('Q');
  EXPECT_EQ(control->hAtom(), 0) << "before Start a key is only stored";
  control->Start();
  EXPECT_EQ(control->hKey(), 0);
  EXPECT_TRUE(errors.empty()) << "a refusal at start-up is silent";

  control->VKey('J');  // free: registers at once, and a real key press reaches the control
  ASSERT_NE(control->hKey(), 0);
  PressCtrlAlt('J');
  EXPECT_TRUE(PumpUntil([&] { return pressed == 1; }));
  auto message = [&](UINT mods, WORD key) { ::SendMessageW(control->Window(), WM_HOTKEY, 1, MAKELPARAM(mods, key)); };
  message(MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'J');
  EXPECT_EQ(pressed, 1);
  message(MOD_CONTROL | MOD_ALT | 0x4000, 'J');
  EXPECT_EQ(pressed, 2) << "bits above the four flags are ignored";
  control->Enabled(false);
  EXPECT_EQ(control->hAtom(), 0) << "a disabled control holds no hotkey";
  control->Enabled(true);
  EXPECT_NE(control->hAtom(), 0);

  control->VKey('Q');  // taken
  EXPECT_EQ(control->hKey(), 0);
  ASSERT_EQ(errors.size(), 1u);
  // FormatMessage's text keeps the system's line end; Wine's text is this one.
  EXPECT_EQ(errors[0].first.substr(0, errors[0].first.find_last_not_of(L"\r\n") + 1), L"Hotkey already registered.");
  EXPECT_EQ(errors[0].second, L"ApiHotkey:Register");
  ::UnregisterHotKey(squatter.get(), 7);
  control->StopHotkey();
}
