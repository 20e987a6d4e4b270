// Global hotkeys with the real system: atoms, RegisterHotKey, the window hook and the
// hotkey control, under Wine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hotkeys/ApiHotkey.h"
#include "hotkeys/HotkeySubclass_win.h"
#include "hotkeys/VBHotKey_win.h"
#include "input_util.h"
#include "wine_util.h"

using namespace testing_win;
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
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &RecordingProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BrevioTestRecording";
    return ::RegisterClassW(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return win::unique_window(::CreateWindowExW(0, L"BrevioTestRecording", L"", WS_OVERLAPPED, 0, 0,
                                              10, 10, nullptr, nullptr,
                                              ::GetModuleHandleW(nullptr), nullptr));
}

LONG_PTR ProcOf(HWND hwnd) { return ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC); }
const LONG_PTR kHookProc = reinterpret_cast<LONG_PTR>(&HotkeySubclass::HotkeyWndProc);

// A control of our own for the registry cases that need handles no real window has.
struct FakeControl : HotkeyControl {
  explicit FakeControl(std::intptr_t h) : handle(h) {}
  std::intptr_t hwnd() const override { return handle; }
  std::wstring UniqueKey() const override { return HotkeyRegistryKey(handle); }
  void RaiseKeyPressEvent(std::int32_t vkey, std::int32_t modifier) override {
    presses.emplace_back(vkey, modifier);
  }
  void RaiseError(const std::wstring&, const std::wstring&) override {}
  std::intptr_t handle;
  std::vector<std::pair<std::int32_t, std::int32_t>> presses;
};

std::string AtomName(std::int32_t atom) {
  char name[256] = {};
  UINT n = ::GlobalGetAtomNameA(static_cast<ATOM>(atom & 0xFFFF), name, 255);
  return std::string(name, n);
}

class Hotkeys : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SubclassedWindows(), nullptr) << "a previous test left a window hooked";
    ASSERT_EQ(HotkeyControls(), nullptr) << "a previous test left a control registered";
  }
};

}  // namespace

TEST_F(Hotkeys, RegisterHoldsTheAtomOfTheNameAndUnregisterReleasesIt) {
  auto window = RecordingWindow();
  ApiHotkey h;
  h.ControlKey(true);
  h.AltKey(true);
  h.VKey('K');
  h.hwnd(reinterpret_cast<std::intptr_t>(window.get()));
  h.Register();
  EXPECT_NE(h.hKey(), 0);
  ASSERT_NE(h.hAtom(), 0);
  EXPECT_LT(h.hAtom(), 0) << "string atoms 0xC000..0xFFFF are kept sign-extended";
  EXPECT_EQ(AtomName(h.hAtom()), "CONTROL+ALT+075");
  // The combination is taken now, for every window.
  auto other = RecordingWindow();
  EXPECT_FALSE(::RegisterHotKey(other.get(), 1, MOD_CONTROL | MOD_ALT, 'K'));

  const std::int32_t atom = h.hAtom();
  h.Unregister();
  EXPECT_EQ(h.hAtom(), 0);
  EXPECT_NE(h.hKey(), 0) << "hKey keeps the last registration's result";
  EXPECT_EQ(AtomName(atom), "") << "the atom is deleted";
  h.Unregister();  // second time: nothing to do
  ASSERT_TRUE(::RegisterHotKey(other.get(), 1, MOD_CONTROL | MOD_ALT, 'K'));
  ::UnregisterHotKey(other.get(), 1);
}

TEST_F(Hotkeys, ReadFromAtomReadsTheCombinationOfARealAtom) {
  ATOM win_shift = ::GlobalAddAtomA("WIN+SHIFT+112");
  ATOM four = ::GlobalAddAtomA("CONTROL+1234");
  ATOM nine = ::GlobalAddAtomA("009");
  ApiHotkey h;
  h.hwnd(77);
  h.ReadFromAtom(static_cast<std::int16_t>(win_shift));
  EXPECT_TRUE(h.WinKey());
  EXPECT_TRUE(h.ShiftKey());
  EXPECT_FALSE(h.ControlKey());
  EXPECT_EQ(h.VKey(), 112);
  h.ReadFromAtom(static_cast<std::int16_t>(four));
  EXPECT_EQ(h.VKey(), 234);
  EXPECT_TRUE(h.ControlKey());
  EXPECT_TRUE(h.WinKey()) << "flags are only ever set";
  ApiHotkey n;
  n.ReadFromAtom(static_cast<std::int16_t>(nine));
  EXPECT_EQ(n.VKey(), 9);
  EXPECT_EQ(n.Modifier(), 0);
  EXPECT_EQ(h.hwnd(), 77);
  EXPECT_EQ(h.hAtom(), 0);
  ::GlobalDeleteAtom(win_shift);
  ::GlobalDeleteAtom(four);
  ::GlobalDeleteAtom(nine);
}

