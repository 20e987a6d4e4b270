#include "e2e_util.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "app/controls_win.h"
#include "app/modHotkeys_win.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "phone/frmWarning_win.h"
#include "sending/frmSending_win.h"

namespace e2e {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::wstring WindowsPath(const std::string& unix_path) {
  std::wstring out = L"Z:";
  for (char c : unix_path) out.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
  return out;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

std::string Quote(const std::string& word) {
  std::string out = "'";
  for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

namespace {

int g_output_counter = 0;

std::string ReadAll(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got) bytes.append(buffer, got);
  ::CloseHandle(file);
  return bytes;
}

// Wine starts a Linux program given to CreateProcess directly, but its process handle does not
// follow that program's end, and its standard handles cannot be Windows pipes. So the shell
// writes the output to a file and, when done, its exit status to a second one.
ShellRun StartShell(const std::string& command) {
  const std::string base = Env("BREVIO_E2E_WORK") + "/cmd-" + std::to_string(++g_output_counter);
  ShellRun run{base + ".out", base + ".status"};
  const std::string script = "(" + command + ") >" + Quote(run.out) + " 2>&1; echo $? >" +
                             Quote(run.status + ".tmp") + "; mv " + Quote(run.status + ".tmp") + " " +
                             Quote(run.status);
  std::wstring cmd = L"Z:\\bin\\sh -c \"";
  for (char c : script) {
    if (c == '"') cmd += L'\\';
    cmd += static_cast<wchar_t>(static_cast<unsigned char>(c));
  }
  cmd += L"\"";
  // The program gets standard handles of its own: given the test's, Wine loses the test's
  // standard output once the program has run.
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE null = ::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = si.hStdOutput = si.hStdError = null;
  PROCESS_INFORMATION pi{};
  const BOOL started = ::CreateProcessW(L"Z:\\bin\\sh", cmd.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &si, &pi);
  if (null != INVALID_HANDLE_VALUE) ::CloseHandle(null);
  if (!started) {
    ADD_FAILURE() << "could not start /bin/sh: error " << ::GetLastError();
    return {};
  }
  ::CloseHandle(pi.hProcess);
  ::CloseHandle(pi.hThread);
  return run;
}

// Waits for the shell's exit status file; false when the time is up.
bool WaitForShell(const ShellRun& run, DWORD timeout_ms, DWORD* code) {
  if (run.status.empty()) return false;
  const DWORD until = ::GetTickCount() + timeout_ms;
  for (;;) {
    const std::string status = ReadAll(WindowsPath(run.status));
    if (!status.empty()) {
      if (code) *code = static_cast<DWORD>(std::strtoul(status.c_str(), nullptr, 10));
      return true;
    }
    if (static_cast<int>(until - ::GetTickCount()) <= 0) return false;
    ::Sleep(20);
  }
}

}  // namespace

CommandResult RunLinux(const std::string& command, DWORD timeout_ms) {
  const ShellRun run = StartShell(command);
  CommandResult result;
  if (!WaitForShell(run, timeout_ms, &result.code)) {
    ADD_FAILURE() << "command did not finish: " << command;
    return result;
  }
  result.output = ReadAll(WindowsPath(run.out));
  return result;
}

std::string Service(const std::string& args) {
  CommandResult r = RunLinux(Quote(Env("BREVIO_E2E_SERVICE")) + " " + args + " --db " +
                             Quote(Env("BREVIO_E2E_DB")));
  EXPECT_EQ(r.code, 0u) << "lumora-service " << args << ": " << r.output;
  return r.output;
}

void SetFault(const std::string& mode, int delay_ms) {
  Service("fault " + mode + (delay_ms ? " --delay-ms " + std::to_string(delay_ms) : ""));
}

std::string MessagesJson() { return Service("messages"); }

int MessageCount() {
  const std::string json = MessagesJson();
  int n = 0;
  for (std::size_t at = 0; (at = json.find("\"id\":", at)) != std::string::npos; ++at) ++n;
  return n;
}

std::string LastStoredMessage() {
  const std::string json = MessagesJson();
  const std::size_t at = json.rfind("{\"id\":");
  return at == std::string::npos ? "" : json.substr(at);
}

std::string JsonString(const std::wstring& text) {
  std::string out = "\"";
  for (char c : Utf8(text)) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

Background::Background(const std::string& command) : run_(StartShell(command)) {}

bool Background::Wait(DWORD ms, DWORD* code) { return WaitForShell(run_, ms, code); }

std::string Background::Output() const { return ReadAll(WindowsPath(run_.out)); }

namespace {
struct Winsock {
  Winsock() {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
  }
};
void EnsureWinsock() { static Winsock once; }
}  // namespace

int FreePort() {
  EnsureWinsock();
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  int len = sizeof addr;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
  ::closesocket(s);
  return ntohs(addr.sin_port);
}

TrustedCa::TrustedCa(const std::string& pem_path) {
  const std::string pem = ReadAll(WindowsPath(pem_path));
  DWORD size = 0;
  if (!::CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                              nullptr, &size, nullptr, nullptr))
    return;
  der_.resize(size);
  ::CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                         der_.data(), &size, nullptr, nullptr);
  HCERTSTORE root = ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
  if (!root) return;
  ok_ = ::CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der_.data(), size,
                                           CERT_STORE_ADD_REPLACE_EXISTING, nullptr) != FALSE;
  ::CertCloseStore(root, 0);
}

