#include "hotkeys/held_key_gate_win.h"

namespace {
constexpr DWORD kLookEveryMs = 10;
}  // namespace

HeldKeyGate::~HeldKeyGate() { StopWatching(); }

void HeldKeyGate::StopWatching() {
  stop_ = true;
  if (watcher_.joinable()) watcher_.join();
  stop_ = false;
}

bool HeldKeyGate::Accept(UINT vkey, DWORD message_time) {
  if (held_ && vkey == vkey_) return false;  // a repeat while the key is down
  const DWORD released = released_at_;
  // Sent before the release was seen: a repeat that waited in the queue.
  if (released != 0 && vkey == vkey_ && static_cast<LONG>(message_time - released) < 0) return false;
  StopWatching();  // a watcher of another key, or one that has ended
  vkey_ = vkey;
  held_ = true;
  watcher_ = std::thread([this, vkey] {
    while (!stop_ && (::GetAsyncKeyState(static_cast<int>(vkey)) & 0x8000)) ::Sleep(kLookEveryMs);
    released_at_ = ::GetTickCount();
    held_ = false;
  });
  return true;
}
