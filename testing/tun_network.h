// A private test network for the echo probes: a network namespace of its own with loopback
// and one tun device, 10.200.0.1/16 and fd00:200::1/64 (unique local), whose far side is a
// responder that answers echo requests for chosen addresses after chosen delays, or fails them in
// chosen ways. Nothing sent here leaves the namespace. Shared by the probe tests and the probe
// benchmark.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/if_tun.h>
#include <net/if.h>
#include <net/route.h>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "runtime/probes/icmp_engine.h"
#include "runtime/probes/internet_checksum.h"

namespace vardelle::testnet {

inline constexpr char kTunName[] = "vtun0";
// The device holds 10.200.0.0/16, room for the tens of thousands of hosts of a large table.
inline constexpr char kTunAddress[] = "10.200.0.1";
// The device's IPv6 network, fd00:200::/64: unique local, so nothing of it exists outside.
inline constexpr char kTunAddress6[] = "fd00:200::1";
inline constexpr unsigned kTunPrefixLength6 = 64;
// Where answers "from elsewhere" and router errors come from.
inline constexpr char kElsewhereAddress[] = "10.200.0.254";
inline constexpr char kElsewhereAddress6[] = "fd00:200::fe";
// The kernel's own queue length for a tun device: what a program meets on a real one.
inline constexpr int kDefaultTunQueueLength = 500;

// How the responder treats echo requests to one address of the tun network.
struct Target {
  enum class Answer {
    kEcho,                 // an echo reply after the delay
    kSilent,               // nothing at all
    kHostUnreachable,      // an ICMP destination unreachable from the target
    kTimeExceeded,         // an ICMP time exceeded from a router (kElsewhereAddress)
    kEchoFromElsewhere,    // an echo reply, but from kElsewhereAddress
    kEchoWithBadChecksum,  // an echo reply whose ICMP checksum is wrong
    kLongUnreachable       // host unreachable with an RFC 4884 extension: over 200 bytes
  };
  // An IPv4 or IPv6 address; kEveryAddress: every IPv4 address the others do not name. An
  // IPv6 target answers kEcho, kHostUnreachable or kTimeExceeded (from kElsewhereAddress6),
  // or else stays silent.
  std::string address;
  Answer answer = Answer::kEcho;
  std::chrono::microseconds delay{0};
};

// A target for every address at once, as a proxy client in TUN mode answers: with a route
// through the device (RouteThroughTun), even addresses that exist nowhere are answered.
inline constexpr char kEveryAddress[] = "*";

inline std::string Failure(const std::string& step) { return step + ": " + std::strerror(errno); }

inline Ipv4Address ParseAddress(const std::string& dotted) {
  in_addr address{};
  inet_pton(AF_INET, dotted.c_str(), &address);
  return address.s_addr;
}

inline Ipv6Address ParseAddress6(const std::string& text) {
  Ipv6Address address{};
  inet_pton(AF_INET6, text.c_str(), address.data());
  return address;
}

// An IPv4 or IPv6 address as the engine takes it.
inline EchoAddress ParseEchoAddress(const std::string& text) {
  if (text.find(':') == std::string::npos) return ParseAddress(text);
  return ParseAddress6(text);
}

// An address of either family in the system's own text form, whichever way it was written.
inline std::string AddressText(int family, const void* bytes) {
  char text[INET6_ADDRSTRLEN] = {};
  return inet_ntop(family, bytes, text, sizeof text) != nullptr ? text : "";
}

inline std::string CanonicalAddress(const std::string& text) {
  if (text.find(':') == std::string::npos) return text;
  const Ipv6Address address = ParseAddress6(text);
  return AddressText(AF_INET6, address.data());
}

// An AF_INET socket for interface ioctls; closes itself.
class ControlSocket {
 public:
  ControlSocket() : fd_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}
  ControlSocket(const ControlSocket&) = delete;
  ControlSocket& operator=(const ControlSocket&) = delete;
  ~ControlSocket() {
    if (fd_ >= 0) close(fd_);
  }
  bool Control(unsigned long request, ifreq& settings) const {
    return fd_ >= 0 && ioctl(fd_, request, &settings) == 0;
  }

 private:
  int fd_;
};

inline ifreq InterfaceRequest(const char* name) {
  ifreq settings{};
  std::strncpy(settings.ifr_name, name, IFNAMSIZ - 1);
  return settings;
}

