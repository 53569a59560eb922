// A server on 127.0.0.1 whose answers are scripted byte by byte, for what an HTTP server
// library cannot send (no length, a cut-off body, a reset, silence). Its socket calls live
// in the .cpp, so a test that includes this header reads no system header.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "testing/loopback.h"

namespace vardelle::testing {

// A Winsock SOCKET or a POSIX descriptor; both fit.
using RawSocket = std::uintptr_t;

// One accepted connection, handed to the script after the request head was read.
class RawConnection {
 public:
  RawConnection(RawSocket socket, const std::atomic<bool>& stopping)
      : socket_(socket), stopping_(stopping) {}

  bool Send(const std::string& bytes);
  // Keeps the connection open and silent for up to `duration`, less when the server stops.
  void Hold(std::chrono::milliseconds duration);
  // Bytes the peer sent that the script has not read: what the kernel took in for us.
  std::size_t Unread() const;
  // Drops the connection with a reset rather than an orderly close.
  void Reset();

 private:
  RawSocket socket_;
  const std::atomic<bool>& stopping_;
};

class RawSocketServer {
 public:
  using Script = std::function<void(RawConnection&)>;

  explicit RawSocketServer(Script script);
  ~RawSocketServer();
  RawSocketServer(const RawSocketServer&) = delete;
  RawSocketServer& operator=(const RawSocketServer&) = delete;

  int Port() const { return port_; }
  std::string Url(const std::string& path) const { return LoopbackUrl("http", port_, path); }
  int Connections() const { return connections_; }
  std::vector<std::string> Requests();

 private:
  void Serve();
  void Answer(RawSocket socket);

  bool socketsStarted_ = false;  // Winsock's count of users: first in, last out
  Script script_;
  int port_ = 0;  // before the listener, which sets it
  RawSocket listener_;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace vardelle::testing
