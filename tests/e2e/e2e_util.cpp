#include "e2e_util.h"

#include <wincrypt.h>

#include <cstdlib>
#include <tuple>

#include "app/controls_win.h"
#include "app/frmWarning_win.h"
#include "app/handles_win.h"
#include "app/modHotkeys_win.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "sending/frmSending_win.h"
#include "text/unicode.h"

namespace e2e {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string Quote(const std::string& word) {
  std::string out = "'";
  for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Wine starts a Linux program given to CreateProcess directly, but its process handle does not
// follow that program's end, and its standard handles cannot be Windows pipes. So a shell script
// writes the output to a file and, when done, its exit status to a second one.
Background::Background(const std::string& command) {
  static int counter = 0;
  const std::string base = Env("BREVIO_E2E_WORK") + "/cmd-" + std::to_string(++counter);
  out_ = base + ".out";
  status_ = base + ".status";
  const std::string script = "(" + command + ") >" + Quote(out_) + " 2>&1; echo $? >" + Quote(status_ + ".tmp") +
                             "; mv " + Quote(status_ + ".tmp") + " " + Quote(status_) + "\n";
  WriteFileBytes(WindowsPath(base + ".sh"), script);
  std::wstring cmd = L"Z:\\bin\\sh " + std::wstring(base.begin(), base.end()) + L".sh";
  // The program gets standard handles of its own: given the test's, Wine loses the test's
  // standard output once the program has run.
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const win::unique_handle null = win::file_handle(::CreateFileW(
      L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = si.hStdOutput = si.hStdError = null.get();
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(L"Z:\\bin\\sh", cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    ADD_FAILURE() << "could not start /bin/sh: error " << ::GetLastError();
    status_.clear();
    return;
  }
  const win::unique_handle process(pi.hProcess), thread(pi.hThread);
}

bool Background::Wait(DWORD ms, DWORD* code) {
  for (const DWORD until = ::GetTickCount() + ms; !status_.empty(); ::Sleep(20)) {
    const std::string status = ReadUnixFile(status_);
    if (!status.empty()) {
      if (code) *code = static_cast<DWORD>(std::strtoul(status.c_str(), nullptr, 10));
      return true;
    }
    if (static_cast<int>(until - ::GetTickCount()) <= 0) break;
  }
  return false;
}

std::string Service(const std::string& args) {
  Background run(Quote(Env("BREVIO_E2E_SERVICE")) + " " + args + " --db " + Quote(Env("BREVIO_E2E_DB")));
  DWORD code = 1;
  EXPECT_TRUE(run.Wait(30000, &code) && code == 0) << "lumora-service " << args << ": " << run.Output();
  return run.Output();
}

void SetFault(const std::string& mode, int delay_ms) {
  Service("fault " + mode + (delay_ms ? " --delay-ms " + std::to_string(delay_ms) : ""));
}

std::vector<std::string> StoredMessages() {
  const std::string json = Service("messages");
  std::vector<std::string> out;
  for (std::size_t at = json.find("{\"id\":"), next; at != std::string::npos; at = next)
    out.push_back(json.substr(at, (next = json.find("{\"id\":", at + 1)) - at));
  return out;
}

std::string JsonBody(const std::wstring& text) {
  std::string out = "\"body\": \"";
  for (char c : unicode::ToUtf8(text))
    out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '"' ? "\\\"" : c == '\\' ? "\\\\" : std::string(1, c);
  return out + "\",";
}

TrustedCa::TrustedCa(const std::string& pem_path) {
  const std::string pem = ReadUnixFile(pem_path);
  DWORD size = 0;
  ::CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr);
  der_.resize(size);
  EXPECT_TRUE(size && ::CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, der_.data(), &size, nullptr, nullptr) &&
              ::CertAddEncodedCertificateToSystemStoreW(L"Root", der_.data(), size))
      << "could not add the test authority to the user's Root store";
}

TrustedCa::~TrustedCa() {
  BYTE hash[20];
  DWORD size = sizeof hash;
  if (der_.empty() || !::CryptHashCertificate(0, CALG_SHA1, 0, der_.data(), static_cast<DWORD>(der_.size()), hash, &size))
    return;
  // The user's Root store keeps each certificate under its SHA-1 thumbprint. Wine does not
  // remove it through CertDeleteCertificateFromStore on the system store, so the key goes.
  std::wstring key = L"Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\";
  for (BYTE b : hash) key += {L"0123456789ABCDEF"[b >> 4], L"0123456789ABCDEF"[b & 15]};
  EXPECT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()), ERROR_SUCCESS) << "the test authority stays trusted";
}