inline bool BringUp(const ControlSocket& control, const char* name) {
  ifreq settings = InterfaceRequest(name);
  if (!control.Control(SIOCGIFFLAGS, settings)) return false;
  settings.ifr_flags = static_cast<short>(settings.ifr_flags | IFF_UP | IFF_RUNNING);
  return control.Control(SIOCSIFFLAGS, settings);
}

inline bool SetAddress(const ControlSocket& control, const char* name, unsigned long request,
                       const char* dotted) {
  ifreq settings = InterfaceRequest(name);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  inet_pton(AF_INET, dotted, &address.sin_addr);
  std::memcpy(&settings.ifr_addr, &address, sizeof address);
  return control.Control(request, settings);
}

// Sends the network/mask (dotted) through the tun device; "0.0.0.0", "0.0.0.0" is the default
// route a proxy in TUN mode sets. The device must be up.
inline std::string RouteThroughTun(const char* network, const char* mask) {
  rtentry route{};
  const auto fill = [](sockaddr& field, const char* dotted) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, dotted, &address.sin_addr);
    std::memcpy(&field, &address, sizeof address);
  };
  fill(route.rt_dst, network);
  fill(route.rt_genmask, mask);
  route.rt_flags = RTF_UP;
  std::string device = kTunName;
  route.rt_dev = device.data();
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  const bool added = fd >= 0 && ioctl(fd, SIOCADDRT, &route) == 0;
  if (fd >= 0) close(fd);
  return added ? "" : Failure(std::string("cannot route ") + network + " through the tun device");
}

// Moves the calling thread, and every thread it starts later, into a new network namespace
// with only loopback up, and a mount namespace whose mounts stay private. Call it before
// opening any socket. "" on success, else why it is not possible (it needs root).
inline std::string EnterPrivateNetwork() {
  if (unshare(CLONE_NEWNET | CLONE_NEWNS) != 0) {
    return Failure("cannot create a network namespace (needs root or CAP_SYS_ADMIN)");
  }
  // Without this a bind mount made for a test would show up on the host as well.
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    return Failure("cannot make the mounts private");
  }
  const ControlSocket control;
  return BringUp(control, "lo") ? "" : Failure("cannot bring up loopback");
}

// Lays content over the system file at path for this mount namespace only (hosts files).
inline std::string ReplaceSystemFile(const std::string& path, const std::string& content) {
  char name[] = "/tmp/vardelle-net-XXXXXX";
  const int fd = mkstemp(name);
  if (fd < 0) return Failure("cannot create a file for " + path);
  const bool written =
      write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  close(fd);
  const bool mounted = written && mount(name, path.c_str(), nullptr, MS_BIND, nullptr) == 0;
  const std::string why = mounted ? "" : Failure("cannot lay a file over " + path);
  unlink(name);
  return why;
}

// An IPv4 header for payloadSize bytes of ICMP from source to destination.
inline std::vector<std::uint8_t> Ipv4Header(Ipv4Address source, Ipv4Address destination,
                                            std::size_t payloadSize) {
  const std::size_t total = 20 + payloadSize;
  std::vector<std::uint8_t> header = {0x45,
                                      0,
                                      static_cast<std::uint8_t>(total >> 8),
                                      static_cast<std::uint8_t>(total),
                                      0,
                                      0,
                                      0x40,
                                      0,
                                      64,
                                      1,
                                      0,
                                      0};
  header.resize(20);
  std::memcpy(header.data() + 12, &source, 4);
  std::memcpy(header.data() + 16, &destination, 4);
  const std::uint16_t checksum = InternetChecksum(header);
  header[10] = static_cast<std::uint8_t>(checksum >> 8);
  header[11] = static_cast<std::uint8_t>(checksum);
  return header;
}

inline void WriteIcmpChecksum(std::span<std::uint8_t> icmp) {
  icmp[2] = icmp[3] = 0;
  const std::uint16_t checksum = InternetChecksum(icmp);
  icmp[2] = static_cast<std::uint8_t>(checksum >> 8);
  icmp[3] = static_cast<std::uint8_t>(checksum);
}

inline std::vector<std::uint8_t> Packet(Ipv4Address source, Ipv4Address destination,
                                        std::vector<std::uint8_t> icmp) {
  WriteIcmpChecksum(icmp);
  std::vector<std::uint8_t> packet = Ipv4Header(source, destination, icmp.size());
  packet.insert(packet.end(), icmp.begin(), icmp.end());
  return packet;
}

