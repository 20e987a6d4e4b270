// What the two hotkeys do, and the two lists that choose their letters.
#include <stdexcept>

#include "app/controls_win.h"
#include "app/frmWarning_win.h"
#include "app/modHotkeys_win.h"
#include "text/number.h"
#include "app/text.h"
#include "hotkeys/held_key_gate_win.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "sending/send_request.h"

using modHotkeys::state;

namespace {

constexpr std::int32_t kFirstKey = 'A', kLastKey = 'Z';

// One press of a hotkey is one action however long its keys stay down, and a capture never
// starts while another is under way: its clipboard backup would be taken of the clipboard the
// first capture has changed, and the user's own clipboard would be lost. (A deliberate press
// while a send waits still reaches the send, which refuses it while the first one runs.)
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

void frmOptions::FillKeyLists() {
  for (HWND list : {Combo1, Combo2}) {
    for (std::int32_t key = kFirstKey; key <= kLastKey; ++key) {
      const wchar_t letter[2] = {static_cast<wchar_t>(key), L'\0'};
      const LRESULT index = ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(letter));
      ::SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), key);
    }
  }
}

void frmOptions::SelectKeyEntry(HWND list, std::int32_t vkey) {
  // A key outside A..Z selects nothing, and the rule below then leaves the hotkey alone.
  ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(vkey - kFirstKey), 0);
  if (list == Combo1) Combo1_Click();
  if (list == Combo2) Combo2_Click();
}

void frmOptions::Combo1_Click() { KeyListChanged(Combo1, *VBHotKey1, *VBHotKey2); }

void frmOptions::Combo2_Click() { KeyListChanged(Combo2, *VBHotKey2, *VBHotKey1); }

void frmOptions::KeyListChanged(HWND list, VBHotKey& own, const VBHotKey& other) {
  const LRESULT index = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return;
  const auto key = static_cast<std::int32_t>(::SendMessageW(list, CB_GETITEMDATA, index, 0));
  if (key != other.VKey()) {
    own.VKey(key);  // registered again at once, before the options are saved
    return;
  }
  // The other hotkey has this letter: back to this hotkey's own. The rule, run again for that
  // entry, would find no conflict and change nothing, so the entry is only selected.
  ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(own.VKey() - kFirstKey), 0);
  frmWarning::Alert(AlertMode::Settings, L"Hotkey combinations cannot be the same");
}

void frmOptions::VBHotKey1_HotkeyPressed() {
  if (!AcceptPress(*VBHotKey1, 0)) return;
  // The phone window keeps the text, hidden, as after any send; the send itself takes the
  // captured text. An empty number addresses the account holder's own phone.
  const std::wstring text = CaptureOnce(*this);
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
    CapturedNumber = modBrevio::NormaliseNumber(captured, ui::GetText(txtCountryCode));
    frmPhone& phone = frmPhone::Get();
    phone.AddToHistory(captured);  // into the number box and the history, unless empty
    // Still the application where the text was selected: the phone window is not shown yet.
    state.hWndPrev = ::GetForegroundWindow();
    phone.ShowForMessage();  // message text selected, window shown, message box focused
  } catch (const std::exception& e) {
    ui::ShowError(Widen(e.what()));
  }
}
