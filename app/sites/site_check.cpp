#include "app/sites/site_check.h"

#include <charconv>
#include <cstdio>

#include "app/location/server_location.h"
#include "app/status/region_status.h"
#include "runtime/http/http_exchange.h"
#include "runtime/text/ascii_case.h"
#include "support/json/json_reader.h"

namespace vardelle {
namespace {

constexpr const char* kSiteCaptions[kSiteCount] = {"游戏盒子（服务器列表）", "大区状态脚本",
                                                   "大区状态服务", "大区选择脚本", "IP 定位服务"};

// The request the page fetch sends, so the test sees what loading will see.
constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
// A test reads no more than a real document's size many times over.
constexpr std::size_t kMostTestBytes = std::size_t{8} << 20;

bool IsHostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.';
}

bool IsHostName(std::string_view host) {
  if (host.empty() || host.front() == '.' || host.front() == '-') return false;
  for (const char c : host) {
    if (!IsHostCharacter(c)) return false;
  }
  return true;
}

bool IsBracketedAddress(std::string_view host) {
  if (host.size() < 4 || host.front() != '[' || host.back() != ']') return false;
  for (const char c : host.substr(1, host.size() - 2)) {
    if (!(IsHostCharacter(c) || c == ':') || c == '-') return false;
  }
  return true;
}

bool IsPort(std::string_view digits) {
  int port = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
  return error == std::errc() && end == digits.data() + digits.size() && port >= 1 && port <= 65535;
}

// The host and the port after the scheme; "" for a port not given.
struct Authority {
  std::string_view host;
  std::string_view port;
  bool hasPort = false;
};

Authority SplitAuthority(std::string_view rest) {
  const std::size_t bracketEnd = rest.starts_with('[') ? rest.find(']') : 0;
  const std::size_t colon = rest.find(':', bracketEnd == std::string_view::npos ? 0 : bracketEnd);
  if (colon == std::string_view::npos) return {rest, {}, false};
  return {rest.substr(0, colon), rest.substr(colon + 1), true};
}

std::string_view AfterScheme(std::string_view base) {
  for (const std::string_view scheme : {"http://", "https://"}) {
    if (base.starts_with(scheme)) return base.substr(scheme.size());
  }
  return {};
}

Text SizeText(std::size_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + " 字节";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f KB", static_cast<double>(bytes) / 1024);
  return text;
}

Text BodyText(const Bytes& body) { return Text(body.begin(), body.end()); }

Text Counted(std::size_t count, const char* what) { return std::to_string(count) + " " + what; }

// What the site's document held, or that it is not the document wanted.
Text DocumentReading(Site site, const Bytes& body) {
  RegionStatusLists lists;
  switch (site) {
    case Site::kGameBox: {
      const Text text = BodyText(body);
      const std::size_t first = text.find_first_not_of(" \t\r\n");
      JsonReader reader;
      reader.parse(text);
      const int count = reader.getCount("");
      if (first == Text::npos || text[first] != '[' || count == 0) return "不是服务器列表";
      return Counted(static_cast<std::size_t>(count), "个服务器");
    }
    case Site::kStatusSite:
      CutStatusScript(DecodeBytesAsGb2312(body), lists);
      if (lists.statusScript != DocumentRead::kRead) return "不是大区状态脚本";
      return Counted(lists.serverInfoItems.size(), "个大区") + "、" +
             Counted(lists.serverStatusItems.size(), "种状态");
    case Site::kStatusService:
      CutStatusService(BodyText(body), lists);
      if (lists.statusService != DocumentRead::kRead) return "不是大区状态服务的应答";
      return Counted(lists.statusCodeItems.size(), "个大区状态");
    case Site::kSelectorSite:
      CutSelectorScript(DecodeBytesAsGb2312(body), lists);
      if (lists.selector != DocumentRead::kRead) return "不是大区选择脚本";
      return Counted(lists.selectorItems.size(), "个大区记录");
    case Site::kIpLocation:
      if (LocationLineFromAnswer(BodyText(body)) == kLocationFailureText) {
        return "不是定位服务的应答";
      }
      return "定位正常";
  }
  return {};
}

}  // namespace

Text SiteCaption(Site site) { return kSiteCaptions[static_cast<int>(site)]; }

std::string TrimmedSiteBase(std::string_view typed) {
  const std::size_t first = typed.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  std::string_view base = typed.substr(first, typed.find_last_not_of(" \t\r\n") - first + 1);
  if (base.ends_with('/')) base.remove_suffix(1);
  std::string trimmed(base);
  // "HTTP://" reads as "http://", the form the settings file keeps.
  const std::size_t schemeEnd = trimmed.find("://");
  if (schemeEnd != std::string::npos) {
    for (std::size_t i = 0; i < schemeEnd; ++i) trimmed[i] = AsciiLower(trimmed[i]);
  }
  return trimmed;
}

Text SiteBaseProblem(std::string_view base) {
  if (base.empty()) return {};
  const std::string_view rest = AfterScheme(base);
  if (rest.empty()) return "须以 http:// 或 https:// 开头，后接主机名";
  if (rest.find_first_of("/?#") != std::string_view::npos) {
    return "只填站点（协议、主机、端口），不带路径：路径由程序补上";
  }
  const Authority authority = SplitAuthority(rest);
  if (!IsHostName(authority.host) && !IsBracketedAddress(authority.host)) {
    return "主机名不对：只能含字母、数字、“-”和“.”";
  }
  if (authority.hasPort && !IsPort(authority.port)) return "端口须为 1 到 65535 的数字";
  return {};
}

SiteAnswer FetchSiteDocument(Site site, const std::string& base, const std::atomic<bool>& abort) {
  HttpExchange exchange;
  exchange.method = "GET";
  Endpoints endpoints;
  endpoints.SetBaseUrl(site, base);
  exchange.url =
      endpoints.DocumentUrl(site) + (site == Site::kIpLocation ? kLocationTestAddress : "");
  exchange.headers = {"Accept: */*", "Cache-Control: no-cache", "Pragma: no-cache"};
  exchange.userAgent = kUserAgent;
  exchange.proxyMode = ProxyMode::kAutomatic;
  const int testMs = static_cast<int>(std::chrono::milliseconds(kSiteTestTime).count());
  exchange.timeouts = {0, testMs, testMs, testMs, testMs};
  exchange.http11 = false;
  exchange.maxBodyBytes = kMostTestBytes;
  const auto started = std::chrono::steady_clock::now();
  HttpAnswer answer = RunHttpExchange(exchange, abort);
  SiteAnswer result;
  result.answered = answer.complete || answer.failure == HttpFailure::kTooLarge;
  result.status = answer.status;
  result.body = std::move(answer.body);
  // The engines tell no time-out apart from other failures; a failure at the test's end is one.
  result.timedOut = !result.answered && std::chrono::steady_clock::now() - started >= kSiteTestTime;
  return result;
}

Text DescribeSiteAnswer(Site site, const SiteAnswer& answer) {
  if (answer.timedOut) return "没有应答：超时（" + std::to_string(kSiteTestTime.count()) + " 秒）";
  if (!answer.answered) return "连接失败：被拒绝或无法到达";
  return "HTTP " + std::to_string(answer.status) + "，" + SizeText(answer.body.size()) + "，" +
         DocumentReading(site, answer.body);
}

}  // namespace vardelle
