#include "runtime/linux/icmp_engine_linux.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/errqueue.h>
#include <linux/icmp.h>
#include <netinet/icmp6.h>
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
constexpr std::uint8_t kEcho6Request = 128;
constexpr std::uint8_t kEcho6Reply = 129;
constexpr std::size_t kIpv6HeaderSize = 40;
constexpr std::uint8_t kIcmp6NextHeader = 58;
// Room for the part of an ICMP error about one of our requests that names the request, as a
// raw socket delivers it: the outer IPv4 header with options, the ICMP header, the quoted
// header with options and the quoted echo header. A longer error (RFC 4884 extensions, a
// longer quote) is cut, and still matched by that part.
constexpr std::size_t kPacketBufferSize = 60 + 8 + 60 + 8;
constexpr std::size_t kReceiveBatch = 64;
// Requests handed to the kernel in one call: a few dozen take a fraction of a millisecond, so
// timing them all from the call's start costs little accuracy.
constexpr std::size_t kSendBatch = 32;
constexpr int kReceiveBufferBytes = 4 << 20;  // a burst of thousands of replies fits
constexpr int kMaxReadsPerWakeup = 256;       // then poll again, so stopping is never starved
// How long replies may gather before they are read, once this many requests are waiting.
constexpr std::chrono::microseconds kGatherReplies{250};
constexpr std::size_t kGatherRepliesAbove = 64;
// Far beyond what the kernel takes to turn arrival stamps on, on a loaded machine.
constexpr std::chrono::milliseconds kArrivalStampWait{200};
// A request whose packet an interface may have dropped is sent again at most this often: an
// interface that drops everything must not hold its requests back for ever. Within its first
// kResendGrace after its first send it is sent again however often: a receiver that stalls
// for tens of milliseconds (a busy host) makes every window of that time drop packets.
constexpr int kMostResends = 5;
constexpr std::chrono::milliseconds kResendGrace{250};

std::uint16_t ReadBigEndian16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

using Family = EchoAddress::Family;

Ipv4Address ReadAddress(std::span<const std::uint8_t> bytes, std::size_t at) {
  Ipv4Address address;
  std::memcpy(&address, bytes.data() + at, sizeof address);
  return address;
}

Ipv6Address ReadIpv6Address(std::span<const std::uint8_t> bytes, std::size_t at) {
  Ipv6Address address;
  std::memcpy(address.data(), bytes.data() + at, address.size());
  return address;
}

// The address that a socket address of the family names.
EchoAddress AddressOf(const sockaddr_in6& from, Family family) {
  if (family == Family::kIpv6) {
    Ipv6Address address;
    std::memcpy(address.data(), &from.sin6_addr, address.size());
    return address;
  }
  sockaddr_in from4;
  std::memcpy(&from4, &from, sizeof from4);
  return from4.sin_addr.s_addr;
}