// An ICMP error (header and quote) made into the RFC 4884 form: the quote padded to 128
// bytes, its length in 32-bit words in the header, then an extension structure holding one
// object of 64 bytes.
inline std::vector<std::uint8_t> WithRfc4884Extension(std::vector<std::uint8_t> error) {
  constexpr std::size_t kQuoteLength = 128;
  constexpr std::size_t kObjectLength = 64;
  error.resize(8 + kQuoteLength, 0);
  error[5] = kQuoteLength / 4;
  std::vector<std::uint8_t> extension = {0x20, 0, 0, 0, 0, kObjectLength, 2, 1};
  extension.resize(4 + kObjectLength, 0x5a);
  const std::uint16_t checksum = InternetChecksum(extension);
  extension[2] = static_cast<std::uint8_t>(checksum >> 8);
  extension[3] = static_cast<std::uint8_t>(checksum);
  error.insert(error.end(), extension.begin(), extension.end());
  return error;
}

// What answers an echo request (an IPv4 packet with a 20-byte header) under the given rule;
// empty for silence.
inline std::vector<std::uint8_t> AnswerTo(std::span<const std::uint8_t> request,
                                          Target::Answer answer) {
  Ipv4Address requester, target;
  std::memcpy(&requester, request.data() + 12, 4);
  std::memcpy(&target, request.data() + 16, 4);
  const std::span<const std::uint8_t> echo = request.subspan(20);
  const auto errorAbout = [&](std::uint8_t type, std::uint8_t code) {
    std::vector<std::uint8_t> icmp = {type, code, 0, 0, 0, 0, 0, 0};
    icmp.insert(icmp.end(), request.begin(), request.begin() + 28);  // header + 8 bytes
    return icmp;
  };
  switch (answer) {
    case Target::Answer::kSilent:
      return {};
    case Target::Answer::kHostUnreachable:
      return Packet(target, requester, errorAbout(3, 1));
    case Target::Answer::kLongUnreachable:
      return Packet(target, requester, WithRfc4884Extension(errorAbout(3, 1)));
    case Target::Answer::kTimeExceeded:
      return Packet(ParseAddress(kElsewhereAddress), requester, errorAbout(11, 0));
    default:
      break;
  }
  std::vector<std::uint8_t> reply(echo.begin(), echo.end());
  reply[0] = 0;  // echo reply; identifier, sequence and data stay as they came
  const Ipv4Address from =
      answer == Target::Answer::kEchoFromElsewhere ? ParseAddress(kElsewhereAddress) : target;
  std::vector<std::uint8_t> packet = Packet(from, requester, std::move(reply));
  if (answer == Target::Answer::kEchoWithBadChecksum) {
    packet[20 + 2] ^= 0x5a;
  }
  return packet;
}

// The ICMPv6 checksum of message from source to destination (16 bytes each): it covers the
// IPv6 pseudo-header as well.
inline std::uint16_t Icmp6Checksum(std::span<const std::uint8_t> source,
                                   std::span<const std::uint8_t> destination,
                                   std::span<const std::uint8_t> message) {
  std::vector<std::uint8_t> covered(source.begin(), source.end());
  covered.insert(covered.end(), destination.begin(), destination.end());
  const std::size_t length = message.size();
  covered.insert(covered.end(), {0, 0, static_cast<std::uint8_t>(length >> 8),
                                 static_cast<std::uint8_t>(length), 0, 0, 0, 58});
  covered.insert(covered.end(), message.begin(), message.end());
  return InternetChecksum(covered);
}

// An IPv6 packet from one address to another (16 bytes each) carrying message, an ICMPv6
// message whose checksum is filled in here.
inline std::vector<std::uint8_t> Packet6(std::span<const std::uint8_t> from,
                                         std::span<const std::uint8_t> to,
                                         std::vector<std::uint8_t> message) {
  const std::size_t length = message.size();
  std::vector<std::uint8_t> packet = {
      0x60, 0, 0, 0, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length),
      58,   64};
  packet.insert(packet.end(), from.begin(), from.end());
  packet.insert(packet.end(), to.begin(), to.end());
  message[2] = message[3] = 0;
  const std::uint16_t checksum = Icmp6Checksum(from, to, message);
  message[2] = static_cast<std::uint8_t>(checksum >> 8);
  message[3] = static_cast<std::uint8_t>(checksum);
  packet.insert(packet.end(), message.begin(), message.end());
  return packet;
}

