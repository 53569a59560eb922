#include "runtime/linux/icmp_engine_linux.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/errqueue.h>
#include <linux/icmp.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "runtime/linux/unique_fd.h"
#include "runtime/probes/echo_request_table.h"
#include "runtime/probes/internet_checksum.h"
#include "runtime/probes/send_pacer.h"
#include "runtime/probes/submission_inbox.h"

namespace vardelle {

namespace {

using std::chrono::steady_clock;
using std::chrono::system_clock;

constexpr std::size_t kIcmpHeaderSize = 8;
constexpr std::size_t kMinIpv4HeaderSize = 20;
constexpr std::uint8_t kIcmpProtocol = 1;
constexpr std::uint8_t kEchoReply = 0;
constexpr std::uint8_t kEchoRequest = 8;
// Room for the part of an ICMP error about one of our requests that names the request, as a
// raw socket delivers it: the outer IPv4 header with options, the ICMP header, the quoted
// header with options and the quoted echo header. A longer error (RFC 4884 extensions, a
// longer quote) is cut, and still matched by that part.
constexpr std::size_t kPacketBufferSize = 60 + 8 + 60 + 8;
constexpr std::size_t kReceiveBatch = 64;
constexpr int kReceiveBufferBytes = 4 << 20;  // a burst of thousands of replies fits
constexpr int kMaxReadsPerWakeup = 256;       // then poll again, so stopping is never starved
// A request whose packet an interface may have dropped is sent again at most this often: an
// interface that drops everything must not hold its requests back for ever.
constexpr int kMostResends = 5;

std::uint16_t ReadBigEndian16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

Ipv4Address ReadAddress(std::span<const std::uint8_t> bytes, std::size_t at) {
  Ipv4Address address;
  std::memcpy(&address, bytes.data() + at, sizeof address);
  return address;
}

// The ICMP message inside an IPv4 packet, or an empty span when it is not one.
std::span<const std::uint8_t> IcmpPayloadOfIpv4(std::span<const std::uint8_t> packet) {
  if (packet.size() < kMinIpv4HeaderSize || (packet[0] >> 4) != 4 || packet[9] != kIcmpProtocol) {
    return {};
  }
  const std::size_t headerSize = (packet[0] & 0x0fu) * 4u;
  if (headerSize < kMinIpv4HeaderSize || headerSize > packet.size()) {
    return {};
  }
  return packet.subspan(headerSize);
}

struct EchoHeader {
  std::uint8_t type;
  std::uint16_t identifier;
  std::uint16_t sequence;
};

std::optional<EchoHeader> ReadEchoHeader(std::span<const std::uint8_t> icmp) {
  if (icmp.size() < kIcmpHeaderSize) {
    return std::nullopt;
  }
  return EchoHeader{icmp[0], ReadBigEndian16(icmp, 4), ReadBigEndian16(icmp, 6)};
}

bool IsErrorAboutAPacket(std::uint8_t icmpType) {
  return icmpType == ICMP_DEST_UNREACH || icmpType == ICMP_SOURCE_QUENCH ||
         icmpType == ICMP_TIME_EXCEEDED || icmpType == ICMP_PARAMETERPROB;
}

std::array<std::uint8_t, kIcmpHeaderSize> EchoRequestPacket(std::uint16_t identifier,
                                                            std::uint16_t sequence) {
  std::array<std::uint8_t, kIcmpHeaderSize> packet = {kEchoRequest,
                                                      0,
                                                      0,
                                                      0,
                                                      static_cast<std::uint8_t>(identifier >> 8),
                                                      static_cast<std::uint8_t>(identifier),
                                                      static_cast<std::uint8_t>(sequence >> 8),
                                                      static_cast<std::uint8_t>(sequence)};
  const std::uint16_t checksum = InternetChecksum(packet);
  packet[2] = static_cast<std::uint8_t>(checksum >> 8);
  packet[3] = static_cast<std::uint8_t>(checksum);
  return packet;
}

std::string ErrorDescription(int error) {
  const char* description = strerrordesc_np(error);  // English whatever the locale
  return description != nullptr ? description : "error " + std::to_string(error);
}

std::string SocketRefusal(IcmpSocketKind kind, int error) {
  if (error != EACCES && error != EPERM) {
    return std::string(kind == IcmpSocketKind::kDatagram ? "datagram" : "raw") +
           " ICMP socket failed: " + ErrorDescription(error);
  }
  return kind == IcmpSocketKind::kDatagram
             ? "unprivileged ICMP is off for this group (allow it: sysctl -w "
               "net.ipv4.ping_group_range=\"0 2147483647\")"
             // Only the small probe program may hold the capability: never the window.
             : "raw ICMP needs root or CAP_NET_RAW (as root: setcap cap_net_raw+ep on "
               "vardelle-ping)";
}

// Distinct per raw engine of this process and unlike other processes' ping identifiers.
std::uint16_t NextRawIdentifier() {
  static std::atomic<unsigned> enginesStarted{0};
  return static_cast<std::uint16_t>(static_cast<unsigned>(getpid()) ^ (++enginesStarted << 11));
}

void EnlargeReceiveBuffer(int socket) {
  // The forced variant passes the system's ceiling for privileged processes; others get
  // what that ceiling allows.
  if (setsockopt(socket, SOL_SOCKET, SO_RCVBUFFORCE, &kReceiveBufferBytes,
                 sizeof kReceiveBufferBytes) != 0) {
    setsockopt(socket, SOL_SOCKET, SO_RCVBUF, &kReceiveBufferBytes, sizeof kReceiveBufferBytes);
  }
}

// A raw ICMP socket would otherwise hand over every ping the host sends and answers.
void KeepOnlyRepliesAndErrors(int socket) {
  icmp_filter filter{};
  filter.data = ~((1u << ICMP_ECHOREPLY) | (1u << ICMP_DEST_UNREACH) | (1u << ICMP_SOURCE_QUENCH) |
                  (1u << ICMP_TIME_EXCEEDED) | (1u << ICMP_PARAMETERPROB));
  setsockopt(socket, SOL_RAW, ICMP_FILTER, &filter, sizeof filter);
}

void ConfigureSocket(int socket, IcmpSocketKind kind) {
  const int on = 1;
  setsockopt(socket, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
  EnlargeReceiveBuffer(socket);
  if (kind == IcmpSocketKind::kRaw) {
    KeepOnlyRepliesAndErrors(socket);
  }
  // A datagram socket reports ICMP errors only through its error queue; a raw one, without
  // this, also hides a send that a full interface queue refused (ENOBUFS) as a success.
  setsockopt(socket, IPPROTO_IP, IP_RECVERR, &on, sizeof on);
}

std::optional<system_clock::time_point> KernelStamp(msghdr& message) {
  for (cmsghdr* control = CMSG_FIRSTHDR(&message); control != nullptr;
       control = CMSG_NXTHDR(&message, control)) {
    if (control->cmsg_level == SOL_SOCKET && control->cmsg_type == SCM_TIMESTAMPNS) {
      timespec stamp;
      std::memcpy(&stamp, CMSG_DATA(control), sizeof stamp);
      return system_clock::time_point(std::chrono::duration_cast<system_clock::duration>(
          std::chrono::seconds(stamp.tv_sec) + std::chrono::nanoseconds(stamp.tv_nsec)));
    }
  }
  return std::nullopt;
}

// Buffers for reading many packets with one system call; only the receive thread uses them.
struct ReceiveBatch {
  struct Slot {
    std::array<std::uint8_t, kPacketBufferSize> data;
    alignas(cmsghdr) std::array<std::uint8_t, CMSG_SPACE(sizeof(timespec))> control;
    sockaddr_in from;
    iovec buffer;
  };
  std::array<Slot, kReceiveBatch> slots;
  std::array<mmsghdr, kReceiveBatch> headers;

  // Resets the headers that the last read changed; returns how many to ask for.
  unsigned Prepare() {
    for (std::size_t i = 0; i < kReceiveBatch; ++i) {
      Slot& slot = slots[i];
      slot.buffer = {slot.data.data(), slot.data.size()};
      headers[i] = {};
      headers[i].msg_hdr.msg_name = &slot.from;
      headers[i].msg_hdr.msg_namelen = sizeof slot.from;
      headers[i].msg_hdr.msg_iov = &slot.buffer;
      headers[i].msg_hdr.msg_iovlen = 1;
      headers[i].msg_hdr.msg_control = slot.control.data();
      headers[i].msg_hdr.msg_controllen = slot.control.size();
    }
    return kReceiveBatch;
  }
};

// How long the engine's thread may sleep before its next duty.
std::optional<timespec> WaitLimit(std::optional<steady_clock::time_point> until) {
  if (!until) return std::nullopt;
  const auto left =
      std::max(std::chrono::nanoseconds(0),
               std::chrono::ceil<std::chrono::nanoseconds>(*until - steady_clock::now()));
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
  return timespec{static_cast<time_t>(seconds.count()),
                  static_cast<long>((left - seconds).count())};
}

// The transmit drops of every interface of the network namespace the engine was started in
// (/proc/thread-self/net/dev, kept open and read again from its start); nothing when the
// table cannot be read, and then no drop is ever noticed.
class TransmitDrops {
 public:
  TransmitDrops() : file_(open("/proc/thread-self/net/dev", O_RDONLY | O_CLOEXEC)) {}

  std::optional<std::uint64_t> Read() {
    if (file_.get() < 0) return std::nullopt;
    text_.clear();
    std::array<char, 4096> chunk;
    for (off_t at = 0;;) {
      const ssize_t size = pread(file_.get(), chunk.data(), chunk.size(), at);
      if (size < 0 && errno == EINTR) continue;
      if (size < 0) return std::nullopt;
      if (size == 0) break;
      text_.append(chunk.data(), static_cast<std::size_t>(size));
      at += size;
    }
    return SumTransmitDrops(text_);
  }

 private:
  UniqueFd file_;
  std::string text_;  // kept, so that reading allocates only the first time
};

// The engine's thread, each turn: wait for the socket, a submission or the next deadline;
// read every reply and error that arrived; take the new submissions; send what is queued;
// end the requests whose deadline has passed. Replies are read before deadlines are
// expired, so one that came in time always counts.
// Requests go out in order, paced by a SendPacer. A request's deadline counts from the
// moment it is sent, so waiting for its turn never shortens its time-out. A send the socket
// refuses for want of buffer space stays first in the queue for the next window; refused for
// its whole time-out since the first refusal, it ends unanswered. After each window the
// interfaces' drop count is read again: when it grew, the window's packets may have been
// dropped, and each of its requests still waiting is taken back and sent again (at most
// kMostResends times) with a fresh sequence number, so that a reply to the first copy is not
// taken for one to the second. The replies that did come in for a copy taken back are lost,
// and cost nothing but a second echo to that host.
class LinuxIcmpEngine final : public IcmpEngine {
 public:
  LinuxIcmpEngine(UniqueFd socket, UniqueFd wakeup, IcmpSocketKind kind)
      : socket_(std::move(socket)),
        wakeup_(std::move(wakeup)),
        kind_(kind),
        identifier_(kind == IcmpSocketKind::kRaw ? NextRawIdentifier() : 0),
        thread_([this] { Run(); }) {}

  ~LinuxIcmpEngine() override {
    inbox_.Close();
    Wake();
    thread_.join();
  }

  void Send(Ipv4Address address, std::chrono::milliseconds timeout, EchoDone done) override {
    auto posted = inbox_.Post(
        {address, std::max(timeout, std::chrono::milliseconds(0)), std::move(done), 0, {}});
    CallEchoDone(posted.refused, std::nullopt);  // the engine is stopping: nothing goes out
    if (posted.wake) Wake();
  }

 private:
  struct Submission {
    Ipv4Address address;
    std::chrono::milliseconds timeout;
    EchoDone done;
    int resends = 0;
    std::optional<steady_clock::time_point> firstRefused;
  };
  // A request of the current window, in case its packet turns out to have been dropped.
  struct WentOut {
    std::uint16_t sequence;
    Ipv4Address address;
    std::chrono::milliseconds timeout;
    int resends;
  };
  enum class SendResult { kSent, kBlocked, kEnded };

  void Wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(wakeup_.get(), &one, sizeof one);
  }

  void Run() {
    ReceiveBatch batch;
    for (;;) {
      WaitForWork(batch);
      if (!TakeSubmissions()) break;
      SendQueued();
      requests_.ExpireDue(steady_clock::now());
    }
    requests_.FailAll();
    for (Submission& submission : queued_) CallEchoDone(submission.done, std::nullopt);
  }

  void WaitForWork(ReceiveBatch& batch) {
    std::optional<steady_clock::time_point> until = requests_.NextDeadline();
    if (!queued_.empty()) {
      until = std::min(until.value_or(pacer_.NextWindow()), pacer_.NextWindow());
    }
    const std::optional<timespec> limit = WaitLimit(until);
    std::array<pollfd, 2> watched = {pollfd{socket_.get(), POLLIN, 0},
                                     pollfd{wakeup_.get(), POLLIN, 0}};
    if (ppoll(watched.data(), watched.size(), limit ? &*limit : nullptr, nullptr) <= 0) {
      return;  // time is up, or interrupted
    }
    if (watched[1].revents != 0) {
      std::uint64_t count = 0;
      [[maybe_unused]] const auto read = ::read(wakeup_.get(), &count, sizeof count);
    }
    if ((watched[0].revents & POLLERR) != 0) {
      ReadErrorQueue();
    }
    // Also on POLLERR alone: a raw socket's pending error is cleared by a normal read.
    if (watched[0].revents != 0) {
      ReadPackets(batch);
    }
  }

  // False once the engine is stopping; the submissions then end with the rest.
  bool TakeSubmissions() {
    SubmissionInbox<Submission>::Taken taken = inbox_.TakeAll();
    for (Submission& submission : taken.submissions) queued_.push_back(std::move(submission));
    return !taken.closed;
  }

  // Sends one window's worth of the queue, if a window is open.
  void SendQueued() {
    const auto now = steady_clock::now();
    const std::size_t allowance = queued_.empty() ? 0 : pacer_.Allowance(now);
    if (allowance == 0) return;
    const std::optional<std::uint64_t> dropsBefore = drops_.Read();
    wentOut_.clear();
    bool refused = false;
    while (!queued_.empty() && wentOut_.size() < allowance && !refused) {
      Submission& next = queued_.front();
      const SendResult result = SendOne(next);
      refused = result == SendResult::kBlocked;
      if (refused && !GiveUp(next, now)) break;
      queued_.pop_front();
    }
    pacer_.Spent(wentOut_.size());
    const std::optional<std::uint64_t> dropsAfter = wentOut_.empty() ? dropsBefore : drops_.Read();
    if (dropsBefore && dropsAfter && *dropsAfter > *dropsBefore) {
      SendAgainWhatIsStillWaiting();
      refused = true;
    }
    if (refused) pacer_.Troubled();
  }

  // Whether a refused request has been refused for its whole time-out (then it has ended).
  static bool GiveUp(Submission& refused, steady_clock::time_point now) {
    if (!refused.firstRefused) refused.firstRefused = now;
    if (now - *refused.firstRefused < refused.timeout) return false;
    CallEchoDone(refused.done, std::nullopt);
    return true;
  }

  // The window's requests still waiting go back to the front of the queue, in their order.
  void SendAgainWhatIsStillWaiting() {
    for (auto it = wentOut_.rbegin(); it != wentOut_.rend(); ++it) {
      if (it->resends >= kMostResends) continue;
      EchoDone done = requests_.Withdraw(it->sequence);
      if (done) {
        queued_.push_front({it->address, it->timeout, std::move(done), it->resends + 1, {}});
      }
    }
  }

  SendResult SendOne(Submission& submission) {
    const auto deadline = steady_clock::now() + submission.timeout;
    const std::optional<std::uint16_t> sequence =
        requests_.Enter(submission.address, deadline, submission.done);
    if (!sequence) {
      CallEchoDone(submission.done, std::nullopt);
      return SendResult::kEnded;
    }
    const SendResult result =
        SendPacket(EchoRequestPacket(identifier_, *sequence), submission.address, *sequence);
    if (result == SendResult::kSent) {
      wentOut_.push_back({*sequence, submission.address, submission.timeout, submission.resends});
    } else {
      submission.done = requests_.Withdraw(*sequence);
      if (result == SendResult::kEnded) CallEchoDone(submission.done, std::nullopt);
    }
    return result;
  }

  SendResult SendPacket(std::span<const std::uint8_t> packet, Ipv4Address address,
                        std::uint16_t sequence) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    bool retriedAfterError = false;
    for (;;) {
      const SendStamp stamp{steady_clock::now(), system_clock::now()};
      if (sendto(socket_.get(), packet.data(), packet.size(), MSG_DONTWAIT,
                 reinterpret_cast<const sockaddr*>(&to),
                 sizeof to) == static_cast<ssize_t>(packet.size())) {
        requests_.MarkSent(sequence, stamp);
        return SendResult::kSent;
      }
      if (errno == EINTR) {
        continue;
      }
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == ENOBUFS) {
        return SendResult::kBlocked;
      }
      // An ICMP error about another request leaves its code on the shared socket, and the
      // next send, whoever makes it, reports it once. A real fault of this send repeats.
      if (retriedAfterError) {
        return SendResult::kEnded;
      }
      retriedAfterError = true;
    }
  }

