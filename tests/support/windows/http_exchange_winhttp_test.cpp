// What the WinHTTP exchange does beyond the request component's common behaviour: it gives
// up at once while WinHTTP still waits, resolves the redirects Wine reports as written, and
// leaves cookies and compression to the program.
#include "support/http/http_exchange.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "support/http/http_component.h"
#include "testing/loopback_servers.h"

namespace vardelle {
namespace {

using namespace std::chrono_literals;
using testing::LoopbackHttpServer;
using testing::RawConnection;
using testing::RawSocketServer;

constexpr char kPlain[] = "plain text, once compressed";
// kPlain through gzip.
constexpr char kGzipped[] =
    "\x1F\x8B\x08\x00\x00\x00\x00\x00\x02\xFF\x2B\xC8\x49\xCC\xCC\x53\x28\x49\xAD\x28\xD1\x51"
    "\xC8\xCF\x4B\x4E\x55\x48\xCE\xCF\x2D\x28\x4A\x2D\x2E\x4E\x4D\x01\x00\x54\x1B\x76\xA8\x1B"
    "\x00\x00\x00";

std::chrono::steady_clock::duration Elapsed(const std::function<void()>& action) {
  const auto start = std::chrono::steady_clock::now();
  action();
  return std::chrono::steady_clock::now() - start;
}

HttpExchange Get(const std::string& url) {
  HttpExchange exchange;
  exchange.method = "GET";
  exchange.url = url;
  exchange.proxyMode = ProxyMode::kDirect;
  return exchange;
}

// True once the server has read a request head, within its own wait limit.
bool AwaitRequest(RawSocketServer& server) {
  const auto deadline = std::chrono::steady_clock::now() + testing::kServerWaitLimit;
  while (server.Requests().empty() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
  }
  return !server.Requests().empty();
}

// WinHTTP's own receive limit is a minute away and the server is silent for 20 s: only the
// exchange's own watch can end these early.
TEST(WinHttpExchange, GivesUpWhileWinHttpStillWaits) {
  RawSocketServer silent([](RawConnection& connection) { connection.Hold(20s); });
  HttpExchange exchange = Get(silent.Url("/"));
  exchange.timeouts.receiveMs = 60000;

  std::atomic<bool> abort{false};
  HttpAnswer answer;
  std::thread caller([&] { answer = RunHttpExchange(exchange, abort); });
  const bool requested = AwaitRequest(silent);
  const auto waited = Elapsed([&] {
    abort = true;
    caller.join();
  });
  ASSERT_TRUE(requested);
  EXPECT_LT(waited, 10s);
  EXPECT_FALSE(answer.complete);

  exchange.timeouts.wholeMs = 300;
  const std::atomic<bool> keepGoing{false};
  EXPECT_LT(Elapsed([&] { answer = RunHttpExchange(exchange, keepGoing); }), 10s);
  EXPECT_FALSE(answer.complete);

  const auto component = CreateHttpComponent();
  component->SetTimeouts(0, 60000, 60000, 60000);
  component->Open("GET", silent.Url("/again"), true);
  component->Send();
  EXPECT_LT(Elapsed([&] { component->Abort(); }), 10s);
}

class WinHttpExchangeServed : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& http = server.Server();
    http.Get("/a/b", [](const httplib::Request&, httplib::Response& out) {
      out.set_redirect("c?from=b");  // relative to /a/
    });
    http.Get("/a/c", [](const httplib::Request&, httplib::Response& out) {
      out.set_header("Set-Cookie", "session=1; Path=/");
      out.set_redirect("/d");
    });
    http.Get("/d", [](const httplib::Request& in, httplib::Response& out) {
      out.set_content("cookie:" + in.get_header_value("Cookie"), "text/plain");
    });
    http.Get("/packed", [](const httplib::Request& in, httplib::Response& out) {
      if (in.get_header_value("Accept-Encoding").find("gzip") == std::string::npos) {
        out.set_content(kPlain, "text/plain");
        return;
      }
      out.set_header("Content-Encoding", "gzip");
      out.set_content(std::string(kGzipped, sizeof kGzipped - 1), "text/plain");
    });
    ASSERT_TRUE(server.Start());
  }

  LoopbackHttpServer server;
};

TEST_F(WinHttpExchangeServed, RedirectsEndAtAWholeUrlAndCarryNoCookies) {
  const std::atomic<bool> keepGoing{false};
  const HttpAnswer answer = RunHttpExchange(Get(server.Url("/a/b")), keepGoing);
  ASSERT_TRUE(answer.complete);
  EXPECT_EQ(answer.finalUrl, server.Url("/d"));
  EXPECT_EQ(std::string(answer.body.begin(), answer.body.end()), "cookie:");

  HttpExchange limited = Get(server.Url("/a/b"));
  for (const int redirects : {1, 0}) {
    limited.maxRedirects = redirects;
    const HttpAnswer stopped = RunHttpExchange(limited, keepGoing);
    EXPECT_FALSE(stopped.complete) << redirects << " redirects allowed";
  }
}

// Where WinHTTP cannot undo a compression (under Wine, before Windows 8.1) none is offered.
TEST_F(WinHttpExchangeServed, CompressedAnswersArriveUndone) {
  HttpExchange exchange = Get(server.Url("/packed"));
  exchange.acceptCompressed = true;
  const std::atomic<bool> keepGoing{false};
  const HttpAnswer answer = RunHttpExchange(exchange, keepGoing);
  ASSERT_TRUE(answer.complete);
  EXPECT_EQ(std::string(answer.body.begin(), answer.body.end()), kPlain);
}

}  // namespace
}  // namespace vardelle
