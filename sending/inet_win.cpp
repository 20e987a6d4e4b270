#include "sending/inet_win.h"

#include <wininet.h>

#include <algorithm>
#include <iterator>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "app/controls_win.h"
#include "text/codepage.h"

namespace {

constexpr wchar_t kPath[] = L"/hotkeys";  // the control's design-time document
constexpr UINT kWorkerDone = WM_APP + 1;   // wParam: the job's number
// WinINet's own time limits sit a little beyond the request's, so that the request's
// deadline always speaks first and the worker still gives up soon after it.
constexpr DWORD kSocketSlackMs = 1000;

std::uintptr_t NextJobId() {
  static std::uintptr_t last = 0;
  return ++last;  // UI thread only
}

std::string Narrow(const std::wstring& text) { return codepage::ToAnsi(text); }

// WinINet's errors in words. Its message table is not always present (Wine has none), so the
// usual ones are spelled out here; the number is always given.
std::wstring WinInetErrorText(DWORD code) {
  const wchar_t* text = nullptr;
  switch (code) {
    case ERROR_INTERNET_TIMEOUT: text = L"The request timed out"; break;
    case ERROR_INTERNET_NAME_NOT_RESOLVED: text = L"The server name could not be resolved"; break;
    case ERROR_INTERNET_CANNOT_CONNECT: text = L"Could not connect to the server"; break;
    case ERROR_INTERNET_CONNECTION_ABORTED: text = L"The connection with the server was ended"; break;
    case ERROR_INTERNET_CONNECTION_RESET: text = L"The connection with the server was reset"; break;
    case ERROR_HTTP_INVALID_SERVER_RESPONSE: text = L"The server's response could not be read"; break;
    case ERROR_INTERNET_INVALID_CA:
      text = L"The server's certificate was issued by an authority that is not trusted";
      break;
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
      text = L"The server's certificate does not match the server's name";
      break;
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID: text = L"The server's certificate has expired or is not yet valid"; break;
    case ERROR_INTERNET_SEC_CERT_REVOKED: text = L"The server's certificate has been revoked"; break;
    case ERROR_INTERNET_SEC_CERT_REV_FAILED:  // Wine reports an untrusted authority this way
      text = L"The server's certificate could not be verified (no trusted revocation status)";
      break;
    case ERROR_INTERNET_SEC_CERT_ERRORS:
    case ERROR_INTERNET_SEC_INVALID_CERT: text = L"The server's certificate is not valid"; break;
    case ERROR_INTERNET_SECURITY_CHANNEL_ERROR: text = L"The secure connection to the server failed"; break;
    case ERROR_INTERNET_PROXY_SERVER_UNREACHABLE: text = L"The proxy server could not be reached"; break;
    case ERROR_INTERNET_INVALID_URL: text = L"The address is not valid"; break;
    default: break;
  }
  std::wstring out;
  if (text) {
    out = text;
  } else if (code >= INTERNET_ERROR_BASE && code <= INTERNET_ERROR_LAST) {
    out = L"Internet transfer error";
  } else {
    out = ui::SystemErrorText(code);
  }
  return out + L" (error " + std::to_wstring(code) + L")";
}

}  // namespace

// Everything the worker needs and leaves behind. The worker owns its WinINet handles; the
// control only reads the results after the worker's report has arrived.
struct Inet::Job {
  std::uintptr_t id = 0;
  HWND notify = nullptr;
  std::wstring host, path, verb, headers, url;
  INTERNET_PORT port = 0;
  bool secure = false;
  std::string body;
  DWORD socket_timeout_ms = 0;

  std::mutex mutex;  // guards the results below
  bool ok = false;
  std::wstring error;
  DWORD code = 0;  // the system's number of the error
  std::wstring reply_headers;
  std::string reply;

  void Run();
  void Fail(DWORD error_code, const std::wstring& what) {
    std::lock_guard lock(mutex);
    ok = false;
    code = error_code;
    error = what;
  }
};

