// The curl engine's own cases: certificate checks over TLS and the transfer library's
// set-up.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/bytes.h"
#include "runtime/fetch/page_fetch_engine.h"
#include "runtime/platform.h"
#include "testing/loopback_servers.h"

namespace vardelle {
namespace {

using namespace std::chrono_literals;

PageFetchLimits QuickTlsLimits() {
  PageFetchLimits limits;
  limits.stallTimeout = 1s;
  limits.connectTimeout = 5s;
  return limits;
}

TEST(PageFetchTlsTest, HttpsIsVerifiedAgainstTheTrustedCertificates) {
  testing::KeepLoopbackTrafficDirect();
  const testing::SelfSignedCertificate certificate;
  if (!certificate.Ready()) GTEST_SKIP() << "the openssl tool could not make a certificate";
  testing::LoopbackHttpServer server(std::make_unique<httplib::SSLServer>(
      certificate.Certificate().c_str(), certificate.Key().c_str()));
  server.Server().Get("/secure", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("over tls", "text/plain");
  });
  ASSERT_TRUE(server.Start());
  PageFetchLimits trusting = QuickTlsLimits();
  trusting.caFile = certificate.Certificate();
  EXPECT_EQ(ReadUrl(server.Url("/secure#x", "https"), trusting), BytesOf("over tls"));
  EXPECT_TRUE(ReadUrl(server.Url("/secure", "https"), QuickTlsLimits()).empty());
}

// Whatever the sites' addresses, a redirect never leads from https to http; https to https
// is followed.
TEST(PageFetchTlsTest, RedirectsFromHttpsToHttpAreRefused) {
  testing::KeepLoopbackTrafficDirect();
  const testing::SelfSignedCertificate certificate;
  if (!certificate.Ready()) GTEST_SKIP() << "the openssl tool could not make a certificate";
  testing::LoopbackHttpServer plain;
  std::atomic<int> plainRequests{0};
  plain.Server().Get("/plain", [&](const httplib::Request&, httplib::Response& response) {
    ++plainRequests;
    response.set_content("in the clear", "text/plain");
  });
  ASSERT_TRUE(plain.Start());
  testing::LoopbackHttpServer secure(std::make_unique<httplib::SSLServer>(
      certificate.Certificate().c_str(), certificate.Key().c_str()));
  secure.Server().Get("/to-plain", [&](const httplib::Request&, httplib::Response& response) {
    response.set_redirect(plain.Url("/plain"));
  });
  secure.Server().Get("/to-secure", [](const httplib::Request&, httplib::Response& response) {
    response.set_redirect("/secure");
  });
  secure.Server().Get("/secure", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("over tls", "text/plain");
  });
  ASSERT_TRUE(secure.Start());
  PageFetchLimits trusting = QuickTlsLimits();
  trusting.caFile = certificate.Certificate();
  EXPECT_TRUE(ReadUrl(secure.Url("/to-plain", "https"), trusting).empty());
  EXPECT_EQ(plainRequests, 0);
  EXPECT_EQ(ReadUrl(secure.Url("/to-secure", "https"), trusting), BytesOf("over tls"));
  EXPECT_EQ(ReadUrl(plain.Url("/plain"), trusting), BytesOf("in the clear"));
}

// libcurl's global set-up is not thread-safe, so it must be done before any thread exists,
// not by whichever worker transfers first. Memory functions handed to libcurl later take
// effect only when its set-up has not been done yet, so an allocation through them shows
// the set-up missing.
std::atomic<int> allocationsAfterSetUp{0};
void* CountedAllocation(std::size_t size) {
  ++allocationsAfterSetUp;
  return std::malloc(size);
}

TEST(RuntimePlatformDeathTest, SetsUpTheTransferLibraryAtOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process, before any transfer
  EXPECT_EXIT(
      {
        InitializeRuntimePlatform();
        curl_global_init_mem(CURL_GLOBAL_DEFAULT, CountedAllocation, std::free, std::realloc,
                             strdup, std::calloc);
        curl_easy_cleanup(curl_easy_init());
        curl_global_cleanup();
        std::exit(allocationsAfterSetUp == 0 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vardelle
