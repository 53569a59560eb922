// A web site on a free loopback port that answers GET requests from a handler: what most
// tests need of an HTTP server, without reading the HTTP library's header (which made each
// including test object thousands of functions heavier). loopback_servers.h has the full
// server for the tests that need its other features.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace vardelle::testing {

struct SiteAnswer {
  int status = 200;
  std::string body{};
  std::string contentType = "application/json";
};

// Called on the server's threads with the request's target (path and query, as sent).
using SiteHandler = std::function<SiteAnswer(const std::string& target)>;

class LoopbackSite {
 public:
  LoopbackSite();
  ~LoopbackSite();
  LoopbackSite(const LoopbackSite&) = delete;
  LoopbackSite& operator=(const LoopbackSite&) = delete;

  // Pages are added before Start().
  void Serve(const std::string& path, SiteHandler handler);
  // False when the site could not listen; the test should then fail.
  bool Start(const std::string& address = "127.0.0.1");
  int Port() const;
  std::string Url(const std::string& path, const std::string& scheme = "http") const;

 private:
  class Implementation;
  std::unique_ptr<Implementation> server_;
};

}  // namespace vardelle::testing