void Inet::Job::Run() {
  const std::wstring where = L" while sending to " + url;
  auto fail_last = [&](const wchar_t* step) {
    const DWORD error_code = ::GetLastError();
    Fail(error_code, WinInetErrorText(error_code) + L" while " + step + L" " + url);
  };
  // The system's own connection and proxy settings, as the user set them for every program.
  win::unique_internet session(
      ::InternetOpenW(L"Brevio", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return fail_last(L"opening the internet session for");
  // WinINet's own limits, so that the worker also gives up soon after the deadline. Set on the
  // request as well: Wine takes the send and receive limits only there.
  auto set_timeouts = [&](HINTERNET handle) {
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT}) {
      DWORD value = socket_timeout_ms;
      ::InternetSetOptionW(handle, option, &value, sizeof value);
    }
  };
  set_timeouts(session.get());
  win::unique_internet connection(::InternetConnectW(session.get(), host.c_str(), port, nullptr,
                                                     nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return fail_last(L"connecting to");
  // Certificate errors are never ignored: an untrusted or mismatched certificate ends the
  // request with its error. No cache, no cookies, no dialogs.
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI | INTERNET_FLAG_KEEP_CONNECTION;
  if (secure) flags |= INTERNET_FLAG_SECURE;
  const wchar_t* accept[] = {L"*/*", nullptr};
  win::unique_internet request(::HttpOpenRequestW(connection.get(), verb.c_str(), path.c_str(),
                                                  nullptr, nullptr, accept, flags, 0));
  if (!request) return fail_last(L"opening the request to");
  set_timeouts(request.get());
  if (!::HttpSendRequestW(request.get(), headers.c_str(), static_cast<DWORD>(headers.size()),
                          body.empty() ? nullptr : body.data(), static_cast<DWORD>(body.size())))
    return fail_last(L"sending the request to");

  // Without a status line no reply came at all (the server ended the connection at once).
  DWORD status = 0, status_size = sizeof status;
  if (!::HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &status_size, nullptr) ||
      status == 0)
    return Fail(ERROR_HTTP_INVALID_SERVER_RESPONSE, L"The server ended the connection without replying" + where);
  std::wstring raw_headers(8192, L'\0');
  DWORD header_bytes = static_cast<DWORD>(raw_headers.size() * sizeof(wchar_t));
  if (::HttpQueryInfoW(request.get(), HTTP_QUERY_RAW_HEADERS_CRLF, raw_headers.data(), &header_bytes, nullptr))
    raw_headers.resize(header_bytes / sizeof(wchar_t));
  else
    raw_headers.clear();  // longer than any status line needs: the status is then unknown

  DWORD announced = 0, size = sizeof announced;
  const bool has_length = ::HttpQueryInfoW(request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER,
                                           &announced, &size, nullptr) != FALSE;
  std::string received;
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    DWORD got = 0;
    if (!::InternetReadFile(request.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got))
      return fail_last(L"reading the reply from");
    if (got == 0) break;
    if (received.size() + got > kMaxResponseBytes)
      return Fail(0, L"The reply is larger than " + std::to_wstring(kMaxResponseBytes / (1024 * 1024)) +
                  L" MB and was not read to its end" + where);
    received.append(buffer.data(), got);
  }
  if (has_length && received.size() < announced)
    return Fail(ERROR_INTERNET_CONNECTION_ABORTED, L"The connection closed after " + std::to_wstring(received.size()) + L" of the " +
                std::to_wstring(announced) + L" bytes of the reply" + where);
  std::lock_guard lock(mutex);
  ok = true;
  reply_headers = std::move(raw_headers);
  reply = std::move(received);
}

Inet::Inet() = default;

Inet::~Inet() {
  // A worker still running keeps its job and ends on its own; its report finds no window.
  if (window_) win::Detach(window_.get());
}

std::wstring Inet::URL() const {
  return std::wstring(protocol_ == TransferProtocol::HTTPS ? L"https" : L"http") + L"://" + host_ + L":" +
         std::to_wstring(port_) + kPath;
}

