// The run state behind PingHost and ResolveHostAddress: the echo engine, started on first
// use, and the resolver. The process keeps one of these; tests build their own.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "runtime/probes/host_resolver.h"
#include "runtime/probes/icmp_engine.h"

namespace vardelle {

class EchoProbes {
 public:
  EchoProbes(IcmpEngineStarter startEngine, std::unique_ptr<HostResolver> resolver);

  // As PingHost: whole milliseconds, or -1. A negative time-out is refused with -1 at once.
  int Ping(const std::string& host, int timeoutMs);
  // As SendPing.
  void Send(const std::string& address, int timeoutMs, std::function<void(int)> done);
  // As StopProbes.
  void Stop();
  // As ResolveHostAddress.
  std::string Resolve(const std::string& host);
  // As ProbeUnavailableReason.
  std::string UnavailableReason();

 private:
  // The started engine, starting it if no call has managed to yet; null when it cannot start.
  // Callers arriving together start it once; after a failure the next call tries again.
  IcmpEngine* Engine();
  // A dotted address as it is, without asking the resolver; a name's first IPv4 address.
  std::optional<Ipv4Address> AddressToProbe(const std::string& host);

  const IcmpEngineStarter startEngine_;
  const std::unique_ptr<HostResolver> resolver_;
  std::atomic<IcmpEngine*> started_{nullptr};  // read without the lock once set
  std::mutex startMutex_;
  std::unique_ptr<IcmpEngine> engine_;  // written under startMutex_
  std::string unavailableReason_;       // under startMutex_
  bool stopped_ = false;                // under startMutex_
};

}  // namespace vardelle
