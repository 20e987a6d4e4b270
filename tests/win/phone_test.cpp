// The phone window on the virtual display, driven through its own messages: its place,
// dragging, the keypad, the number history, the arrows' highlights, the counters, the
// keys Enter and Esc, and the focus handed back on closing.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>
#include <tuple>

#include "app/controls_win.h"
#include "app/frmWarning_win.h"
#include "app/modHotkeys_win.h"
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
RECT WindowRect(HWND w) { RECT rc{}; return ::GetWindowRect(w, &rc), rc; }

// Pictures compared by their pixels rather than their handles.
std::vector<std::uint32_t> PixelsOfFile(const wchar_t* name) {
  return BitmapPixels(StdPicture::LoadFromFile(modHotkeys::AppPath() + L"\\images\\" + name).Handle());
}
std::vector<std::uint32_t> Shown(int id) {
  return BitmapPixels(reinterpret_cast<HBITMAP>(::SendMessageW(Item(id), STM_GETIMAGE, IMAGE_BITMAP, 0)));
}

// Plays mouse input (screen point, MOUSEEVENTF_ button flags) from another thread while this
// one runs the window's messages: a drag runs the system's move loop inside the button-down handler.
void PlayMouse(const std::vector<std::pair<POINT, DWORD>>& steps) {
  std::atomic<bool> done{false};
  std::thread player([&] {
    for (auto [at, flags] : steps) { test_input::Mouse(at, flags); ::Sleep(60); }
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
    frmOptions::Get().FinishLoad();  // stays loaded, as in the program: the counters read its footer box
  }
  void SetUp() override {
    // The pointer away from the phone: moves under it would change the buttons' highlights.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 10, ::GetSystemMetrics(SM_CYSCREEN) - 10);
    state.History.clear();
    state.hWndPrev = nullptr;
    ui::SetText(frmOptions::Get().account.txtFooter, L"");
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
  void ShowPhone() { phone_->Show(); PumpFor(200); }
  frmPhone* phone_ = nullptr;
};

}  // namespace

// Its shape, from the picture's black pixels, is checked with the scaling in
// tests/win/options_window_test.cpp.
TEST_F(PhoneWindow, ShowsCentredThenStaysWhereDraggedAcrossHideAndShow) {
  ShowPhone();
  const RECT start = WindowRect(phone_->hWnd());
  EXPECT_EQ(start.left, ::GetSystemMetrics(SM_CXSCREEN) / 2 - 75);
  EXPECT_EQ(start.top, ::GetSystemMetrics(SM_CYSCREEN) / 2 - 176);
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

TEST_F(PhoneWindow, ArrowsMoveThroughTheHistoryLightOnlyWhereTheyWouldAndACaptureKeepsThePosition) {
  const auto up_lit = PixelsOfFile(L"up1.gif"), down_lit = PixelsOfFile(L"down1.gif");
  const auto up_normal = PixelsOfFile(L"up.gif"), down_normal = PixelsOfFile(L"down.gif");
  ASSERT_NE(up_lit, up_normal);
  auto hover = [](int id) { ::SendMessageW(Item(id), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3)); return Shown(id); };
  state.History = {{L"441111"}, {L"442222"}, {L"443333"}};  // A, B, C; C just captured
  ui::SetText(phone_->txtNum, L"443333");
  // Down to A and past it, then up to C and past it: (arrow, number shown, position after);
  // every other step by Up or Down in the number box instead of the arrow.
  const std::tuple<int, const wchar_t*, int> walk[] = {
      {ids::kDown, L"442222", 1}, {ids::kDown, L"441111", 2}, {ids::kDown, L"441111", 2}, {ids::kUp, L"442222", 1},
      {ids::kUp, L"443333", 0},   {ids::kUp, L"443333", 0},   {ids::kDown, L"442222", 1}};
  bool by_key = false;
  for (auto [arrow, shown, position] : walk) {
    if ((by_key = !by_key)) ::PostMessageW(phone_->txtNum, WM_KEYDOWN, arrow == ids::kUp ? VK_UP : VK_DOWN, 1);
    else Click(arrow);
    forms::DoEvents();
    EXPECT_EQ(Number(), shown);
    EXPECT_EQ(hover(ids::kUp), position > 0 ? up_lit : up_normal) << "up lit at position " << position;
    EXPECT_EQ(hover(ids::kDown), position < 2 ? down_lit : down_normal) << "down lit at position " << position;
  }
  // Passing over the phone's own surface puts every button back to normal.
  ::SendMessageW(phone_->hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(75, 330));
  EXPECT_EQ(Shown(ids::kDown), down_normal);
  // At B (position 1), D is captured: the position stays 1.
  ui::SetText(frmOptions::Get().account.txtCountryCode, L"44");
  phone_->AddToHistory(L"04444");  // national: 0 becomes 44
  EXPECT_EQ(Number(), L"444444");
  EXPECT_EQ(phone_->histPos, 1);
  Click(ids::kUp);
  EXPECT_EQ(Number(), L"444444") << "up shows the new newest entry";
  Click(ids::kDown);
  Click(ids::kDown);
  EXPECT_EQ(Number(), L"442222") << "down from D's neighbour shows B";
}

TEST_F(PhoneWindow, CountersShowTotalPartsAndCharactersLeft) {
  ShowPhone();
  // The count itself is tested at its edges in tests/unit/counters_test.cpp: here, that the
  // window counts the footer (with its joining line break), the text's encoding and figures
  // past 16 bits, and recounts text placed by the program.
  const std::tuple<int, int, wchar_t, const wchar_t*> cases[] = {  // message, footer, letter: total parts left
      {150, 9, L'm', L"160 1 0"}, {70, 0, L'\u0416', L"71 2 63"}, {32800, 0, L'm', L"32801 215 94"}};
  for (auto [message, footer, letter, shown] : cases) {
    ui::SetText(frmOptions::Get().account.txtFooter, std::wstring(footer, L'f'));
    std::wstring text(message, letter);
    for (std::size_t i = 7; i < text.size(); i += 8) text[i] = L' ';  // one unbroken line wraps slowly
    ui::SetText(phone_->txtMsg, text);  // placed text recounts
    EXPECT_EQ(ui::GetText(Item(ids::kTotalChars)) + L" " + ui::GetText(Item(ids::kMsgs)) + L" " + ui::GetText(Item(ids::kCharsLeft)), shown)
        << message << "+" << footer;
  }
}

TEST_F(PhoneWindow, EnterSendsOnSendOrInTheNumberAndHidesOnCloseAsEscDoesHandingTheFocusBack) {
  // A plain visible window for the application the user came from.
  win::unique_window previous(::CreateWindowExW(0, L"BUTTON", L"other", WS_POPUP | WS_VISIBLE, 10, 10, 190, 90,
                                                nullptr, nullptr, nullptr, nullptr));
  ui::SetText(frmOptions::Get().account.txtCountryCode, L"49");
  for (int target_id : {ids::kSend, ids::kNum, ids::kClose, 0}) {  // 0: Esc in the message
    SCOPED_TRACE(target_id);
    const bool esc = target_id == 0, send = target_id == ids::kSend || target_id == ids::kNum;
    state.hWndPrev = previous.get();
    ui::SetText(phone_->txtNum, L"0151 2345-6789");
    ui::SetText(phone_->txtMsg, L"kept for next time");
    phone_->ShowForMessage();
    PumpFor(200);
    ASSERT_EQ(::GetForegroundWindow(), phone_->hWnd());
    HWND target = esc ? phone_->txtMsg : Item(target_id);
    ::SetFocus(target);
    ::PostMessageW(target, WM_KEYDOWN, esc ? VK_ESCAPE : VK_RETURN, esc ? 0x00010001 : 0x001C0001);
    if (esc) ::PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    PumpFor(200);
    EXPECT_EQ(frmWarning::IsLoaded(), send) << "the send's alert";
    EXPECT_EQ(Number(), send ? L"4915123456789" : L"0151 2345-6789") << "normalised before sending";
    EXPECT_EQ(phone_->Visible(), send);
    EXPECT_EQ(::GetForegroundWindow() == previous.get(), !send);
    EXPECT_EQ(ui::GetText(phone_->txtMsg), L"kept for next time");
    if (frmWarning::IsLoaded()) frmWarning::Get().Unload();
  }
}
