#include "support/cookies/cookie_table.h"

#include <algorithm>
#include <string_view>

#include "support/files/file_access.h"
#include "support/files/profile_writer.h"
#include "support/text/space_trim.h"

namespace vardelle {
namespace {

// Bytes that end a line of a cookie file.
constexpr std::string_view kFileLineEnds("\n\0\x1a", 3);

// Splits at every line end; a carriage return just before a line feed belongs to the end.
std::vector<std::string_view> SplitFileLines(std::string_view file) {
  std::vector<std::string_view> lines;
  while (!file.empty()) {
    const std::size_t end = file.find_first_of(kFileLineEnds);
    std::string_view line = file.substr(0, end);
    if (end != file.npos && file[end] == '\n' && line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    file.remove_prefix(end == file.npos ? file.size() : end + 1);
  }
  return lines;
}

std::vector<std::string_view> SplitAtCrLf(std::string_view text) {
  constexpr std::string_view kCrLf = "\r\n";
  std::vector<std::string_view> pieces;
  while (!text.empty()) {
    const std::size_t end = text.find(kCrLf);
    pieces.push_back(text.substr(0, end));
    text.remove_prefix(end == text.npos ? text.size() : end + kCrLf.size());
  }
  return pieces;
}

// One line of the INI form: a section line makes its domain the current section, a pair
// line puts a cookie into it, and anything else is passed over.
void AbsorbLine(CookieTable& table, Text& section, std::string_view line) {
  if (IsBlankText(line)) return;
  const Text trimmed = TrimSpaces(line);
  if (trimmed.starts_with('[')) {
    section = MidText(trimmed, 2, TextLength(trimmed) - 2);
    return;
  }
  const int equals = FindText(trimmed, "=");
  if (equals < 0) return;
  table.Put(section, LeftText(trimmed, equals - 1),
            MidText(trimmed, equals + 1, TextLength(trimmed)));
}

void AbsorbLines(CookieTable& table, const std::vector<std::string_view>& lines) {
  Text section;
  for (std::string_view line : lines) AbsorbLine(table, section, line);
}

}  // namespace

bool CookieTable::Put(const Text& domain, const Text& name, const Text& value) {
  if (IsBlankText(name) || IsBlankText(domain)) return false;
  SectionLockScope scope(lock);
  bool domainSeen = false;
  for (CookieRecord& record : records) {
    if (record.domain != domain) continue;
    domainSeen = true;
    if (record.name == name) {
      record.value = value;
      return true;
    }
  }
  records.push_back({domain, name, value});
  if (!domainSeen) domains.push_back(domain);
  return true;
}

Text CookieTable::Lookup(const Text& domain, const Text& name) {
  if (IsBlankText(domain) || IsBlankText(name)) return {};
  SectionLockScope scope(lock);
  const auto found = std::find_if(records.begin(), records.end(), [&](const CookieRecord& r) {
    return r.domain == domain && r.name == name;
  });
  return found == records.end() ? Text() : found->value;
}

bool CookieTable::Remove(const Text& domain, const std::optional<Text>& name) {
  if (IsBlankText(domain)) return false;
  SectionLockScope scope(lock);
  std::erase_if(records, [&](const CookieRecord& r) {
    return r.domain == domain && (!name || r.name == *name);
  });
  if (!name) std::erase(domains, domain);
  return true;
}

void CookieTable::ClearRecords() {
  SectionLockScope scope(lock);
  records.clear();
}

int CookieTable::DomainCount() {
  SectionLockScope scope(lock);
  return static_cast<int>(domains.size());
}

int CookieTable::RecordCount(const std::optional<Text>& domain) {
  const std::vector<CookieRecord> copy = CopyRecords();
  if (!domain) return static_cast<int>(copy.size());
  return static_cast<int>(std::count_if(
      copy.begin(), copy.end(), [&](const CookieRecord& r) { return r.domain == *domain; }));
}

int CookieTable::ListDomains(std::vector<Text>& list) {
  std::vector<Text> copy;
  {
    SectionLockScope scope(lock);
    copy = domains;
  }
  list = std::move(copy);
  return static_cast<int>(list.size());
}

int CookieTable::ListNames(const Text& domain, std::vector<Text>& list) {
  const std::vector<CookieRecord> copy = CopyRecords();
  list.clear();
  for (const CookieRecord& record : copy) {
    if (record.domain == domain) list.push_back(record.name);
  }
  return static_cast<int>(list.size());
}

bool CookieTable::ReadFile(const Text& path) {
  const std::optional<std::string> file = ReadWholeFile(path);
  if (!file) return false;
  AbsorbLines(*this, SplitFileLines(*file));
  return true;
}

// Any record that cannot be written makes the result false, so a caller never takes a
// partly saved jar for a saved one.
bool CookieTable::WriteFile(const Text& path) {
  const std::vector<CookieRecord> copy = CopyRecords();
  if (IsBlankText(path)) return false;
  std::vector<ProfileEntry> entries;
  entries.reserve(copy.size());
  for (const CookieRecord& record : copy) {
    entries.push_back({record.domain, record.name, record.value});
  }
  return WriteProfileStrings(entries, path);
}

bool CookieTable::ReadText(Text& text) {
  const Text taken = std::move(text);
  text.clear();
  const std::vector<std::string_view> pieces = SplitAtCrLf(taken);
  AbsorbLines(*this, pieces);
  return !pieces.empty();
}

std::vector<CookieRecord> CookieTable::CopyRecords() {
  SectionLockScope scope(lock);
  return records;
}

}  // namespace vardelle