TEST_F(Hotkeys, RegistriesAreCreatedOnDemandAndReleasedWhenEmpty) {
  auto control = VBHotKey::Load();
  ASSERT_NE(SubclassedWindows(), nullptr);
  ASSERT_NE(HotkeyControls(), nullptr);
  EXPECT_EQ(SubclassedWindows()->Count(), 1u);
  EXPECT_EQ(HotkeyControls()->Count(), 1u);
  EXPECT_EQ(control->UniqueKey(), HotkeyRegistryKey(reinterpret_cast<std::intptr_t>(control->Window())));
  EXPECT_EQ(ProcOf(control->Window()), kHookProc);
  EXPECT_EQ(AtomName(control->hAtom()), "CONTROL+ALT+065");

  control->StopHotkey();
  EXPECT_EQ(SubclassedWindows(), nullptr);
  EXPECT_EQ(HotkeyControls(), nullptr);
  EXPECT_NE(ProcOf(control->Window()), kHookProc);
  EXPECT_EQ(control->hAtom(), 0);
  control->StopHotkey();  // again: only the unhooking repeats, and finds nothing
  EXPECT_EQ(SubclassedWindows(), nullptr);

  auto next = VBHotKey::Load();  // the next start creates them again
  EXPECT_NE(SubclassedWindows(), nullptr);
  EXPECT_NE(HotkeyControls(), nullptr);
  next->StopHotkey();
}

TEST_F(Hotkeys, HookingTwiceAddsNothingAndUnhookingAStrangerTouchesNoProcedure) {
  auto a = RecordingWindow();
  auto stranger = RecordingWindow();
  const LONG_PTR original = ProcOf(a.get());
  HotkeySubclass::HookWindow(a.get());
  HotkeySubclass::HookWindow(a.get());
  ASSERT_NE(SubclassedWindows(), nullptr);
  EXPECT_EQ(SubclassedWindows()->Count(), 1u);
  EXPECT_EQ((*SubclassedWindows()->Find(HotkeyRegistryKey(reinterpret_cast<std::intptr_t>(a.get()))))
                ->OldWndProc,
            original);

  HotkeySubclass::UnhookWindow(stranger.get());
  EXPECT_EQ(ProcOf(stranger.get()), original);
  EXPECT_EQ(ProcOf(a.get()), kHookProc);
  EXPECT_EQ(SubclassedWindows()->Count(), 1u);

  HotkeySubclass::UnhookWindow(a.get());
  EXPECT_EQ(ProcOf(a.get()), original);
  EXPECT_EQ(SubclassedWindows(), nullptr);
}

TEST_F(Hotkeys, UnhookingWindow123RemovesOnlyItsOwnControlNotThatOf1234) {
  // Real windows carry the hook; the controls sit under the keys of handles 123 and 1234,
  // which share a prefix, so that a loose key comparison would show.
  auto real = RecordingWindow();
  HotkeySubclass::HookWindow(real.get());
  auto c123 = std::make_shared<FakeControl>(123);
  auto c1234 = std::make_shared<FakeControl>(1234);
  ASSERT_TRUE(HotkeySubclass::AddHotkeyControl(c1234));
  ASSERT_TRUE(HotkeySubclass::AddHotkeyControl(c123));
  EXPECT_FALSE(HotkeySubclass::AddHotkeyControl(c123)) << "one entry per key";

  HotkeySubclass::UnhookWindow(reinterpret_cast<HWND>(static_cast<std::intptr_t>(123)));
  ASSERT_NE(HotkeyControls(), nullptr);
  EXPECT_EQ(HotkeyControls()->Count(), 1u);
  EXPECT_TRUE(HotkeyControls()->Contains(L"hwnd:1234"));
  EXPECT_FALSE(HotkeyControls()->Contains(L"hwnd:123"));
  EXPECT_EQ(ProcOf(real.get()), kHookProc) << "the other hooked window stays hooked";
  EXPECT_EQ(c123.use_count(), 1) << "the registry let go of the control";

  HotkeySubclass::UnhookWindow(reinterpret_cast<HWND>(static_cast<std::intptr_t>(1234)));
  EXPECT_EQ(HotkeyControls(), nullptr);
  HotkeySubclass::UnhookWindow(real.get());
  EXPECT_EQ(SubclassedWindows(), nullptr);
}

