#include "support/regex/compact_regex.h"

#include "support/regex/regex_component.h"

namespace vardelle {

CompactRegex::CompactRegex() = default;
CompactRegex::~CompactRegex() = default;

// The engine is always present, so the instance is always made and the flags and the
// pattern are always written.
bool CompactRegex::Create(std::string_view pattern, bool ignoreCase, bool multiline, bool global) {
  component.reset();
  matches.reset();
  component =
      std::make_unique<RegexComponent>(pattern, RegexOptions{ignoreCase, multiline, global});
  matchCount = 0;
  return true;
}

std::string CompactRegex::GetPattern() const { return component ? component->Pattern() : ""; }

std::string CompactRegex::Replace(std::string_view text, std::string_view replacement) const {
  return ReplaceOn(component.get(), text, replacement);
}

// A failed search keeps its own failure code rather than the empty collection's.
int CompactRegex::Execute(std::string_view subject) {
  matches = ExecuteOn(component.get(), subject);
  matchCount = matches ? CountOf(matches.get()) : 0;
  return matchCount;
}

// The cached count; no call is made, so the thread's failure code stays as it was.
int CompactRegex::GetCount() const { return matchCount; }

std::string CompactRegex::GetMatch(int i) const { return ReadMatch(matches.get(), i, nullptr); }

std::string CompactRegex::GetSubMatch(int i, int j) const {
  return ReadSubMatch(matches.get(), i, j, nullptr, UnsetGroupRead::kEmptyText);
}

int CompactRegex::GetSubMatchCount() const {
  return matchCount == 0 ? 0 : SubMatchCountOf(matches.get());
}

}  // namespace vardelle
