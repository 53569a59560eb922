// The request component on the platform's engine (libcurl, WinHTTP) against servers on
// 127.0.0.1 that each test starts.
#include "support/http/http_component.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <semaphore>
#include <string>
#include <vector>

#include "runtime/bytes.h"
#include "support/call_error.h"
#include "support/http/http_exchange.h"
#include "testing/loopback_servers.h"

namespace vardelle {
namespace {

using namespace std::chrono_literals;
using testing::LoopbackHttpServer;
using testing::RawConnection;
using testing::RawSocketServer;

constexpr int kException = static_cast<int>(CallError::kException);
constexpr char kUtf8Chinese[] = "\xE4\xB8\xAD\xE6\x96\x87";  // 中文 in UTF-8

std::chrono::steady_clock::duration Elapsed(std::function<void()> action) {
  const auto start = std::chrono::steady_clock::now();
  action();
  return std::chrono::steady_clock::now() - start;
}

// A server that writes down each request and answers by path.
class HttpComponentTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::KeepLoopbackTrafficDirect(); }

  void SetUp() override {
    auto& http = server.Server();
    const auto record = [this](const httplib::Request& request) {
      std::lock_guard guard(mutex);
      seen.push_back(request);
    };
    http.Get("/text", [record](const httplib::Request& request, httplib::Response& response) {
      record(request);
      response.set_header("X-Custom", "v1");
      response.set_content(kUtf8Chinese, "text/plain; charset=utf-8");
    });
    http.Get("/gbk", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("\xD6\xD0\xCE\xC4", "text/html; charset=gb2312");
    });
    http.Get("/missing", [](const httplib::Request&, httplib::Response& response) {
      response.status = 404;
      response.set_content("gone", "text/plain");
    });
    http.Get("/moved", [](const httplib::Request&, httplib::Response& response) {
      response.set_redirect("/text");
    });
    // Answers once the test lets it, or after 5 s, so "not there yet" needs no timing.
    http.Get("/slow", [this](const httplib::Request&, httplib::Response& response) {
      (void)slowMayAnswer.try_acquire_for(5s);
      response.set_content("late", "text/plain");
    });
    http.Get("/guarded", [](const httplib::Request& request, httplib::Response& response) {
      if (request.get_header_value("Authorization") != "Basic dXNlcjpwYXNz") {  // user:pass
        response.status = 401;
        response.set_header("WWW-Authenticate", "Basic realm=\"test\"");
        return;
      }
      response.set_content("welcome", "text/plain");
    });
    http.Get("/fat-headers", [](const httplib::Request&, httplib::Response& response) {
      response.set_header("X-Fat", std::string(4000, 'h'));
      response.set_content("ok", "text/plain");
    });
    const auto echo = [record](const httplib::Request& request, httplib::Response& response) {
      record(request);
      response.set_content(request.body, "application/octet-stream");
    };
    http.Post("/echo", echo);
    http.Put("/echo", echo);
    http.Delete("/echo", echo);
    ASSERT_TRUE(server.Start());
  }

  std::vector<httplib::Request> Seen() {
    std::lock_guard guard(mutex);
    return seen;
  }

  // Opens and sends; answers whether every step succeeded.
  bool Fetch(HttpComponent& requester, const std::string& method, const std::string& path) {
    requester.Open(method, server.Url(path), false);
    requester.Send();
    return LastCallErrorCode() == 0;
  }

  // The server's handlers use these until it stops, so they are declared before it.
  std::mutex mutex;
  std::vector<httplib::Request> seen;
  std::binary_semaphore slowMayAnswer{0};
  LoopbackHttpServer server;
  const std::shared_ptr<HttpComponent> component = CreateHttpComponent();
};

