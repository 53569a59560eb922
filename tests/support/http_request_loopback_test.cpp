// The request object over the system's component against servers on 127.0.0.1.
#include <gtest/gtest.h>

#include <chrono>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

#include "support/cookies/cookie_jar.h"
#include "support/http/http_request.h"
#include "support/text/space_trim.h"
#include "testing/loopback_servers.h"

namespace vardelle {
namespace {

using testing::LoopbackHttpServer;
using testing::RawConnection;
using testing::RawSocketServer;

// Answers every path under /set/NAME with the cookie NAME=v-NAME, and /echo with the
// request's own Cookie header, trimmed, so a test sees what the request carried.
class CookieServer {
 public:
  CookieServer() {
    server.Server().Get(R"(/set/(\w+))", [](const httplib::Request& in, httplib::Response& out) {
      const std::string name = in.matches[1];
      out.set_header("Set-Cookie", name + "=v-" + name + "; Path=/");
      out.set_content("set", "text/plain");
    });
    server.Server().Get("/echo", [](const httplib::Request& in, httplib::Response& out) {
      out.set_content(TrimSpaces(in.get_header_value("Cookie")), "text/plain");
    });
    started = server.Start();
  }

  LoopbackHttpServer server;
  bool started = false;
};

// The server's body in UTF-8; the request object's texts are GBK.
const std::string& Utf8Body() {
  static const std::string body = reinterpret_cast<const char*>(u8"正文 body");
  return body;
}

// Opens and sends one synchronous GET; answers the response text.
Text Fetch(HttpRequest& request, Text url) {
  request.OpenRequest(std::nullopt, url);
  request.SendText();
  return request.GetResponseText();
}

class HttpRequestLoopback : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::KeepLoopbackTrafficDirect(); }
};

TEST_F(HttpRequestLoopback, GetAnswersBodyTextHeadersAndStatus) {
  LoopbackHttpServer server;
  server.Server().Get("/doc", [](const httplib::Request&, httplib::Response& out) {
    out.set_header("X-Vardelle", "yes");
    out.set_content(Utf8Body(), "text/plain; charset=utf-8");
  });
  ASSERT_TRUE(server.Start());
  HttpRequest request;
  ASSERT_TRUE(request.HasComponent());
  Text url = "127.0.0.1:" + std::to_string(server.Port()) + "/doc";
  request.OpenRequest(std::nullopt, url);
  request.SendText();
  EXPECT_EQ(request.LastCallError(), "");
  EXPECT_EQ(url, server.Url("/doc"));
  EXPECT_EQ(request.Host(), "127.0.0.1");
  EXPECT_EQ(request.GetStatus(), 200);
  EXPECT_EQ(request.GetStatusText(), "OK");
  EXPECT_EQ(request.GetResponseText(), "正文 body");
  EXPECT_EQ(request.GetResponseBody(), Bytes(Utf8Body().begin(), Utf8Body().end()));
  EXPECT_EQ(request.GetHeader("X-Vardelle"), "yes");
  EXPECT_NE(request.GetHeaders().find("X-Vardelle: yes"), Text::npos);

  Text missing = server.Url("/missing");
  request.OpenRequest("GET", missing);
  request.SendText();
  EXPECT_EQ(request.GetStatus(), 404);
}

TEST_F(HttpRequestLoopback, ModeOneCarriesServerCookiesToTheNextRequest) {
  CookieServer cookies;
  ASSERT_TRUE(cookies.started);
  HttpRequest request;
  request.SetCookieMode(1);
  Fetch(request, cookies.server.Url("/set/own"));
  EXPECT_EQ(request.OwnCookieJar().GetCookie("127.0.0.1", "own"), "v-own");
  EXPECT_EQ(Fetch(request, cookies.server.Url("/echo")), "own=v-own;");

  HttpRequest plain;
  EXPECT_EQ(Fetch(plain, cookies.server.Url("/echo")), "");
}

