#include "demo_world/demo_world.h"

#include <httplib.h>

#include <array>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "demo_world/globalping_stand_in.h"

namespace vardelle::demo {
namespace {

// The documents are raw string literals, so the GB18030 execution charset turns their
// Chinese text into the GBK bytes that the real sites send.
constexpr std::string_view kServerList =
#include "demo_world/documents/gameserver.json.inc"
    ;
constexpr std::string_view kStatusScript =
#include "demo_world/documents/LOL_SERVER_STATUS.js.inc"
    ;
constexpr std::string_view kStatusService =
#include "demo_world/documents/getServerStatus.php.inc"
    ;
constexpr std::string_view kSelectorScript =
#include "demo_world/documents/lol_server_select.js.inc"
    ;
constexpr std::string_view kLocationAnswers =
#include "demo_world/documents/ip_locations.inc"
    ;

constexpr std::array<DemoDocument, 4> kDocuments = {{
    {"/lol/box/gameserver.json", "application/json", kServerList},
    {"/act/a20150326dqpd/js/LOL_SERVER_STATUS.js", "application/javascript; charset=gb2312",
     kStatusScript},
    {"/lol/act/a20150325ServerStatus/getServerStatus.php", "application/json", kStatusService},
    {"/comm-htdocs/js/game_area/lol_server_select.js", "application/javascript; charset=gb2312",
     kSelectorScript},
}};

constexpr std::string_view kLocationFailure = R"({"code":1,"data":"invalid ip"})";

// How long Start waits for the serving thread to take connections.
constexpr auto kStartWait = std::chrono::seconds(5);

}  // namespace

std::span<const DemoDocument> DemoDocuments() { return kDocuments; }

std::string DemoLocationAnswer(std::string_view address) {
  std::string_view rest = kLocationAnswers;
  while (!rest.empty()) {
    const size_t end = std::min(rest.find('\n'), rest.size());
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    const size_t space = line.find(' ');
    if (!address.empty() && space != std::string_view::npos && line.substr(0, space) == address) {
      return std::string(line.substr(space + 1));
    }
  }
  return std::string(kLocationFailure);
}

struct DemoWorld::Server {
  httplib::Server http;
  std::thread thread;
  int port = -1;
  struct StatusChange {
    int atRequest;  // the status service's request from which it holds
    std::string regionId;
    std::string code;
  };
  struct Outage {
    int fromRequest;   // the document's first request that fails
    int untilRequest;  // its first request that is answered again
  };
  static constexpr std::size_t kStatusDocuments = 3;

  // Counts a request of the document; true when it falls in an outage. Under mutex.
  bool NextRequestFails(StatusDocument document) {
    const std::size_t index = static_cast<std::size_t>(document);
    const int request = ++requests[index];
    for (const Outage& outage : outages[index]) {
      if (request >= outage.fromRequest && request < outage.untilRequest) return true;
    }
    return false;
  }
  // The status service's answer to the request just counted; under mutex.
  std::string StatusAnswer() {
    const int request = requests[static_cast<std::size_t>(StatusDocument::kService)];
    std::erase_if(statusChanges, [this, request](const StatusChange& change) {
      if (change.atRequest > request) return false;
      SetStatusCode(change.regionId, change.code);
      return true;
    });
    return statusService;
  }
  void SetStatusCode(std::string_view regionId, std::string_view code) {
    const std::string key = "\"" + std::string(regionId) + "\":\"";
    const std::size_t start = statusService.find(key);
    if (start == std::string::npos) return;
    const std::size_t value = start + key.size();
    statusService.replace(value, statusService.find('"', value) - value, code);
  }