TrustedCa::~TrustedCa() {
  if (der_.empty()) return;
  PCCERT_CONTEXT cert = ::CertCreateCertificateContext(X509_ASN_ENCODING, der_.data(),
                                                       static_cast<DWORD>(der_.size()));
  if (!cert) return;
  BYTE hash[20];
  DWORD size = sizeof hash;
  const bool hashed = ::CertGetCertificateContextProperty(cert, CERT_SHA1_HASH_PROP_ID, hash, &size);
  ::CertFreeCertificateContext(cert);
  if (!hashed) return;
  // The user's Root store keeps each certificate under its SHA-1 thumbprint. Wine does not
  // remove it through CertDeleteCertificateFromStore on the system store, so the key goes.
  std::wstring key = L"Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\";
  constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  for (BYTE b : hash) {
    key += kHex[b >> 4];
    key += kHex[b & 15];
  }
  const LSTATUS status = ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  EXPECT_EQ(status, ERROR_SUCCESS) << "the test authority stays trusted";
}

namespace {
constexpr wchar_t kInternetSettings[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
}

SystemProxy::SystemProxy(const std::wstring& server) {
  HKEY key;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
    ADD_FAILURE() << "cannot open the Internet Settings key";
    return;
  }
  DWORD enable = 1;
  ::RegSetValueExW(key, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable), sizeof enable);
  ::RegSetValueExW(key, L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                   static_cast<DWORD>((server.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
}

SystemProxy::~SystemProxy() {
  HKEY key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kInternetSettings, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  DWORD enable = 0;
  ::RegSetValueExW(key, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable), sizeof enable);
  ::RegDeleteValueW(key, L"ProxyServer");
  ::RegCloseKey(key);
}

void PumpFor(DWORD ms) {
  const DWORD until = ::GetTickCount() + ms;
  while (static_cast<int>(until - ::GetTickCount()) > 0) {
    forms::DoEvents();
    ::MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void PrepareProgram() {
  using modHotkeys::state;
  modHotkeys::InstallAnsiCodePage();
  state.Usr = L"e2e&user";
  state.Pwd = L"p<a>ss&word";
  state.CountryCode = L"44";
  state.Footer = L"";
  state.Protocol = 4;
  state.Port = L"80";
  state.ProxyAuth = 0;
  state.ProxyUsr.clear();
  state.ProxyPwd.clear();
  frmOptions& options = frmOptions::Get();
  options.GetProperties();
  ui::SetText(options.Text5, L"localhost");
  options.Inet1.RequestTimeout(Inet::kDefaultTimeoutSeconds);
  frmPhone::Get();
}

void FillMessage(const std::wstring& number, const std::wstring& text, const std::wstring& footer) {
  ui::SetText(frmOptions::Get().txtFooter, footer);
  frmPhone& phone = frmPhone::Get();
  ui::SetText(phone.txtNum, number);
  ui::SetText(phone.txtMsg, text);
  phone.SetCharsLeft();
}

std::wstring AlertText() {
  frmWarning* alert = frmWarning::IfLoaded();
  return alert ? alert->Message() : L"";
}

std::wstring AlertMode() {
  frmWarning* alert = frmWarning::IfLoaded();
  return alert ? alert->Mode : L"";
}

bool AlertShown() { return frmWarning::IfLoaded() && frmWarning::IfLoaded()->Visible(); }

void ClickAlertOk() {
  frmWarning* alert = frmWarning::IfLoaded();
  ASSERT_NE(alert, nullptr) << "no alert to acknowledge";
  ::SendMessageW(alert->Command1, BM_CLICK, 0, 0);
  PumpFor(50);
}

void ResetWindows() {
  if (frmWarning::IsLoaded()) frmWarning::Get().Unload();
  if (frmSending::IsLoaded()) frmSending::Get().Unload();
}

}  // namespace e2e
