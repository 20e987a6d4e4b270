#pragma once
// Helpers of the end-to-end tests: the reference service's admin commands (Linux programs,
// started from inside Wine), message boxes answered from a helper thread, the test's own
// trust in the throwaway certificate authority, the system proxy settings, and the program's
// forms prepared for a send.
#include <windows.h>

#include "box_answerer.h"

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

std::string Env(const char* name);  // empty when not set
std::wstring WindowsPath(const std::string& unix_path);
std::string Utf8(const std::wstring& text);

// Runs `command` with the Linux shell; its output (stdout and stderr) comes back.
struct CommandResult {
  DWORD code = 1;
  std::string output;
};
CommandResult RunLinux(const std::string& command, DWORD timeout_ms = 30000);
std::string Quote(const std::string& word);  // one shell word

// lumora-service with `args` on the test's database; fails the test when it fails.
std::string Service(const std::string& args);
void SetFault(const std::string& mode, int delay_ms = 0);
std::string MessagesJson();
int MessageCount();  // messages the service has stored
std::string LastStoredMessage();  // the newest one, as its line of JSON
// The JSON string literal the service writes for `text` (its UTF-8 bytes).
std::string JsonString(const std::wstring& text);

struct ShellRun {  // files of a started shell command: its output and its exit status
  std::string out, status;
};

// A Linux command started to run on its own (the capture listener). It cannot be stopped from
// here, so it must end by itself.
class Background {
 public:
  explicit Background(const std::string& command);
  bool Wait(DWORD ms, DWORD* code = nullptr);
  std::string Output() const;

 private:
  ShellRun run_;
};

int FreePort();  // a loopback port where nothing listens

using test_boxes::BoxAnswerer;
using test_boxes::BoxSeen;

// The test's certificate authority trusted by the current user, for the guard's lifetime.
class TrustedCa {
 public:
  explicit TrustedCa(const std::string& pem_path);
  ~TrustedCa();
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
  std::vector<BYTE> der_;
};

// The system's proxy (Internet Settings of the current user) for the guard's lifetime.
class SystemProxy {
 public:
  explicit SystemProxy(const std::wstring& server);
  ~SystemProxy();
};

// The program's state and windows made ready for sending to the test service.
void PrepareProgram();
void FillMessage(const std::wstring& number, const std::wstring& text,
                 const std::wstring& footer = L"");
std::wstring AlertText();  // empty when the alert window is not loaded
std::wstring AlertMode();
bool AlertShown();
void ClickAlertOk();
void ResetWindows();  // unloads the alert and the sending window
void PumpFor(DWORD ms);

}  // namespace e2e
