// The cookie jar on any bytes: the first byte picks what the text is (0 the INI form,
// 1 Set-Cookie header lines, 2 a cookie string), the rest of the first line is the domain.
// However much arrives, the jar stays within its limits and every header within its bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "support/cookies/cookie_jar.h"

namespace {

using vardelle::CookieJar;
using vardelle::CookieTable;
using vardelle::Text;

constexpr std::size_t kHeaderBound =
    CookieTable::kMaxCookiesPerDomain * (CookieTable::kMaxCookieBytes + 3);

void Absorb(CookieJar& jar, char kind, const Text& domain, Text text) {
  switch (kind % 3) {
    case 0:
      jar.LoadFromText(text);
      break;
    case 1:
      jar.AbsorbSetCookieText(domain, text);
      break;
    default:
      jar.AbsorbCookieString(domain, text);
  }
}

bool StaysWithinLimits(CookieJar& jar) {
  if (jar.table.RecordCount() > static_cast<int>(CookieTable::kMaxCookies)) return false;
  std::vector<Text> domains;
  jar.table.ListDomains(domains);
  for (const Text& domain : domains) {
    if (jar.table.RecordCount(domain) > static_cast<int>(CookieTable::kMaxCookiesPerDomain)) {
      return false;
    }
    if (jar.BuildCookieHeader(domain).size() > kHeaderBound) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t lineEnd = input.find('\n');
  const std::string_view domain =
      input.substr(1, lineEnd == std::string_view::npos ? 0 : lineEnd - 1);
  const std::string_view text =
      lineEnd == std::string_view::npos ? input.substr(1) : input.substr(lineEnd + 1);
  CookieJar jar;
  Absorb(jar, input.front(), Text(domain), Text(text));
  if (!StaysWithinLimits(jar)) std::abort();
  return 0;
}
