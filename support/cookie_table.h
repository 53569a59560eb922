// The cookie records of one jar and the domains seen, every access serialised by the
// table's own lock. Domains and names compare as exact bytes; a blank one (empty after
// trimming ASCII and full-width spaces) is refused.
#pragma once

#include <optional>
#include <vector>

#include "support/cookie_record.h"
#include "support/section_lock.h"
#include "support/text.h"

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
  bool ReadFile(const Text& path);
  bool WriteFile(const Text& path);
  bool ReadText(Text& text);

 private:
  // A copy of the records taken under the lock, for the operations that work on a copy.
  std::vector<CookieRecord> CopyRecords();

  std::vector<CookieRecord> records;
  std::vector<Text> domains;
  SectionLock lock;
};

}  // namespace vardelle
