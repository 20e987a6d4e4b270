#include "capture/selection_win.h"

#include "app/forms_win.h"
#include "capture/keystrokes_win.h"

namespace {

// How long the user may take to let go of the hotkey before its keys are released for them.
constexpr DWORD kModifierWaitMs = 500;
// How long the application may take to answer a copy keystroke.
constexpr DWORD kCopyWaitMs = 1000;

// Lets the application that gets the keystrokes work for a moment. Other programs need only
// our answers to what they send us; when the selection is in one of our own windows, the
// keystrokes arrive in this thread's own queue, and all its messages must run.
void LetTheCopyRun() {
  if (::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr) == ::GetCurrentThreadId())
    forms::DoEvents();
  clipboard::ProcessSentMessages(10);
}

// Waits until the clipboard has changed from `before` and nobody holds it open any longer.
// True when it changed.
bool WaitForCopy(DWORD before) {
  const DWORD start = ::GetTickCount();
  bool changed = false;
  while (::GetTickCount() - start < kCopyWaitMs) {
    changed = ::GetClipboardSequenceNumber() != before;
    if (changed && ::GetOpenClipboardWindow() == nullptr) return true;
    LetTheCopyRun();
  }
  return changed;
}

}  // namespace

bool SelectionCapture::BackupClipboard(HWND owner) { return backup_.Save(owner); }

void SelectionCapture::RestoreClipboard(HWND owner) { backup_.Restore(owner, sequence_); }

std::wstring SelectionCapture::CaptureSelection(HWND owner) {
  // Without a backup the clipboard is not touched: emptying it would lose what the user had.
  if (!BackupClipboard(owner)) return {};
  {
    clipboard::Session session(owner);
    if (!session || !::EmptyClipboard()) return {};  // the clipboard is untouched: nothing to restore
  }
  const DWORD emptied = ::GetClipboardSequenceNumber();
  sequence_ = emptied;

  // The application must see a plain Ctrl+C, not Ctrl+Alt+C with the hotkey's keys.
  keystrokes::WaitForModifiersReleased(kModifierWaitMs);
  bool copied = keystrokes::SendCtrlChord('C', false) && WaitForCopy(emptied);
  if (!copied)  // some applications copy only on Ctrl+Insert
    copied = keystrokes::SendCtrlChord(VK_INSERT, true) && WaitForCopy(emptied);

  std::wstring text;
  if (copied) {
    sequence_ = ::GetClipboardSequenceNumber();
    text = clipboard::ReadText(owner).value_or(std::wstring());
  }
  // Put back what the user had, unless another program has changed the clipboard since.
  RestoreClipboard(owner);
  return text;
}
