#include "runtime/windows/icmp_engine_windows.h"

#include <winsock2.h>
// After winsock2.h, as winsock2.h asks.
#include <windows.h>
#include <winternl.h>
#include <ws2tcpip.h>
// The typed completion routine of IcmpSendEcho2 instead of a bare FARPROC.
#define PIO_APC_ROUTINE_DEFINED
#include <iphlpapi.h>
// After iphlpapi.h, whose types it takes.
#include <icmpapi.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <queue>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "runtime/probes/submission_inbox.h"

namespace vardelle {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// ICMP.DLL ends every request itself (IP_REQ_TIMED_OUT); this is only the watchdog for a
// completion that never comes.
constexpr auto kWatchdogGrace = std::chrono::seconds(2);
// The system takes a DWORD of milliseconds with INFINITE reserved; 24 days is plenty.
constexpr milliseconds kLongestTimeout{0x7fffffff};

// ICMPV6_ECHO_REPLY as the system lays it out: mingw-w64's headers lack it, and their
// IPV6_ADDRESS_EX is not packed as the system's is (the address would be read 2 bytes off).
#pragma pack(push, 1)
struct Ipv6AddressEx {
  USHORT port;
  ULONG flowInfo;
  Ipv6Address address;  // network byte order
  ULONG scopeId;
};
#pragma pack(pop)
struct Icmpv6EchoReply {
  Ipv6AddressEx address;
  ULONG status;
  unsigned int roundTripTime;
};
static_assert(sizeof(Ipv6AddressEx) == 26 && offsetof(Icmpv6EchoReply, status) == 28 &&
              offsetof(Icmpv6EchoReply, roundTripTime) == 32 && sizeof(Icmpv6EchoReply) == 36);

// The reply of either family, the 8 bytes of an ICMP error that may quote the request, the
// I/O status block the system keeps inside the buffer, and room for IP options.
constexpr std::size_t kReplyBufferSize =
    std::max(sizeof(ICMP_ECHO_REPLY), sizeof(Icmpv6EchoReply)) + 8 + sizeof(IO_STATUS_BLOCK) + 64;

class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&&) = delete;
  ~UniqueHandle() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

