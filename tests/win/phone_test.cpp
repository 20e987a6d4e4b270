// The phone window on the virtual display, driven through its own messages: its shape and
// place, dragging, the keypad, the number history, the arrows' highlights, the counters, the
// keys Enter and Esc, and the focus handed back on closing.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "app/controls_win.h"
#include "app/frmWarning_win.h"
#include "app/modHotkeys_win.h"
#include "graphics/cDIBSection_win.h"
#include "graphics/picture_win.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "phone/phone_ids_win.h"
#include "input_util.h"

using namespace testing_win;
using modHotkeys::state;
namespace ids = phone_ids;

namespace {

HWND Item(int id) { return ::GetDlgItem(frmPhone::Get().hWnd(), id); }
void Click(int id) {
  ::SendMessageW(Item(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  ::SendMessageW(Item(id), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}
void TapKey(int area, UINT message = WM_LBUTTONDOWN) {
  ::SendMessageW(Item(ids::kKey + area), message, 0, MAKELPARAM(3, 3));
}
std::wstring Number() { return ui::GetText(frmPhone::Get().txtNum); }
RECT WindowRect(HWND w) {
  RECT rc{};
  return ::GetWindowRect(w, &rc), rc;
}

// The pixels of a bitmap (24 bits, bottom-up), for comparing pictures rather than handles.
std::vector<BYTE> PixelsOf(HBITMAP bitmap) {
  cDIBSection dib;
  dib.CreateFromPicture(bitmap);
  ::GdiFlush();
  const auto* bits = static_cast<const BYTE*>(dib.DIBSectionBitsPtr());
  return bits ? std::vector<BYTE>(bits, bits + std::size_t(dib.BytesPerScanLine()) * dib.Height())
              : std::vector<BYTE>{};
}
std::vector<BYTE> PixelsOfFile(const wchar_t* name) {
  return PixelsOf(StdPicture::LoadFromFile(modHotkeys::AppPath() + L"\\images\\" + name).Handle());
}
std::vector<BYTE> Shown(int id) {
  return PixelsOf(reinterpret_cast<HBITMAP>(::SendMessageW(Item(id), STM_GETIMAGE, IMAGE_BITMAP, 0)));
}

// A plain visible window, for "the window behind" and "the application the user came from".
// (A button: static controls are transparent to hit-testing.)
win::unique_window OtherWindow(RECT at = {10, 10, 200, 100}) {
  return win::unique_window(::CreateWindowExW(0, L"BUTTON", L"other", WS_POPUP | WS_VISIBLE, at.left, at.top,
                                              at.right - at.left, at.bottom - at.top, nullptr, nullptr, nullptr, nullptr));
}

// Plays mouse input (screen point, MOUSEEVENTF_ button flags) from another thread while this
// one runs the window's messages: a drag runs the system's move loop inside the button-down handler.
void PlayMouse(const std::vector<std::pair<POINT, DWORD>>& steps) {
  std::atomic<bool> done{false};
  std::thread player([&] {
    for (auto [at, flags] : steps) {
      test_input::Mouse(at, flags);
      ::Sleep(60);
    }
    done = true;
  });
  PumpUntil([&] { return done.load(); }, 30000);
  player.join();
  PumpFor(200);
}

class PhoneWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CopyImagesTo(modHotkeys::AppPath());  // the program reads its pictures from beside itself
    frmOptions::Get();  // stays loaded, as in the program: the counters read its footer box
  }
  void SetUp() override {
    // The pointer away from the phone: moves under it would change the buttons' highlights.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 10, ::GetSystemMetrics(SM_CYSCREEN) - 10);
    state.History.clear();
    state.hWndPrev = nullptr;
    ui::SetText(frmOptions::Get().txtFooter, L"");
    frmOptions::Get().Hide();
    if (frmPhone::IsLoaded()) frmPhone::Get().Unload();
    PumpFor(50);
    phone_ = &frmPhone::Get();
  }
  void TearDown() override {
    if (frmWarning::IsLoaded()) frmWarning::Get().Unload();
    static_cast<Settings&>(state) = Settings{};
    if (frmPhone::IsLoaded()) frmPhone::Get().Unload();
    PumpFor(50);
  }
  void ShowPhone() {
    phone_->Show();
    PumpFor(200);
  }
  frmPhone* phone_ = nullptr;
};

}  // namespace

TEST_F(PhoneWindow, IsCentredAndItsBlackPixelsBelongToTheWindowBehind) {
  HWND w = phone_->hWnd();
  const RECT phone = WindowRect(w);
  EXPECT_EQ(phone.left, ::GetSystemMetrics(SM_CXSCREEN) / 2 - 75);
  EXPECT_EQ(phone.top, ::GetSystemMetrics(SM_CYSCREEN) / 2 - 176);
  // Corners and the strip beside the rounded top are black in the picture; the body, the
  // screen and a key are not. (The shape itself is checked in tests/win/graphics_test.cpp.)
  win::unique_window behind = OtherWindow({phone.left - 20, phone.top - 20, phone.right + 20, phone.bottom + 20});
  ShowPhone();
  ::SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  PumpFor(100);
  for (POINT p : {POINT{0, 0}, POINT{149, 0}, POINT{0, 351}, POINT{149, 351}, POINT{2, 8}})
    EXPECT_EQ(::WindowFromPoint({phone.left + p.x, phone.top + p.y}), behind.get()) << p.x << "," << p.y;
  for (POINT p : {POINT{75, 340}, POINT{75, 30}, POINT{8, 200}, POINT{37, 220}})
    EXPECT_EQ(::GetAncestor(::WindowFromPoint({phone.left + p.x, phone.top + p.y}), GA_ROOT), w) << p.x << "," << p.y;
}

TEST_F(PhoneWindow, StaysWhereDraggedAcrossHideAndShow) {
  ShowPhone();
  const RECT start = WindowRect(phone_->hWnd());
  const int bx = start.left + 75, by = start.top + 340;  // the body below the keypad
  PlayMouse({{{bx, by}, 0}, {{bx, by}, MOUSEEVENTF_LEFTDOWN}, {{bx - 40, by - 60}, 0}, {{bx - 100, by - 150}, 0},
             {{bx - 100, by - 150}, MOUSEEVENTF_LEFTUP}});
  phone_->CloseWindow(false);
  PumpFor(100);
  EXPECT_FALSE(phone_->Visible());
  ShowPhone();
  const RECT again = WindowRect(phone_->hWnd());
  EXPECT_EQ(again.left, start.left - 100) << "shown where it was left, not centred";
  EXPECT_EQ(again.top, start.top - 150);
}

TEST_F(PhoneWindow, KeypadAppendsDigitsUpToFifteenAndBackDeletes) {
  for (int area = 1; area <= 10; ++area) TapKey(area);
  EXPECT_EQ(Number(), L"1234567890");
  TapKey(11);
  TapKey(11, WM_RBUTTONDOWN);  // any button, on the press
  EXPECT_EQ(Number(), L"12345678");
  ui::SetText(phone_->txtNum, L"");
  for (int i = 0; i < 14; ++i) TapKey(1);
  TapKey(2);
  TapKey(2);  // the box is full: dropped
  EXPECT_EQ(Number(), L"111111111111112");
  EXPECT_NE(::GetFocus(), phone_->txtNum) << "the keypad does not move the focus";
  ui::SetText(phone_->txtNum, L"");  // typing stops at 15 too
  for (int i = 0; i < 20; ++i) ::SendMessageW(phone_->txtNum, WM_CHAR, L'9', 0);
  EXPECT_EQ(Number(), std::wstring(15, L'9'));
}

TEST_F(PhoneWindow, ArrowsMoveThroughTheHistoryAndACaptureKeepsThePosition) {
  state.History = {{L"441111"}, {L"442222"}, {L"443333"}};  // A, B, C; C just captured
  ui::SetText(phone_->txtNum, L"443333");
  // Down to A and past it, then up to C and past it.
  const std::pair<int, const wchar_t*> walk[] = {{ids::kDown, L"442222"}, {ids::kDown, L"441111"},
                                                 {ids::kDown, L"441111"}, {ids::kUp, L"442222"},
                                                 {ids::kUp, L"443333"},   {ids::kUp, L"443333"},
                                                 {ids::kDown, L"442222"}};
  for (auto [arrow, shown] : walk) {
    Click(arrow);
    EXPECT_EQ(Number(), shown);
  }
  // At B (position 1), D is captured: the position stays 1.
  ui::SetText(frmOptions::Get().txtCountryCode, L"44");
  phone_->AddToHistory(L"04444");  // national: 0 becomes 44
  EXPECT_EQ(Number(), L"444444");
  EXPECT_EQ(phone_->histPos, 1);
  Click(ids::kUp);
  EXPECT_EQ(Number(), L"444444") << "up shows the new newest entry";
  Click(ids::kDown);
  Click(ids::kDown);
  EXPECT_EQ(Number(), L"442222") << "down from D's neighbour shows B";
}

TEST_F(PhoneWindow, ArrowsLightUpOnlyWhenTheyWouldMove) {
  const auto up_lit = PixelsOfFile(L"up1.gif"), down_lit = PixelsOfFile(L"down1.gif");
  const auto up_normal = PixelsOfFile(L"up.gif"), down_normal = PixelsOfFile(L"down.gif");
  ASSERT_NE(up_lit, up_normal);
  auto hover = [](int id) { ::SendMessageW(Item(id), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3)); };
  state.History = {{L"1"}, {L"2"}, {L"3"}};
  hover(ids::kUp);
  EXPECT_EQ(Shown(ids::kUp), up_normal) << "position 0: up never lights";
  hover(ids::kDown);
  EXPECT_EQ(Shown(ids::kDown), down_lit);
  Click(ids::kDown);
  Click(ids::kDown);  // position 2 of 3: the oldest
  hover(ids::kDown);
  EXPECT_EQ(Shown(ids::kDown), down_normal);
  hover(ids::kUp);
  EXPECT_EQ(Shown(ids::kUp), up_lit);
  // Passing over the phone's own surface puts every button back to normal.
  ::SendMessageW(phone_->hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(75, 330));
  EXPECT_EQ(Shown(ids::kUp), up_normal);
}