TEST_F(Hotkeys, HotkeyMessagesReachTheMatchingControlAndAlwaysTheOldProcedure) {
  auto window = RecordingWindow();
  HotkeySubclass::HookWindow(window.get());
  auto mine = std::make_shared<FakeControl>(reinterpret_cast<std::intptr_t>(window.get()));
  auto elsewhere = std::make_shared<FakeControl>(42);
  HotkeySubclass::AddHotkeyControl(mine);
  HotkeySubclass::AddHotkeyControl(elsewhere);
  g_seen.clear();
  ::SendMessageW(window.get(), WM_HOTKEY, 0xC001, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'Z'));
  ASSERT_EQ(mine->presses.size(), 1u);
  EXPECT_EQ(mine->presses[0], std::make_pair(std::int32_t{'Z'}, std::int32_t{3}));
  EXPECT_TRUE(elsewhere->presses.empty()) << "only the controls of the receiving window";
  EXPECT_EQ(g_seen, std::vector<UINT>{WM_HOTKEY});

  // A real control of Ctrl+Alt+A on a window of its own: a message it does not match raises
  // nothing and still goes on to the old procedure.
  auto control = VBHotKey::Load();
  int pressed = 0;
  control->HotkeyPressed = [&] { ++pressed; };
  ::SendMessageW(control->Window(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'A'));
  ::SendMessageW(control->Window(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'B'));
  EXPECT_EQ(pressed, 0);
  ::SendMessageW(control->Window(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT | 0x4000, 'A'));
  EXPECT_EQ(pressed, 1) << "bits above the four flags are ignored";

  // Unhooked window: the messages reach the procedure directly, nobody else.
  HotkeySubclass::UnhookWindow(window.get());
  g_seen.clear();
  ::SendMessageW(window.get(), WM_HOTKEY, 0, MAKELPARAM(3, 'Z'));
  EXPECT_EQ(mine->presses.size(), 1u);
  EXPECT_EQ(g_seen, std::vector<UINT>{WM_HOTKEY});
  HotkeySubclass::UnhookWindow(reinterpret_cast<HWND>(static_cast<std::intptr_t>(42)));
  control->StopHotkey();
}

TEST_F(Hotkeys, ARealKeyPressReachesHotkeyPressed) {
  auto control = std::make_shared<VBHotKey>();
  PropertyBag bag;
  bag.WriteProperty("VKey", std::int32_t{'J'}, std::int32_t{65});
  control->ReadProperties(bag);
  control->Start();
  ASSERT_NE(control->hKey(), 0) << "Ctrl+Alt+J was refused";
  int pressed = 0;
  control->HotkeyPressed = [&] { ++pressed; };
  PressCtrlAlt('J');
  for (int i = 0; i < 100 && pressed == 0; ++i) PumpFor(20);
  EXPECT_EQ(pressed, 1);
  PressCtrlAlt('K');  // another combination: no event
  PumpFor(300);
  EXPECT_EQ(pressed, 1);
  control->StopHotkey();
}

TEST_F(Hotkeys, ARefusalAfterStartReachesErrorOccuredWithTheSystemText) {
  auto squatter = RecordingWindow();
  ASSERT_TRUE(::RegisterHotKey(squatter.get(), 7, MOD_CONTROL | MOD_ALT, 'Q'));

  auto control = std::make_shared<VBHotKey>();
  std::vector<std::pair<std::wstring, std::wstring>> errors;
  control->ErrorOccured = [&](const std::wstring& m, const std::wstring& s) { errors.emplace_back(m, s); };
  PropertyBag bag;
  bag.WriteProperty("VKey", std::int32_t{'Q'}, std::int32_t{65});
  control->ReadProperties(bag);
  control->Start();
  EXPECT_EQ(control->hKey(), 0);
  EXPECT_TRUE(errors.empty()) << "a refusal at start-up is silent";

  control->VKey('W');  // free: registers
  EXPECT_NE(control->hKey(), 0);
  EXPECT_TRUE(errors.empty());
  control->VKey('W');  // same value: no change, no registration
  EXPECT_EQ(control->ChangedProperties(), std::set<std::string>{"VKey"});

  control->VKey('Q');  // taken
  EXPECT_EQ(control->hKey(), 0);
  ASSERT_EQ(errors.size(), 1u);
  // FormatMessage's text keeps the system's line end; Wine's text is this one.
  std::wstring text = errors[0].first;
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
  EXPECT_EQ(text, L"Hotkey already registered.");
  EXPECT_EQ(errors[0].second, L"ApiHotkey:Register");
  EXPECT_EQ(control->VKey(), 'Q') << "the control keeps the new value";

  ::UnregisterHotKey(squatter.get(), 7);
  control->VKey('W');
  EXPECT_NE(control->hKey(), 0) << "still usable after a refusal";
  control->StopHotkey();
}

TEST_F(Hotkeys, KeysWrittenBeforeStartAreOnlyStoredAndStartRegistersThem) {
  auto control = std::make_shared<VBHotKey>();
  control->VKey('U');
  control->ShiftKey(true);
  EXPECT_EQ(control->hAtom(), 0);
  EXPECT_EQ(control->hwnd(), 0);
  control->Start();
  EXPECT_EQ(AtomName(control->hAtom()), "SHIFT+CONTROL+ALT+085");
  EXPECT_NE(control->hKey(), 0);

  control->Enabled(false);
  EXPECT_EQ(control->hAtom(), 0);
  auto probe = RecordingWindow();
  EXPECT_TRUE(::RegisterHotKey(probe.get(), 3, MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'U'))
      << "a disabled control holds no hotkey";
  ::UnregisterHotKey(probe.get(), 3);
  control->Enabled(true);
  EXPECT_NE(control->hAtom(), 0);
  EXPECT_FALSE(::RegisterHotKey(probe.get(), 3, MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'U'));

  PropertyBag saved;
  control->WriteProperties(saved);
  EXPECT_EQ(saved.Text(), "ShiftKey = -1\r\nVKey = 85\r\n");
  EXPECT_EQ(control->About(), 0);
  control->StopHotkey();
}