class IcmpHandle {
 public:
  explicit IcmpHandle(HANDLE handle) : handle_(handle) {}
  IcmpHandle(IcmpHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  IcmpHandle& operator=(IcmpHandle&&) = delete;
  ~IcmpHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) IcmpCloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }
  // Left open for good: the system may still complete requests on it.
  void Abandon() { handle_ = INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// An alertable wait's time-out in whole milliseconds, rounded up so the wait never ends
// just before the moment and spins.
DWORD WaitMilliseconds(std::optional<steady_clock::time_point> until) {
  if (!until) return INFINITE;
  const auto left = std::chrono::ceil<milliseconds>(*until - steady_clock::now()).count();
  return static_cast<DWORD>(std::clamp<std::int64_t>(left, 0, INFINITE - 1));
}

std::string WithError(const char* what, DWORD error) {
  return std::string("Ping unavailable: ") + what + " (Windows error " + std::to_string(error) +
         ")";
}

// Every request is issued from the engine's own thread with a completion routine, so the
// system queues its completion to that thread, which runs it in its next alertable wait.
// That wait also watches the inbox's wake event and the stop event: one thread, no event
// or thread per request, and nothing shared with the completions but this thread.
// Each request owns a slot whose reply buffer the system writes into; the slot is handed
// back only once the completion has run (or, for a request the system refused at once, once
// its watchdog is past), never while the system may still write.
// Each family has its own handle; without an IPv6 one (a system without the service) IPv6
// requests end at once without an answer.
class WindowsIcmpEngine final : public IcmpEngine {
 public:
  WindowsIcmpEngine(IcmpHandle icmp, IcmpHandle icmp6, UniqueHandle wake, UniqueHandle stop)
      : icmp_(std::move(icmp)),
        icmp6_(std::move(icmp6)),
        wake_(std::move(wake)),
        stop_(std::move(stop)),
        thread_([this] { Run(); }) {}

  ~WindowsIcmpEngine() override {
    inbox_.Close();
    SetEvent(stop_.get());
    thread_.join();
  }

  void Send(Ipv4Address address, milliseconds timeout, EchoDone done) override {
    Post(address, timeout, std::move(done));
  }

  void SendIpv6(const Ipv6Address& address, milliseconds timeout, EchoDone done) override {
    Post(address, timeout, std::move(done));
  }

 private:
  struct Submission {
    EchoAddress address;
    milliseconds timeout;
    EchoDone done;
  };
  struct Slot {
    WindowsIcmpEngine* engine = nullptr;
    std::size_t index = 0;
    std::uint32_t generation = 0;  // tells a watchdog of an earlier holder apart
    bool inUse = false;
    bool awaitingCompletion = false;  // the system holds the reply buffer
    EchoAddress target = Ipv4Address{0};
    milliseconds timeout{0};
    steady_clock::time_point sentAt;
    EchoDone done;  // empty once the request has ended
    alignas(std::max_align_t) std::array<unsigned char, kReplyBufferSize> reply{};
  };
  struct Watchdog {
    steady_clock::time_point at;
    std::size_t slot;
    std::uint32_t generation;
    bool operator>(const Watchdog& other) const { return at > other.at; }
  };

  void Post(const EchoAddress& address, milliseconds timeout, EchoDone done) {
    timeout = std::clamp(timeout, milliseconds(0), kLongestTimeout);
    auto posted = inbox_.Post({address, timeout, std::move(done)});
    CallEchoDone(posted.refused, std::nullopt);  // the engine is stopping: nothing goes out
    if (posted.wake) SetEvent(wake_.get());
  }

  static VOID NTAPI OnCompletion(PVOID context, PIO_STATUS_BLOCK, ULONG) {
    Slot& slot = *static_cast<Slot*>(context);
    slot.engine->Finish(slot);
  }

  void Run() {
    while (WaitForWork()) {
      IssueSubmissions();
      ExpireWatchdogs(steady_clock::now());
    }
    Drain();
  }

  // Completions run inside the wait. False once the engine is stopping.
  bool WaitForWork() {
    const std::array<HANDLE, 2> events = {stop_.get(), wake_.get()};
    return WaitForMultipleObjectsEx(static_cast<DWORD>(events.size()), events.data(), FALSE,
                                    WaitMilliseconds(NextWatchdog()), TRUE) != WAIT_OBJECT_0;
  }

  void IssueSubmissions() {
    for (Submission& submission : inbox_.TakeAll().submissions) Issue(submission);
  }

  void Issue(Submission& submission) {
    Slot& slot = AcquireSlot();
    slot.target = submission.address;
    slot.timeout = submission.timeout;
    slot.done = std::move(submission.done);
    slot.sentAt = steady_clock::now();
    const DWORD replies = SendEcho(slot);
    slot.awaitingCompletion = replies != 0 || GetLastError() == ERROR_IO_PENDING;
    if (slot.awaitingCompletion) ++inFlight_;
    if (!slot.awaitingCompletion || slot.timeout == milliseconds(0)) End(slot, std::nullopt);
    watchdogs_.push({slot.sentAt + slot.timeout + kWatchdogGrace, slot.index, slot.generation});
  }

  // IcmpSendEcho2's or Icmp6SendEcho2's answer, as the slot's family asks.
  DWORD SendEcho(Slot& slot) {
    unsigned char noPayload = 0;
    // A time-out of 0 is refused by the system; the request is still sent and then not
    // waited for.
    const DWORD timeout = static_cast<DWORD>(std::max<milliseconds::rep>(1, slot.timeout.count()));
    const auto replySize = static_cast<DWORD>(slot.reply.size());
    if (slot.target.family == EchoAddress::Family::kIpv4) {
      Ipv4Address to = 0;
      std::memcpy(&to, slot.target.bytes.data(), sizeof to);
      return IcmpSendEcho2(icmp_.get(), nullptr, &OnCompletion, &slot, to, &noPayload, 0, nullptr,
                           slot.reply.data(), replySize, timeout);
    }
    if (icmp6_.get() == INVALID_HANDLE_VALUE) {
      SetLastError(ERROR_NOT_SUPPORTED);
      return 0;
    }
    // The source "::" lets the system choose it, as for IPv4.
    sockaddr_in6 from{};
    from.sin6_family = AF_INET6;
    sockaddr_in6 to{};
    to.sin6_family = AF_INET6;
    std::memcpy(&to.sin6_addr, slot.target.bytes.data(), sizeof to.sin6_addr);
    return Icmp6SendEcho2(icmp6_.get(), nullptr, &OnCompletion, &slot, &from, &to, &noPayload, 0,
                          nullptr, slot.reply.data(), replySize, timeout);
  }

  void Finish(Slot& slot) {
    const auto completedAt = steady_clock::now();
    if (slot.done) {
      End(slot,
          EchoOutcome(Completion(slot, completedAt - slot.sentAt), slot.target, slot.timeout));
    }
    if (slot.awaitingCompletion) --inFlight_;
    slot.awaitingCompletion = false;
    Release(slot);
  }

  static EchoCompletion Completion(Slot& slot, std::chrono::nanoseconds elapsed) {
    const auto replySize = static_cast<DWORD>(slot.reply.size());
    if (slot.target.family == EchoAddress::Family::kIpv4) {
      ICMP_ECHO_REPLY first;
      std::memcpy(&first, slot.reply.data(), sizeof first);
      return {IcmpParseReplies(slot.reply.data(), replySize), first.Status, first.Address,
              milliseconds(first.RoundTripTime), elapsed};
    }
    return Ipv6EchoCompletion(slot.reply, Icmp6ParseReplies(slot.reply.data(), replySize), elapsed);
  }

  // The request ends before its done runs, so a done that sends again finds the slot ended.
  static void End(Slot& slot, std::optional<std::chrono::nanoseconds> roundTrip) {
    EchoDone done = std::exchange(slot.done, nullptr);
    CallEchoDone(done, roundTrip);
  }

  bool IsCurrent(const Watchdog& watchdog) const {
    const Slot& slot = *slots_[watchdog.slot];
    return slot.inUse && slot.generation == watchdog.generation;
  }

  std::optional<steady_clock::time_point> NextWatchdog() {
    while (!watchdogs_.empty() && !IsCurrent(watchdogs_.top())) watchdogs_.pop();
    if (watchdogs_.empty()) return std::nullopt;
    return watchdogs_.top().at;
  }

  void ExpireWatchdogs(steady_clock::time_point now) {
    for (auto next = NextWatchdog(); next && *next <= now; next = NextWatchdog()) {
      Slot& slot = *slots_[watchdogs_.top().slot];
      watchdogs_.pop();
      End(slot, std::nullopt);
      if (!slot.awaitingCompletion) Release(slot);
    }
  }

  // Every request ends now, without an answer; the engine then waits for the system to give
  // back the reply buffers it holds. Cancelling asks it to do so at once; where it does
  // not, its own time-outs do it. A buffer still held past every watchdog is left to the
  // system, with the service, rather than freed under it.
  void Drain() {
    for (Submission& submission : inbox_.TakeAll().submissions) {
      CallEchoDone(submission.done, std::nullopt);
    }
    for (const auto& slot : slots_) {
      if (slot->inUse) End(*slot, std::nullopt);
    }
    if (inFlight_ > 0) {
      CancelIo(icmp_.get());
      if (icmp6_.get() != INVALID_HANDLE_VALUE) CancelIo(icmp6_.get());
    }
    const steady_clock::time_point giveUp = LatestWatchdog();
    while (inFlight_ > 0 && steady_clock::now() < giveUp) SleepEx(WaitMilliseconds(giveUp), TRUE);
    if (inFlight_ > 0) Abandon();
  }

  steady_clock::time_point LatestWatchdog() const {
    steady_clock::time_point latest = steady_clock::now();
    for (const auto& slot : slots_) {
      if (slot->awaitingCompletion) {
        latest = std::max(latest, slot->sentAt + slot->timeout + kWatchdogGrace);
      }
    }
    return latest;
  }

  void Abandon() {
    for (auto& slot : slots_) {
      if (slot->awaitingCompletion) static_cast<void>(slot.release());
    }
    icmp_.Abandon();
    icmp6_.Abandon();
  }

  Slot& AcquireSlot() {
    if (freeSlots_.empty()) {
      auto slot = std::make_unique<Slot>();
      slot->engine = this;
      slot->index = slots_.size();
      freeSlots_.push_back(slot->index);
      slots_.push_back(std::move(slot));
    }
    Slot& slot = *slots_[freeSlots_.back()];
    freeSlots_.pop_back();
    slot.inUse = true;
    ++slot.generation;
    return slot;
  }

  void Release(Slot& slot) {
    slot.inUse = false;
    freeSlots_.push_back(slot.index);
  }

  IcmpHandle icmp_;
  IcmpHandle icmp6_;         // INVALID_HANDLE_VALUE when the system has no IPv6 echo service
  const UniqueHandle wake_;  // auto-reset: the inbox got its first submission
  const UniqueHandle stop_;  // manual reset: the engine is stopping
  SubmissionInbox<Submission> inbox_;
  // The engine thread's own: no lock.
  std::vector<std::unique_ptr<Slot>> slots_;
  std::vector<std::size_t> freeSlots_;
  std::size_t inFlight_ = 0;  // slots whose buffer the system holds
  std::priority_queue<Watchdog, std::vector<Watchdog>, std::greater<>> watchdogs_;
  std::thread thread_;  // declared last: it starts once everything it reads is built
};

}  // namespace

