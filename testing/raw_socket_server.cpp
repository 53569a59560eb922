#include "testing/raw_socket_server.h"

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

namespace vardelle::testing {
namespace {

// The few socket calls that differ between Winsock and POSIX.
#ifdef _WIN32
using Native = SOCKET;
const RawSocket kNoSocket = static_cast<RawSocket>(INVALID_SOCKET);

bool StartSockets() {
  WSADATA data{};
  return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}
void EndSockets() { ::WSACleanup(); }

Native NativeOf(RawSocket socket) { return static_cast<Native>(socket); }
void Close(RawSocket socket) { ::closesocket(NativeOf(socket)); }

long SendSome(RawSocket socket, const char* data, std::size_t size) {
  return ::send(NativeOf(socket), data, static_cast<int>(size), 0);
}

long ReceiveSome(RawSocket socket, char* buffer, std::size_t size) {
  return ::recv(NativeOf(socket), buffer, static_cast<int>(size), 0);
}

bool WaitReadable(RawSocket socket, int milliseconds) {
  WSAPOLLFD waiting{NativeOf(socket), POLLIN, 0};
  return ::WSAPoll(&waiting, 1, milliseconds) > 0;
}

std::size_t QueuedBytes(RawSocket socket) {
  u_long queued = 0;
  return ::ioctlsocket(NativeOf(socket), FIONREAD, &queued) == 0 ? queued : 0;
}

void LimitReceiveWait(RawSocket socket, std::chrono::seconds limit) {
  const DWORD milliseconds = static_cast<DWORD>(limit.count() * 1000);
  ::setsockopt(NativeOf(socket), SOL_SOCKET, SO_RCVTIMEO,
               reinterpret_cast<const char*>(&milliseconds), sizeof milliseconds);
}

void SetAbortiveClose(RawSocket socket) {
  const linger abortive{1, 0};
  ::setsockopt(NativeOf(socket), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abortive),
               sizeof abortive);
}
#else
using Native = int;
const RawSocket kNoSocket = static_cast<RawSocket>(-1);

bool StartSockets() { return false; }
void EndSockets() {}

Native NativeOf(RawSocket socket) { return static_cast<Native>(socket); }
void Close(RawSocket socket) { ::close(NativeOf(socket)); }

long SendSome(RawSocket socket, const char* data, std::size_t size) {
  return ::send(NativeOf(socket), data, size, MSG_NOSIGNAL);
}

long ReceiveSome(RawSocket socket, char* buffer, std::size_t size) {
  return ::recv(NativeOf(socket), buffer, size, 0);
}

bool WaitReadable(RawSocket socket, int milliseconds) {
  pollfd waiting{NativeOf(socket), POLLIN, 0};
  return ::poll(&waiting, 1, milliseconds) > 0;
}

std::size_t QueuedBytes(RawSocket socket) {
  int queued = 0;
  return ::ioctl(NativeOf(socket), FIONREAD, &queued) == 0 ? static_cast<std::size_t>(queued) : 0;
}

void LimitReceiveWait(RawSocket socket, std::chrono::seconds limit) {
  const timeval wait{static_cast<time_t>(limit.count()), 0};
  ::setsockopt(NativeOf(socket), SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
}

void SetAbortiveClose(RawSocket socket) {
  const linger abortive{1, 0};
  ::setsockopt(NativeOf(socket), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
}
#endif

RawSocket Accept(RawSocket listener) {
  const Native accepted = ::accept(NativeOf(listener), nullptr, nullptr);
  return static_cast<RawSocket>(accepted);
}

// A listener on 127.0.0.1 at a free port; kNoSocket and port 0 when that fails.
RawSocket Listen(int& port) {
  const RawSocket listener = static_cast<RawSocket>(::socket(AF_INET, SOCK_STREAM, 0));
  if (listener == kNoSocket) return kNoSocket;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(NativeOf(listener), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(NativeOf(listener), 16) != 0 ||
      ::getsockname(NativeOf(listener), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    Close(listener);
    return kNoSocket;
  }
  port = ntohs(address.sin_port);
  return listener;
}

}  // namespace

bool RawConnection::Send(const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const long n = SendSome(socket_, bytes.data() + sent, bytes.size() - sent);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

void RawConnection::Hold(std::chrono::milliseconds duration) {
  const auto deadline = std::chrono::steady_clock::now() + duration;
  while (!stopping_ && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::size_t RawConnection::Unread() const { return QueuedBytes(socket_); }

void RawConnection::Reset() { SetAbortiveClose(socket_); }

RawSocketServer::RawSocketServer(Script script)
    : socketsStarted_(StartSockets()), script_(std::move(script)), listener_(Listen(port_)) {
  if (listener_ != kNoSocket) thread_ = std::thread([this] { Serve(); });
}

RawSocketServer::~RawSocketServer() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
  if (listener_ != kNoSocket) Close(listener_);
  if (socketsStarted_) EndSockets();
}

std::vector<std::string> RawSocketServer::Requests() {
  std::lock_guard guard(mutex_);
  return requests_;
}

void RawSocketServer::Serve() {
  while (!stopping_) {
    if (!WaitReadable(listener_, 20)) continue;
    const RawSocket accepted = Accept(listener_);
    if (accepted == kNoSocket) continue;
    ++connections_;
    Answer(accepted);
    Close(accepted);
  }
}

void RawSocketServer::Answer(RawSocket socket) {
  LimitReceiveWait(socket, kServerWaitLimit);
  std::string head;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
    const long n = ReceiveSome(socket, buffer, sizeof buffer);
    if (n <= 0) return;
    head.append(buffer, static_cast<std::size_t>(n));
  }
  {
    std::lock_guard guard(mutex_);
    requests_.push_back(head);
  }
  RawConnection connection(socket, stopping_);
  script_(connection);
}

}  // namespace vardelle::testing
