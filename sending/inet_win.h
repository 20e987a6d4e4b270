#pragma once
// Inet: the program's internet transfer control. One request at a time, run by WinINet with
// the system's internet settings on a worker thread; its end is reported as a state change
// on the thread that called Execute, while that thread pumps messages.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/handles_win.h"
#include "app/settings.h"
#include "app/window_class_win.h"

class Inet : private win::MessageReceiver {
 public:
  static constexpr int icError = 11;             // ResponseInfo says what went wrong
  static constexpr int icResponseCompleted = 12;  // GetChunk reads the body
  static constexpr int kDefaultTimeoutSeconds = 60;
  // The most of a reply that is kept; a longer one ends the request as an error.
  static constexpr std::size_t kMaxResponseBytes = 8u * 1024 * 1024;

  Inet();
  ~Inet();
  Inet(const Inet&) = delete;
  Inet& operator=(const Inet&) = delete;

  void RemoteHost(const std::wstring& host) { host_ = host; }
  const std::wstring& RemoteHost() const { return host_; }
  void RemotePort(int port) { port_ = port; }
  int RemotePort() const { return port_; }
  void Protocol(TransferProtocol protocol) { protocol_ = protocol; }
  TransferProtocol Protocol() const { return protocol_; }
  // Scheme, host and port as set, with the path the control was designed with.
  std::wstring URL() const;
  // The whole request, from Execute to the last byte of the reply, must end within this.
  void RequestTimeout(int seconds) { timeout_ms_ = seconds * 1000; }
  int RequestTimeout() const { return timeout_ms_ / 1000; }
  void RequestTimeoutMs(int ms) { timeout_ms_ = ms; }  // for tests that cannot wait long

  // Starts the request and returns at once. Throws std::runtime_error while an earlier request
  // still runs, and for an address or operation it cannot use.
  void Execute(const std::wstring& url, const std::wstring& operation, const std::string& input_data,
               const std::wstring& request_headers);
  // True from Execute until the handler of the final state change has returned.
  bool StillExecuting() const { return job_ != nullptr; }
  std::wstring ResponseInfo() const { return response_info_; }
  // The system's number of the error that ResponseInfo describes; 0 when it has none.
  DWORD ResponseCode() const { return response_code_; }
  // The reply's status line and header lines as they came; empty when no reply came.
  std::wstring GetHeader() const { return headers_; }
  // The next piece of the reply body, up to `size` characters; empty at the end.
  std::wstring GetChunk(std::size_t size);

  std::function<void(int state)> StateChanged;

  struct Job;  // one request, shared with its worker thread

 private:
  LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) override;
  void EnsureWindow();
  void Finish(int state);
  void OnWorkerDone(std::uintptr_t job_id);
  void OnTimeout(std::uintptr_t job_id);

  std::wstring host_;
  int port_ = 80;
  TransferProtocol protocol_ = TransferProtocol::HTTP;
  int timeout_ms_ = kDefaultTimeoutSeconds * 1000;

  win::unique_window window_;  // message-only; receives the worker's report and the deadline
  std::shared_ptr<Job> job_;   // the running request
  std::wstring response_info_;
  DWORD response_code_ = 0;
  std::wstring headers_;
  std::string response_;  // the reply's bytes, read out by GetChunk
  std::size_t read_at_ = 0;
};
