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

// Keys held for a second (the X server repeats the key meanwhile), or pressed twice 0.2 s apart
// (the second arriving while the first's capture or send is under way, or while its outcome is
// in front): one request with the selection (never the footer alone), the clipboard keeps its
// text, the first's outcome stays on screen, and a press during the send is told so.
TEST_F(HotkeySend, AHeldOrSecondQuickPressSendsOnlyOnce) {
  const struct { const char* keys; int delay_ms; int boxes; } cases[] = {  // boxes -1: any
      {"keydown ctrl+alt+p sleep 1 keyup p alt ctrl", 0, 0},
      {"key ctrl+alt+p sleep 0.2 key ctrl+alt+p", 0, -1},  // the reply at once
      {"key ctrl+alt+p sleep 0.2 key ctrl+alt+p", 1500, 1},  // late enough that the second press finds the send
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.keys << ", reply after " << c.delay_ms << " ms");
    SetFault(c.delay_ms ? "delay" : "none", c.delay_ms);
    ASSERT_TRUE(editor_.Select(L"hello there")) << "the test editor is not in front";
    BoxAnswerer boxes;
    Background presses(std::string("xdotool ") + c.keys);
    DWORD code = 1;
    ASSERT_TRUE(PumpUntil([&] { return presses.Wait(0, &code); }, 20000) && code == 0) << presses.Output();
    // Then until every request the presses caused has ended (a second capture finding nothing
    // takes two copy waits).
    PumpUntil([] { return !frmOptions::Get().transfer.Inet1.StillExecuting() && !AlertText().empty(); }, 20000);
    PumpFor(3000);
    std::printf("[ figures  ] %s: %d request(s), %zu box(es)\n", c.keys, MessageCount() - before_, boxes.Seen().size());
    ASSERT_EQ(MessageCount(), ++before_) << LastStoredMessage();
    EXPECT_NE(LastStoredMessage().find(JsonBody(L"hello there\r\n")), std::string::npos) << LastStoredMessage();
    EXPECT_EQ(ClipboardText(), L"abc");
    for (const auto& box : boxes.Seen()) EXPECT_EQ(box.text, L"Still executing last request");
    EXPECT_TRUE(c.boxes < 0 || boxes.Seen().size() == static_cast<std::size_t>(c.boxes)) << boxes.Seen().size() << " boxes";
    EXPECT_EQ(AlertText(), L"Message sent");
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
