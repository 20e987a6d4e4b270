// The transfer control on its own: its refusals, and how its end is reported. The time-out's
// length and text, and the refusal of a second request while one runs, are followed through
// the program in tests/e2e/faults_test.cpp.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <tlhelp32.h>

#include <stdexcept>
#include <vector>

#include "sending/inet_win.h"
#include "wine_util.h"

namespace {

// A loopback port that accepts connections and closes them at once without a word.
class Mute {
 public:
  Mute() {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
    socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(socket_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    int len = sizeof addr;
    ::getsockname(socket_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    ::listen(socket_, 4);  // connections wait in the backlog; nobody answers
  }
  ~Mute() { ::closesocket(socket_); }
  int port() const { return port_; }

 private:
  SOCKET socket_;
  int port_ = 0;
};

int ThreadsOfThisProcess() {
  HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 t{};
  t.dwSize = sizeof t;
  int n = 0;
  for (BOOL more = ::Thread32First(snap, &t); more; more = ::Thread32Next(snap, &t))
    if (t.th32OwnerProcessID == ::GetCurrentProcessId()) ++n;
  ::CloseHandle(snap);
  return n;
}

}  // namespace

TEST(Inet, UnusableAddressOrOperationIsRefusedAtOnce) {
  Inet inet;
  EXPECT_THROW(inet.Execute(L"not an address", L"POST", "", L""), std::runtime_error);
  EXPECT_THROW(inet.Execute(L"ftp://localhost/hotkeys", L"POST", "", L""), std::runtime_error);
  EXPECT_THROW(inet.Execute(L"http://localhost:80/hotkeys", L"DELETE", "", L""), std::runtime_error);
  EXPECT_FALSE(inet.StillExecuting());
}

TEST(Inet, TimeOutEndsTheRequestAsAnErrorOnThisThreadWhileItPumps) {
  Mute server;
  Inet inet;
  inet.RequestTimeoutMs(700);
  std::vector<int> states;
  bool executing_in_handler = false;
  DWORD handler_thread = 0;
  inet.StateChanged = [&](int state) {
    states.push_back(state);
    executing_in_handler = inet.StillExecuting();
    handler_thread = ::GetCurrentThreadId();
  };
  inet.RemoteHost(L"127.0.0.1");
  inet.RemotePort(server.port());
  const int threads_before = ThreadsOfThisProcess();
  inet.Execute(inet.URL(), L"POST", "\r\n\r\n&XMLDATA=x", L"Content-type: application/x-www-form-urlencoded\r\n");
  EXPECT_TRUE(inet.StillExecuting()) << "Execute returns while the transfer goes on";
  ::Sleep(300);
  EXPECT_TRUE(states.empty()) << "states arrive only while the thread pumps messages";
  testing_win::PumpUntil([&] { return !inet.StillExecuting(); }, 10000);
  ASSERT_EQ(states, std::vector<int>{Inet::icError});
  EXPECT_TRUE(executing_in_handler) << "still executing while the handler runs";
  EXPECT_EQ(handler_thread, ::GetCurrentThreadId());
  EXPECT_FALSE(inet.StillExecuting());
  EXPECT_EQ(inet.GetChunk(512), L"") << "an error leaves no reply to read";
  // The worker, still waiting on the mute server, gives up by itself shortly after.
  for (int i = 0; i < 100 && ThreadsOfThisProcess() > threads_before; ++i) ::Sleep(50);
  EXPECT_EQ(ThreadsOfThisProcess(), threads_before) << "the transfer's worker is left hanging";
}