EchoCompletion Ipv6EchoCompletion(std::span<const unsigned char> reply, unsigned long repliesParsed,
                                  std::chrono::nanoseconds elapsed) {
  Icmpv6EchoReply first{};
  std::memcpy(&first, reply.data(), std::min(sizeof first, reply.size()));
  return {repliesParsed, first.status, first.address.address, milliseconds(first.roundTripTime),
          elapsed};
}

std::optional<std::chrono::nanoseconds> EchoOutcome(const EchoCompletion& completion,
                                                    const EchoAddress& target,
                                                    milliseconds timeout) {
  const bool answered =
      completion.repliesParsed > 0 && completion.status == IP_SUCCESS && completion.from == target;
  if (!answered) return std::nullopt;
  const std::chrono::nanoseconds roundTrip =
      std::min<std::chrono::nanoseconds>(completion.reported, completion.elapsed);
  if (roundTrip > timeout) return std::nullopt;
  return roundTrip;
}

IcmpEngineStart StartWindowsIcmpEngine() {
  IcmpHandle icmp(IcmpCreateFile());
  if (icmp.get() == INVALID_HANDLE_VALUE) {
    return {nullptr, WithError("the system's ICMP echo service did not open", GetLastError())};
  }
  // Without it IPv4 is still probed.
  IcmpHandle icmp6(Icmp6CreateFile());
  UniqueHandle wake(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  UniqueHandle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (wake.get() == nullptr || stop.get() == nullptr) {
    return {nullptr, WithError("no event for the ICMP engine", GetLastError())};
  }
  try {
    return {std::make_unique<WindowsIcmpEngine>(std::move(icmp), std::move(icmp6), std::move(wake),
                                                std::move(stop)),
            ""};
  } catch (const std::system_error& error) {
    return {nullptr,
            "Ping unavailable: cannot start the ICMP engine thread: " + std::string(error.what())};
  }
}

}  // namespace vardelle
