#include "support/regex/regex_object.h"

#include "support/regex/regex_component.h"
#include "support/text/text.h"

namespace vardelle {
namespace {

// The characters each escape operation puts a backslash before, in the order they are
// handled: the backslash first, so the backslashes added later are not doubled.
constexpr std::string_view kWildcardSet = "\\^$+.{}[]=()-\"";
constexpr std::string_view kPatternSet = "\\^$+.{}[]=()?*|\"";
constexpr std::string_view kKeepBarSet = "\\^$+.{}[]=()?*\"";
constexpr std::string_view kKeepGroupsSet = "\\^$+.{}[]=?*\"";

std::string EscapeSet(std::string_view text, std::string_view set) {
  std::string work(text);
  for (const char c : set) {
    const char escaped[] = {'\\', c};
    work = ReplaceText(work, std::string_view(&c, 1), std::string_view(escaped, 2));
  }
  return work;
}

}  // namespace

RegexObject::RegexObject() = default;
RegexObject::~RegexObject() = default;

std::string RegexObject::EscapeWildcardPattern(std::string_view text) {
  return ReplaceText(ReplaceText(EscapeSet(text, kWildcardSet), "*", ".*"), "?", ".?");
}

std::string RegexObject::EscapeForPattern(std::string_view text) {
  return EscapeSet(text, kPatternSet);
}

std::string RegexObject::EscapeForPatternKeepBar(std::string_view text) {
  return EscapeSet(text, kKeepBarSet);
}

std::string RegexObject::EscapeForPatternKeepGroups(std::string_view text) {
  return EscapeSet(text, kKeepGroupsSet);
}

// The engine is always present, so a new instance always replaces the old one; the
// matches of the previous instance stay readable until the next Execute.
bool RegexObject::Create(std::string_view pattern, bool ignoreCase, bool multiline, bool global) {
  component =
      std::make_unique<RegexComponent>(pattern, RegexOptions{ignoreCase, multiline, global});
  return true;
}

// A failed search keeps its own failure code rather than the empty collection's.
int RegexObject::Execute(std::string_view text) {
  matches = ExecuteOn(component.get(), text);
  subject = text;
  return matches ? GetCount() : 0;
}

std::string RegexObject::GetPattern() const { return component ? component->Pattern() : ""; }

std::string RegexObject::Replace(std::string_view text, std::string_view replacement) const {
  return ReplaceOn(component.get(), text, replacement);
}

int RegexObject::GetCount() const { return CountOf(matches.get()); }

std::string RegexObject::GetMatch(int i) const { return ReadMatch(matches.get(), i, nullptr); }

std::string RegexObject::GetSubMatch(int i, int j) const {
  return ReadSubMatch(matches.get(), i, j, nullptr, UnsetGroupRead::kTypeMismatch);
}

int RegexObject::GetSubMatchCount() const { return SubMatchCountOf(matches.get()); }

std::string RegexObject::GetMatchAt(int i, int* position) const {
  return ReadMatch(matches.get(), i, position);
}

std::string RegexObject::GetSubMatchAt(int i, int j, int* position) const {
  return ReadSubMatch(matches.get(), i, j, position, UnsetGroupRead::kTypeMismatch);
}

}  // namespace vardelle
