#include "support/cookies/cookie_jar.h"

#include <mutex>
#include <string_view>
#include <vector>

#include "support/regex/compact_regex.h"
#include "support/text/space_trim.h"

namespace vardelle {
namespace {

// A name or value ends at the line's end as well: a cookie without a closing ";" must not
// run on into the next header line.
constexpr std::string_view kSetCookiePattern = "Set-Cookie: ?([^=;\\r\\n]*)=([^=;\\r\\n]*);?";
constexpr std::string_view kCookieStringPattern = "([^=;]+)=([^=;]+)";

Text SetCookieText(const Text& name, const Text& value) {
  return JoinTexts({"Set-Cookie: ", name, "=", value, "; "});
}

// A line break in a header value would start a header of its own.
bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != text.npos; }

struct SharedJarSlot {
  std::mutex mutex;
  std::shared_ptr<CookieJar> jar;
};

// Never destroyed, so a detached thread still asking for the jar at process exit finds a
// valid slot.
SharedJarSlot& SharedSlot() {
  static SharedJarSlot* slot = new SharedJarSlot;
  return *slot;
}

}  // namespace

bool CookieJar::SetCookie(const Text& domain, const Text& name, const Text& value) {
  return AbsorbSetCookieText(domain, SetCookieText(name, value));
}

Text CookieJar::GetCookie(const Text& domain, const Text& name) {
  return table.Lookup(domain, name);
}

bool CookieJar::AbsorbSetCookieText(const Text& domain, const Text& text) {
  SetCookieReader reader;
  return AbsorbSetCookieText(reader, domain, text);
}

CookieJar::SetCookieReader::SetCookieReader() {
  regex.Create(kSetCookiePattern, true, false, true);
}

bool CookieJar::AbsorbSetCookieText(SetCookieReader& reader, const Text& domain, const Text& text) {
  if (text.empty()) return false;
  const int count = reader.regex.Execute(text);
  if (count <= 0) return false;
  for (int i = 1; i <= count; ++i) {
    table.Put(domain, reader.regex.GetSubMatch(i, 1), reader.regex.GetSubMatch(i, 2));
  }
  return true;
}

// Each name is looked up on its own, so a cookie removed meanwhile simply drops out.
Text CookieJar::BuildCookieHeader(const Text& domain) {
  std::vector<Text> names;
  table.ListNames(domain, names);
  Text header;
  for (const Text& name : names) {
    const Text value = table.Lookup(domain, name);
    if (IsBlankText(value) || HasLineBreak(name) || HasLineBreak(value)) continue;
    header.append(JoinTexts({name, "=", value, "; "}));
  }
  return header;
}

// Each pair goes through the Set-Cookie form as SetCookie would send it; the pattern for
// that form is compiled once for the whole string.
int CookieJar::AbsorbCookieString(const Text& domain, const Text& text) {
  CompactRegex regex;
  regex.Create(kCookieStringPattern, true, true, true);
  const int count = regex.Execute(text);
  SetCookieReader reader;
  for (int i = 1; i <= count; ++i) {
    AbsorbSetCookieText(reader, domain,
                        SetCookieText(regex.GetSubMatch(i, 1), regex.GetSubMatch(i, 2)));
  }
  return count;
}

bool CookieJar::RemoveDomain(const Text& domain) { return table.Remove(domain); }

void CookieJar::ClearCookies() { table.ClearRecords(); }

bool CookieJar::AbsorbResponse(HttpComponent* component, const Text& domain) {
  if (component == nullptr) return false;
  return AbsorbSetCookieText(domain, component->GetAllResponseHeaders());
}

bool CookieJar::ApplyToRequest(HttpComponent* component, const Text& domain) {
  if (component == nullptr) return false;
  const Text header = BuildCookieHeader(domain);
  if (IsBlankText(header)) return false;
  component->SetRequestHeader("Cookie", header);
  return true;
}

bool CookieJar::SaveToFile(const Text& path) { return table.WriteFile(path); }

bool CookieJar::LoadFromFile(const Text& path) { return table.ReadFile(path); }

bool CookieJar::LoadFromText(Text& text) { return table.ReadText(text); }

// A second call keeps the jar that exists, so no cookies are dropped.
void CreateSharedCookieJar() {
  SharedJarSlot& slot = SharedSlot();
  std::lock_guard guard(slot.mutex);
  if (!slot.jar) slot.jar = std::make_shared<CookieJar>();
}

// The jar itself goes with its last holder, outside the slot's mutex.
void DestroySharedCookieJar() {
  std::shared_ptr<CookieJar> released;
  SharedJarSlot& slot = SharedSlot();
  std::lock_guard guard(slot.mutex);
  released.swap(slot.jar);
}

std::shared_ptr<CookieJar> SharedCookieJar() {
  SharedJarSlot& slot = SharedSlot();
  std::lock_guard guard(slot.mutex);
  return slot.jar;
}

}  // namespace vardelle
