// Servers on 127.0.0.1 that a test starts for itself: an httplib server on a free port, and
// a raw socket server whose answers are scripted byte by byte for what httplib cannot send
// (no length, a cut-off body, a reset, silence).
#pragma once

#include <httplib.h>
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace vardelle::testing {

// Bounds every wait of the servers, so a broken client never hangs a test.
inline constexpr auto kServerWaitLimit = std::chrono::seconds(10);

inline std::string LoopbackUrl(const std::string& scheme, int port, const std::string& path,
                               const std::string& address = "127.0.0.1") {
  return scheme + "://" + address + ":" + std::to_string(port) + path;
}

// The few socket calls of the raw server that differ between Winsock and POSIX.
namespace raw_socket {

#ifdef _WIN32
using Socket = SOCKET;
inline constexpr Socket kNone = INVALID_SOCKET;

// Winsock counts its users; each raw server is one for its lifetime.
class Session {
 public:
  Session() { started_ = ::WSAStartup(MAKEWORD(2, 2), &data_) == 0; }
  ~Session() {
    if (started_) ::WSACleanup();
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

 private:
  WSADATA data_{};
  bool started_ = false;
};

inline void Close(Socket socket) { ::closesocket(socket); }

inline long SendSome(Socket socket, const char* data, std::size_t size) {
  return ::send(socket, data, static_cast<int>(size), 0);
}

inline long ReceiveSome(Socket socket, char* buffer, std::size_t size) {
  return ::recv(socket, buffer, static_cast<int>(size), 0);
}

inline bool WaitReadable(Socket socket, int milliseconds) {
  WSAPOLLFD waiting{socket, POLLIN, 0};
  return ::WSAPoll(&waiting, 1, milliseconds) > 0;
}

inline std::size_t QueuedBytes(Socket socket) {
  u_long queued = 0;
  return ::ioctlsocket(socket, FIONREAD, &queued) == 0 ? queued : 0;
}

inline void LimitReceiveWait(Socket socket, std::chrono::seconds limit) {
  const DWORD milliseconds = static_cast<DWORD>(limit.count() * 1000);
  ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&milliseconds),
               sizeof milliseconds);
}

inline void SetAbortiveClose(Socket socket) {
  const linger abortive{1, 0};
  ::setsockopt(socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abortive),
               sizeof abortive);
}
#else
using Socket = int;
inline constexpr Socket kNone = -1;

struct Session {};

inline void Close(Socket socket) { ::close(socket); }

inline long SendSome(Socket socket, const char* data, std::size_t size) {
  return ::send(socket, data, size, MSG_NOSIGNAL);
}

inline long ReceiveSome(Socket socket, char* buffer, std::size_t size) {
  return ::recv(socket, buffer, size, 0);
}

inline bool WaitReadable(Socket socket, int milliseconds) {
  pollfd waiting{socket, POLLIN, 0};
  return ::poll(&waiting, 1, milliseconds) > 0;
}

inline std::size_t QueuedBytes(Socket socket) {
  int queued = 0;
  return ::ioctl(socket, FIONREAD, &queued) == 0 ? static_cast<std::size_t>(queued) : 0;
}

inline void LimitReceiveWait(Socket socket, std::chrono::seconds limit) {
  const timeval wait{static_cast<time_t>(limit.count()), 0};
  ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
}

inline void SetAbortiveClose(Socket socket) {
  const linger abortive{1, 0};
  ::setsockopt(socket, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
}
#endif

}  // namespace raw_socket

// Handlers are registered on Server() before Start().
class LoopbackHttpServer {
 public:
  explicit LoopbackHttpServer(
      std::unique_ptr<httplib::Server> server = std::make_unique<httplib::Server>())
      : server_(std::move(server)) {}
  ~LoopbackHttpServer() {
    server_->stop();
    if (thread_.joinable()) thread_.join();
  }

  httplib::Server& Server() { return *server_; }

  // False when the server could not listen; the test should then fail. Another loopback
  // address than 127.0.0.1 lets a test tell two sites apart by address.
  bool Start(const std::string& address = "127.0.0.1") {
    address_ = address;
    port_ = server_->bind_to_any_port(address);
    if (port_ <= 0) return false;
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only reaches a server that is already running.
    const auto deadline = std::chrono::steady_clock::now() + kServerWaitLimit;
    while (!server_->is_running() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return server_->is_running();
  }

  int Port() const { return port_; }
  std::string Url(const std::string& path, const std::string& scheme = "http") const {
    return LoopbackUrl(scheme, port_, path, address_);
  }

 private:
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  std::string address_;
  int port_ = 0;
};

// One accepted connection, handed to the script after the request head was read.
class RawConnection {
 public:
  RawConnection(raw_socket::Socket fd, const std::atomic<bool>& stopping)
      : fd_(fd), stopping_(stopping) {}

