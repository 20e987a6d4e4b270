#pragma once
// Helpers of the end-to-end tests: the reference service's admin commands (Linux programs,
// started from inside Wine), the test's trust in the throwaway certificate authority, the
// system proxy settings, and the program's forms prepared for a send.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "box_answerer.h"
#include "win/input_util.h"

namespace e2e {

using namespace testing_win;
using namespace test_input;
using test_boxes::BoxAnswerer;
using test_boxes::BoxSeen;

std::string Env(const char* name);  // empty when not set
std::string Quote(const std::string& word);  // one shell word
inline std::string ReadUnixFile(const std::string& path) { return ReadFileBytes(WindowsPath(path)); }

// A Linux command started with the shell, its output (stdout and stderr) kept in a file. It
// cannot be stopped from here, so it must end by itself.
class Background {
 public:
  explicit Background(const std::string& command);
  bool Wait(DWORD ms, DWORD* code = nullptr);  // false when the time is up
  std::string Output() const { return ReadUnixFile(out_); }

 private:
  std::string out_, status_;
};

std::string Service(const std::string& args);  // lumora-service on the test's database; must succeed
void SetFault(const std::string& mode, int delay_ms = 0);
std::vector<std::string> StoredMessages();  // the service's, oldest first, each as its JSON object
inline int MessageCount() { return static_cast<int>(StoredMessages().size()); }
inline std::string LastStoredMessage() {  // empty when there is none
  const auto all = StoredMessages();
  return all.empty() ? "" : all.back();
}
std::string JsonBody(const std::wstring& text);  // `"body": "...",` as the service lists it

// The test's certificate authority trusted by the current user, for the guard's lifetime.
struct TrustedCa {
  explicit TrustedCa(const std::string& pem_path);
  ~TrustedCa();
  std::vector<BYTE> der_;  // the certificate
};

// The system's proxy (Internet Settings of the current user) for the guard's lifetime.
struct SystemProxy {
  explicit SystemProxy(const std::wstring& server) { Set(&server); }
  ~SystemProxy() { Set(nullptr); }
  static void Set(const std::wstring* server);  // none: the proxy is switched off
};

void FillMessage(const std::wstring& number, const std::wstring& text, const std::wstring& footer = L"");
std::wstring AlertText();  // empty when the alert window is not loaded
bool AlertShown();
bool AlertWarns();  // the alert shows the system's warning icon
void ResetWindows();  // unloads the alert and the sending window

// A SendMessage run to its end: its result, the message boxes it showed and its wall time.
struct Outcome {
  bool result = false;
  std::vector<BoxSeen> boxes;
  DWORD ms = 0;
};
Outcome Send(bool to_number = true, std::map<std::wstring, int> answers = {});

// The programs' fixture: the program prepared for the test service with a message to
// 447700900123, the stored messages counted; afterwards the service behaves again and the
// windows go.
class E2eTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Sent without a box, told "Message sent", one more message stored with `body`; returns it.
  std::string ExpectStored(const Outcome& o, const std::wstring& body);
  // A failure told in one box of the program's title with a warning icon, that starts "Message
  // not sent: " and holds `part`; no alert, and no sending window left on screen.
  void ExpectPlainFailure(const Outcome& o, const std::wstring& part);
  int before_ = 0;
};

// With the test editor running too, the clipboard holding "abc"; hotkey 1 sends its selection.
class EditorTest : public E2eTest {
 protected:
  void SetUp() override;
  // Selects `text` in the editor, presses Ctrl+Alt+P and waits for the alert; its text.
  std::wstring SendSelection(const std::wstring& text);
  Editor editor_;
};

}  // namespace e2e
