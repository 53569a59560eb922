// A thousand hosts probed at once on a tun device whose queue holds the kernel's default 500
// packets, or only 64: every host answers, through every way the program probes (the echo
// engine itself, the vardelle-ping program, a headless run of a served server list, and the
// window's test run). A burst of a thousand echoes into such a queue lost half of them without
// any error; these prove the sends are paced, and that a packet the device dropped is sent
// again rather than waited out. Each case runs in a network namespace of its own (root only).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <latch>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/application/application.h"
#include "app/headless/headless_run.h"
#include "app/status/region_status.h"
#include "app/table/server_table.h"
#include "app/test_run/run_engine.h"
#include "runtime/linux/icmp_engine_linux.h"
#include "support/json_documents/json_documents.h"
#include "testing/loopback_site.h"
#include "testing/tun_network.h"
#include "tests/app/fake_window.h"
#include "tests/support/named_cases.h"
#include "tests/support/own_network.h"

namespace vardelle {
namespace {

using std::chrono::milliseconds;
using testnet::Target;

constexpr int kHosts = 1000;
constexpr int kHostDelayMs = 20;
constexpr int kTimeoutMs = 10000;
// A bound for the program's run, far beyond the time-out it is given.
constexpr auto kProgramDeadline = std::chrono::seconds(50);
constexpr int kNoAnswer = -1;

// 250 hosts to a /24 from 10.200.1.2 on, all inside the tun device's /16.
std::string HostAddress(int host) {
  return "10.200." + std::to_string(1 + host / 250) + "." + std::to_string(2 + host % 250);
}

std::vector<std::string> HostAddresses() {
  std::vector<std::string> addresses;
  for (int host = 0; host < kHosts; ++host) addresses.push_back(HostAddress(host));
  return addresses;
}

std::vector<Target> Hosts() {
  std::vector<Target> targets;
  for (const std::string& address : HostAddresses()) {
    targets.push_back({address, Target::Answer::kEcho, milliseconds(kHostDelayMs)});
  }
  return targets;
}

// A host's result from the text a path shows it in: "20ms", "20", "..." or "-1".
int Milliseconds(const std::string& text) {
  return text.empty() || text == "..." || text == "-1" ? kNoAnswer : std::stoi(text);
}

// The echo engine itself, on a raw socket (the others go through the process's own engine,
// which takes the datagram socket once the namespace allows it).
std::map<std::string, int> ThroughTheEngine() {
  IcmpEngineStart start = StartLinuxIcmpEngine(IcmpSocketKind::kRaw);
  EXPECT_EQ(start.unavailableReason, "");
  if (!start.engine) return {};
  std::vector<int> results(kHosts, kNoAnswer);
  std::latch ended(kHosts);
  for (int host = 0; host < kHosts; ++host) {
    start.engine->Send(testnet::ParseAddress(HostAddress(host)), milliseconds(kTimeoutMs),
                       [&, host](std::optional<std::chrono::nanoseconds> roundTrip) {
                         if (roundTrip) {
                           results[host] = static_cast<int>(
                               std::chrono::duration_cast<milliseconds>(*roundTrip).count());
                         }
                         ended.count_down();
                       });
  }
  ended.wait();
  std::map<std::string, int> byHost;
  for (int host = 0; host < kHosts; ++host) byHost[HostAddress(host)] = results[host];
  return byHost;
}

// Everything vardelle-ping (words[0]) wrote to its standard output, once it has ended; nothing when
// it could not be started or did not end in time (it is then killed).
std::optional<std::string> PingProgramOutput(const std::vector<std::string>& words) {
  int pipe[2];
  if (::pipe2(pipe, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  const bool started = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(pipe[1]);
  std::string output;
  const auto deadline = std::chrono::steady_clock::now() + kProgramDeadline;
  bool timedOut = false;
  for (char buffer[4096]; started;) {
    pollfd readable{pipe[0], POLLIN, 0};
    if (poll(&readable, 1, 100) <= 0) {
      timedOut = std::chrono::steady_clock::now() > deadline;
      if (timedOut) break;
      continue;
    }
    const ssize_t size = read(pipe[0], buffer, sizeof buffer);
    if (size <= 0) break;
    output.append(buffer, static_cast<std::size_t>(size));
  }
  close(pipe[0]);
  if (!started) return std::nullopt;
  if (timedOut) kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  if (timedOut) return std::nullopt;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "vardelle-ping ends with 0 only when every probe was answered";
  return output;
}

// vardelle-ping, started in this namespace, one line per host: HOST ADDRESS RTT.
std::map<std::string, int> ThroughThePingProgram() {
  std::vector<std::string> words = {VARDELLE_PING_PROGRAM, "--timeout", std::to_string(kTimeoutMs)};
  for (const std::string& address : HostAddresses()) words.push_back(address);
  const std::optional<std::string> output = PingProgramOutput(words);
  EXPECT_TRUE(output.has_value()) << "vardelle-ping did not run or did not end in time";
  std::map<std::string, int> byHost;
  std::istringstream lines(output.value_or(""));
  for (std::string host, address, roundTrip; lines >> host >> address >> roundTrip;) {
    byHost[host] = Milliseconds(roundTrip);
  }
  return byHost;
}

// The game box's server list, every host a row of its own.
std::string ThousandServerList() {
  std::string list = "[";
  for (int host = 0; host < kHosts; ++host) {
    list += (host == 0 ? "" : ",") + std::string("{\"id\":\"") + std::to_string(host + 1) +
            "\",\"old_name\":\"host\",\"new_name\":\"tun\",\"domain\":\"" + HostAddress(host) +
            "\",\"open\":\"1\"}";
  }
  return list + "]";
}

// Sites that answer nothing: a loopback port nobody listens on refuses at once.
constexpr char kNowhere[] = "http://127.0.0.1:1";

// A headless run of the list served on loopback, read from its JSON report.
std::map<std::string, int> ThroughAHeadlessRun() {
  testing::LoopbackSite gameBox;
  const std::string list = ThousandServerList();
  gameBox.Serve(std::string(SiteTable()[static_cast<std::size_t>(Site::kGameBox)].path),
                [&](const std::string&) {
                  return testing::SiteAnswer{200, list};
                });
  EXPECT_TRUE(gameBox.Start());
  Application app;
  for (const SiteInfo& site : SiteTable()) app.endpoints.SetBaseUrl(site.site, kNowhere);
  app.endpoints.SetBaseUrl(Site::kGameBox, gameBox.Url(""));
  const HeadlessOutcome outcome = RunHeadless(app, ReportFormat::kJson);
  EXPECT_EQ(outcome.exitCode, 0) << outcome.statusLine;
  std::map<std::string, int> byHost;
  const nlohmann::json report = ParseJsonOrDiscarded(outcome.report);
  if (report.is_discarded() || !report.contains("rows")) return byHost;
  for (const nlohmann::json& row : report["rows"]) {
    const nlohmann::json& latency = row.at("latencyMs");
    byHost[row.at("domain").get<std::string>()] =
        latency.is_number() ? latency.get<int>() : kNoAnswer;
  }
  return byHost;
}

// The window's test run over a table of the hosts, read from the latency column.
std::map<std::string, int> ThroughTheWindowsRun() {
  Application app;
  testing::FakeWindow window;
  app.window = &window;
  app.lists = std::make_shared<ProcessLists>();
  for (const std::string& address : HostAddresses()) {
    window.SetCellText(window.InsertRow("host", RowIcon::kNotTested), kDomainColumn, address);
  }
  TestRunServices services;
  services.fetchRegionStatus = [](const Endpoints&) {
    return std::make_shared<const RegionStatusLists>();
  };
  TestRunEngine engine(app.SharedWithTestRuns(), services);
  engine.StartRun()->Wait();
  engine.Settle();
  engine.Stop();
  std::map<std::string, int> byHost;
  for (const MemoryRow& row : window.Rows()) {
    const std::string& latency = row.cells[kLatencyColumn];
    byHost[row.cells[kDomainColumn]] =
        Milliseconds(latency.ends_with("ms") ? latency.substr(0, latency.size() - 2) : latency);
  }
  return byHost;
}

struct PacingCase {
  std::string name;
  std::map<std::string, int> (*probeAll)();
  int queueLength;
};
using named_cases::CaseName;
using named_cases::PrintTo;

class ThousandHostsTunTest : public ::testing::TestWithParam<PacingCase> {};

TEST_P(ThousandHostsTunTest, EveryHostAnswersAfterItsDelay) {
  RUN_IN_OWN_NETWORK();
  std::string why;
  const auto responder = testnet::TunResponder::Start(Hosts(), &why, GetParam().queueLength);
  ASSERT_NE(responder, nullptr) << why;
  std::ofstream("/proc/sys/net/ipv4/ping_group_range") << "0 2147483647";

  const std::map<std::string, int> results = GetParam().probeAll();
  ASSERT_EQ(results.size(), static_cast<std::size_t>(kHosts));
  int answered = 0;
  for (const auto& [host, roundTripMs] : results) {
    // No reply can come before the responder's delay: a time is the host's own answer.
    EXPECT_GE(roundTripMs, kHostDelayMs) << host;
    answered += roundTripMs >= kHostDelayMs ? 1 : 0;
  }
  EXPECT_EQ(answered, kHosts);
  EXPECT_GE(responder->RequestCount(), static_cast<std::size_t>(kHosts));
}

std::vector<PacingCase> PacingCases() {
  std::vector<PacingCase> cases;
  for (const int queue : {testnet::kDefaultTunQueueLength, 64}) {
    const std::string suffix = "Queue" + std::to_string(queue);
    cases.push_back({"Engine" + suffix, ThroughTheEngine, queue});
    cases.push_back({"PingProgram" + suffix, ThroughThePingProgram, queue});
    cases.push_back({"Headless" + suffix, ThroughAHeadlessRun, queue});
    cases.push_back({"WindowRun" + suffix, ThroughTheWindowsRun, queue});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Paths, ThousandHostsTunTest, ::testing::ValuesIn(PacingCases()),
                         CaseName<PacingCase>);

}  // namespace
}  // namespace vardelle
