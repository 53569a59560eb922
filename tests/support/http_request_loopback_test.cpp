// The request object over the system's component against servers on 127.0.0.1.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <semaphore>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "support/call_error.h"
#include "support/cookies/cookie_jar.h"
#include "support/http/http_exchange.h"
#include "support/http/http_request.h"
#include "support/text/space_trim.h"
#include "testing/gzip_bomb.h"
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

// A site that tells which credentials each request carried, and redirects where asked.
class CredentialEcho {
 public:
  explicit CredentialEcho(const std::string& address = "127.0.0.1") {
    server.Server().Get("/creds", [this](const httplib::Request& in, httplib::Response& out) {
      ++requests;
      out.set_content("auth=" + in.get_header_value("Authorization") +
                          ";cookie=" + in.get_header_value("Cookie"),
                      "text/plain");
    });
    server.Server().Get("/away", [](const httplib::Request& in, httplib::Response& out) {
      out.set_redirect(in.get_param_value("to"));
    });
    started = server.Start(address);
  }

  LoopbackHttpServer server;
  std::atomic<int> requests{0};
  bool started = false;
};

// The Authorization and Cookie lines go along to the same scheme, host and port only, on
// both engines (WinHTTP's own following would send them to any host).
TEST_F(HttpRequestLoopback, RedirectsCarryCredentialsOnlyToTheFirstOrigin) {
  CredentialEcho first;
  CredentialEcho other;
  ASSERT_TRUE(first.started && other.started);
  const struct {
    std::string target;
    Text body;
  } cases[] = {
      {first.server.Url("/creds"), "auth=Bearer t0ken;cookie=id=7"},
      {other.server.Url("/creds"), "auth=;cookie="},
  };
  for (const auto& c : cases) {
    HttpRequest request;
    Text url = first.server.Url("/away?to=" + c.target);
    request.OpenRequest(std::nullopt, url);
    request.AddRequestHeader("Authorization", "Bearer t0ken");
    request.AddRequestHeader("Cookie", "id=7");
    request.SendText();
    EXPECT_EQ(request.GetResponseText(), c.body) << c.target;
  }
}

// Plays a public site on loopback: 127.0.0.2 is the one internal address.
bool OnlySecondLoopbackIsInternal(std::span<const std::uint8_t> address) {
  static constexpr std::array<std::uint8_t, 4> kSecond = {127, 0, 0, 2};
  return std::equal(address.begin(), address.end(), kSecond.begin(), kSecond.end());
}

TEST_F(HttpRequestLoopback, RedirectsFromAPublicSiteToAnInternalAddressAreRefused) {
  CredentialEcho outside;
  CredentialEcho inside("127.0.0.2");
  ASSERT_TRUE(outside.started && inside.started);
  const std::atomic<bool> keepGoing{false};
  HttpExchange exchange;
  exchange.method = "GET";
  exchange.proxyMode = ProxyMode::kDirect;
  exchange.isInternal = OnlySecondLoopbackIsInternal;
  exchange.url = outside.server.Url("/away?to=" + inside.server.Url("/creds"));
  const HttpAnswer refused = RunHttpExchange(exchange, keepGoing);
  EXPECT_FALSE(refused.complete);
  EXPECT_EQ(refused.failure, HttpFailure::kRedirectToInternal);
  EXPECT_EQ(inside.requests, 0);

  exchange.url = inside.server.Url("/away?to=" + outside.server.Url("/creds"));
  EXPECT_TRUE(RunHttpExchange(exchange, keepGoing).complete) << "internal to public";
  exchange.url = inside.server.Url("/away?to=/creds");
  EXPECT_TRUE(RunHttpExchange(exchange, keepGoing).complete) << "internal to internal";
}

// An answer past the body limit fails with its own code, counted after inflating, and the
// reading stops there: the server never gets to send most of its endless answer.
TEST_F(HttpRequestLoopback, AnswersPastTheBodyLimitFailAsTooLargeAndStopInflating) {
  constexpr std::size_t kStreamBytes = std::size_t{64} << 20;
  constexpr std::size_t kPieceBlocks = 4096;
  std::atomic<std::size_t> written{0};
  LoopbackHttpServer server;
  server.Server().Get("/endless", [&](const httplib::Request& in, httplib::Response& out) {
    // WinHTTP under Wine offers no compression: zeros come plain then.
    const bool gzip = in.get_header_value("Accept-Encoding").find("gzip") != std::string::npos;
    if (gzip) out.set_header("Content-Encoding", "gzip");
    out.set_content_provider(
        kStreamBytes, "application/octet-stream",
        [&, gzip](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
          std::string piece = gzip && offset == 0 ? testing::GzipBombStart() : "";
          for (std::size_t i = 0; i < kPieceBlocks; ++i) {
            piece += gzip ? testing::GzipBombBlock() : std::string(11, '\0');
          }
          const std::size_t size = std::min(piece.size(), length);
          if (!sink.write(piece.data(), size)) return false;
          written += size;
          return true;
        });
  });
  ASSERT_TRUE(server.Start());
  HttpRequest request;
  request.AcceptCompressedAnswers();
  request.SetMaxResponseBodySize(std::size_t{1} << 20);
  Text url = server.Url("/endless");
  request.OpenRequest(std::nullopt, url);
  request.SendText();
  EXPECT_EQ(LastCallErrorCode(), static_cast<int>(CallError::kAnswerTooLarge));
  EXPECT_EQ(request.LastCallError(), "应答过大");
  EXPECT_EQ(request.GetStatus(), 0);
  EXPECT_LT(written, kStreamBytes / 4);
}

}  // namespace
}  // namespace vardelle
