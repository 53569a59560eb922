// Regular-expression object over the platform's expression engine. Indexes given by
// callers are 1-based; every failed call answers an empty value and records the thread's
// call error (see call_error.h).
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace vardelle {

class RegexComponent;  // the expression instance (regex_component.h)
class RegexMatches;    // the match collection of the last Execute (regex_engine.h)

class RegexObject {
 public:
  RegexObject();
  ~RegexObject();
  RegexObject(const RegexObject&) = delete;
  RegexObject& operator=(const RegexObject&) = delete;

  static std::string EscapeWildcardPattern(std::string_view text);
  static std::string EscapeForPattern(std::string_view text);
  static std::string EscapeForPatternKeepBar(std::string_view text);
  static std::string EscapeForPatternKeepGroups(std::string_view text);

  bool Create(std::string_view pattern, bool ignoreCase = true, bool multiline = true,
              bool global = true);
  int Execute(std::string_view subject);
  std::string GetPattern() const;
  std::string Replace(std::string_view text, std::string_view replacement) const;
  int GetCount() const;
  std::string GetMatch(int i) const;
  std::string GetSubMatch(int i, int j) const;
  int GetSubMatchCount() const;
  std::string GetMatchAt(int i, int* position = nullptr) const;
  std::string GetSubMatchAt(int i, int j, int* position = nullptr) const;

 private:
  std::unique_ptr<RegexComponent> component;
  std::shared_ptr<const RegexMatches> matches;
  std::string subject;
};

}  // namespace vardelle