  void ReadPackets(ReceiveBatch& batch) {
    for (int reads = 0; reads < kMaxReadsPerWakeup; ++reads) {
      const int count =
          recvmmsg(socket_.get(), batch.headers.data(), batch.Prepare(), MSG_DONTWAIT, nullptr);
      if (count < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
          return;
        }
        continue;  // a pending socket error, reported once and cleared by this read
      }
      const auto arrived = steady_clock::now();
      const auto arrivedWall = system_clock::now();
      for (int i = 0; i < count; ++i) {
        msghdr& header = batch.headers[i].msg_hdr;
        // msg_len is the datagram's whole length even when the buffer held less of it.
        const std::span<const std::uint8_t> bytes(
            batch.slots[i].data.data(),
            std::min<std::size_t>(batch.headers[i].msg_len, batch.slots[i].data.size()));
        Dispatch(bytes, (header.msg_flags & MSG_TRUNC) != 0, batch.slots[i].from.sin_addr.s_addr,
                 {arrived, arrivedWall, KernelStamp(header)});
      }
      if (static_cast<std::size_t>(count) < kReceiveBatch) {
        return;
      }
    }
  }

  // A cut datagram can only be an ICMP error: an echo reply to one of our requests is as
  // short as the request, and its checksum could not be checked. A cut error still names
  // its request in the part that is there.
  void Dispatch(std::span<const std::uint8_t> bytes, bool cut, Ipv4Address from,
                const ReceiveStamp& stamp) {
    // A raw socket delivers the IPv4 header too, and the kernel has not checked the ICMP
    // checksum yet when it does: raw delivery comes before ICMP's own checks.
    const std::span<const std::uint8_t> icmp =
        kind_ == IcmpSocketKind::kRaw ? IcmpPayloadOfIpv4(bytes) : bytes;
    const std::optional<EchoHeader> header = ReadEchoHeader(icmp);
    if (!header) {
      return;
    }
    if (header->type == kEchoReply) {
      if (!cut && IsOurs(*header) &&
          (kind_ != IcmpSocketKind::kRaw || InternetChecksum(icmp) == 0)) {
        requests_.Answer(header->sequence, from, stamp);
      }
    } else if (kind_ == IcmpSocketKind::kRaw && IsErrorAboutAPacket(header->type)) {
      FailQuotedRequest(icmp.subspan(kIcmpHeaderSize));
    }
  }

  // A datagram socket receives only replies carrying its identifier; a raw one receives
  // everybody's, and ours carry the identifier this engine chose.
  bool IsOurs(const EchoHeader& header) const {
    return kind_ == IcmpSocketKind::kDatagram || header.identifier == identifier_;
  }

  // An ICMP error quotes the IPv4 header and the first 8 bytes of the packet it is about.
  void FailQuotedRequest(std::span<const std::uint8_t> quotedPacket) {
    const std::optional<EchoHeader> quoted = ReadEchoHeader(IcmpPayloadOfIpv4(quotedPacket));
    if (quoted && quoted->type == kEchoRequest && IsOurs(*quoted)) {
      requests_.Fail(quoted->sequence, ReadAddress(quotedPacket, 16));
    }
  }

  // The error queue holds each failed request as it was sent (its echo header) and names
  // the destination it was sent to.
  void ReadErrorQueue() {
    for (int reads = 0; reads < kMaxReadsPerWakeup; ++reads) {
      std::array<std::uint8_t, kIcmpHeaderSize> sentHeader{};
      alignas(cmsghdr) std::array<std::uint8_t, 256> control{};
      sockaddr_in destination{};
      iovec buffer{sentHeader.data(), sentHeader.size()};
      msghdr message{};
      message.msg_name = &destination;
      message.msg_namelen = sizeof destination;
      message.msg_iov = &buffer;
      message.msg_iovlen = 1;
      message.msg_control = control.data();
      message.msg_controllen = control.size();
      const ssize_t length = recvmsg(socket_.get(), &message, MSG_ERRQUEUE | MSG_DONTWAIT);
      if (length < 0) {
        return;
      }
      const std::optional<EchoHeader> sent =
          ReadEchoHeader(std::span(sentHeader.data(), static_cast<std::size_t>(length)));
      if (sent && sent->type == kEchoRequest) {
        requests_.Fail(sent->sequence, destination.sin_addr.s_addr);
      }
    }
  }

  const UniqueFd socket_;
  const UniqueFd wakeup_;
  const IcmpSocketKind kind_;
  const std::uint16_t identifier_;  // raw sockets only; the kernel sets it on datagram ones
  SubmissionInbox<Submission> inbox_;
  // The engine thread's own: no lock.
  std::deque<Submission> queued_;
  std::vector<WentOut> wentOut_;  // the requests of the last window
  SendPacer pacer_;
  TransmitDrops drops_;
  EchoRequestTable requests_;
  std::thread thread_;  // declared last: it starts once everything it reads is built
};

