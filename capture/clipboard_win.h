#pragma once
// The clipboard as the capture uses it: opened with our own window as owner (briefly retried
// while another program holds it), read as text, and saved and put back whole.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/handles_win.h"
#include "capture/clipboard_formats.h"

namespace clipboard {

// Lets the messages that other threads send to this thread's windows run for about `ms`
// milliseconds, and nothing else: a program that empties the clipboard we own waits for our
// answer to WM_DESTROYCLIPBOARD, while input and hotkeys queued for us wait their turn.
void ProcessSentMessages(DWORD ms);

// The clipboard opened for the scope of the object.
class Session {
 public:
  explicit Session(HWND owner);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_ = false;
};

// The clipboard's Unicode text: empty when it holds none, nothing when it cannot be opened.
std::optional<std::wstring> ReadText(HWND owner);

// Every copyable format of the clipboard, saved and put back in the order the system listed
// them.
class Backup {
 public:
  Backup() = default;
  Backup(const Backup&) = delete;
  Backup& operator=(const Backup&) = delete;
  Backup(Backup&&) = default;
  Backup& operator=(Backup&&) = default;

  // Replaces what was saved by the clipboard's current contents. False when the clipboard
  // could not be opened (nothing is saved then).
  bool Save(HWND owner);
  // Empties the clipboard and puts the saved formats back, marked so that clipboard-history
  // tools leave the restore out, unless the clipboard has changed since `expected_sequence`
  // (another program copied meanwhile: its content stays). The saved formats are used up
  // either way. True when restored.
  bool Restore(HWND owner, DWORD expected_sequence);

  std::vector<UINT> Formats() const;

 private:
  struct Item {
    UINT format = 0;
    clipboard_formats::Storage storage = clipboard_formats::Storage::Memory;
    std::string bytes;          // memory formats, metafile bits, palette entries
    win::unique_bitmap bitmap;  // a copy of a bitmap format
    METAFILEPICT picture{};     // mapping mode and extent of a metafile picture
  };
  static bool Copy(UINT format, HANDLE data, Item& item);
  static bool Put(Item& item);

  std::vector<Item> items_;
};

}  // namespace clipboard
