#pragma once
// One request through the transfer control, waited for as a send needs it: posted, then this
// thread's messages run (every event still runs meanwhile, the transfer's own state changes
// among them) until the transfer ends, and its reply or error text is kept.
#include <string>

#include "app/settings.h"
#include "sending/inet_win.h"
#include "sending/reply.h"

struct SendRequest;

class Transfer {
 public:
  Transfer();
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  Inet Inet1;             // the transfer control
  std::wstring Response;  // the reply of the latest request, or the transfer's error text
  // The transfer's own error text of the latest request; empty when a reply came.
  const std::wstring& Error() const { return error_; }
  // What the latest request left, for the reply's interpretation.
  sending::TransferEnd End(bool proxy_credentials) const {
    return {Response, headers_, problem_, error_, proxy_credentials};
  }

  // Posts `request` to `host` and returns once the transfer has ended. Throws
  // std::runtime_error while another request runs, leaving that one and its reply alone.
  void Post(const std::wstring& host, TransferProtocol protocol, const SendRequest& request);

 private:
  void Inet1_StateChanged(int State);
  void Wait();

  std::wstring error_;
  std::wstring headers_;  // the reply's status line and headers
  sending::TransferProblem problem_ = sending::TransferProblem::None;
};
