#include "testing/loopback_site.h"

#include <utility>

#include "testing/loopback_servers.h"

namespace vardelle::testing {

class LoopbackSite::Implementation : public LoopbackHttpServer {};

LoopbackSite::LoopbackSite() : server_(std::make_unique<Implementation>()) {}

LoopbackSite::~LoopbackSite() = default;

void LoopbackSite::Serve(const std::string& path, SiteHandler handler) {
  server_->Server().Get(path, [handler = std::move(handler)](const httplib::Request& request,
                                                             httplib::Response& response) {
    const SiteAnswer answer = handler(request.target);
    response.status = answer.status;
    response.set_content(answer.body, answer.contentType);
  });
}

bool LoopbackSite::Start(const std::string& address) { return server_->Start(address); }

int LoopbackSite::Port() const { return server_->Port(); }

std::string LoopbackSite::Url(const std::string& path, const std::string& scheme) const {
  return server_->Url(path, scheme);
}

}  // namespace vardelle::testing