// What answers an ICMPv6 echo request (an IPv6 packet without extension headers) under the
// given rule; empty for silence.
inline std::vector<std::uint8_t> Answer6To(std::span<const std::uint8_t> request,
                                           Target::Answer answer) {
  const std::span<const std::uint8_t> requester = request.subspan(8, 16);
  const std::span<const std::uint8_t> target = request.subspan(24, 16);
  const auto errorAbout = [&](std::uint8_t type, std::uint8_t code) {
    std::vector<std::uint8_t> icmp = {type, code, 0, 0, 0, 0, 0, 0};
    icmp.insert(icmp.end(), request.begin(), request.end());  // as much as fits: all of it
    return icmp;
  };
  switch (answer) {
    case Target::Answer::kEcho: {
      std::vector<std::uint8_t> reply(request.begin() + 40, request.end());
      reply[0] = 129;  // echo reply; identifier, sequence and data stay as they came
      return Packet6(target, requester, std::move(reply));
    }
    case Target::Answer::kHostUnreachable:
      return Packet6(target, requester, errorAbout(1, 3));  // address unreachable
    case Target::Answer::kTimeExceeded:
      return Packet6(ParseAddress6(kElsewhereAddress6), requester, errorAbout(3, 0));
    default:
      return {};
  }
}

// How fast the host behind the device takes packets off its queue: at most a rate a second
// on average, up to kBurst at once. The tests' host is slow (kSlowHost): slower than the echo
// engine sends unpaced in any build (a packet every 20 to 60 us on the test machines), so a
// burst overflows the queue here as it would in front of a slow tunnel or a busy host. The
// benchmarks' is a 100 Mbit/s link (kFastLink: its line rate in 84-byte frames). The rate
// may be changed from any thread; the rest belongs to the responder's thread.
class LinkDrain {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr double kSlowHost = 10000;
  static constexpr double kFastLink = 148800;
  static constexpr double kBurst = 16;

  explicit LinkDrain(double rate) : rate_(rate) {}
  void SetRate(double rate) { rate_ = rate; }

  // Whether a packet may be taken now (and takes its turn).
  bool Take(Clock::time_point now) {
    Refill(now);
    if (tokens_ < 1) return false;
    tokens_ -= 1;
    return true;
  }
  // When the next packet may be taken.
  Clock::time_point NextTurn() const {
    if (tokens_ >= 1) return last_;
    return last_ + std::chrono::duration_cast<Clock::duration>(
                       std::chrono::duration<double>((1 - tokens_) / rate_));
  }

 private:
  void Refill(Clock::time_point now) {
    tokens_ =
        std::min(kBurst, tokens_ + std::chrono::duration<double>(now - last_).count() * rate_);
    last_ = now;
  }
  std::atomic<double> rate_;
  double tokens_ = kBurst;
  Clock::time_point last_ = Clock::now();
};

// The far side of the tun device. One thread reads the echo requests the kernel routes to
// the device and writes each answer back once its delay is over. It takes the requests off
// the device's queue no faster than a LinkDrain allows, as a host behind a real link would:
// a burst longer than the queue loses packets here as it would there.
class TunResponder {
 public:
  // Creates the device (in the current network namespace) with a queue of queueLength
  // packets, drained at drainRate packets a second, and starts answering. Null, with the
  // reason in why, when the device cannot be made.
  static std::unique_ptr<TunResponder> Start(std::vector<Target> targets, std::string* why,
                                             int queueLength = kDefaultTunQueueLength,
                                             double drainRate = LinkDrain::kSlowHost) {
    const int device = open("/dev/net/tun", O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (device < 0) {
      *why = Failure("cannot open /dev/net/tun");
      return nullptr;
    }
    std::unique_ptr<TunResponder> responder(
        new TunResponder(device, std::move(targets), drainRate));
    *why = responder->Configure(queueLength);
    if (!why->empty()) return nullptr;
    responder->thread_ = std::thread([raw = responder.get()] { raw->Serve(); });
    return responder;
  }

  TunResponder(const TunResponder&) = delete;
  TunResponder& operator=(const TunResponder&) = delete;

  ~TunResponder() {
    if (thread_.joinable()) {
      const std::uint64_t stop = 1;
      [[maybe_unused]] const auto written = write(stop_, &stop, sizeof stop);
      thread_.join();
    }
    close(stop_);
    close(device_);
  }

  // The ICMP sizes (header and data) of the echo requests seen for address, in order.
  std::vector<std::size_t> RequestSizes(const std::string& address) const {
    std::lock_guard guard(mutex_);
    const auto found = seen_.find(CanonicalAddress(address));
    return found == seen_.end() ? std::vector<std::size_t>{} : found->second;
  }

  std::size_t RequestCount() const {
    std::lock_guard guard(mutex_);
    return requestCount_;
  }

  // The host behind the device now takes rate packets a second.
  void SetDrainRate(double rate) { drain_.SetRate(rate); }

  // Gives the device a queue of length packets; false when the system refused.
  static bool SetQueueLength(int length) {
    const ControlSocket control;
    ifreq queue = InterfaceRequest(kTunName);
    queue.ifr_qlen = length;
    return control.Control(SIOCSIFTXQLEN, queue);
  }

  // Whether count echo requests have arrived within the wait: a probe that does not wait
  // for its reply returns before the responder has read its request.
  bool AwaitRequests(std::size_t count, std::chrono::milliseconds wait) const {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, wait, [&] { return requestCount_ >= count; });
  }

