#include "sending/transfer_win.h"

#include "app/forms_win.h"
#include "sending/send_request.h"

namespace {

// The wait wakes at least this often to look at the transfer again; between wake-ups it
// sleeps in the system, so no processor time goes by while nothing happens.
constexpr DWORD kWaitSliceMs = 500;

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
      break;
    }
    case Inet::icResponseCompleted:
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
