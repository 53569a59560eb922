// The settings dialog's checks of a site: a base URL as the player typed it, and what the
// site answers when its document is fetched ("测试").
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <string_view>

#include "app/settings/endpoints.h"
#include "runtime/bytes.h"
#include "support/text/text.h"

namespace vardelle {

// A site's name as the dialog and the empty table's guide show it (GBK).
Text SiteCaption(Site site);

// The base as typed, without the blanks around it and one trailing "/"; "" leaves the site
// unset.
std::string TrimmedSiteBase(std::string_view typed);

// Why a trimmed base is no site base, "" when it is one or is empty: "http://" or
// "https://", a host of letters, digits, "-", "." (or a bracketed IPv6 address), an
// optional port from 1 to 65535, and nothing after it: the paths are the program's.
Text SiteBaseProblem(std::string_view base);

// How a test's fetch ended.
struct SiteAnswer {
  bool answered = false;  // a whole answer came
  bool timedOut = false;  // none came within the test's time
  int status = 0;
  Bytes body;
};

// The test's time, from the connection to the last byte: a site that needs longer is of
// little use to a table that fetches from it on every run.
inline constexpr std::chrono::seconds kSiteTestTime{10};

// The location service is asked about this address: any answer in the service's form shows
// that the site works.
inline constexpr char kLocationTestAddress[] = "127.0.0.1";

// One GET of the site's document under base, with the page fetch's request; abort ends it
// soon after it turns true.
SiteAnswer FetchSiteDocument(Site site, const std::string& base, const std::atomic<bool>& abort);

// The answer in one line: status, size and what the document held ("HTTP 200，2.1 KB，30
// 个服务器"), or why nothing came.
Text DescribeSiteAnswer(Site site, const SiteAnswer& answer);

}  // namespace vardelle
