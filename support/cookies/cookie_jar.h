// Cookies kept per domain in memory: filled from "Set-Cookie" headers or cookie strings,
// turned into a "Cookie" request header, saved to and loaded from an INI-style file.
// Safe to share between threads: every record access goes through the table's lock.
#pragma once

#include <memory>

#include "support/cookies/cookie_table.h"
#include "support/http/http_component.h"
#include "support/regex/compact_regex.h"
#include "support/text/text.h"

namespace vardelle {

class CookieJar {
 public:
  CookieJar() = default;
  CookieJar(const CookieJar&) = delete;
  CookieJar& operator=(const CookieJar&) = delete;

  bool SetCookie(const Text& domain, const Text& name, const Text& value);
  Text GetCookie(const Text& domain, const Text& name);
  bool AbsorbSetCookieText(const Text& domain, const Text& text);
  Text BuildCookieHeader(const Text& domain);
  int AbsorbCookieString(const Text& domain, const Text& text);
  bool RemoveDomain(const Text& domain);
  void ClearCookies();
  // False for an empty component.
  bool AbsorbResponse(HttpComponent* component, const Text& domain);
  bool ApplyToRequest(HttpComponent* component, const Text& domain);
  bool SaveToFile(const Text& path);
  bool LoadFromFile(const Text& path);
  bool LoadFromText(Text& text);

  CookieTable table;

 private:
  // The compiled Set-Cookie pattern, for one caller at a time.
  struct SetCookieReader {
    SetCookieReader();
    CompactRegex regex;
  };
  bool AbsorbSetCookieText(SetCookieReader& reader, const Text& domain, const Text& text);
};

// The process-wide jar that requests in cookie mode 2 share. It exists from
// CreateSharedCookieJar (program start) to DestroySharedCookieJar (program end); a caller
// holding the pointer keeps it alive past the end. nullptr outside that time.
void CreateSharedCookieJar();
void DestroySharedCookieJar();
std::shared_ptr<CookieJar> SharedCookieJar();

}  // namespace vardelle