TEST_F(HttpComponentTest, GetAnswersStatusBodyTextAndHeaders) {
  ASSERT_TRUE(component);
  ASSERT_TRUE(Fetch(*component, "GET", "/text"));
  EXPECT_EQ(component->Status(), 200);
  EXPECT_EQ(component->StatusText(), "OK");
  EXPECT_EQ(component->ResponseBody(), BytesOf(kUtf8Chinese));
  EXPECT_EQ(component->ResponseText(), "中文");
  EXPECT_EQ(component->ResponseStream(), AutomationValue(BytesOf(kUtf8Chinese)));
  EXPECT_EQ(component->GetResponseHeader("x-custom"), "v1");
  EXPECT_EQ(LastCallErrorCode(), 0);
  const Text all = component->GetAllResponseHeaders();
  EXPECT_NE(all.find("X-Custom: v1"), Text::npos);
  EXPECT_NE(all.find("\r\nContent-Type: text/plain; charset=utf-8"), Text::npos);
  EXPECT_EQ(all.find("HTTP/1.1"), Text::npos);
  EXPECT_NE(all.substr(all.size() - 2), "\r\n");

  const auto requests = Seen();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].version, "HTTP/1.1");
  EXPECT_EQ(requests[0].get_header_value("User-Agent"),
            "Mozilla/4.0 (compatible; Win32; WinHttp.WinHttpRequest.5)");
  EXPECT_EQ(requests[0].get_header_value("Accept"), "*/*");
}