  std::mutex mutex;
  std::string statusService{kStatusService};
  std::array<int, kStatusDocuments> requests{};
  std::array<std::vector<Outage>, kStatusDocuments> outages;
  std::vector<StatusChange> statusChanges;
};

DemoWorld::DemoWorld() = default;

DemoWorld::~DemoWorld() { Stop(); }

namespace {

// The server matches paths as regular expressions; the documents' paths are meant word for
// word.
std::string ExactPattern(std::string_view path) {
  std::string pattern;
  for (char c : path) {
    if (std::string_view(".^$|()[]{}*+?\\").find(c) != std::string_view::npos) pattern += '\\';
    pattern += c;
  }
  return pattern;
}

constexpr std::string_view kUnavailablePage =
    "<html><body><h1>503 Service Unavailable</h1></body></html>";

// The region status documents: kDocuments from its second on, in StatusDocument's order.
const DemoDocument& StatusDocumentServed(DemoWorld::StatusDocument document) {
  return kDocuments[1 + static_cast<std::size_t>(document)];
}

void ServeStatusDocument(DemoWorld::Server& server, DemoWorld::StatusDocument document) {
  const DemoDocument& served = StatusDocumentServed(document);
  server.http.Get(
      ExactPattern(served.path),
      [&server, document, &served](const httplib::Request&, httplib::Response& response) {
        std::lock_guard guard(server.mutex);
        if (server.NextRequestFails(document)) {
          response.status = 503;
          response.set_content(kUnavailablePage.data(), kUnavailablePage.size(), "text/html");
          return;
        }
        const std::string contentType(served.contentType);
        if (document == DemoWorld::StatusDocument::kService) {
          response.set_content(server.StatusAnswer(), contentType.c_str());
        } else {
          response.set_content(served.body.data(), served.body.size(), contentType.c_str());
        }
      });
}

void Route(DemoWorld::Server& server) {
  httplib::Server& http = server.http;
  const DemoDocument& list = kDocuments[0];
  http.Get(ExactPattern(list.path), [&list](const httplib::Request&, httplib::Response& response) {
    response.set_content(list.body.data(), list.body.size(), std::string(list.contentType).c_str());
  });
  using enum DemoWorld::StatusDocument;
  for (DemoWorld::StatusDocument document : {kScript, kService, kSelector}) {
    ServeStatusDocument(server, document);
  }
  http.Get(ExactPattern(kLocationPath), [](const httplib::Request& request,
                                           httplib::Response& response) {
    response.set_content(DemoLocationAnswer(request.get_param_value("ip")), "application/json");
  });
  ServeGlobalpingStandIn(http, {.acceptPrivateTargets = true});
}

bool WaitUntilRunning(const httplib::Server& http) {
  const auto deadline = std::chrono::steady_clock::now() + kStartWait;
  while (!http.is_running()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace

bool DemoWorld::Start() {
  if (server_) return true;
  auto server = std::make_unique<Server>();
  Route(*server);
  server->port = server->http.bind_to_any_port("127.0.0.1");
  if (server->port <= 0) return false;
  httplib::Server& http = server->http;
  server->thread = std::thread([&http] {
    try {
      http.listen_after_bind();
    } catch (...) {
      // Serving ends; clients see the connection refused.
    }
  });
  server_ = std::move(server);
  if (WaitUntilRunning(server_->http)) return true;
  Stop();
  return false;
}

void DemoWorld::Stop() {
  if (!server_) return;
  // The thread may still be on its way into the accept loop, where stop() would be lost.
  WaitUntilRunning(server_->http);
  server_->http.stop();
  server_->thread.join();
  server_.reset();
}

void DemoWorld::SetRegionStatusCode(std::string_view regionId, std::string_view code,
                                    int laterThan) {
  if (!server_) return;
  std::lock_guard guard(server_->mutex);
  const int requestsSoFar = server_->requests[static_cast<std::size_t>(StatusDocument::kService)];
  server_->statusChanges.push_back(
      {requestsSoFar + laterThan + 1, std::string(regionId), std::string(code)});
}

void DemoWorld::FailStatusDocument(StatusDocument document, int laterThan, int requests) {
  if (!server_) return;
  std::lock_guard guard(server_->mutex);
  const std::size_t index = static_cast<std::size_t>(document);
  const int from = server_->requests[index] + laterThan + 1;
  server_->outages[index].push_back({from, from + requests});
}

std::string DemoWorld::BaseUrl() const {
  return server_ ? "http://127.0.0.1:" + std::to_string(server_->port) : std::string();
}

}  // namespace vardelle::demo
