// The calls that RegexObject and CompactRegex make alike: the expression instance they hold
// (flags, pattern, compiled code, search scratch) and the reads of a match collection.
// Every call records the thread's call error as a call on a component does: kNone after
// success; kEmptyObject when the instance or collection is missing.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "support/regex/regex_engine.h"

namespace vardelle {

class RegexComponent {
 public:
  // An instance whose flags are written and whose pattern write is attempted: a pattern
  // that does not compile leaves it without an expression (failure code kException), and
  // its searches and replacements then fail with kException.
  RegexComponent(std::string_view pattern, RegexOptions options);
  ~RegexComponent();
  RegexComponent(const RegexComponent&) = delete;
  RegexComponent& operator=(const RegexComponent&) = delete;

  std::string Pattern() const;  // "" when the pattern write failed
  std::shared_ptr<const RegexMatches> Execute(std::string_view subject) const;
  std::string Replace(std::string_view text, std::string_view replacement) const;

 private:
  RegexSearcher* Searcher() const;

  RegexOptions options;
  std::string pattern;
  std::shared_ptr<const CompiledRegex> code;
  // Match data and JIT stack, made on the first search and kept for the next ones.
  mutable std::unique_ptr<RegexSearcher> searcher;
};

// Calls on an instance that may be missing.
std::shared_ptr<const RegexMatches> ExecuteOn(const RegexComponent* component,
                                              std::string_view subject);
std::string ReplaceOn(const RegexComponent* component, std::string_view text,
                      std::string_view replacement);

// Reads of a collection that may be missing; i and j are the callers' 1-based indexes, an
// index outside the collection fails with kException. The position, when asked for,
// receives the 0-based UTF-16 index of the whole match (0 when the read fails).
enum class UnsetGroupRead {
  kTypeMismatch,  // read as text: a group that took no part fails with kResultTypeMismatch
  kEmptyText,     // read as a variant and converted: it gives "" and succeeds
};
int CountOf(const RegexMatches* matches);
int SubMatchCountOf(const RegexMatches* matches);
std::string ReadMatch(const RegexMatches* matches, int i, int* position);
std::string ReadSubMatch(const RegexMatches* matches, int i, int j, int* position,
                         UnsetGroupRead unset);

}  // namespace vardelle
