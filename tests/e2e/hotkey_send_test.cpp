// Hotkey 1 end to end: text selected in another program (our test editor), in any script,
// reaches the reference service exactly as typed, addressed to the account holder's own phone,
// and the clipboard keeps what it held.
#include <cstdio>

#include "app/controls_win.h"
#include "e2e_util.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"

using namespace e2e;
using HotkeySend = EditorTest;

TEST_F(HotkeySend, HotkeyOneSendsTheSelectionInAnyScriptToTheOwnPhoneAndTheClipboardKeepsItsText) {
  const std::wstring footer = L"\u2014 \u0421\u0430\u0448\u0430";  // "— Саша"
  ui::SetText(frmOptions::Get().account.txtFooter, footer);
  for (const std::wstring text : {L"hello", L"\u041f\u0440\u0438\u0432\u0435\u0442, \u043c\u0438\u0440",
                                  L"\u0393\u03b5\u03b9\u03ac \u03c3\u03bf\u03c5", L"Za\u017c\u00f3\u0142\u0107 g\u0119\u015bl\u0105",
                                  L"\u4f60\u597d\uff0c\u4e16\u754c", L"Party \U0001F389\U0001F600!"}) {
    ASSERT_EQ(SendSelection(text), L"Message sent") << testing::PrintToString(text) << ", copy keys the editor saw: "
                                                    << testing::PrintToString(editor_.Log());
    ASSERT_EQ(MessageCount(), ++before_);
    const std::string last = LastStoredMessage();
    // An empty destination in the request: the service uses the account's own phone.
    EXPECT_NE(last.find("\"destination\": \"447700900001\""), std::string::npos) << last;
    EXPECT_NE(last.find(JsonBody(text + L"\r\n" + footer)), std::string::npos) << last;
    EXPECT_EQ(ClipboardText(), L"abc");
    EXPECT_FALSE(frmPhone::Get().Visible()) << "hotkey 1 does not show the phone window";
    ResetWindows();
  }
}

// Keeping the keys down for a second (the X server repeats the key meanwhile) is still one
// press: one request, and the clipboard keeps its text. Prints the requests of that press.
TEST_F(HotkeySend, HeldHotkeySendsOnceAndTheClipboardKeepsItsText) {
  ASSERT_TRUE(editor_.Select(L"hello there")) << "the test editor is not in front";
  BoxAnswerer boxes;
  Background held("xdotool keydown ctrl+alt+p sleep 1 keyup p alt ctrl");
  DWORD code = 1;
  ASSERT_TRUE(PumpUntil([&] { return held.Wait(0, &code); }, 20000));
  ASSERT_EQ(code, 0u) << held.Output();
  // Then until every request the press caused has ended.
  PumpUntil([] { return !frmOptions::Get().transfer.Inet1.StillExecuting() && !AlertText().empty(); }, 20000);
  PumpFor(2000);
  const int requests = MessageCount() - before_;
  std::printf("[ figures  ] requests the service received for one held press: %d\n", requests);
  EXPECT_EQ(requests, 1);
  EXPECT_NE(LastStoredMessage().find("\"body\": \"hello there"), std::string::npos) << LastStoredMessage();
  EXPECT_EQ(ClipboardText(), L"abc");
  EXPECT_TRUE(boxes.Seen().empty()) << "a repeat of the held keys reached the send";
}

// Two presses 0.2 s apart: the second arrives while the first's capture or send is under way,
// or while its outcome is in front; it never sends (least of all the footer alone), and the
// first's outcome stays on screen.
TEST_F(HotkeySend, SecondQuickPressNeverSendsAMessageOfItsOwn) {
  for (const int delay_ms : {0, 1500}) {  // the reply at once, or late enough that the second press finds the send
    SCOPED_TRACE(delay_ms);
    SetFault(delay_ms ? "delay" : "none", delay_ms);
    ASSERT_TRUE(editor_.Select(L"hello twice")) << "the test editor is not in front";
    BoxAnswerer boxes;
    Background presses("xdotool key ctrl+alt+p sleep 0.2 key ctrl+alt+p");
    ASSERT_TRUE(PumpUntil([&] { return presses.Wait(0); }, 20000)) << presses.Output();
    PumpUntil([] { return !frmOptions::Get().transfer.Inet1.StillExecuting() && !AlertText().empty(); }, 20000);
    PumpFor(3000);  // a second capture finding nothing takes two copy waits
    ASSERT_EQ(MessageCount(), ++before_) << LastStoredMessage();
    EXPECT_NE(LastStoredMessage().find(JsonBody(L"hello twice\r\n")), std::string::npos) << LastStoredMessage();
    for (const auto& box : boxes.Seen()) EXPECT_EQ(box.text, L"Still executing last request");
    EXPECT_TRUE(delay_ms == 0 || boxes.Seen().size() == 1u) << "the press during the send is told so";
    EXPECT_EQ(AlertText(), L"Message sent");
    std::printf("[ figures  ] reply after %d ms: the second press was told by %zu box(es)\n", delay_ms, boxes.Seen().size());
    ResetWindows();
  }
}

// Nothing selected: nothing is sent, and the alert says what to do with the hotkey as set.
TEST_F(HotkeySend, NothingSelectedSendsNothingAndSaysToSelectFirst) {
  auto& hotkey = *frmOptions::Get().VBHotKey1;
  for (const wchar_t letter : {L'P', L'Q'}) {
    hotkey.VKey(letter);
    ASSERT_TRUE(editor_.Select(L""));
    PumpFor(300);
    Press({VK_CONTROL, VK_MENU, static_cast<WORD>(letter)});
    PumpUntil([] { return !AlertText().empty(); }, 20000);
    EXPECT_EQ(AlertText(), std::wstring(L"Nothing was selected: select the text to send, then press Ctrl+Alt+") + letter);
    EXPECT_EQ(MessageCount(), before_);
    EXPECT_EQ(ClipboardText(), L"abc");
    ResetWindows();
  }
  hotkey.VKey('P');
}