 private:
  using Clock = std::chrono::steady_clock;

  TunResponder(int device, std::vector<Target> targets, double drainRate)
      : device_(device), stop_(eventfd(0, EFD_CLOEXEC)), drain_(drainRate) {
    for (Target& target : targets) {
      if (target.address == kEveryAddress) {
        everyAddress_ = std::move(target);
        continue;
      }
      targets_.emplace(CanonicalAddress(target.address), std::move(target));
    }
  }

  std::string Configure(int queueLength) {
    ifreq settings = InterfaceRequest(kTunName);
    settings.ifr_flags = IFF_TUN | IFF_NO_PI;
    if (ioctl(device_, TUNSETIFF, &settings) != 0) return Failure("cannot create the tun device");
    const ControlSocket control;
    const bool ready = SetAddress(control, kTunName, SIOCSIFADDR, kTunAddress) &&
                       SetAddress(control, kTunName, SIOCSIFNETMASK, "255.255.0.0") &&
                       SetQueueLength(queueLength) && BringUp(control, kTunName) &&
                       SetIpv6Address();
    return ready ? "" : Failure("cannot configure the tun device");
  }

  // The kernel's in6_ifreq, which the C library's headers do not declare.
  struct Ipv6InterfaceAddress {
    in6_addr address;
    std::uint32_t prefixLength;
    int interfaceIndex;
  };

  // A tun device does no duplicate address detection, so the address is usable at once.
  static bool SetIpv6Address() {
    ifreq index = InterfaceRequest(kTunName);
    if (!ControlSocket().Control(SIOCGIFINDEX, index)) return false;
    Ipv6InterfaceAddress settings{};
    inet_pton(AF_INET6, kTunAddress6, &settings.address);
    settings.prefixLength = kTunPrefixLength6;
    settings.interfaceIndex = index.ifr_ifindex;
    const int fd = socket(AF_INET6, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const bool set = fd >= 0 && ioctl(fd, SIOCSIFADDR, &settings) == 0;
    if (fd >= 0) close(fd);
    return set;
  }

  void Serve() {
    // Wake for a due answer within microseconds, and before the busy threads of a loaded
    // machine when the system allows it: the delays are the yardstick of every measurement.
    prctl(PR_SET_TIMERSLACK, 1UL);
    const sched_param priority{.sched_priority = 10};
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority);
    std::array<pollfd, 2> watched = {pollfd{device_, POLLIN, 0}, pollfd{stop_, POLLIN, 0}};
    for (;;) {
      // The device is watched only when the link may take a packet; else its turn is waited for.
      const bool mayRead = drain_.NextTurn() <= Clock::now();
      watched[0].events = mayRead ? POLLIN : 0;
      std::optional<Clock::time_point> until;
      if (!due_.empty()) until = due_.begin()->first;
      if (!mayRead) until = std::min(until.value_or(drain_.NextTurn()), drain_.NextTurn());
      const timespec wait = Until(until.value_or(Clock::now()));
      if (ppoll(watched.data(), watched.size(), until ? &wait : nullptr, nullptr) < 0 &&
          errno != EINTR) {
        return;
      }
      if (watched[1].revents != 0) return;
      ReadRequests();
      WriteDueAnswers();
    }
  }