void SystemProxy::Set(const std::wstring* server) {
  const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  const DWORD enable = server != nullptr;
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, key, L"ProxyEnable", REG_DWORD, &enable, sizeof enable), ERROR_SUCCESS);
  if (server)
    ::RegSetKeyValueW(HKEY_CURRENT_USER, key, L"ProxyServer", REG_SZ, server->c_str(),
                      static_cast<DWORD>((server->size() + 1) * sizeof(wchar_t)));
  else
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"ProxyServer");
}

void FillMessage(const std::wstring& number, const std::wstring& text, const std::wstring& footer) {
  ui::SetText(frmOptions::Get().account.txtFooter, footer);
  frmPhone& phone = frmPhone::Get();
  ui::SetText(phone.txtNum, number);
  ui::SetText(phone.txtMsg, text);
  phone.SetCharsLeft();  // a multi-line box reports no change for text set by the program
}

std::wstring AlertText() { return frmWarning::IfLoaded() ? frmWarning::IfLoaded()->Message() : L""; }
bool AlertShown() { return frmWarning::IfLoaded() && frmWarning::IfLoaded()->Visible(); }

bool AlertWarns() { return AlertShown() && test_boxes::ShowsWarningIcon(frmWarning::Get().hWnd()); }

void ResetWindows() {
  if (frmWarning::IsLoaded()) frmWarning::Get().Unload();
  if (frmSending::IsLoaded()) frmSending::Get().Unload();
}

Outcome Send(bool to_number, std::map<std::wstring, int> answers) {
  BoxAnswerer answerer(std::move(answers));
  Outcome o;
  const DWORD start = ::GetTickCount();
  o.result = frmOptions::Get().SendMessage(to_number);
  o.ms = ::GetTickCount() - start;
  o.boxes = answerer.Seen();
  EXPECT_FALSE(frmOptions::Get().transfer.Inet1.StillExecuting()) << "the transfer must be over";
  return o;
}

void E2eTest::SetUp() {
  if (Env("BREVIO_E2E_DB").empty()) GTEST_SKIP() << "not started by netns-run";
  modHotkeys::InstallAnsiCodePage();
  auto& s = modHotkeys::state;
  // Over HTTP, without proxy authentication.
  std::tie(s.Usr, s.Pwd, s.CountryCode, s.Footer, s.Port, s.ProxyUsr, s.ProxyPwd, s.Protocol, s.ProxyAuth) =
      std::tuple(L"e2e&user", L"p<a>ss&word", L"44", L"", L"80", L"", L"", 4, 0);
  frmOptions& options = frmOptions::Get();
  options.FinishLoad();
  options.GetProperties();
  ui::SetText(options.frame.Text5, L"localhost");
  options.transfer.Inet1.RequestTimeout(Inet::kDefaultTimeoutSeconds);
  FillMessage(L"447700900123", L"test message");
  before_ = MessageCount();
}

void E2eTest::TearDown() {
  if (!Env("BREVIO_E2E_DB").empty()) SetFault("none");
  ResetWindows();
}

std::string E2eTest::ExpectStored(const Outcome& o, const std::wstring& body) {
  EXPECT_TRUE(o.result);
  EXPECT_TRUE(o.boxes.empty()) << testing::PrintToString(o.boxes.empty() ? std::wstring() : o.boxes[0].text);
  EXPECT_EQ(AlertText(), L"Message sent");
  EXPECT_EQ(MessageCount(), before_ + 1);
  const std::string last = LastStoredMessage();
  EXPECT_NE(last.find(JsonBody(body)), std::string::npos) << last;
  return last;
}

void E2eTest::ExpectPlainFailure(const Outcome& o, const std::wstring& part) {
  EXPECT_FALSE(o.result);
  EXPECT_FALSE(AlertShown()) << testing::PrintToString(AlertText());
  ASSERT_EQ(o.boxes.size(), 1u);
  EXPECT_EQ(o.boxes[0].title, L"Brevio");
  EXPECT_TRUE(o.boxes[0].warning);
  const std::wstring& text = o.boxes[0].text;
  EXPECT_EQ(text.rfind(L"Message not sent: ", 0), 0u) << testing::PrintToString(text);
  EXPECT_NE(text.find(part), std::wstring::npos) << testing::PrintToString(text);
  EXPECT_FALSE(frmSending::IsLoaded() && frmSending::Get().Visible());
}

void EditorTest::SetUp() {
  E2eTest::SetUp();
  if (IsSkipped()) return;
  ASSERT_TRUE(editor_.Ready()) << "the test editor did not start";
  ASSERT_TRUE(PutText(L"abc"));
}

std::wstring EditorTest::SendSelection(const std::wstring& text) {
  if (!editor_.Select(text)) return L"<the test editor is not in front>";
  PumpFor(300);  // the alert just unloaded may hand the focus on late
  if (::GetForegroundWindow() != editor_.Window()) return L"<the test editor lost the front>";
  PressCtrlAlt('P');
  PumpUntil([] { return !AlertText().empty(); }, 20000);
  return AlertText();
}

}  // namespace e2e
