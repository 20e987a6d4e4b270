#include "sending/transfer_win.h"

#include <wininet.h>

#include "app/forms_win.h"
#include "sending/send_request.h"

namespace {

// The wait wakes at least this often to look at the transfer again; between wake-ups it
// sleeps in the system, so no processor time goes by while nothing happens.
constexpr DWORD kWaitSliceMs = 500;

// The transfer's error, as the user is told it.
sending::TransferProblem ProblemOf(DWORD code) {
  using sending::TransferProblem;
  switch (code) {
    case ERROR_INTERNET_CANNOT_CONNECT:
    case ERROR_INTERNET_NAME_NOT_RESOLVED: return TransferProblem::Unreachable;
    case ERROR_INTERNET_PROXY_SERVER_UNREACHABLE: return TransferProblem::ProxyUnreachable;
    case ERROR_INTERNET_TIMEOUT: return TransferProblem::TimedOut;
    case ERROR_INTERNET_CONNECTION_ABORTED:
    case ERROR_INTERNET_CONNECTION_RESET:
    case ERROR_HTTP_INVALID_SERVER_RESPONSE: return TransferProblem::BrokenOff;
    case ERROR_INTERNET_INVALID_CA:
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
    case ERROR_INTERNET_SEC_CERT_REVOKED:
    case ERROR_INTERNET_SEC_CERT_REV_FAILED:
    case ERROR_INTERNET_SEC_CERT_ERRORS:
    case ERROR_INTERNET_SEC_INVALID_CERT: return TransferProblem::Untrusted;
    default: return TransferProblem::Other;
  }
}

}  // namespace

Transfer::Transfer() {
  Inet1.StateChanged = [this](int state) { Inet1_StateChanged(state); };
}

void Transfer::Post(const std::wstring& host, TransferProtocol protocol, const SendRequest& request) {
  Inet1.RemoteHost(host);
  Inet1.RemotePort(request.port);
  Inet1.Protocol(protocol);
  Inet1.Execute(Inet1.URL(), L"POST", request.form_body, request.headers);
  // Only once this request runs (Execute refuses while another does, leaving that one's
  // reply alone): nothing of an earlier request may be read as this one's outcome.
  Response.clear();
  error_.clear();
  headers_.clear();
  problem_ = sending::TransferProblem::None;
  Wait();
}

void Transfer::Wait() {
  // Every event still runs during the wait (the transfer's own state changes among them),
  // but the thread sleeps until a message arrives instead of polling.
  while (Inet1.StillExecuting()) {
    forms::DoEvents();
    if (!Inet1.StillExecuting()) break;
    ::MsgWaitForMultipleObjectsEx(0, nullptr, kWaitSliceMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void Transfer::Inet1_StateChanged(int State) {
  switch (State) {
    case Inet::icError: {
      const std::wstring info = Inet1.ResponseInfo();
      if (!info.empty()) {
        Response = info;
        error_ = info;
      }
      problem_ = ProblemOf(Inet1.ResponseCode());
      break;
    }
    case Inet::icResponseCompleted:
      headers_ = Inet1.GetHeader();
      Response.clear();
      for (;;) {
        forms::DoEvents();
        const std::wstring chunk = Inet1.GetChunk(512);
        if (chunk.empty()) break;
        Response += chunk;
      }
      break;
    default:
      break;
  }
}
