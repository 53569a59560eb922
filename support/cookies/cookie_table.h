// The cookie records of one jar and the domains seen, every access serialised by the
// table's own lock. Domains and names compare as exact bytes; a blank one (empty after
// trimming ASCII and full-width spaces) is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

#include "support/cookies/cookie_record.h"
#include "support/cookies/section_lock.h"
#include "support/text/text.h"

namespace vardelle {

class CookieTable {
 public:
  // Kept as browsers keep them: at most 180 cookies per domain and 3000 in all, the oldest
  // leaving first, and no cookie whose name and value together pass 4096 bytes; so a
  // domain's Cookie header stays below 180 * (4096 + 3) bytes.
  static constexpr std::size_t kMaxCookiesPerDomain = 180;
  static constexpr std::size_t kMaxCookies = 3000;
  static constexpr std::size_t kMaxCookieBytes = 4096;

  CookieTable() = default;
  CookieTable(const CookieTable&) = delete;
  CookieTable& operator=(const CookieTable&) = delete;

  // False for a blank domain or name and for a cookie over kMaxCookieBytes.
  bool Put(const Text& domain, const Text& name, const Text& value);
  Text Lookup(const Text& domain, const Text& name);
  bool Remove(const Text& domain, const std::optional<Text>& name = std::nullopt);
  void ClearRecords();
  int DomainCount();
  int RecordCount(const std::optional<Text>& domain = std::nullopt);
  int ListDomains(std::vector<Text>& list);
  int ListNames(const Text& domain, std::vector<Text>& list);
  // INI form: "[domain]" lines open a section, "name=value" lines are its cookies. Lines
  // end at LF, a zero byte or byte 26 (a CR before LF dropped); false when the file cannot
  // be read.
  bool ReadFile(const Text& path);
  // Saves every record as a profile key of its domain's section. False for a blank path, a
  // failed write, or a record whose texts would break the line format (left out).
  bool WriteFile(const Text& path);
  // The INI form split at CR LF; empties the caller's text; false when it was empty.
  bool ReadText(Text& text);

 private:
  // Records are numbered in the order they arrive, so the lowest number is the oldest.
  using Sequence = std::uint64_t;
  struct DomainCookies {
    std::unordered_map<Text, Sequence> byName;
    std::set<Sequence> inOrder;
  };

  // A copy of the records taken under the lock, for the operations that work on a copy.
  std::vector<CookieRecord> CopyRecords();
  // Under the lock: removes one record, and its domain's entry with its last record.
  void Drop(Sequence sequence);

  std::map<Sequence, CookieRecord> records;
  std::unordered_map<Text, DomainCookies> byDomain;
  Sequence nextSequence = 0;
  std::vector<Text> domains;
  SectionLock lock;
};

}  // namespace vardelle
