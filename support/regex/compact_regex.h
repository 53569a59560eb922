// Reduced regular-expression object with a cached match count, for the HTTP request
// object and the cookie jar. Same engine, flags and failure rules as RegexObject.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace vardelle {

class RegexComponent;
class RegexMatches;

class CompactRegex {
 public:
  CompactRegex();
  ~CompactRegex();
  CompactRegex(const CompactRegex&) = delete;
  CompactRegex& operator=(const CompactRegex&) = delete;

  bool Create(std::string_view pattern, bool ignoreCase = true, bool multiline = true,
              bool global = true);
  std::string GetPattern() const;
  std::string Replace(std::string_view text, std::string_view replacement) const;
  int Execute(std::string_view subject);
  int GetCount() const;
  std::string GetMatch(int i) const;
  std::string GetSubMatch(int i, int j) const;
  int GetSubMatchCount() const;

 private:
  std::unique_ptr<RegexComponent> component;
  std::shared_ptr<const RegexMatches> matches;
  int matchCount = 0;
};

}  // namespace vardelle