// The reason, if any, is left bare so that two attempts can be told in one line.
IcmpEngineStart TryToStart(IcmpSocketKind kind) {
  const int type = kind == IcmpSocketKind::kDatagram ? SOCK_DGRAM : SOCK_RAW;
  UniqueFd socket(::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP));
  if (socket.get() < 0) {
    return {nullptr, SocketRefusal(kind, errno)};
  }
  UniqueFd wakeup(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (wakeup.get() < 0) {
    return {nullptr, "no event descriptor: " + ErrorDescription(errno)};
  }
  ConfigureSocket(socket.get(), kind);
  try {
    return {std::make_unique<LinuxIcmpEngine>(std::move(socket), std::move(wakeup), kind), ""};
  } catch (const std::system_error& error) {
    return {nullptr,
            "cannot start the ICMP engine thread: " + ErrorDescription(error.code().value())};
  }
}

IcmpEngineStart Explained(IcmpEngineStart start) {
  if (!start.engine) {
    start.unavailableReason = "Ping unavailable: " + start.unavailableReason;
  }
  return start;
}

}  // namespace

std::optional<std::uint64_t> SumTransmitDrops(std::string_view procNetDev) {
  constexpr int kTransmitDropField = 11;  // after 8 receive figures: bytes, packets, errs, drop
  std::optional<std::uint64_t> sum;
  while (!procNetDev.empty()) {
    const std::size_t lineEnd = std::min(procNetDev.find('\n'), procNetDev.size());
    std::string_view line = procNetDev.substr(0, lineEnd);
    procNetDev.remove_prefix(std::min(lineEnd + 1, procNetDev.size()));
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;  // the two heading lines
    line.remove_prefix(colon + 1);
    std::uint64_t value = 0;
    for (int field = 0; field <= kTransmitDropField; ++field) {
      const std::size_t start = line.find_first_not_of(' ');
      if (start == std::string_view::npos) return std::nullopt;
      const auto [end, error] =
          std::from_chars(line.data() + start, line.data() + line.size(), value);
      if (error != std::errc()) return std::nullopt;
      line.remove_prefix(static_cast<std::size_t>(end - line.data()));
    }
    sum = sum.value_or(0) + value;
  }
  return sum;
}

IcmpEngineStart StartLinuxIcmpEngine(IcmpSocketKind kind) { return Explained(TryToStart(kind)); }

IcmpEngineStart StartLinuxIcmpEngine() {
  IcmpEngineStart datagram = TryToStart(IcmpSocketKind::kDatagram);
  if (datagram.engine) {
    return datagram;
  }
  IcmpEngineStart raw = TryToStart(IcmpSocketKind::kRaw);
  if (raw.engine) {
    return raw;
  }
  return Explained({nullptr, datagram.unavailableReason + "; " + raw.unavailableReason});
}

}  // namespace vardelle