  bool Send(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      const long n = raw_socket::SendSome(fd_, bytes.data() + sent, bytes.size() - sent);
      if (n <= 0) return false;
      sent += static_cast<std::size_t>(n);
    }
    return true;
  }

  // Keeps the connection open and silent for up to `duration`, less when the server stops.
  void Hold(std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    while (!stopping_ && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  // Bytes the peer sent that the script has not read: what the kernel took in for us.
  std::size_t Unread() const { return raw_socket::QueuedBytes(fd_); }

  // Drops the connection with a reset rather than an orderly close.
  void Reset() { raw_socket::SetAbortiveClose(fd_); }

 private:
  raw_socket::Socket fd_;
  const std::atomic<bool>& stopping_;
};

class RawSocketServer {
 public:
  using Script = std::function<void(RawConnection&)>;

  explicit RawSocketServer(Script script) : script_(std::move(script)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ == raw_socket::kNone ||
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener_, 16) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~RawSocketServer() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ != raw_socket::kNone) raw_socket::Close(listener_);
  }

  int Port() const { return port_; }
  std::string Url(const std::string& path) const { return LoopbackUrl("http", port_, path); }
  int Connections() const { return connections_; }
  std::vector<std::string> Requests() {
    std::lock_guard guard(mutex_);
    return requests_;
  }

 private:
  void Serve() {
    while (!stopping_) {
      if (!raw_socket::WaitReadable(listener_, 20)) continue;
      const raw_socket::Socket fd = ::accept(listener_, nullptr, nullptr);
      if (fd == raw_socket::kNone) continue;
      ++connections_;
      Answer(fd);
      raw_socket::Close(fd);
    }
  }

  void Answer(raw_socket::Socket fd) {
    raw_socket::LimitReceiveWait(fd, kServerWaitLimit);
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
      const long n = raw_socket::ReceiveSome(fd, buffer, sizeof buffer);
      if (n <= 0) return;
      head.append(buffer, static_cast<std::size_t>(n));
    }
    {
      std::lock_guard guard(mutex_);
      requests_.push_back(head);
    }
    RawConnection connection(fd, stopping_);
    script_(connection);
  }

  raw_socket::Session session_;  // first in, last out: Winsock outlives the sockets
  Script script_;
  raw_socket::Socket listener_ = raw_socket::kNone;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

#ifndef _WIN32
// A self-signed certificate for 127.0.0.1 and its key, made with the openssl tool in a
// fresh temporary directory; Ready() is false when that is not possible. For the TLS
// servers, which only the Linux build's httplib offers (with OpenSSL).
class SelfSignedCertificate {
 public:
  SelfSignedCertificate() {
    char pattern[] = "/tmp/vardelle-tls-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return;
    directory_ = pattern;
    const std::string command =
        "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1"
        " -addext subjectAltName=IP:127.0.0.1 -keyout " +
        Key() + " -out " + Certificate() + " >/dev/null 2>&1";
    ready_ = std::system(command.c_str()) == 0;
  }
  ~SelfSignedCertificate() {
    if (directory_.empty()) return;
    ::unlink(Certificate().c_str());
    ::unlink(Key().c_str());
    ::rmdir(directory_.c_str());
  }
  SelfSignedCertificate(const SelfSignedCertificate&) = delete;
  SelfSignedCertificate& operator=(const SelfSignedCertificate&) = delete;

  bool Ready() const { return ready_; }
  std::string Certificate() const { return directory_ + "/cert.pem"; }
  std::string Key() const { return directory_ + "/key.pem"; }

 private:
  std::string directory_;
  bool ready_ = false;
};

#endif

// Proxy settings in the environment would send test traffic elsewhere; loopback goes direct.
inline void KeepLoopbackTrafficDirect() {
#ifdef _WIN32
  ::_putenv_s("no_proxy", "127.0.0.1,127.0.0.2");
#else
  ::setenv("no_proxy", "127.0.0.1,127.0.0.2", 1);
#endif
}

}  // namespace vardelle::testing
