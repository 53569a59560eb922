#include "runtime/fetch/page_fetch.h"

#include "runtime/fetch/page_fetch_engine.h"

namespace vardelle {

Bytes ReadUrl(const std::string& url) { return ReadUrl(url, PageFetchLimits{}); }

Bytes ReadUrl(const std::string& url, const PageFetchLimits& limits) {
  const std::string withoutFragment = url.substr(0, url.find('#'));
  if (withoutFragment.empty()) return {};
  return FetchPage(withoutFragment, limits);
}

}  // namespace vardelle
