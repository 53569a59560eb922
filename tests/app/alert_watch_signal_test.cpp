// The watch's end on a real SIGTERM sent to this process through the platform's hook, and
// the hook's handling of the signals before and after it.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "app/application/application.h"
#include "app/headless/headless_watch.h"
#include "app/settings/endpoints.h"
#include "demo_world/demo_world.h"
#include "runtime/platform.h"
#include "runtime/threads/threads.h"
#include "testing/await_condition.h"
#include "testing/loopback.h"

namespace vardelle {
namespace {

using namespace std::chrono_literals;

void (*HandlerOf(int signal))(int) {
  struct sigaction action = {};
  sigaction(signal, nullptr, &action);
  return action.sa_handler;
}

TEST(WatchSignalTest, SigtermEndsTheWatchWithZeroAndPutsTheDefaultHandlingBack) {
  testing::KeepLoopbackTrafficDirect();
  ASSERT_EQ(HandlerOf(SIGTERM), SIG_DFL);
  demo::DemoWorld world;
  ASSERT_TRUE(world.Start());
  Application app;
  for (const SiteInfo& site : SiteTable()) app.endpoints.SetBaseUrl(site.site, world.BaseUrl());
  std::atomic<int> runs{0};
  WatchControls controls;
  controls.printEvent = [](const std::string&) {};
  controls.printNote = [](const std::string& note) { ADD_FAILURE() << note; };
  controls.services.sendPing = [](const std::string&, std::function<void(int)> done) { done(10); };
  controls.clock = [&runs] {
    ++runs;
    return std::chrono::system_clock::now();
  };
  std::future<int> ended =
      std::async(std::launch::async, [&] { return RunHeadlessWatch(app, {}, 1, controls); });
  // The hook is in before the list loads, so before the first run is judged.
  ASSERT_TRUE(testing::AwaitCondition([&] { return runs > 0; }, 60s));
  EXPECT_NE(HandlerOf(SIGTERM), SIG_DFL);
  const auto sent = std::chrono::steady_clock::now();
  ASSERT_EQ(kill(getpid(), SIGTERM), 0);
  ASSERT_EQ(ended.wait_for(60s), std::future_status::ready);
  EXPECT_EQ(ended.get(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - sent, 10s);
  EXPECT_EQ(HandlerOf(SIGTERM), SIG_DFL);
  EXPECT_TRUE(AwaitStartedThreads(std::chrono::steady_clock::now() + 60s));
}

// A shell starts a background job with SIGINT ignored; the hook leaves it so and still
// answers SIGTERM. One hook at a time.
TEST(WatchSignalTest, AnIgnoredSignalStaysIgnoredAndOneHookLivesAtATime) {
  struct sigaction ignore = {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction before = {};
  ASSERT_EQ(sigaction(SIGINT, &ignore, &before), 0);
  std::atomic<int> requests{0};
  {
    const std::unique_ptr<TerminationHook> hook = HookTerminationRequests([&] { ++requests; });
    ASSERT_TRUE(hook);
    EXPECT_FALSE(HookTerminationRequests([] {}));
    EXPECT_EQ(HandlerOf(SIGINT), SIG_IGN);
    ASSERT_EQ(kill(getpid(), SIGINT), 0);
    ASSERT_EQ(kill(getpid(), SIGTERM), 0);
    EXPECT_TRUE(testing::AwaitCondition([&] { return requests > 0; }, 60s));
  }
  EXPECT_EQ(requests, 1);
  EXPECT_EQ(HandlerOf(SIGINT), SIG_IGN);
  EXPECT_EQ(HandlerOf(SIGTERM), SIG_DFL);
  sigaction(SIGINT, &before, nullptr);
  EXPECT_TRUE(HookTerminationRequests([] {}));
}

}  // namespace
}  // namespace vardelle