TEST_F(PhoneWindow, CountersShowTotalPartsAndCharactersLeft) {
  ShowPhone();
  // The count itself is tested at its edges in tests/unit/counters_test.cpp: here, that the
  // window counts the footer (with its joining line break), the text's encoding and figures
  // past 16 bits, and recounts text placed by the program.
  struct Case {
    int message, footer;
    wchar_t letter;
    const wchar_t *total, *parts, *left;
  } cases[] = {{150, 9, L'm', L"160", L"1", L"0"}, {70, 0, L'\u0416', L"71", L"2", L"63"},
               {32800, 0, L'm', L"32801", L"215", L"94"}};
  for (const Case& c : cases) {
    ui::SetText(frmOptions::Get().txtFooter, std::wstring(c.footer, L'f'));
    std::wstring text(c.message, c.letter);
    for (std::size_t i = 7; i < text.size(); i += 8) text[i] = L' ';  // one unbroken line wraps slowly
    ui::SetText(phone_->txtMsg, text);  // placed text recounts
    EXPECT_EQ(ui::GetText(Item(ids::kTotalChars)), c.total) << c.message << "+" << c.footer;
    EXPECT_EQ(ui::GetText(Item(ids::kMsgs)), c.parts) << c.message << "+" << c.footer;
    EXPECT_EQ(ui::GetText(Item(ids::kCharsLeft)), c.left) << c.message << "+" << c.footer;
  }
}