  static timespec Until(Clock::time_point when) {
    const auto left = std::max(when - Clock::now(), Clock::duration::zero());
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
    return {static_cast<time_t>(seconds.count()), static_cast<long>((left - seconds).count())};
  }

  void ReadRequests() {
    std::array<std::uint8_t, 2048> packet;
    while (drain_.NextTurn() <= Clock::now()) {
      const ssize_t size = read(device_, packet.data(), packet.size());
      if (size <= 0) return;
      drain_.Take(Clock::now());
      HandleRequest(std::span(packet.data(), static_cast<std::size_t>(size)));
      WriteDueAnswers();  // a long burst of requests must not hold back answers now due
    }
  }

  // Only IPv4 echo requests with a plain 20-byte header and ICMPv6 ones without extension
  // headers; the kernel sends nothing else that matters here (neighbour and multicast
  // listener chatter is ignored).
  void HandleRequest(std::span<const std::uint8_t> packet) {
    if (packet.size() >= 28 && packet[0] == 0x45 && packet[9] == 1 && packet[20] == 8) {
      const std::string destination = AddressText(AF_INET, packet.data() + 16);
      const Target* target = TargetFor(destination, everyAddress_);
      if (target == nullptr) return;
      Answer(*target, destination, packet.size() - 20, AnswerTo(packet, target->answer));
    } else if (packet.size() >= 48 && (packet[0] >> 4) == 6 && packet[6] == 58 &&
               packet[40] == 128) {
      const std::string destination = AddressText(AF_INET6, packet.data() + 24);
      const Target* target = TargetFor(destination, std::nullopt);
      if (target == nullptr) return;
      Answer(*target, destination, packet.size() - 40, Answer6To(packet, target->answer));
    }
  }

  const Target* TargetFor(const std::string& destination, const std::optional<Target>& other) {
    const auto named = targets_.find(destination);
    return named != targets_.end() ? &named->second : other ? &*other : nullptr;
  }

  // Counts the request (its ICMP size) and queues the answer, if any, for after the
  // target's delay.
  void Answer(const Target& target, const std::string& destination, std::size_t icmpSize,
              std::vector<std::uint8_t> answer) {
    {
      std::lock_guard guard(mutex_);
      seen_[destination].push_back(icmpSize);
      ++requestCount_;
    }
    arrived_.notify_all();
    if (!answer.empty()) due_.emplace(Clock::now() + target.delay, std::move(answer));
  }

  void WriteDueAnswers() {
    const auto now = Clock::now();
    while (!due_.empty() && due_.begin()->first <= now) {
      const std::vector<std::uint8_t>& answer = due_.begin()->second;
      [[maybe_unused]] const auto written = write(device_, answer.data(), answer.size());
      due_.erase(due_.begin());
    }
  }

  const int device_;
  const int stop_;
  std::map<std::string, Target> targets_;  // by the address's canonical text
  std::optional<Target> everyAddress_;
  std::multimap<Clock::time_point, std::vector<std::uint8_t>> due_;  // responder thread only
  LinkDrain drain_;
  mutable std::mutex mutex_;
  mutable std::condition_variable arrived_;
  std::map<std::string, std::vector<std::size_t>> seen_;  // by canonical address text
  std::size_t requestCount_ = 0;
  std::thread thread_;
};

// A benchmark's whole test network: the process moves into a namespace of its own and
// answers for targets there, or says why it cannot. Call it before any thread exists: the
// namespace is entered by the calling thread only.
struct PrivateTunNetwork {
  std::string unavailable;
  std::unique_ptr<TunResponder> responder;
};

inline PrivateTunNetwork& BenchTunNetwork() {
  static PrivateTunNetwork network;
  return network;
}

inline void StartBenchTunNetwork(std::vector<Target> targets,
                                 int queueLength = kDefaultTunQueueLength,
                                 double drainRate = LinkDrain::kFastLink) {
  PrivateTunNetwork& network = BenchTunNetwork();
  network.unavailable = EnterPrivateNetwork();
  if (network.unavailable.empty()) {
    network.responder =
        TunResponder::Start(std::move(targets), &network.unavailable, queueLength, drainRate);
  }
}

}  // namespace vardelle::testnet
