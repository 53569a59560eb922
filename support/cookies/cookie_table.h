// The cookie records of one jar and the domains seen, every access serialised by the
// table's own lock. Domains and names compare as exact bytes; a blank one (empty after
// trimming ASCII and full-width spaces) is refused.
#pragma once

#include <optional>
#include <vector>

#include "support/cookies/cookie_record.h"
#include "support/cookies/section_lock.h"
#include "support/text/text.h"

namespace vardelle {

class CookieTable {
 public:
  CookieTable() = default;
  CookieTable(const CookieTable&) = delete;
  CookieTable& operator=(const CookieTable&) = delete;

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
  // A copy of the records taken under the lock, for the operations that work on a copy.
  std::vector<CookieRecord> CopyRecords();

  std::vector<CookieRecord> records;
  std::vector<Text> domains;
  SectionLock lock;
};

}  // namespace vardelle