TEST_F(PhoneWindow, EnterOnTheFocusedSendButtonSendsAndAFailureKeepsTheWindowOpen) {
  ShowPhone();  // no account: the send stops at the check
  ui::SetText(frmOptions::Get().txtCountryCode, L"49");
  ui::SetText(phone_->txtNum, L"0151 2345-6789");
  ::SetFocus(Item(ids::kSend));
  ::PostMessageW(Item(ids::kSend), WM_KEYDOWN, VK_RETURN, 0x001C0001);
  PumpFor(200);
  EXPECT_EQ(Number(), L"4915123456789") << "normalised before sending";
  ASSERT_TRUE(frmWarning::IsLoaded());
  EXPECT_EQ(frmWarning::Get().Message(), L"Please enter your Lumora username and password");
  EXPECT_TRUE(phone_->Visible());
}

TEST_F(PhoneWindow, EnterOnCloseAndEscInTheMessageHideAndHandTheFocusBack) {
  win::unique_window previous = OtherWindow();
  for (bool esc : {false, true}) {
    SCOPED_TRACE(esc ? "Esc" : "Enter on close");
    state.hWndPrev = previous.get();
    ui::SetText(phone_->txtMsg, L"kept for next time");
    phone_->ShowForMessage();
    PumpFor(200);
    ASSERT_EQ(::GetForegroundWindow(), phone_->hWnd());
    HWND target = esc ? phone_->txtMsg : Item(ids::kClose);
    ::SetFocus(target);
    ::PostMessageW(target, WM_KEYDOWN, esc ? VK_ESCAPE : VK_RETURN, esc ? 0x00010001 : 0x001C0001);
    if (esc) ::PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    PumpFor(200);
    EXPECT_FALSE(phone_->Visible());
    EXPECT_EQ(::GetForegroundWindow(), previous.get());
    EXPECT_EQ(ui::GetText(phone_->txtMsg), L"kept for next time");
  }
}
