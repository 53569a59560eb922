#include "support/cookies/system_cookie_store.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <ctime>
#include <iomanip>
#include <locale>
#include <mutex>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include "support/text/space_trim.h"

namespace vardelle {
namespace {

using Clock = std::chrono::system_clock;
constexpr std::size_t kNone = std::string_view::npos;
// As browsers do, a Max-Age is capped so that adding it to the clock cannot overflow.
constexpr long long kLongestMaxAgeSeconds = 400LL * 24 * 60 * 60;

struct StoredCookie {
  Text host;
  Text path;
  Text name;
  Text value;
  std::optional<Clock::time_point> expires;
};

struct Store {
  std::mutex mutex;
  std::vector<StoredCookie> cookies;  // in the order set
};

// Never destroyed: detached workers may still use the store while the process exits.
Store& TheStore() {
  static Store* const store = new Store;
  return *store;
}

struct UrlParts {
  Text host;
  Text path;
};

std::optional<UrlParts> SplitUrl(std::string_view url) {
  const std::size_t scheme = url.find("://");
  if (scheme == kNone) return std::nullopt;
  const std::string_view rest = url.substr(scheme + 3);
  const std::size_t authorityEnd = rest.find_first_of("/?#");
  std::string_view authority = rest.substr(0, authorityEnd);
  authority.remove_prefix(authority.rfind('@') == kNone ? 0 : authority.rfind('@') + 1);
  // A bracketed IPv6 literal holds colons of its own; the port follows the bracket, and an
  // unclosed bracket leaves no host.
  const std::size_t closing = authority.find(']');
  const std::size_t hostEnd = !authority.starts_with('[') ? authority.find(':')
                              : closing == kNone          ? 0
                                                          : closing + 1;
  const Text host = LowerText(authority.substr(0, hostEnd));
  if (host.empty()) return std::nullopt;
  std::string_view path = authorityEnd == kNone ? "" : rest.substr(authorityEnd);
  return UrlParts{host, Text(path.substr(0, path.find_first_of("?#")))};
}

// The directory of the URL's path: "/a/b" gives "/a", "/a" and "" give "/".
Text DefaultPath(std::string_view urlPath) {
  const std::size_t lastSlash = urlPath.rfind('/');
  if (!urlPath.starts_with('/') || lastSlash == 0) return "/";
  return Text(urlPath.substr(0, lastSlash));
}

// "/a" serves "/a", "/a/" and "/a/b" but not "/ab".
bool PathMatches(std::string_view cookiePath, std::string_view urlPath) {
  if (urlPath.empty()) urlPath = "/";
  if (!urlPath.starts_with(cookiePath)) return false;
  return urlPath.size() == cookiePath.size() || cookiePath.ends_with('/') ||
         urlPath[cookiePath.size()] == '/';
}

bool IsCookieName(std::string_view name) {
  const auto forbidden = [](unsigned char c) {
    return c < 0x20 || c == 0x7F || c == '=' || c == ';';
  };
  return !name.empty() && std::none_of(name.begin(), name.end(), forbidden);
}

std::optional<Clock::time_point> MaxAgeExpiry(std::string_view value) {
  long long seconds = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
  if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
  if (seconds <= 0) return Clock::time_point::min();
  return Clock::now() + std::chrono::seconds(std::min(seconds, kLongestMaxAgeSeconds));
}

// "Wdy, DD Mon YYYY HH:MM:SS GMT" and the older "Wdy, DD-Mon-YY HH:MM:SS GMT".
std::optional<Clock::time_point> ExpiresExpiry(std::string_view value) {
  std::istringstream in(ReplaceText(value, "-", " "));
  in.imbue(std::locale::classic());
  std::tm fields{};
  in >> std::get_time(&fields, "%a, %d %b %Y %H:%M:%S");
  if (in.fail()) return std::nullopt;
  int year = fields.tm_year + 1900;
  if (year < 100) year += year < 70 ? 2000 : 1900;
  const std::chrono::year_month_day day{
      std::chrono::year(year), std::chrono::month(static_cast<unsigned>(fields.tm_mon + 1)),
      std::chrono::day(static_cast<unsigned>(fields.tm_mday))};
  if (!day.ok()) return std::nullopt;
  return std::chrono::sys_days(day) + std::chrono::hours(fields.tm_hour) +
         std::chrono::minutes(fields.tm_min) + std::chrono::seconds(fields.tm_sec);
}

struct CookieData {
  Text value;
  std::optional<Text> path;
  std::optional<Clock::time_point> maxAge;
  std::optional<Clock::time_point> expires;
};

void ReadAttribute(std::string_view attribute, CookieData& data) {
  const std::size_t equals = attribute.find('=');
  const Text key = LowerText(TrimAsciiBlanks(attribute.substr(0, equals)));
  const std::string_view value =
      equals == kNone ? "" : TrimAsciiBlanks(attribute.substr(equals + 1));
  if (key == "path" && value.starts_with('/')) data.path = Text(value);
  if (key == "max-age") data.maxAge = MaxAgeExpiry(value);
  if (key == "expires") data.expires = ExpiresExpiry(value);
}

// Only the first line counts, so a value never carries a line break into a later header.
CookieData ReadCookieData(std::string_view text) {
  text = text.substr(0, text.find_first_of("\r\n"));
  std::size_t end = text.find(';');
  CookieData data;
  data.value = TrimAsciiBlanks(text.substr(0, end));
  while (end != kNone) {
    text.remove_prefix(end + 1);
    end = text.find(';');
    ReadAttribute(text.substr(0, end), data);
  }
  return data;
}

bool HasExpired(const StoredCookie& cookie, Clock::time_point now) {
  return cookie.expires && *cookie.expires <= now;
}

bool SameCookie(const StoredCookie& a, const StoredCookie& b) {
  return a.host == b.host && a.path == b.path && a.name == b.name;
}

void Keep(StoredCookie cookie) {
  Store& store = TheStore();
  const std::lock_guard lock(store.mutex);
  auto& cookies = store.cookies;
  const auto same = std::find_if(cookies.begin(), cookies.end(),
                                 [&](const StoredCookie& c) { return SameCookie(c, cookie); });
  if (HasExpired(cookie, Clock::now())) {
    if (same != cookies.end()) cookies.erase(same);
  } else if (same != cookies.end()) {
    *same = std::move(cookie);
  } else {
    cookies.push_back(std::move(cookie));
  }
}

std::vector<StoredCookie> CookiesFor(const UrlParts& url) {
  Store& store = TheStore();
  const std::lock_guard lock(store.mutex);
  const Clock::time_point now = Clock::now();
  std::erase_if(store.cookies, [now](const StoredCookie& c) { return HasExpired(c, now); });
  std::vector<StoredCookie> found;
  std::copy_if(
      store.cookies.begin(), store.cookies.end(), std::back_inserter(found),
      [&](const StoredCookie& c) { return c.host == url.host && PathMatches(c.path, url.path); });
  return found;
}

}  // namespace

bool SetSystemCookie(const Text& url, const Text& name, const Text& data) {
  const std::optional<UrlParts> target = SplitUrl(url);
  const std::string_view cookieName = TrimAsciiBlanks(name);
  if (!target || !IsCookieName(cookieName)) return false;
  CookieData parsed = ReadCookieData(data);
  // Max-Age outranks Expires, whichever comes first.
  const std::optional<Clock::time_point> expires = parsed.maxAge ? parsed.maxAge : parsed.expires;
  Keep({target->host, parsed.path.value_or(DefaultPath(target->path)), Text(cookieName),
        std::move(parsed.value), expires});
  return true;
}

Text GetSystemCookies(const Text& url) {
  const std::optional<UrlParts> target = SplitUrl(url);
  if (!target) return {};
  std::vector<StoredCookie> cookies = CookiesFor(*target);
  std::stable_sort(
      cookies.begin(), cookies.end(),
      [](const StoredCookie& a, const StoredCookie& b) { return a.path.size() > b.path.size(); });
  Text header;
  for (const StoredCookie& cookie : cookies) {
    if (!header.empty()) header += "; ";
    header += cookie.name + "=" + cookie.value;
  }
  return header;
}

}  // namespace vardelle
