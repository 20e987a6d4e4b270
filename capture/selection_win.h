#pragma once
// Reading the selection of the foreground application: its own copy keystroke, through the
// clipboard, which is saved before and put back afterwards. The options window holds one for
// the life of the program (the clipboard holders of the hotkey actions).
#include <windows.h>

#include <string>

#include "capture/clipboard_win.h"

class SelectionCapture {
 public:
  // The selected text of the foreground application; empty when nothing could be read.
  // `owner` owns the clipboard while it is opened.
  std::wstring CaptureSelection(HWND owner);

  bool BackupClipboard(HWND owner);   // every copyable format; false when it could not be read
  void RestoreClipboard(HWND owner);  // unless another program changed the clipboard since

 private:
  clipboard::Backup backup_;
  DWORD sequence_ = 0;  // the clipboard as the capture last left or found it
};
