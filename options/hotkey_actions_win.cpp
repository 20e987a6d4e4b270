// What the two hotkeys do, and the two lists that choose their letters.
#include <stdexcept>

#include "app/controls_win.h"
#include "app/frmWarning_win.h"
#include "app/modHotkeys_win.h"
#include "app/text.h"
#include "hotkeys/held_key_gate_win.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "sending/send_request.h"

using modHotkeys::state;
using options_pages::AccountPage;

namespace {

// One press of a hotkey is one action however long its keys stay down, and a capture never
// starts while another is under way: its clipboard backup would be taken of the clipboard the
// first capture has changed, and the user's own clipboard would be lost. (A deliberate press
// while a send waits is told that the send still runs.)
bool g_capturing = false;

bool AcceptPress(const VBHotKey& control, int which) {
  static HeldKeyGate gates[2];
  if (g_capturing) return false;
  return gates[which].Accept(static_cast<UINT>(control.VKey()), static_cast<DWORD>(::GetMessageTime()));
}

// The selection, read with the flag up that keeps a second capture out.
std::wstring CaptureOnce(frmOptions& options) {
  g_capturing = true;
  struct Done {
    ~Done() { g_capturing = false; }
  } done;
  return options.CaptureSelection();
}

// The rule of the letter lists: a letter the other hotkey has is refused, and the list goes
// back to this hotkey's own; any other registers this hotkey again at once, before the options
// are saved.
void KeyListChanged(HWND list, VBHotKey& own, const VBHotKey& other) {
  const std::optional<std::int32_t> key = AccountPage::ChosenKey(list);
  if (!key) return;
  if (*key != other.VKey()) {
    own.VKey(*key);
    return;
  }
  // The rule, run again for this hotkey's own entry, would find no conflict and change
  // nothing, so the entry is only selected.
  AccountPage::SelectKey(list, own.VKey());
  frmWarning::Alert(AlertMode::Settings, L"Hotkey combinations cannot be the same");
}

}  // namespace

void frmOptions::LoadHotkeys() {
  // The controls store no values of their own: both start at Ctrl+Alt+A, so the second one's
  // first registration is refused (silently) until GetProperties applies the saved letters.
  VBHotKey2 = VBHotKey::Load();
  VBHotKey1 = VBHotKey::Load();
  VBHotKey1->HotkeyPressed = [this] { VBHotKey1_HotkeyPressed(); };
  VBHotKey2->HotkeyPressed = [this] { VBHotKey2_HotkeyPressed(); };
}

void frmOptions::UnloadHotkeys() {
  for (auto* control : {&VBHotKey1, &VBHotKey2}) {
    if (!*control) continue;
    (*control)->StopHotkey();
    control->reset();
  }
}

void frmOptions::Combo1_Click() {
  KeyListChanged(account.Combo1, *VBHotKey1, *VBHotKey2);
  account.ShowHotkeyStatus(*VBHotKey1, *VBHotKey2);
}

void frmOptions::Combo2_Click() {
  KeyListChanged(account.Combo2, *VBHotKey2, *VBHotKey1);
  account.ShowHotkeyStatus(*VBHotKey1, *VBHotKey2);
}

std::wstring frmOptions::CaptureSelection() { return selection_.CaptureSelection(hWnd()); }

void frmOptions::VBHotKey1_HotkeyPressed() {
  if (!AcceptPress(*VBHotKey1, 0)) return;
  // A press during a send is answered at once: a capture now would read the sending window,
  // not the user's selection.
  if (RefuseWhileSending()) return;
  // With the last outcome in front, unanswered, there is no selection of the user's to read, and
  // that outcome must not give way to a "Nothing was selected": the alert asks for its OK.
  if (frmWarning* alert = frmWarning::IfLoaded(); alert && ::GetForegroundWindow() == alert->hWnd()) {
    ::FlashWindow(alert->hWnd(), TRUE);
    return;
  }
  const std::wstring text = CaptureOnce(*this);
  if (text.empty()) {  // a footer alone is no message
    frmWarning::Alert(AlertMode::SendResult,
                      L"Nothing was selected: select the text to send, then press " + VBHotKey1->Name(), true);
    return;
  }
  // The phone window keeps the text, hidden, as after any send; the send itself takes the
  // captured text. An empty number addresses the account holder's own phone.
  frmPhone& phone = frmPhone::Get();
  ui::SetText(phone.txtNum, L"");
  ui::SetText(phone.txtMsg, text);
  SendInputs in = GatherSendInputs();
  in.number.clear();
  in.message = text;
  Send(in, false);
}

void frmOptions::VBHotKey2_HotkeyPressed() {
  if (!AcceptPress(*VBHotKey2, 1)) return;
  try {
    const std::wstring captured = CaptureOnce(*this);
    frmPhone& phone = frmPhone::Get();
    phone.AddToHistory(captured);  // into the number box and the history, unless empty
    // Still the application where the text was selected: the phone window is not shown yet.
    state.hWndPrev = ::GetForegroundWindow();
    phone.ShowForMessage();  // message text selected, window shown, message box focused
  } catch (const std::exception& e) {
    ui::ShowError(Widen(e.what()));
  }
}
