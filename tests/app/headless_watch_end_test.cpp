// The end of `--headless --watch` while one of the watch's resolver threads is inside the echo
// engine's Send: program end finishes the watch's test runs before the engine goes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <string>

#include "app/application/application.h"
#include "app/headless/headless_watch.h"
#include "app/settings/endpoints.h"
#include "app/start/start_up.h"
#include "demo_world/demo_world.h"
#include "runtime/platform.h"
#include "runtime/probes/echo_probes.h"
#include "testing/await_condition.h"
#include "testing/loopback.h"
#include "tests/demo_world_servers.h"
#include "tests/holding_echo_engine.h"

namespace vardelle {
namespace {

using namespace std::chrono_literals;

// The demo world's domains are their own addresses.
class DottedResolver final : public HostResolver {
 public:
  std::string FirstIpv4Address(const std::string& host) override { return host; }
};

// The watch probes through echo probes of its own whose engine holds the first row's request
// inside Send; the end request comes, the watch returns, and program end runs with the
// stop of those probes in the demo world's place, after the watch's test runs. What went
// wrong, or "" when everything ended in that order.
std::string EndAWatchWhileASendIsHeld() {
  testing::KeepLoopbackTrafficDirect();
  demo::DemoWorld world;
  if (!world.Start()) return "the demo world did not start";
  const auto life = std::make_shared<testing::EngineLife>();
  const char* held = testing::kDemoServersByName[0].address;
  EchoProbes probes(testing::HoldingEngineStarter(life, *ParseDottedIpv4(held)),
                    std::make_unique<DottedResolver>());
  Application app;
  for (const SiteInfo& site : SiteTable()) app.endpoints.SetBaseUrl(site.site, world.BaseUrl());

  std::function<void()> endRequest;
  std::promise<void> hooked;
  WatchControls controls;
  controls.printEvent = [](const std::string&) {};
  controls.printNote = [](const std::string&) {};
  controls.hookTermination = [&](std::function<void()> onRequest) {
    endRequest = std::move(onRequest);
    hooked.set_value();
    return std::make_unique<TerminationHook>();
  };
  controls.services.resolveHostAddress = [&](const std::string& host) {
    return probes.Resolve(host);
  };
  controls.services.sendPing = [&](const std::string& address, std::function<void(int)> done) {
    probes.Send(address, kDefaultPingTimeoutMs, std::move(done));
  };
  std::future<int> watched =
      std::async(std::launch::async, [&] { return RunHeadlessWatch(app, {}, 1, controls); });
  hooked.get_future().wait();
  const bool sendHeld = life->sendDoor.AwaitArrival(60s);
  endRequest();
  if (watched.wait_for(60s) != std::future_status::ready) return "the watch did not end";

  std::atomic<bool> echoStopped{false};
  bool watchDoneAtEchoStop = false;
  std::future<bool> ended = std::async(std::launch::async, [&] {
    return StopBackgroundWork(
        app,
        [&] {
          watchDoneAtEchoStop = life->heldSendReturned;
          probes.Stop();
          echoStopped = true;
        },
        60s);
  });
  // Program end must not get past the watch while the send is held; a while to show it.
  testing::AwaitCondition([&] { return echoStopped.load(); }, 2s);
  life->sendDoor.Open();
  const bool stopped = ended.get();
  if (!sendHeld) return "no request reached the engine";
  if (!stopped) return "program end did not stop everything";
  if (!watchDoneAtEchoStop) return "the echo engine stopped while the watch was inside it";
  if (life->usesAfterDestruction != 0) return "the echo engine was used after it was freed";
  return "";
}

// In a process of its own: program end stops the process's probes and settings writer.
TEST(HeadlessWatchEndDeathTest, ProgramEndStopsTheWatchsTestRunsBeforeTheEchoEngine) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const std::string fault = EndAWatchWhileASendIsHeld();
        std::fputs(fault.empty() ? "ended in order\n" : (fault + "\n").c_str(), stderr);
        std::fflush(stderr);
        std::_Exit(fault.empty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "ended in order");
}

}  // namespace
}  // namespace vardelle
