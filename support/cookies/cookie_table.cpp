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
  if (name.size() + value.size() > kMaxCookieBytes) return false;
  SectionLockScope scope(lock);
  auto [entry, domainIsNew] = byDomain.try_emplace(domain);
  DomainCookies& cookies = entry->second;
  if (const auto known = cookies.byName.find(name); known != cookies.byName.end()) {
    records.at(known->second).value = value;
    return true;
  }
  if (domainIsNew) domains.push_back(domain);
  const Sequence sequence = nextSequence++;
  records.emplace(sequence, CookieRecord{domain, name, value});
  cookies.byName.emplace(name, sequence);
  cookies.inOrder.insert(sequence);
  if (cookies.inOrder.size() > kMaxCookiesPerDomain) Drop(*cookies.inOrder.begin());
  if (records.size() > kMaxCookies) {
    const Text oldestDomain = records.begin()->second.domain;
    Drop(records.begin()->first);
    // A domain that loses its last cookie this way is forgotten, so that a stream of new
    // domains cannot grow the domain list either.
    if (!byDomain.contains(oldestDomain)) std::erase(domains, oldestDomain);
  }
  return true;
}

void CookieTable::Drop(Sequence sequence) {
  const auto record = records.find(sequence);
  const auto entry = byDomain.find(record->second.domain);
  entry->second.byName.erase(record->second.name);
  entry->second.inOrder.erase(sequence);
  if (entry->second.inOrder.empty()) byDomain.erase(entry);
  records.erase(record);
}

Text CookieTable::Lookup(const Text& domain, const Text& name) {
  if (IsBlankText(domain) || IsBlankText(name)) return {};
  SectionLockScope scope(lock);
  const auto entry = byDomain.find(domain);
  if (entry == byDomain.end()) return {};
  const auto known = entry->second.byName.find(name);
  return known == entry->second.byName.end() ? Text() : records.at(known->second).value;
}

bool CookieTable::Remove(const Text& domain, const std::optional<Text>& name) {
  if (IsBlankText(domain)) return false;
  SectionLockScope scope(lock);
  if (const auto entry = byDomain.find(domain); entry != byDomain.end()) {
    std::vector<Sequence> doomed;
    if (!name) {
      doomed.assign(entry->second.inOrder.begin(), entry->second.inOrder.end());
    } else if (const auto known = entry->second.byName.find(*name);
               known != entry->second.byName.end()) {
      doomed.push_back(known->second);
    }
    for (const Sequence sequence : doomed) Drop(sequence);
  }
  if (!name) std::erase(domains, domain);
  return true;
}

void CookieTable::ClearRecords() {
  SectionLockScope scope(lock);
  records.clear();
  byDomain.clear();
}

int CookieTable::DomainCount() {
  SectionLockScope scope(lock);
  return static_cast<int>(domains.size());
}

int CookieTable::RecordCount(const std::optional<Text>& domain) {
  SectionLockScope scope(lock);
  if (!domain) return static_cast<int>(records.size());
  const auto entry = byDomain.find(*domain);
  return entry == byDomain.end() ? 0 : static_cast<int>(entry->second.inOrder.size());
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
  std::vector<Text> names;
  {
    SectionLockScope scope(lock);
    if (const auto entry = byDomain.find(domain); entry != byDomain.end()) {
      for (const Sequence sequence : entry->second.inOrder) {
        names.push_back(records.at(sequence).name);
      }
    }
  }
  list = std::move(names);
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
  std::vector<CookieRecord> copy;
  copy.reserve(records.size());
  for (const auto& [sequence, record] : records) copy.push_back(record);
  return copy;
}

}  // namespace vardelle
