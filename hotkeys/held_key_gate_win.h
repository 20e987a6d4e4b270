#pragma once
// One press of a hotkey is one action however long its keys stay down: while the key of the
// last accepted press is down, the system's repeats of the hotkey are refused, and so are
// repeats that waited in the queue and arrive after the key's release. The release is watched
// by a small thread, so that it is seen on time even while the program's thread is busy with
// a capture and dispatches no messages.
#include <windows.h>

#include <atomic>
#include <thread>

class HeldKeyGate {
 public:
  HeldKeyGate() = default;
  HeldKeyGate(const HeldKeyGate&) = delete;
  HeldKeyGate& operator=(const HeldKeyGate&) = delete;
  ~HeldKeyGate();

  // True when a press of `vkey`, reported by a message of `message_time` (GetMessageTime), is
  // a new one: not while the last accepted press's key is down, and not from before its
  // release. An accepted press counts as held until its key is up.
  bool Accept(UINT vkey, DWORD message_time);

 private:
  void StopWatching();

  std::thread watcher_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> held_{false};
  std::atomic<DWORD> released_at_{0};  // tick count when the release was seen; 0: never
  UINT vkey_ = 0;
};
