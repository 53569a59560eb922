#include "runtime/probes/network_probes.h"

#include <chrono>
#include <climits>
#include <exception>
#include <utility>

#include "runtime/probes/echo_probes.h"
#include "runtime/platform.h"

namespace vardelle {

namespace {

constexpr int kFailed = -1;

bool IsUsableHostText(const std::string& host) {
  // A zero byte would end the text early for the system and name some other host.
  return !host.empty() && host.find('\0') == std::string::npos;
}

int WholeMilliseconds(std::chrono::nanoseconds roundTrip) {
  const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(roundTrip);
  return milliseconds.count() > INT_MAX ? INT_MAX : static_cast<int>(milliseconds.count());
}

// Never destroyed: detached workers may still be probing while the process exits.
EchoProbes& ProcessProbes() {
  static auto* const probes = new EchoProbes(StartSystemIcmpEngine, CreateSystemResolver());
  return *probes;
}

}  // namespace

EchoProbes::EchoProbes(IcmpEngineStarter startEngine, std::unique_ptr<HostResolver> resolver)
    : startEngine_(std::move(startEngine)), resolver_(std::move(resolver)) {}

int EchoProbes::Ping(const std::string& host, int timeoutMs) {
  if (timeoutMs < 0) {
    return kFailed;
  }
  IcmpEngine* engine = Engine();
  if (engine == nullptr) {
    return kFailed;
  }
  const std::optional<Ipv4Address> address = AddressToProbe(host);
  if (!address) {
    return kFailed;
  }
  const auto roundTrip = engine->Echo(*address, std::chrono::milliseconds(timeoutMs));
  return roundTrip ? WholeMilliseconds(*roundTrip) : kFailed;
}

void EchoProbes::Send(const std::string& address, int timeoutMs, std::function<void(int)> done) {
  IcmpEngine* engine = timeoutMs >= 0 ? Engine() : nullptr;
  const std::optional<Ipv4Address> dotted =
      IsUsableHostText(address) ? ParseDottedIpv4(address) : std::nullopt;
  if (engine == nullptr || !dotted) {
    done(kFailed);
    return;
  }
  engine->Send(*dotted, std::chrono::milliseconds(timeoutMs),
               [done = std::move(done)](std::optional<std::chrono::nanoseconds> roundTrip) {
                 done(roundTrip ? WholeMilliseconds(*roundTrip) : kFailed);
               });
}

void EchoProbes::Stop() {
  std::unique_ptr<IcmpEngine> engine;
  {
    std::lock_guard guard(startMutex_);
    stopped_ = true;
    started_.store(nullptr, std::memory_order_release);
    engine = std::move(engine_);
  }
  // Callers that read the engine before the stop may still be handing it requests, which
  // its destructor ends; a call that began before Stop is the caller's to finish first.
  engine.reset();
}

std::string EchoProbes::Resolve(const std::string& host) {
  return IsUsableHostText(host) ? resolver_->FirstIpv4Address(host) : "";
}

std::string EchoProbes::UnavailableReason() {
  Engine();
  std::lock_guard guard(startMutex_);
  return engine_ ? "" : unavailableReason_;
}

IcmpEngine* EchoProbes::Engine() {
  if (IcmpEngine* engine = started_.load(std::memory_order_acquire)) {
    return engine;
  }
  std::lock_guard guard(startMutex_);
  if (!engine_ && !stopped_) {
    IcmpEngineStart start = startEngine_();
    engine_ = std::move(start.engine);
    unavailableReason_ = std::move(start.unavailableReason);
    if (!engine_ && unavailableReason_.empty()) {
      unavailableReason_ = "Ping unavailable: the ICMP echo engine did not start";
    }
    started_.store(engine_.get(), std::memory_order_release);
  }
  return engine_.get();
}

std::optional<Ipv4Address> EchoProbes::AddressToProbe(const std::string& host) {
  if (!IsUsableHostText(host)) {
    return std::nullopt;
  }
  if (const std::optional<Ipv4Address> dotted = ParseDottedIpv4(host)) {
    return dotted;
  }
  return ParseDottedIpv4(resolver_->FirstIpv4Address(host));
}

// The public calls answer with their failure markers instead of letting an exception (no
// memory) into a worker thread that cannot handle it. Only std::exception is caught: the
// forced unwind of a cancelled thread must pass.

int PingHost(const std::string& host) { return PingHost(host, kDefaultPingTimeoutMs); }

int PingHost(const std::string& host, int timeoutMs) {
  try {
    return ProcessProbes().Ping(host, timeoutMs);
  } catch (const std::exception&) {
    return kFailed;
  }
}

void SendPing(const std::string& address, int timeoutMs, std::function<void(int)> done) {
  try {
    ProcessProbes().Send(address, timeoutMs, done);
  } catch (const std::exception&) {
    done(kFailed);
  }
}

void StopProbes() { ProcessProbes().Stop(); }

std::string ResolveHostAddress(const std::string& host) {
  try {
    return ProcessProbes().Resolve(host);
  } catch (const std::exception&) {
    return "";
  }
}

std::string ProbeUnavailableReason() {
  try {
    return ProcessProbes().UnavailableReason();
  } catch (const std::exception&) {
    return "Ping unavailable: out of memory while starting the ICMP echo engine";
  }
}

}  // namespace vardelle