class HttpRequestSharedLoopback : public HttpRequestLoopback {
 protected:
  void SetUp() override { CreateSharedCookieJar(); }
  void TearDown() override { DestroySharedCookieJar(); }
};

TEST_F(HttpRequestSharedLoopback, ModeTwoCarriesCookiesBetweenRequestObjects) {
  CookieServer cookies;
  ASSERT_TRUE(cookies.started);
  HttpRequest setter;
  setter.SetCookieMode(2);
  Fetch(setter, cookies.server.Url("/set/shared"));
  HttpRequest reader;
  reader.SetCookieMode(2);
  EXPECT_EQ(Fetch(reader, cookies.server.Url("/echo")), "shared=v-shared;");
  EXPECT_EQ(SharedCookieJar()->GetCookie("127.0.0.1", "shared"), "v-shared");
}

TEST_F(HttpRequestSharedLoopback, ManyThreadsShareTheJar) {
  CookieServer cookies;
  ASSERT_TRUE(cookies.started);
  constexpr int kThreads = 6;
  std::vector<Text> echoed(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      HttpRequest request;
      request.SetCookieMode(2);
      Fetch(request, cookies.server.Url("/set/c" + std::to_string(t)));
      echoed[t] = Fetch(request, cookies.server.Url("/echo"));
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    const Text own = "c" + std::to_string(t) + "=v-c" + std::to_string(t) + ";";
    EXPECT_NE(echoed[t].find(own), Text::npos) << echoed[t];
  }
  std::vector<Text> names;
  EXPECT_EQ(SharedCookieJar()->table.ListNames("127.0.0.1", names), kThreads);
}

TEST_F(HttpRequestLoopback, ModeThreeRoundTripsThroughTheSystemStore) {
  CookieServer cookies;
  ASSERT_TRUE(cookies.started);
  HttpRequest setter;
  setter.SetCookieMode(3);
  Fetch(setter, cookies.server.Url("/set/system"));
  EXPECT_EQ(setter.OwnCookieJar().GetCookie("127.0.0.1", "system"), "");
  HttpRequest reader;
  reader.SetCookieMode(3);
  EXPECT_EQ(Fetch(reader, cookies.server.Url("/echo")), "system=v-system");
}

TEST_F(HttpRequestLoopback, AsyncOpenAnswersAfterWaitResponse) {
  std::binary_semaphore mayAnswer{0};  // or after 5 s, so "not yet" needs no timing
  LoopbackHttpServer server;
  server.Server().Get("/slow", [&](const httplib::Request&, httplib::Response& out) {
    (void)mayAnswer.try_acquire_for(std::chrono::seconds(5));
    out.set_content("late", "text/plain");
  });
  ASSERT_TRUE(server.Start());
  HttpRequest request;
  Text url = server.Url("/slow");
  request.OpenRequest(std::nullopt, url, true);
  request.SendText();
  EXPECT_FALSE(request.WaitResponse(0)) << "the send waited for the answer";
  mayAnswer.release();
  EXPECT_TRUE(request.WaitResponse(5));
  EXPECT_EQ(request.GetResponseText(), "late");
  EXPECT_EQ(request.GetStatus(), 200);
}

TEST_F(HttpRequestLoopback, ShortTimeoutEndsARequestToASilentServer) {
  RawSocketServer silent(
      [](RawConnection& connection) { connection.Hold(std::chrono::seconds(20)); });
  ASSERT_GT(silent.Port(), 0);
  HttpRequest request;
  request.SetTimeoutValues(300, 300, 300, 300);
  Text url = silent.Url("/never");
  request.OpenRequest(std::nullopt, url);
  const auto start = std::chrono::steady_clock::now();
  request.SendText();
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_NE(request.LastCallError(), "");
  EXPECT_GE(took, std::chrono::milliseconds(250));
  EXPECT_LT(took, std::chrono::seconds(10));
  EXPECT_EQ(request.GetResponseText(), "");
}

}  // namespace
}  // namespace vardelle
