#include "support/http/http_request.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fake_http_component.h"
#include "support/call_error.h"
#include "support/cookies/cookie_jar.h"

namespace vardelle {
namespace {

using testing::FakeHttpComponent;

// A recorded call as "Member|argument|argument".
std::vector<std::string> Described(const std::vector<FakeHttpComponent::Call>& calls) {
  std::vector<std::string> described;
  for (const FakeHttpComponent::Call& call : calls) {
    std::string line = call.member;
    for (const std::string& argument : call.arguments) line += "|" + argument;
    described.push_back(line);
  }
  return described;
}

struct OnFake {
  std::shared_ptr<FakeHttpComponent> fake = std::make_shared<FakeHttpComponent>();
  HttpRequest request{fake};

  std::vector<std::string> Calls() const { return Described(fake->calls); }
  void Open(Text url) { request.OpenRequest(std::nullopt, url); }
};

struct MemberCase {
  const char* name;
  std::function<void(HttpRequest&)> operation;
  std::vector<std::string> calls;
};

const std::vector<MemberCase> kMemberCases = {
    {"status", [](HttpRequest& r) { r.GetStatus(); }, {"Status"}},
    {"statusText", [](HttpRequest& r) { r.GetStatusText(); }, {"StatusText"}},
    {"responseText", [](HttpRequest& r) { r.GetResponseText(); }, {"ResponseText"}},
    {"responseBody", [](HttpRequest& r) { r.GetResponseBody(); }, {"ResponseBody"}},
    {"responseStream", [](HttpRequest& r) { r.GetResponseStream(); }, {"ResponseStream"}},
    {"optionRead", [](HttpRequest& r) { r.AccessOption(6); }, {"GetOption|6"}},
    {"optionWrite", [](HttpRequest& r) { r.AccessOption(6, 1); }, {"SetOption|6", "GetOption|6"}},
    {"proxyDefaults", [](HttpRequest& r) { r.SetProxyServer(); }, {"SetProxy|2||"}},
    {"proxy",
     [](HttpRequest& r) { r.SetProxyServer(1, "proxy:8080", "<local>"); },
     {"SetProxy|1|proxy:8080|<local>"}},
    {"credentialsDefaultTarget",
     [](HttpRequest& r) { r.SetLogonCredentials("user", "密码"); },
     {"SetCredentials|user|密码|0"}},
    {"credentials",
     [](HttpRequest& r) { r.SetLogonCredentials("u", "p", 1); },
     {"SetCredentials|u|p|1"}},
    {"openDefaults",
     [](HttpRequest& r) {
       Text url = "http://a.test/";
       r.OpenRequest(std::nullopt, url);
     },
     {"Open|GET|http://a.test/|false"}},
    {"openGiven",
     [](HttpRequest& r) {
       Text url = "https://a.test/p";
       r.OpenRequest("POST", url, true);
     },
     {"Open|POST|https://a.test/p|true"}},
    {"header", [](HttpRequest& r) { r.AddRequestHeader("X-A", "1"); }, {"SetRequestHeader|X-A|1"}},
    {"getHeader", [](HttpRequest& r) { r.GetHeader("Server"); }, {"GetResponseHeader|Server"}},
    {"getHeaders", [](HttpRequest& r) { r.GetHeaders(); }, {"GetAllResponseHeaders"}},
    {"sendTextWithoutBody", [](HttpRequest& r) { r.SendText(); }, {"Send"}},
    {"sendTextEmptyBody", [](HttpRequest& r) { r.SendText(""); }, {"Send(text)|"}},
    {"sendTextBody", [](HttpRequest& r) { r.SendText("a=1"); }, {"Send(text)|a=1"}},
    {"sendBytesWithoutBody", [](HttpRequest& r) { r.SendBytes(); }, {"Send"}},
    {"sendBytesBody",
     [](HttpRequest& r) {
       r.SendBytes(Bytes{'x', 0, 'y'});
     },
     {std::string("Send(bytes)|x\0y", 15)}},
    {"wait", [](HttpRequest& r) { r.WaitResponse(250); }, {"WaitForResponse|250"}},
    {"abort", [](HttpRequest& r) { r.AbortRequest(); }, {"Abort"}},
    {"timeouts", [](HttpRequest& r) { r.SetTimeoutValues(1, 2, 3, 4); }, {"SetTimeouts|1|2|3|4"}},
    {"certificate",
     [](HttpRequest& r) { r.SetCertificate("CURRENT_USER\\MY\\x"); },
     {"SetClientCertificate|CURRENT_USER\\MY\\x"}},
    {"logonPolicy", [](HttpRequest& r) { r.SetLogonPolicy(2); }, {"SetAutoLogonPolicy|2"}},
    {"setCookieValue", [](HttpRequest& r) { r.GetSetCookieValue("a"); }, {"GetAllResponseHeaders"}},
    {"setCookieLines", [](HttpRequest& r) { r.GetSetCookieLines(); }, {"GetAllResponseHeaders"}},
};

TEST(HttpRequest, EachOperationMakesItsMemberCallsWithItsArguments) {
  for (const MemberCase& c : kMemberCases) {
    OnFake on;
    c.operation(on.request);
    EXPECT_EQ(on.Calls(), c.calls) << c.name;
    EXPECT_EQ(LastCallErrorCode(), 0) << c.name;
  }
}

TEST(HttpRequest, EachComponentCallFailsWithEmptyObjectWhenThereIsNoComponent) {
  HttpRequest request(nullptr);
  for (const MemberCase& c : kMemberCases) {
    ClearCallError();
    c.operation(request);
    EXPECT_EQ(LastCallErrorCode(), -1) << c.name;
    EXPECT_EQ(request.LastCallError(), "对象为空") << c.name;
  }
}

TEST(HttpRequest, FailingComponentRecordsItsCodeForEachOperation) {
  for (const MemberCase& c : kMemberCases) {
    OnFake on;
    on.fake->failure = CallError::kException;
    c.operation(on.request);
    EXPECT_EQ(on.request.LastCallError(), "发现异常") << c.name;
  }
}

TEST(HttpRequest, ReadsPassTheComponentsAnswersThrough) {
  OnFake on;
  on.fake->status = 404;
  on.fake->statusText = "Not Found";
  on.fake->responseText = "正文";
  on.fake->responseBody = {0xD5, 0xFD, 0x00, 0x0A};
  on.fake->responseHeader = "nginx";
  on.fake->allHeaders = "Server: nginx";
  on.fake->answered = false;
  EXPECT_EQ(on.request.GetStatus(), 404);
  EXPECT_EQ(on.request.GetStatusText(), "Not Found");
  EXPECT_EQ(on.request.GetResponseText(), "正文");
  EXPECT_EQ(on.request.GetResponseBody(), on.fake->responseBody);
  EXPECT_EQ(on.request.GetResponseStream(), AutomationValue(on.fake->responseBody));
  EXPECT_EQ(on.request.GetHeader("Server"), "nginx");
  EXPECT_EQ(on.request.GetHeaders(), "Server: nginx");
  EXPECT_FALSE(on.request.WaitResponse(10));
}

TEST(HttpRequest, RefusedReadsAnswerEmptyAndLeaveTheirCode) {
  OnFake on;
  on.fake->responseText = "text";
  on.fake->responseBody = {1, 2};
  on.fake->failure = CallError::kOther;
  EXPECT_EQ(on.request.GetResponseBody(), Bytes());
  EXPECT_EQ(on.request.GetResponseText(), "");
  EXPECT_EQ(on.request.GetStatus(), 0);
  EXPECT_EQ(on.request.LastCallError(), "其他原因调用失败");
  on.fake->failure = CallError::kNone;
  EXPECT_EQ(on.request.GetResponseText(), "text");
  EXPECT_EQ(on.request.LastCallError(), "");
}

struct OptionCase {
  const char* name;
  std::optional<int> integerValue;
  std::optional<Text> textValue;
  std::optional<Bytes> bytesValue;
  std::optional<AutomationValue> variantValue;
  AutomationValue written;
};

const std::vector<OptionCase> kOptionCases = {
    {"integerFirst", 7, "t", Bytes{1}, AutomationValue(true), std::int32_t{7}},
    {"textBeforeBytes", std::nullopt, "t", Bytes{1}, AutomationValue(true), Text("t")},
    {"bytesBeforeVariant", std::nullopt, std::nullopt, Bytes{1}, AutomationValue(true), Bytes{1}},
    {"variantLast", std::nullopt, std::nullopt, std::nullopt, AutomationValue(2.5), 2.5},
};

TEST(HttpRequest, AccessOptionWritesTheFirstGivenValueThenReadsItBack) {
  for (const OptionCase& c : kOptionCases) {
    OnFake on;
    const AutomationValue read =
        on.request.AccessOption(4, c.integerValue, c.textValue, c.bytesValue, c.variantValue);
    EXPECT_EQ(on.fake->option, c.written) << c.name;
    EXPECT_EQ(read, c.written) << c.name;
  }
}

TEST(HttpRequest, ComponentIsSharedUntilReleased) {
  OnFake on;
  EXPECT_TRUE(on.request.HasComponent());
  EXPECT_EQ(on.request.GetComponent(), on.fake);
  on.request.ReleaseComponent();
  EXPECT_FALSE(on.request.HasComponent());
  EXPECT_EQ(on.request.GetComponent(), nullptr);
  EXPECT_EQ(on.fake.use_count(), 1);
  on.request.GetStatus();
  EXPECT_EQ(on.request.LastCallError(), "对象为空");
  EXPECT_TRUE(on.fake->calls.empty());
}

struct UrlCase {
  const char* name;
  Text given;
  Text completed;
  Text host;
};

const std::vector<UrlCase> kUrlCases = {
    {"schemeLess", "lol.example/box/x.json", "http://lol.example/box/x.json", "lol.example"},
    {"capitalScheme", "HTTP://Lol.Example/a", "HTTP://Lol.Example/a", "Lol.Example"},
    {"mixedCaseHttps", "hTtPs://a.example:8443/b", "hTtPs://a.example:8443/b", "a.example"},
    {"otherScheme", "ftp://files.example/f", "http://ftp://files.example/f", "ftp"},
    {"hostStartingWithHttp", "httpbin.example/get", "httpbin.example/get", "httpbin.example"},
    {"portStripped", "http://127.0.0.1:8080/x", "http://127.0.0.1:8080/x", "127.0.0.1"},
    {"noSlash", "http://only.example", "http://only.example", "only.example"},
    {"schemeLessWithPort", "box.example:81", "http://box.example:81", "box.example"},
    {"chineseHost", "http://中文.example/路径", "http://中文.example/路径", "中文.example"},
};

TEST(HttpRequest, OpenCompletesTheUrlInPlaceAndRemembersUrlAndHost) {
  for (const UrlCase& c : kUrlCases) {
    OnFake on;
    Text url = c.given;
    on.request.OpenRequest(std::nullopt, url);
    EXPECT_EQ(url, c.completed) << c.name;
    EXPECT_EQ(on.request.Url(), c.completed) << c.name;
    EXPECT_EQ(on.request.Host(), c.host) << c.name;
    EXPECT_EQ(on.Calls(), std::vector<std::string>{"Open|GET|" + c.completed + "|false"}) << c.name;
  }
}

// The host extraction after Open makes calls of its own; they must not hide the Open's
// failure, nor leave a stale failure behind a successful Open.
TEST(HttpRequest, OpenReportsTheOutcomeOfItsOpenCall) {
  OnFake on;
  on.fake->failure = CallError::kInvalidArgumentValue;
  on.Open("http://a.example/");
  EXPECT_EQ(on.request.LastCallError(), "参数类型值无效");
  on.fake->failure = CallError::kNone;
  SetCallError(CallError::kOverflow);
  on.Open("http://a.example/");
  EXPECT_EQ(on.request.LastCallError(), "");
}

TEST(HttpRequest, SendReportsTheOutcomeOfItsSendInEveryCookieMode) {
  for (const int mode : {0, 1, 3}) {
    OnFake on;
    on.request.SetCookieMode(mode);
    on.Open("http://outcome.example/");
    on.fake->failure = CallError::kException;
    on.request.SendText();
    EXPECT_EQ(on.request.LastCallError(), "发现异常") << mode;
    on.fake->failure = CallError::kNone;
    on.fake->allHeaders = "Set-Cookie: a=1;";
    on.request.SendBytes();
    EXPECT_EQ(on.request.LastCallError(), "") << mode;
  }
}

struct SetCookieValueCase {
  const char* name;
  Text headers;
  Text cookie;
  Text value;
};

const std::vector<SetCookieValueCase> kSetCookieValueCases = {
    {"withSpace", "Server: x\r\nSet-Cookie: sid=abc; path=/", "sid", "abc"},
    {"withoutSpace", "Set-Cookie:sid=abc; path=/", "sid", "abc"},
    {"firstOccurrence", "Set-Cookie: a=1; \r\nSet-Cookie: a=2; ", "a", "1"},
    {"emptyValueRetriesWithoutSpace", "Set-Cookie: a=; x\r\nSet-Cookie:a=3;", "a", "3"},
    {"emptyValueBothWays", "Set-Cookie: a=; path=/", "a", ""},
    {"lineWithoutSemicolonEndsAtLineEnd", "Set-Cookie: a=1\r\nSet-Cookie: b=2; path=/", "a", "1"},
    {"lastLineWithoutSemicolon", "Server: x\r\nSet-Cookie: a=1", "a", "1"},
    {"headerNameCaseCounts", "set-cookie: a=1;", "a", ""},
    {"cookieNameCaseCounts", "Set-Cookie: A=1;", "a", ""},
    {"longerNameNotTaken", "Set-Cookie: xa=1; ", "a", ""},
    {"missing", "Content-Type: text/html", "a", ""},
    {"noHeaders", "", "a", ""},
    {"chineseValue", "Set-Cookie: city=北京; path=/", "city", "北京"},
};

TEST(HttpRequest, SetCookieValueTakesTheValueOfTheNamedCookie) {
  for (const SetCookieValueCase& c : kSetCookieValueCases) {
    OnFake on;
    on.fake->allHeaders = c.headers;
    EXPECT_EQ(on.request.GetSetCookieValue(c.cookie), c.value) << c.name;
  }
}

struct SetCookieLinesCase {
  const char* name;
  Text headers;
  Text lines;
};

const std::vector<SetCookieLinesCase> kSetCookieLinesCases = {
    {"inOrder", "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nServer: x\r\nSet-Cookie:b=2; path=/",
     "Set-Cookie: a=1\r\nSet-Cookie:b=2; path=/\r\n"},
    {"trailingLineBreak", "Set-Cookie: a=1\r\n\r\n", "Set-Cookie: a=1\r\n"},
    {"caseSensitive", "set-cookie: a=1\r\nSET-COOKIE: b=2", ""},
    {"mustBeginTheLine", " Set-Cookie: a=1\r\nX-Set-Cookie: b=2", ""},
    {"bareLineFeedIsNoSplit", "Set-Cookie: a=1\nServer: x", "Set-Cookie: a=1\nServer: x\r\n"},
    {"noHeaders", "", ""},
};

TEST(HttpRequest, SetCookieLinesKeepsTheSetCookieLinesInOrder) {
  for (const SetCookieLinesCase& c : kSetCookieLinesCases) {
    OnFake on;
    on.fake->allHeaders = c.headers;
    EXPECT_EQ(on.request.GetSetCookieLines(), c.lines) << c.name;
  }
}

TEST(HttpRequestCookies, ModeZeroAndUnknownModesLeaveCookiesAlone) {
  for (const int mode : {0, 4, -1}) {
    OnFake on;
    on.request.SetCookieMode(mode);
    on.fake->allHeaders = "Set-Cookie: a=1; path=/";
    on.Open("http://none.example/");
    on.request.SendText();
    on.request.SendText();
    EXPECT_EQ(on.Calls(),
              (std::vector<std::string>{"Open|GET|http://none.example/|false", "Send", "Send"}))
        << mode;
    EXPECT_EQ(on.request.OwnCookieJar().GetCookie("none.example", "a"), "") << mode;
  }
}

TEST(HttpRequestCookies, ModeOneCarriesCookiesOfTheHostInTheOwnJar) {
  OnFake on;
  on.request.SetCookieMode(1);
  on.fake->allHeaders = "Set-Cookie: sid=abc; path=/\r\nSet-Cookie: lang=zh; path=/";
  on.Open("own.example/login");
  on.request.SendText("user=a");
  EXPECT_EQ(on.request.OwnCookieJar().GetCookie("own.example", "sid"), "abc");
  on.fake->calls.clear();
  on.fake->allHeaders.clear();
  on.Open("http://own.example/next");
  on.request.SendText();
  EXPECT_EQ(on.Calls(), (std::vector<std::string>{"Open|GET|http://own.example/next|false",
                                                  "SetRequestHeader|Cookie|sid=abc; lang=zh; ",
                                                  "Send", "GetAllResponseHeaders"}));
  on.fake->calls.clear();
  on.Open("http://other.example/");
  on.request.SendText();
  EXPECT_TRUE(on.fake->CallsTo("SetRequestHeader").empty());
}

class HttpRequestSharedJar : public ::testing::Test {
 protected:
  void SetUp() override { CreateSharedCookieJar(); }
  void TearDown() override { DestroySharedCookieJar(); }
};

TEST_F(HttpRequestSharedJar, ModeTwoHandsCookiesToOtherRequests) {
  OnFake first;
  OnFake second;
  first.request.SetCookieMode(2);
  second.request.SetCookieMode(2);
  first.fake->allHeaders = "Set-Cookie: token=t1; path=/";
  first.Open("http://shared.example/a");
  first.request.SendText();
  EXPECT_EQ(SharedCookieJar()->GetCookie("shared.example", "token"), "t1");
  EXPECT_EQ(first.request.OwnCookieJar().GetCookie("shared.example", "token"), "");
  second.Open("http://shared.example/b");
  second.request.SendBytes(Bytes{1});
  EXPECT_EQ(Described(second.fake->CallsTo("SetRequestHeader")),
            std::vector<std::string>{"SetRequestHeader|Cookie|token=t1; "});
}

TEST(HttpRequestCookies, ModeTwoWithoutSharedJarSendsPlainly) {
  DestroySharedCookieJar();
  OnFake on;
  on.request.SetCookieMode(2);
  on.fake->allHeaders = "Set-Cookie: a=1;";
  on.Open("http://nojar.example/");
  on.request.SendText();
  EXPECT_EQ(on.Calls(), (std::vector<std::string>{"Open|GET|http://nojar.example/|false", "Send"}));
}

TEST(HttpRequestCookies, ModeThreeUsesTheSystemStoreWithTheUrl) {
  OnFake first;
  first.request.SetCookieMode(3);
  first.fake->allHeaders = "Server: x\r\nSet-Cookie: uid=42; Path=/app\r\nset-cookie:theme=dark";
  first.Open("system.example/app/login");
  first.request.SendText();
  EXPECT_EQ(first.request.Host(), "system.example");
  EXPECT_EQ(first.request.Url(), "http://system.example/app/login");

  OnFake second;
  second.request.SetCookieMode(3);
  second.Open("http://system.example/app/home");
  second.request.SendText();
  EXPECT_EQ(second.Calls(),
            (std::vector<std::string>{"Open|GET|http://system.example/app/home|false",
                                      "SetRequestHeader|Cookie|uid=42; theme=dark", "Send",
                                      "GetAllResponseHeaders"}));

  // "theme" took the directory of /app/login as its path; "uid" named /app itself.
  OnFake elsewhere;
  elsewhere.request.SetCookieMode(3);
  elsewhere.Open("http://system.example/other");
  elsewhere.request.SendText();
  EXPECT_TRUE(elsewhere.fake->CallsTo("SetRequestHeader").empty());
}

TEST(HttpRequestCookies, ModeThreeSendBytesCompletesTheHostFieldInPlace) {
  OnFake first;
  first.request.SetCookieMode(3);
  first.fake->allHeaders = "Set-Cookie: b=1; path=/";
  first.Open("http://bytes.example/upload");
  first.request.SendBytes(Bytes{'x'});
  EXPECT_EQ(first.request.Host(), "http://bytes.example");
  EXPECT_EQ(first.request.Url(), "http://bytes.example/upload");

  OnFake second;
  second.request.SetCookieMode(3);
  second.Open("http://bytes.example/deep/path");
  second.request.SendBytes();
  EXPECT_EQ(Described(second.fake->CallsTo("SetRequestHeader")),
            std::vector<std::string>{"SetRequestHeader|Cookie|b=1"});
  EXPECT_EQ(second.request.Host(), "http://bytes.example");
}

// The platform's store answered into a 2048-byte buffer and sent nothing once its text
// outgrew it; the whole text goes out instead.
TEST(HttpRequestCookies, ModeThreeSendsACookieTextLongerThanTheOldBuffer) {
  OnFake first;
  first.request.SetCookieMode(3);
  const Text big(1500, 'v');
  first.fake->allHeaders = "Set-Cookie: a=" + big + "\r\nSet-Cookie: b=" + big;
  first.Open("http://long.example/");
  first.request.SendText();

  OnFake second;
  second.request.SetCookieMode(3);
  second.Open("http://long.example/");
  second.request.SendText();
  EXPECT_EQ(Described(second.fake->CallsTo("SetRequestHeader")),
            std::vector<std::string>{"SetRequestHeader|Cookie|a=" + big + "; b=" + big});
}

TEST(HttpRequestCookies, WithoutComponentModeThreeStillCompletesAndAnswersEmpty) {
  HttpRequest request(nullptr);
  request.SetCookieMode(3);
  Text url = "quiet.example/";
  request.OpenRequest(std::nullopt, url);
  EXPECT_EQ(url, "http://quiet.example/");
  request.SendBytes(Bytes{1});
  EXPECT_EQ(request.Host(), "http://quiet.example");
  EXPECT_EQ(request.LastCallError(), "对象为空");
  EXPECT_EQ(request.GetResponseBody(), Bytes());
  EXPECT_EQ(request.GetStatus(), 0);
  EXPECT_EQ(request.AccessOption(1, 5), AutomationValue());
}

}  // namespace
}  // namespace vardelle