void Inet::EnsureWindow() {
  if (window_) return;
  window_ = win::MakeMessageWindow(this);
  if (!window_) throw std::runtime_error("The internet transfer control could not start: " +
                                         Narrow(ui::SystemErrorText(::GetLastError())));
}

void Inet::Execute(const std::wstring& url, const std::wstring& operation,
                   const std::string& input_data, const std::wstring& request_headers) {
  if (job_) throw std::runtime_error("Still executing last request");
  if (operation != L"POST" && operation != L"GET")
    throw std::runtime_error("The operation \"" + Narrow(operation) + "\" is not supported");

  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof parts;
  wchar_t host[INTERNET_MAX_HOST_NAME_LENGTH] = {};
  wchar_t path[INTERNET_MAX_PATH_LENGTH] = {};
  parts.lpszHostName = host;
  parts.dwHostNameLength = static_cast<DWORD>(std::size(host));
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = static_cast<DWORD>(std::size(path));
  if (!::InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts) || !host[0] ||
      (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS))
    throw std::runtime_error("The address \"" + Narrow(url) + "\" is not a valid web address");

  EnsureWindow();
  auto job = std::make_shared<Job>();
  job->id = NextJobId();
  job->notify = window_.get();
  job->url = url;
  job->host = host;
  job->path = path[0] ? path : L"/";
  job->port = parts.nPort;
  job->secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  job->verb = operation;
  job->headers = request_headers;
  job->body = input_data;
  job->socket_timeout_ms = static_cast<DWORD>(timeout_ms_) + kSocketSlackMs;

  response_info_.clear();
  response_code_ = 0;
  headers_.clear();
  response_.clear();
  read_at_ = 0;
  // The worker holds its own reference: it may outlive a request that was given up.
  std::thread([job] {
    job->Run();
    ::PostMessageW(job->notify, kWorkerDone, job->id, 0);
  }).detach();
  job_ = std::move(job);
  ::SetTimer(window_.get(), job_->id, static_cast<UINT>(timeout_ms_), nullptr);
}

std::wstring Inet::GetChunk(std::size_t size) {
  const std::size_t n = std::min(size, response_.size() - read_at_);
  std::wstring piece = codepage::FromAnsi(std::string_view(response_).substr(read_at_, n));
  read_at_ += n;
  return piece;
}

void Inet::OnWorkerDone(std::uintptr_t job_id) {
  if (!job_ || job_->id != job_id) return;  // a request given up earlier
  ::KillTimer(window_.get(), job_id);
  bool ok;
  {
    std::lock_guard lock(job_->mutex);
    ok = job_->ok;
    if (ok) {
      response_ = std::move(job_->reply);
      headers_ = std::move(job_->reply_headers);
    } else {
      response_info_ = job_->error;
      response_code_ = job_->code;
    }
  }
  read_at_ = 0;
  Finish(ok ? icResponseCompleted : icError);
}

void Inet::OnTimeout(std::uintptr_t job_id) {
  ::KillTimer(window_.get(), job_id);
  if (!job_ || job_->id != job_id) return;
  std::wstring limit = std::to_wstring(timeout_ms_ / 1000);
  if (timeout_ms_ % 1000) limit += L"." + std::to_wstring(timeout_ms_ % 1000 / 100);
  response_info_ = L"No complete reply within " + limit + (timeout_ms_ == 1000 ? L" second" : L" seconds") +
                   L"; the request to " + job_->url + L" was given up";
  response_code_ = ERROR_INTERNET_TIMEOUT;
  Finish(icError);
}

void Inet::Finish(int state) {
  // Still executing while the handler runs: a request started from inside it is refused
  // rather than mixing its reply into the one being read. Nothing escapes an event handler.
  if (StateChanged) {
    try {
      StateChanged(state);
    } catch (...) {
    }
  }
  job_.reset();
}

LRESULT Inet::OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kWorkerDone) {
    OnWorkerDone(static_cast<std::uintptr_t>(wp));
    return 0;
  }
  if (msg == WM_TIMER) {
    OnTimeout(static_cast<std::uintptr_t>(wp));
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}
