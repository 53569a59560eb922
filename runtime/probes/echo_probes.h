// The run state behind PingHost and ResolveHostAddress: the echo engine, started on first
// use, and the resolver. The process keeps one of these; tests build their own.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
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
  // As StopProbes. Waits for the calls that are handing the engine a request (each returns
  // at once), never for a name look-up or an answer. Not from a probe's done.
  void Stop();
  // As ResolveHostAddress.
  std::string Resolve(const std::string& host);
  // As SetAddressFamilies.
  void SetFamilies(AddressFamilies families) { families_ = families; }
  // As ProbeUnavailableReason.
  std::string UnavailableReason();

 private:
  // The started engine, held by one call while it hands the engine a request: Stop frees the
  // engine only once no call holds it. Null when stopped or the engine cannot start.
  class EngineUse {
   public:
    explicit EngineUse(EchoProbes& probes);
    ~EngineUse();
    EngineUse(const EngineUse&) = delete;
    EngineUse& operator=(const EngineUse&) = delete;
    IcmpEngine* Engine() const { return engine_; }

   private:
    EchoProbes& probes_;
    IcmpEngine* const engine_;
  };

  // Under mutex_: the engine, starting it if no call has managed to yet. Callers arriving
  // together start it once; after a failure the next call tries again.
  IcmpEngine* StartedEngine();
  // Hands the request to the engine, or ends it at once with no answer when there is none.
  void SendToEngine(const EchoAddress& address, std::chrono::milliseconds timeout,
                    IcmpEngine::EchoDone done);
  // An address of either family as it is, without asking the resolver; a name's first
  // address of the families chosen.
  std::optional<EchoAddress> AddressToProbe(const std::string& host);

  const IcmpEngineStarter startEngine_;
  const std::unique_ptr<HostResolver> resolver_;
  std::atomic<AddressFamilies> families_{AddressFamilies::kIpv4First};
  std::mutex mutex_;
  std::condition_variable unused_;  // users_ fell to 0
  std::unique_ptr<IcmpEngine> engine_;
  std::string unavailableReason_;
  bool stopped_ = false;
  int users_ = 0;  // calls holding the engine
};

}  // namespace vardelle
