#include "runtime/probes/network_probes.h"

#include <chrono>
#include <climits>
#include <exception>
#include <utility>

#include "runtime/platform.h"
#include "runtime/probes/echo_probes.h"

namespace vardelle {

namespace {

constexpr int kFailed = -1;

bool IsUsableHostText(const std::string& host) {
  // A zero byte would end the text early for the system and name some other host.
  return !host.empty() && host.find('\0') == std::string::npos;
}

std::optional<EchoAddress> AddressLiteral(const std::string& text) {
  if (const std::optional<Ipv4Address> dotted = ParseDottedIpv4(text)) return *dotted;
  if (const std::optional<Ipv6Address> ipv6 = ParseIpv6Literal(text)) return *ipv6;
  return std::nullopt;
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
  // No name is looked up while probes cannot be sent.
  if (timeoutMs < 0 || EngineUse(*this).Engine() == nullptr) {
    return kFailed;
  }
  // Looked up before the engine is held, so that Stop never waits for the resolver.
  const std::optional<EchoAddress> address = AddressToProbe(host);
  if (!address) {
    return kFailed;
  }
  const auto roundTrip = AwaitEcho([&](IcmpEngine::EchoDone done) {
    SendToEngine(*address, std::chrono::milliseconds(timeoutMs), std::move(done));
  });
  return roundTrip ? WholeMilliseconds(*roundTrip) : kFailed;
}

void EchoProbes::Send(const std::string& address, int timeoutMs, std::function<void(int)> done) {
  const std::optional<EchoAddress> literal =
      IsUsableHostText(address) ? AddressLiteral(address) : std::nullopt;
  if (timeoutMs < 0 || !literal) {
    done(kFailed);
    return;
  }
  SendToEngine(*literal, std::chrono::milliseconds(timeoutMs),
               [done = std::move(done)](std::optional<std::chrono::nanoseconds> roundTrip) {
                 done(roundTrip ? WholeMilliseconds(*roundTrip) : kFailed);
               });
}

void EchoProbes::SendToEngine(const EchoAddress& address, std::chrono::milliseconds timeout,
                              IcmpEngine::EchoDone done) {
  const EngineUse use(*this);
  if (use.Engine() == nullptr) {
    done(std::nullopt);
    return;
  }
  use.Engine()->SendTo(address, timeout, std::move(done));
}

void EchoProbes::Stop() {
  std::unique_ptr<IcmpEngine> engine;
  {
    std::unique_lock lock(mutex_);
    stopped_ = true;
    unused_.wait(lock, [this] { return users_ == 0; });
    engine = std::move(engine_);
  }
  // Outside the lock: the destructor ends the requests still out, whose done may probe again.
  engine.reset();
}

std::string EchoProbes::Resolve(const std::string& host) {
  if (!IsUsableHostText(host)) return "";
  // An address is given back whatever the families chosen: the list named it.
  const std::optional<EchoAddress> literal = AddressLiteral(host);
  const AddressFamilies families = !literal ? families_.load()
                                   : literal->family == EchoAddress::Family::kIpv6
                                       ? AddressFamilies::kIpv6Only
                                       : AddressFamilies::kIpv4Only;
  return resolver_->FirstAddress(host, families);
}

std::string EchoProbes::UnavailableReason() {
  const EngineUse use(*this);
  std::lock_guard guard(mutex_);
  return use.Engine() != nullptr ? "" : unavailableReason_;
}

EchoProbes::EngineUse::EngineUse(EchoProbes& probes)
    : probes_(probes), engine_([&probes] {
        std::lock_guard guard(probes.mutex_);
        IcmpEngine* engine = probes.StartedEngine();
        if (engine != nullptr) ++probes.users_;
        return engine;
      }()) {}

EchoProbes::EngineUse::~EngineUse() {
  if (engine_ == nullptr) return;
  std::lock_guard guard(probes_.mutex_);
  if (--probes_.users_ == 0) probes_.unused_.notify_all();
}

IcmpEngine* EchoProbes::StartedEngine() {
  if (!engine_ && !stopped_) {
    IcmpEngineStart start = startEngine_();
    engine_ = std::move(start.engine);
    unavailableReason_ = std::move(start.unavailableReason);
    if (!engine_ && unavailableReason_.empty()) {
      unavailableReason_ = "Ping unavailable: the ICMP echo engine did not start";
    }
  }
  return stopped_ ? nullptr : engine_.get();
}

std::optional<EchoAddress> EchoProbes::AddressToProbe(const std::string& host) {
  if (!IsUsableHostText(host)) {
    return std::nullopt;
  }
  if (const std::optional<EchoAddress> literal = AddressLiteral(host)) {
    return literal;
  }
  return AddressLiteral(resolver_->FirstAddress(host, families_));
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

void SetAddressFamilies(AddressFamilies families) { ProcessProbes().SetFamilies(families); }

std::optional<AddressFamilies> ParseAddressFamilies(std::string_view text) {
  if (text == "ipv4-first") return AddressFamilies::kIpv4First;
  if (text == "ipv6-first") return AddressFamilies::kIpv6First;
  if (text == "ipv4") return AddressFamilies::kIpv4Only;
  if (text == "ipv6") return AddressFamilies::kIpv6Only;
  return std::nullopt;
}

std::string ProbeUnavailableReason() {
  try {
    return ProcessProbes().UnavailableReason();
  } catch (const std::exception&) {
    return "Ping unavailable: out of memory while starting the ICMP echo engine";
  }
}

}  // namespace vardelle