// The socket address to send to address; its size goes with it.
std::pair<sockaddr_in6, socklen_t> SocketAddressOf(const EchoAddress& address) {
  sockaddr_in6 to{};  // room for either family's
  if (address.family == Family::kIpv6) {
    to.sin6_family = AF_INET6;
    std::memcpy(&to.sin6_addr, address.bytes.data(), sizeof to.sin6_addr);
    return {to, sizeof to};
  }
  sockaddr_in to4{};
  to4.sin_family = AF_INET;
  std::memcpy(&to4.sin_addr, address.bytes.data(), sizeof to4.sin_addr);
  std::memcpy(&to, &to4, sizeof to4);
  return {to, sizeof to4};
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

bool IsErrorAboutAPacket(std::uint8_t icmpType, Family family) {
  if (family == Family::kIpv6) {
    return icmpType == ICMP6_DST_UNREACH || icmpType == ICMP6_PACKET_TOO_BIG ||
           icmpType == ICMP6_TIME_EXCEEDED || icmpType == ICMP6_PARAM_PROB;
  }
  return icmpType == ICMP_DEST_UNREACH || icmpType == ICMP_SOURCE_QUENCH ||
         icmpType == ICMP_TIME_EXCEEDED || icmpType == ICMP_PARAMETERPROB;
}

std::uint8_t EchoRequestType(Family family) {
  return family == Family::kIpv6 ? kEcho6Request : kEchoRequest;
}

std::uint8_t EchoReplyType(Family family) {
  return family == Family::kIpv6 ? kEcho6Reply : kEchoReply;
}

// An ICMPv6 checksum covers the IPv6 pseudo-header, which the kernel knows and fills in on
// both kinds of socket; an ICMP one is ours to write.
std::array<std::uint8_t, kIcmpHeaderSize> EchoRequestPacket(Family family, std::uint16_t identifier,
                                                            std::uint16_t sequence) {
  std::array<std::uint8_t, kIcmpHeaderSize> packet = {EchoRequestType(family),
                                                      0,
                                                      0,
                                                      0,
                                                      static_cast<std::uint8_t>(identifier >> 8),
                                                      static_cast<std::uint8_t>(identifier),
                                                      static_cast<std::uint8_t>(sequence >> 8),
                                                      static_cast<std::uint8_t>(sequence)};
  if (family == Family::kIpv4) {
    const std::uint16_t checksum = InternetChecksum(packet);
    packet[2] = static_cast<std::uint8_t>(checksum >> 8);
    packet[3] = static_cast<std::uint8_t>(checksum);
  }
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
void KeepOnlyRepliesAndErrors(int socket, Family family) {
  if (family == Family::kIpv6) {
    icmp6_filter filter;
    ICMP6_FILTER_SETBLOCKALL(&filter);
    for (const int type : {int{kEcho6Reply}, ICMP6_DST_UNREACH, ICMP6_PACKET_TOO_BIG,
                           ICMP6_TIME_EXCEEDED, ICMP6_PARAM_PROB}) {
      ICMP6_FILTER_SETPASS(type, &filter);
    }
    setsockopt(socket, IPPROTO_ICMPV6, ICMP6_FILTER, &filter, sizeof filter);
    return;
  }
  icmp_filter filter{};
  filter.data = ~((1u << ICMP_ECHOREPLY) | (1u << ICMP_DEST_UNREACH) | (1u << ICMP_SOURCE_QUENCH) |
                  (1u << ICMP_TIME_EXCEEDED) | (1u << ICMP_PARAMETERPROB));
  setsockopt(socket, SOL_RAW, ICMP_FILTER, &filter, sizeof filter);
}

void ConfigureSocket(int socket, IcmpSocketKind kind, Family family) {
  const int on = 1;
  setsockopt(socket, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
  EnlargeReceiveBuffer(socket);
  if (kind == IcmpSocketKind::kRaw) {
    KeepOnlyRepliesAndErrors(socket, family);
  }
  // A datagram socket reports ICMP errors only through its error queue; a raw one, without
  // this, also hides a send that a full interface queue refused (ENOBUFS) as a success.
  if (family == Family::kIpv6) {
    setsockopt(socket, IPPROTO_IPV6, IPV6_RECVERR, &on, sizeof on);
  } else {
    setsockopt(socket, IPPROTO_IP, IP_RECVERR, &on, sizeof on);
  }
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

// The kernel stamps a packet on arrival only once some socket of the system has asked for
// stamps, and it turns that on later, from a work queue: until then a packet is stamped when
// it is read, and a reply read late (a loaded machine) would read long by as much. A packet
// sent to itself on loopback tells which: stamped on arrival, its stamp comes before the read
// that follows a pause. False when loopback cannot be used or the wait ran out.
bool AwaitArrivalStamps(std::chrono::milliseconds most) {
  const UniqueFd probe(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  sockaddr_in self{};
  self.sin_family = AF_INET;
  self.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t selfSize = sizeof self;
  const int on = 1;
  if (probe.get() < 0 || bind(probe.get(), reinterpret_cast<sockaddr*>(&self), sizeof self) != 0 ||
      getsockname(probe.get(), reinterpret_cast<sockaddr*>(&self), &selfSize) != 0 ||
      setsockopt(probe.get(), SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on) != 0) {
    return false;
  }
  for (const auto until = steady_clock::now() + most; steady_clock::now() < until;) {
    const char byte = 0;
    if (sendto(probe.get(), &byte, 1, 0, reinterpret_cast<const sockaddr*>(&self), sizeof self) !=
        1) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    char received = 0;
    iovec buffer{&received, 1};
    alignas(cmsghdr) std::array<std::uint8_t, CMSG_SPACE(sizeof(timespec))> control{};
    msghdr message{};
    message.msg_iov = &buffer;
    message.msg_iovlen = 1;
    message.msg_control = control.data();
    message.msg_controllen = control.size();
    const auto readStarted = system_clock::now();
    if (recvmsg(probe.get(), &message, MSG_DONTWAIT) != 1) continue;
    const std::optional<system_clock::time_point> stamp = KernelStamp(message);
    if (stamp && *stamp < readStarted) return true;
  }
  return false;
}

// Buffers for reading many packets with one system call; only the receive thread uses them.
struct ReceiveBatch {
  struct Slot {
    std::array<std::uint8_t, kPacketBufferSize> data;
    alignas(cmsghdr) std::array<std::uint8_t, CMSG_SPACE(sizeof(timespec))> control;
    sockaddr_in6 from;  // room for either family's
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

// Buffers for handing many requests to the kernel with one system call, all of one family;
// only the engine's thread uses them.
struct SendBatch {
  struct Slot {
    std::array<std::uint8_t, kIcmpHeaderSize> packet;
    sockaddr_in6 to;  // room for either family's
    iovec buffer;
    std::uint16_t sequence;
  };
  std::array<Slot, kSendBatch> slots;
  std::array<mmsghdr, kSendBatch> headers;
  std::size_t size = 0;

  void Add(const EchoAddress& address, std::uint16_t identifier, std::uint16_t sequence) {
    Slot& slot = slots[size];
    slot.packet = EchoRequestPacket(address.family, identifier, sequence);
    slot.sequence = sequence;
    const auto [to, toSize] = SocketAddressOf(address);
    slot.to = to;
    slot.buffer = {slot.packet.data(), slot.packet.size()};
    headers[size] = {};
    headers[size].msg_hdr.msg_name = &slot.to;
    headers[size].msg_hdr.msg_namelen = toSize;
    headers[size].msg_hdr.msg_iov = &slot.buffer;
    headers[size].msg_hdr.msg_iovlen = 1;
    ++size;
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
// dropped, and each of its requests still waiting is taken back and sent again (see
// kMostResends) with a fresh sequence number, so that a reply to the first copy is not
// taken for one to the second. The replies that did come in for a copy taken back are lost,
// and cost nothing but a second echo to that host. Taken-back requests join the end of the
// queue: through a stall of many windows the trouble falls on a new window of requests each
// time, not on the same ones again and again.
class LinuxIcmpEngine final : public IcmpEngine {
 public:
  // socket6 is -1 where the system has no ICMPv6 socket to give: IPv6 requests then end
  // unanswered at once.
  LinuxIcmpEngine(UniqueFd socket, UniqueFd socket6, UniqueFd wakeup, IcmpSocketKind kind)
      : socket_(std::move(socket)),
        socket6_(std::move(socket6)),
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
    Submit(address, timeout, std::move(done));
  }

  void SendIpv6(const Ipv6Address& address, std::chrono::milliseconds timeout,
                EchoDone done) override {
    if (socket6_.get() < 0) {
      CallEchoDone(done, std::nullopt);
      return;
    }
    Submit(address, timeout, std::move(done));
  }

 private:
  // How often a request has been sent again, and when it first went out.
  struct Resends {
    int count = 0;
    std::optional<steady_clock::time_point> firstSent;
  };
  struct Submission {
    EchoAddress address;
    std::chrono::milliseconds timeout;
    EchoDone done;
    Resends resends{};
    std::optional<steady_clock::time_point> firstRefused{};
  };
  // A request of the current window, in case its packet turns out to have been dropped.
  struct WentOut {
    std::uint16_t sequence;
    EchoAddress address;
    std::chrono::milliseconds timeout;
    Resends resends;
  };

  void Submit(const EchoAddress& address, std::chrono::milliseconds timeout, EchoDone done) {
    auto posted =
        inbox_.Post({address, std::max(timeout, std::chrono::milliseconds(0)), std::move(done)});
    CallEchoDone(posted.refused, std::nullopt);  // the engine is stopping: nothing goes out
    if (posted.wake) Wake();
  }

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
    // With many replies on their way, each one would wake the thread (a cross-core wake-up is
    // dear, and dearer in a virtual machine); they gather for a moment instead, their round
    // trips kept exact by the kernel's arrival stamps.
    if (requests_.WaitingCount() >= kGatherRepliesAbove) {
      const auto gathered = steady_clock::now() + kGatherReplies;
      std::this_thread::sleep_until(until ? std::min(*until, gathered) : gathered);
      until = steady_clock::now();
    }
    const std::optional<timespec> limit = WaitLimit(until);
    // A socket6_ of -1 is passed over by ppoll.
    std::array<pollfd, 3> watched = {pollfd{wakeup_.get(), POLLIN, 0},
                                     pollfd{socket_.get(), POLLIN, 0},
                                     pollfd{socket6_.get(), POLLIN, 0}};
    if (ppoll(watched.data(), watched.size(), limit ? &*limit : nullptr, nullptr) <= 0) {
      return;  // time is up, or interrupted
    }
    if (watched[0].revents != 0) {
      std::uint64_t count = 0;
      [[maybe_unused]] const auto read = ::read(wakeup_.get(), &count, sizeof count);
    }
    ReadArrivals(watched[1].revents, socket_.get(), Family::kIpv4, batch);
    ReadArrivals(watched[2].revents, socket6_.get(), Family::kIpv6, batch);
  }

  void ReadArrivals(short events, int socket, Family family, ReceiveBatch& batch) {
    if ((events & POLLERR) != 0) {
      ReadErrorQueue(socket, family);
    }
    // Also on POLLERR alone: a raw socket's pending error is cleared by a normal read.
    if (events != 0) {
      ReadPackets(socket, family, batch);
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
      refused = SendFromQueue(std::min(allowance - wentOut_.size(), kSendBatch));
      if (refused && GiveUp(queued_.front(), now)) queued_.pop_front();
    }
    pacer_.Spent(wentOut_.size());
    const std::optional<std::uint64_t> dropsAfter = wentOut_.empty() ? dropsBefore : drops_.Read();
    if (dropsBefore && dropsAfter && *dropsAfter > *dropsBefore) {
      SendAgainWhatIsStillWaiting(now);
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

  // The window's requests still waiting go back to the end of the queue, in their order.
  void SendAgainWhatIsStillWaiting(steady_clock::time_point now) {
    for (const WentOut& sent : wentOut_) {
      const bool inGrace = now - *sent.resends.firstSent < kResendGrace;
      if (sent.resends.count >= kMostResends && !inGrace) continue;
      EchoDone done = requests_.Withdraw(sent.sequence);
      if (done) {
        queued_.push_back({sent.address,
                           sent.timeout,
                           std::move(done),
                           {sent.resends.count + 1, sent.resends.firstSent}});
      }
    }
  }

  // Sends up to limit requests from the front of the queue, all of one family, with as few
  // calls as the socket allows. True when the socket refused one for want of room: that one is
  // first in the queue again.
  bool SendFromQueue(std::size_t limit) {
    if (EnterBatch(limit) == 0) {  // every sequence number is waiting
      CallEchoDone(queued_.front().done, std::nullopt);
      queued_.pop_front();
      return false;
    }
    const int socket =
        queued_.front().address.family == Family::kIpv6 ? socket6_.get() : socket_.get();
    std::size_t handled = 0;  // sent or ended, from the batch's start
    bool refused = false;
    bool retriedAfterError = false;
    while (handled < batch_.size && !refused) {
      // Each packet of a call is timed from the call's start: the thread may be preempted
      // midway, so a later estimate could make a round trip read short; this one reads at
      // most the call's length long.
      const SendStamp start{steady_clock::now(), system_clock::now()};
      const int sent = sendmmsg(socket, &batch_.headers[handled],
                                static_cast<unsigned>(batch_.size - handled), MSG_DONTWAIT);
      if (sent > 0) {
        MarkWentOut(handled, static_cast<std::size_t>(sent), start);
        handled += static_cast<std::size_t>(sent);
        retriedAfterError = false;
      } else if (errno == EAGAIN || errno == EWOULDBLOCK || errno == ENOBUFS) {
        refused = true;
      } else if (errno != EINTR && std::exchange(retriedAfterError, true)) {
        // An ICMP error about another request leaves its code on the shared socket, and the
        // next send, whoever makes it, reports it once. A real fault of this send repeats.
        EchoDone done = requests_.Withdraw(batch_.slots[handled].sequence);
        CallEchoDone(done, std::nullopt);
        ++handled;
        retriedAfterError = false;
      }
    }
    for (std::size_t i = handled; i < batch_.size; ++i) {
      queued_[i].done = requests_.Withdraw(batch_.slots[i].sequence);
    }
    queued_.erase(queued_.begin(), queued_.begin() + static_cast<std::ptrdiff_t>(handled));
    return refused;
  }

  // Enters the requests of the batch, from the front of the queue; how many.
  std::size_t EnterBatch(std::size_t limit) {
    batch_.size = 0;
    const Family family = queued_.front().address.family;
    while (batch_.size < std::min(limit, queued_.size())) {
      Submission& next = queued_[batch_.size];
      if (next.address.family != family) break;
      const std::optional<std::uint16_t> sequence =
          requests_.Enter(next.address, steady_clock::now() + next.timeout, next.done);
      if (!sequence) break;
      batch_.Add(next.address, identifier_, *sequence);
    }
    return batch_.size;
  }

  // The batch's requests from first on, count of them, left in one call started at stamp.
  void MarkWentOut(std::size_t first, std::size_t count, const SendStamp& stamp) {
    for (std::size_t i = first; i < first + count; ++i) {
      const Submission& submission = queued_[i];
      const std::uint16_t sequence = batch_.slots[i].sequence;
      requests_.MarkSent(sequence, stamp);
      Resends resends = submission.resends;
      if (!resends.firstSent) resends.firstSent = stamp.steady;
      wentOut_.push_back({sequence, submission.address, submission.timeout, resends});
    }
  }

  void ReadPackets(int socket, Family family, ReceiveBatch& batch) {
    for (int reads = 0; reads < kMaxReadsPerWakeup; ++reads) {
      const int count =
          recvmmsg(socket, batch.headers.data(), batch.Prepare(), MSG_DONTWAIT, nullptr);
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
        Dispatch(bytes, (header.msg_flags & MSG_TRUNC) != 0, AddressOf(batch.slots[i].from, family),
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
  void Dispatch(std::span<const std::uint8_t> bytes, bool cut, const EchoAddress& from,
                const ReceiveStamp& stamp) {
    const bool raw = kind_ == IcmpSocketKind::kRaw;
    const bool ipv4 = from.family == Family::kIpv4;
    // A raw IPv4 socket delivers the IPv4 header too, and the kernel has not checked the ICMP
    // checksum yet when it does: raw delivery comes before ICMP's own checks. A raw ICMPv6
    // socket gets the message alone, its checksum checked by the kernel.
    const std::span<const std::uint8_t> icmp = raw && ipv4 ? IcmpPayloadOfIpv4(bytes) : bytes;
    const std::optional<EchoHeader> header = ReadEchoHeader(icmp);
    if (!header) {
      return;
    }
    if (header->type == EchoReplyType(from.family)) {
      if (!cut && IsOurs(*header) && (!raw || !ipv4 || InternetChecksum(icmp) == 0)) {
        requests_.Answer(header->sequence, from, stamp);
      }
    } else if (raw && IsErrorAboutAPacket(header->type, from.family)) {
      const std::span<const std::uint8_t> quoted = icmp.subspan(kIcmpHeaderSize);
      if (ipv4) {
        FailQuotedRequest(quoted);
      } else {
        FailQuotedIpv6Request(quoted);
      }
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

  // An ICMPv6 error quotes the IPv6 header (40 bytes) and the start of the packet.
  void FailQuotedIpv6Request(std::span<const std::uint8_t> quotedPacket) {
    if (quotedPacket.size() < kIpv6HeaderSize || (quotedPacket[0] >> 4) != 6 ||
        quotedPacket[6] != kIcmp6NextHeader) {
      return;
    }
    const std::optional<EchoHeader> quoted = ReadEchoHeader(quotedPacket.subspan(kIpv6HeaderSize));
    if (quoted && quoted->type == kEcho6Request && IsOurs(*quoted)) {
      requests_.Fail(quoted->sequence, ReadIpv6Address(quotedPacket, 24));
    }
  }

  // The error queue holds each failed request as it was sent (its echo header) and names
  // the destination it was sent to. A raw socket's queue also holds the errors about other
  // programs' echoes, told apart by their identifier.
  void ReadErrorQueue(int socket, Family family) {
    for (int reads = 0; reads < kMaxReadsPerWakeup; ++reads) {
      std::array<std::uint8_t, kIcmpHeaderSize> sentHeader{};
      alignas(cmsghdr) std::array<std::uint8_t, 256> control{};
      sockaddr_in6 destination{};  // room for either family's
      iovec buffer{sentHeader.data(), sentHeader.size()};
      msghdr message{};
      message.msg_name = &destination;
      message.msg_namelen = sizeof destination;
      message.msg_iov = &buffer;
      message.msg_iovlen = 1;
      message.msg_control = control.data();
      message.msg_controllen = control.size();
      const ssize_t length = recvmsg(socket, &message, MSG_ERRQUEUE | MSG_DONTWAIT);
      if (length < 0) {
        return;
      }
      const std::optional<EchoHeader> sent =
          ReadEchoHeader(std::span(sentHeader.data(), static_cast<std::size_t>(length)));
      if (sent && sent->type == EchoRequestType(family) && IsOurs(*sent)) {
        requests_.Fail(sent->sequence, AddressOf(destination, family));
      }
    }
  }

  const UniqueFd socket_;
  const UniqueFd socket6_;
  const UniqueFd wakeup_;
  const IcmpSocketKind kind_;
  const std::uint16_t identifier_;  // raw sockets only; the kernel sets it on datagram ones
  SubmissionInbox<Submission> inbox_;
  // The engine thread's own: no lock.
  std::deque<Submission> queued_;
  std::vector<WentOut> wentOut_;  // the requests of the last window
  SendBatch batch_;
  SendPacer pacer_;
  TransmitDrops drops_;
  EchoRequestTable requests_;
  std::thread thread_;  // declared last: it starts once everything it reads is built
};

// The reason, if any, is left bare so that two attempts can be told in one line.
UniqueFd OpenIcmpSocket(IcmpSocketKind kind, Family family) {
  const int type = kind == IcmpSocketKind::kDatagram ? SOCK_DGRAM : SOCK_RAW;
  UniqueFd socket(family == Family::kIpv6
                      ? ::socket(AF_INET6, type | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMPV6)
                      : ::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP));
  if (socket.get() >= 0) ConfigureSocket(socket.get(), kind, family);
  return socket;
}

// The engine stands on its IPv4 socket; the ICMPv6 one is opened beside it where the system
// has IPv6, and its absence only leaves IPv6 addresses unprobed.
IcmpEngineStart TryToStart(IcmpSocketKind kind) {
  UniqueFd socket = OpenIcmpSocket(kind, Family::kIpv4);
  if (socket.get() < 0) {
    return {nullptr, SocketRefusal(kind, errno)};
  }
  UniqueFd socket6 = OpenIcmpSocket(kind, Family::kIpv6);
  // The sockets have asked for stamps; the first replies must have them too.
  AwaitArrivalStamps(kArrivalStampWait);
  UniqueFd wakeup(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (wakeup.get() < 0) {
    return {nullptr, "no event descriptor: " + ErrorDescription(errno)};
  }
  try {
    return {std::make_unique<LinuxIcmpEngine>(std::move(socket), std::move(socket6),
                                              std::move(wakeup), kind),
            ""};
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