TEST_F(HttpComponentTest, OneObjectServesRequestsInTurn) {
  const struct {
    const char* path;
    int status;
    Text text;
  } cases[] = {
      {"/gbk", 200, "中文"},
      {"/missing", 404, "gone"},
      {"/moved", 200, "中文"},
      {"/text", 200, "中文"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    ASSERT_TRUE(Fetch(*component, "GET", c.path));
    EXPECT_EQ(component->Status(), c.status);
    EXPECT_EQ(component->ResponseText(), c.text);
  }
  EXPECT_EQ(component->StatusText(), "OK");
}

TEST_F(HttpComponentTest, BodiesArriveAsSent) {
  const std::string binary("\x00\x01\xFF\x80", 4);
  const struct {
    const char* name;
    std::string method;
    std::function<void(HttpComponent&)> send;
    std::string body;
    std::string contentType;
  } cases[] = {
      {"text goes as UTF-8", "POST", [](HttpComponent& c) { c.Send(Text("中文")); }, kUtf8Chinese,
       "text/plain; charset=UTF-8"},
      {"caller's type wins", "POST",
       [](HttpComponent& c) {
         c.SetRequestHeader("Content-Type", "application/json");
         c.Send(Text("{}"));
       },
       "{}", "application/json"},
      {"bytes untouched, untyped", "POST", [&](HttpComponent& c) { c.Send(BytesOf(binary)); },
       binary, ""},
      {"empty text", "PUT", [](HttpComponent& c) { c.Send(Text()); }, "",
       "text/plain; charset=UTF-8"},
      {"no body", "DELETE", [](HttpComponent& c) { c.Send(); }, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    component->Open(c.method, server.Url("/echo"), false);
    c.send(*component);
    ASSERT_EQ(LastCallErrorCode(), 0);
    EXPECT_EQ(component->ResponseBody(), BytesOf(c.body));
    const httplib::Request request = Seen().back();
    EXPECT_EQ(request.method, c.method);
    EXPECT_EQ(request.get_header_value("Content-Type"), c.contentType);
    EXPECT_EQ(request.get_header_value("Content-Length"), std::to_string(c.body.size()));
    EXPECT_FALSE(request.has_header("Expect"));
  }
}

TEST_F(HttpComponentTest, RequestHeadersReachTheServer) {
  component->SetOption(0, Text("Custom/1.0"));
  EXPECT_EQ(component->GetOption(0), AutomationValue(Text("Custom/1.0")));
  component->Open("GET", server.Url("/text"), false);
  component->SetRequestHeader("X-One", "first");
  component->SetRequestHeader("x-one", "replaced");
  component->SetRequestHeader("Referer", "http://127.0.0.1/");
  component->SetRequestHeader("X-Two", "b\r\nX-Injected: 1");
  EXPECT_EQ(LastCallErrorCode(), kException);
  component->Send();
  ASSERT_EQ(LastCallErrorCode(), 0);
  const httplib::Request request = Seen().back();
  EXPECT_EQ(request.get_header_value_count("X-One"), 1u);
  EXPECT_EQ(request.get_header_value("X-One"), "replaced");
  EXPECT_EQ(request.get_header_value("Referer"), "http://127.0.0.1/");
  EXPECT_EQ(request.get_header_value("User-Agent"), "Custom/1.0");
  EXPECT_FALSE(request.has_header("X-Two"));
  EXPECT_FALSE(request.has_header("X-Injected"));
}

TEST_F(HttpComponentTest, CallsOutOfOrderOrWithBadArgumentsFailQuietly) {
  const std::string url = server.Url("/text");
  const struct {
    const char* name;
    std::function<void(HttpComponent&)> call;
  } cases[] = {
      {"send before open", [](HttpComponent& c) { c.Send(); }},
      {"status before open", [](HttpComponent& c) { EXPECT_EQ(c.Status(), 0); }},
      {"header before open", [](HttpComponent& c) { c.SetRequestHeader("A", "b"); }},
      {"logon before open", [](HttpComponent& c) { c.SetCredentials("u", "p", 0); }},
      {"wait before send",
       [&](HttpComponent& c) {
         c.Open("GET", url, false);
         EXPECT_FALSE(c.WaitForResponse(0));
       }},
      {"read before send",
       [&](HttpComponent& c) {
         c.Open("GET", url, false);
         EXPECT_EQ(c.ResponseBody(), Bytes());
       }},
      {"text before send",
       [&](HttpComponent& c) {
         c.Open("GET", url, false);
         EXPECT_EQ(c.ResponseText(), "");
       }},
      {"send twice",
       [&](HttpComponent& c) {
         c.Open("GET", url, false);
         c.Send();
         c.Send();
       }},
      {"header after send",
       [&](HttpComponent& c) {
         c.Open("GET", url, false);
         c.Send();
         c.SetRequestHeader("A", "b");
       }},
      {"missing response header",
       [&](HttpComponent& c) {
         c.Open("GET", url, false);
         c.Send();
         EXPECT_EQ(c.GetResponseHeader("X-Absent"), "");
       }},
      {"other scheme", [&](HttpComponent& c) { c.Open("GET", "ftp://127.0.0.1/x", false); }},
      {"no scheme", [&](HttpComponent& c) { c.Open("GET", "127.0.0.1/x", false); }},
      {"empty url", [&](HttpComponent& c) { c.Open("GET", "", false); }},
      {"empty method", [&](HttpComponent& c) { c.Open("", url, false); }},
      {"method with a space", [&](HttpComponent& c) { c.Open("GET /x", url, false); }},
      {"send after a refused open",
       [&](HttpComponent& c) {
         c.Open("GET", "ftp://127.0.0.1/x", false);
         c.Send();
       }},
      {"header line break",
       [&](HttpComponent& c) {
         c.Open("GET", url, false);
         c.SetRequestHeader("X-A", "b\r\nX-Injected: 1");
       }},
      {"header name with colon",
       [&](HttpComponent& c) {
         c.Open("GET", url, false);
         c.SetRequestHeader("X-A: b", "c");
       }},
      {"read after abort",
       [&](HttpComponent& c) {
         c.Open("GET", url, false);
         c.Send();
         c.Abort();
         EXPECT_EQ(c.Status(), 0);
       }},
      {"read after a refused reopen",
       [&](HttpComponent& c) {
         c.Open("GET", url, false);
         c.Send();
         c.Open("GET", "ftp://127.0.0.1/x", false);
         EXPECT_EQ(c.ResponseBody(), Bytes());
       }},
      {"proxy setting unknown", [](HttpComponent& c) { c.SetProxy(7, "", ""); }},
      {"named proxy without server", [](HttpComponent& c) { c.SetProxy(2, "", ""); }},
      {"logon policy unknown", [](HttpComponent& c) { c.SetAutoLogonPolicy(3); }},
      {"negative redirect count", [](HttpComponent& c) { c.SetOption(14, std::int32_t{-1}); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto fresh = CreateHttpComponent();
    c.call(*fresh);
    EXPECT_EQ(LastCallErrorCode(), kException);
  }
}

TEST_F(HttpComponentTest, OptionsKeepTheirTypesAndDefaults) {
  EXPECT_EQ(component->GetOption(6), AutomationValue(true));
  EXPECT_EQ(component->GetOption(14), AutomationValue(std::int32_t{10}));
  EXPECT_EQ(component->GetOption(15), AutomationValue(std::int32_t{65536}));
  EXPECT_EQ(component->GetOption(17), AutomationValue(true));
  component->GetOption(1);
  EXPECT_EQ(LastCallErrorCode(), kException);  // no URL before an open
  component->GetOption(99);
  EXPECT_EQ(LastCallErrorCode(), static_cast<int>(CallError::kInvalidArgumentValue));
  component->SetOption(0, std::int32_t{5});
  EXPECT_EQ(LastCallErrorCode(), static_cast<int>(CallError::kTypeMismatch));
  component->SetOption(6, Text("no"));
  EXPECT_EQ(LastCallErrorCode(), static_cast<int>(CallError::kTypeMismatch));

  ASSERT_TRUE(Fetch(*component, "GET", "/moved"));
  EXPECT_EQ(component->GetOption(1), AutomationValue(Text(server.Url("/text"))));
  component->SetOption(6, false);
  ASSERT_TRUE(Fetch(*component, "GET", "/moved"));
  EXPECT_EQ(component->Status(), 302);
}

TEST_F(HttpComponentTest, LimitsOnTheAnswerFailTheRequest) {
  component->SetOption(15, std::int32_t{1024});
  component->Open("GET", server.Url("/fat-headers"), false);
  component->Send();
  EXPECT_EQ(LastCallErrorCode(), static_cast<int>(CallError::kAnswerTooLarge));
  EXPECT_EQ(component->ResponseBody(), Bytes());

  HttpExchange exchange;
  exchange.method = "GET";
  exchange.url = server.Url("/text");
  exchange.maxBodyBytes = 5;
  const std::atomic<bool> keepGoing{false};
  const HttpAnswer cut = RunHttpExchange(exchange, keepGoing);
  EXPECT_FALSE(cut.complete);
  EXPECT_EQ(cut.failure, HttpFailure::kTooLarge);
  exchange.maxBodyBytes = 6;
  EXPECT_EQ(RunHttpExchange(exchange, keepGoing).body, BytesOf(kUtf8Chinese));
}

TEST_F(HttpComponentTest, CredentialsAnswerTheServersChallenge) {
  component->Open("GET", server.Url("/guarded"), false);
  component->SetCredentials("user", "pass", 0);
  component->Send();
  EXPECT_EQ(component->Status(), 200);
  EXPECT_EQ(component->ResponseText(), "welcome");
  ASSERT_TRUE(Fetch(*component, "GET", "/guarded"));  // the next request starts without them
  EXPECT_EQ(component->Status(), 401);
}

TEST_F(HttpComponentTest, AsynchronousSendReturnsAtOnceAndIsWaitedFor) {
  component->Open("GET", server.Url("/slow"), true);
  component->Send();  // a send that waited would find the answer there below
  EXPECT_EQ(LastCallErrorCode(), 0);
  EXPECT_FALSE(component->WaitForResponse(0));
  EXPECT_EQ(LastCallErrorCode(), 0);
  EXPECT_EQ(component->ResponseBody(), Bytes());  // not there yet
  EXPECT_EQ(LastCallErrorCode(), kException);
  slowMayAnswer.release();
  EXPECT_TRUE(component->WaitForResponse(5));
  EXPECT_EQ(component->ResponseText(), "late");
  EXPECT_TRUE(component->WaitForResponse(-1));
}

// Proxies here are scripted servers on 127.0.0.1; the target address is never contacted.
TEST_F(HttpComponentTest, NamedProxyCarriesTheRequestUnlessBypassed) {
  RawSocketServer proxy([](RawConnection& connection) {
    connection.Send("HTTP/1.0 200 OK\r\nContent-Length: 9\r\n\r\nvia proxy");
  });
  const std::string proxyAddress = "127.0.0.1:" + std::to_string(proxy.Port());
  component->SetProxy(2, proxyAddress, "");
  component->Open("GET", "http://127.0.0.2:9/target", false);
  component->Send();
  EXPECT_EQ(component->ResponseText(), "via proxy");
  ASSERT_EQ(proxy.Requests().size(), 1u);
  EXPECT_EQ(proxy.Requests()[0].rfind("GET http://127.0.0.2:9/target HTTP/1.1\r\n", 0), 0u);

  component->SetProxy(2, proxyAddress, "localhost;127.0.0.1");
  ASSERT_TRUE(Fetch(*component, "GET", "/gbk"));
  EXPECT_EQ(component->ResponseText(), "中文");
  component->SetProxy(1, "", "");
  ASSERT_TRUE(Fetch(*component, "GET", "/gbk"));
  EXPECT_EQ(proxy.Connections(), 1);
}

class HttpComponentSilenceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::KeepLoopbackTrafficDirect(); }
};

TEST_F(HttpComponentSilenceTest, ReceiveTimeOutEndsASilentAnswer) {
  const struct {
    const char* name;
    std::string sent;
  } cases[] = {
      {"no answer at all", ""},
      {"stops inside the body", "HTTP/1.1 200 OK\r\nContent-Length: 50\r\n\r\npart"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RawSocketServer silent([&](RawConnection& connection) {
      connection.Send(c.sent);
      connection.Hold(20s);
    });
    const auto component = CreateHttpComponent();
    component->SetTimeouts(0, 5000, 5000, 500);
    component->Open("GET", silent.Url("/"), false);
    const auto waited = Elapsed([&] { component->Send(); });
    EXPECT_GE(waited, 500ms);
    EXPECT_LT(waited, 10s);  // the server holds its silence for 20 s
    EXPECT_EQ(LastCallErrorCode(), kException);
    EXPECT_EQ(component->ResponseBody(), Bytes());
  }
}

// A byte every 100 ms never trips the silence limit; the whole exchange's limit ends it.
TEST_F(HttpComponentSilenceTest, WholeExchangeLimitEndsATrickledAnswer) {
  RawSocketServer trickling([](RawConnection& connection) {
    connection.Send("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n");
    for (int byte = 0; byte < 200 && connection.Send("x"); ++byte) connection.Hold(100ms);
  });
  HttpExchange exchange;
  exchange.method = "GET";
  exchange.url = trickling.Url("/");
  exchange.timeouts.receiveMs = 500;
  exchange.timeouts.wholeMs = 800;
  const std::atomic<bool> keepGoing{false};
  HttpAnswer answer;
  const auto waited = Elapsed([&] { answer = RunHttpExchange(exchange, keepGoing); });
  EXPECT_FALSE(answer.complete);
  EXPECT_GE(waited, 700ms);  // libcurl checks its clock at its own granularity
  EXPECT_LT(waited, 10s);    // the trickle alone would last 20 s
}

// The server never reads the body, so the upload stalls once the socket buffers are full.
// How long filling them takes is the machine's business (seconds under a sanitizer, with the
// kernel opening the window a crack now and then), so the wait is timed from the last byte
// the server's socket took in.
TEST_F(HttpComponentSilenceTest, SendTimeOutEndsAStalledUpload) {
  using Clock = std::chrono::steady_clock;
  std::atomic<Clock::rep> lastIntake{Clock::now().time_since_epoch().count()};
  RawSocketServer deaf([&](RawConnection& connection) {
    std::size_t taken = 0;
    for (int look = 0; look < 2000; ++look) {  // 20 s at most
      if (const std::size_t unread = connection.Unread(); unread != taken) {
        taken = unread;
        lastIntake = Clock::now().time_since_epoch().count();
      }
      connection.Hold(10ms);
    }
  });
  const auto component = CreateHttpComponent();
  component->SetTimeouts(0, 5000, 500, 60000);
  component->Open("POST", deaf.Url("/"), false);
  component->Send(Bytes(std::size_t{64} << 20, 'x'));
  const Clock::time_point gaveUp = Clock::now();
  EXPECT_EQ(LastCallErrorCode(), kException);
  EXPECT_LT(gaveUp - Clock::time_point(Clock::duration(lastIntake.load())), 5s);
}

TEST_F(HttpComponentSilenceTest, AbortAndDestructionStopARunningTransfer) {
  RawSocketServer silent([](RawConnection& connection) { connection.Hold(20s); });
  auto component = CreateHttpComponent();
  component->Open("GET", silent.Url("/"), true);
  component->Send();
  EXPECT_FALSE(component->WaitForResponse(0));
  EXPECT_LT(Elapsed([&] { component->Abort(); }), 10s);  // the server is silent for 20 s
  EXPECT_EQ(LastCallErrorCode(), 0);
  EXPECT_FALSE(component->WaitForResponse(0));
  EXPECT_EQ(LastCallErrorCode(), kException);

  component->Open("GET", silent.Url("/again"), true);
  component->Send();
  EXPECT_LT(Elapsed([&] { component.reset(); }), 10s);
}

TEST_F(HttpComponentSilenceTest, ConnectionRefusedFailsTheSend) {
  int port = 0;
  {
    RawSocketServer gone([](RawConnection&) {});
    port = gone.Port();
  }
  const auto component = CreateHttpComponent();
  component->Open("GET", testing::LoopbackUrl("http", port, "/"), false);
  component->Send();
  EXPECT_EQ(LastCallErrorCode(), kException);
  EXPECT_EQ(component->Status(), 0);
  EXPECT_EQ(LastCallErrorCode(), kException);
}

}  // namespace
}  // namespace vardelle
