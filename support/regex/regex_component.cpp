#include "support/regex/regex_component.h"

#include <utility>

#include "support/text/text_codec.h"

namespace vardelle {

RegexComponent::RegexComponent(std::string_view patternText, RegexOptions flags) : options(flags) {
  auto compiled = CompileShared(ToUtf16(patternText), options);
  SetCallError(compiled.error);
  if (!compiled.value) return;
  code = std::move(compiled.value);
  pattern = patternText;
}

RegexComponent::~RegexComponent() = default;

std::string RegexComponent::Pattern() const {
  ClearCallError();
  return pattern;
}

RegexSearcher* RegexComponent::Searcher() const {
  if (!searcher && code) searcher = code->NewSearcher();
  return searcher.get();
}

std::shared_ptr<const RegexMatches> RegexComponent::Execute(std::string_view subject) const {
  RegexSearcher* search = Searcher();
  if (!search) {
    SetCallError(CallError::kException);
    return nullptr;
  }
  auto result = ExecuteRegex(*search, ToUtf16(subject), options.global);
  SetCallError(result.error);
  return std::move(result.value);
}

std::string RegexComponent::Replace(std::string_view text, std::string_view replacement) const {
  RegexSearcher* search = Searcher();
  if (!search) {
    SetCallError(CallError::kException);
    return {};
  }
  const auto result = ReplaceRegex(*search, ToUtf16(text), ToUtf16(replacement), options.global);
  SetCallError(result.error);
  return result.error == CallError::kNone ? ToGbk(result.value) : std::string();
}

std::shared_ptr<const RegexMatches> ExecuteOn(const RegexComponent* component,
                                              std::string_view subject) {
  if (component) return component->Execute(subject);
  SetCallError(CallError::kEmptyObject);
  return nullptr;
}

std::string ReplaceOn(const RegexComponent* component, std::string_view text,
                      std::string_view replacement) {
  if (component) return component->Replace(text, replacement);
  SetCallError(CallError::kEmptyObject);
  return {};
}

namespace {

// Item(i - 1) of the collection: the 0-based match index, or -1 with the failure recorded.
int ItemIndex(const RegexMatches* matches, int i) {
  if (!matches) {
    SetCallError(CallError::kEmptyObject);
    return -1;
  }
  if (i < 1 || i > matches->Count()) {
    SetCallError(CallError::kException);
    return -1;
  }
  return i - 1;
}

void ReportPosition(int* position, int value) {
  if (position) *position = value;
}

}  // namespace

int CountOf(const RegexMatches* matches) {
  if (!matches) {
    SetCallError(CallError::kEmptyObject);
    return 0;
  }
  ClearCallError();
  return matches->Count();
}

int SubMatchCountOf(const RegexMatches* matches) {
  if (ItemIndex(matches, 1) < 0) return 0;
  ClearCallError();
  return matches->GroupCount();
}

std::string ReadMatch(const RegexMatches* matches, int i, int* position) {
  ReportPosition(position, 0);
  const int item = ItemIndex(matches, i);
  if (item < 0) return {};
  const MatchSpan whole = matches->Span(item, 0);
  ClearCallError();
  ReportPosition(position, whole.start);
  return ToGbk(matches->Text(whole));
}

std::string ReadSubMatch(const RegexMatches* matches, int i, int j, int* position,
                         UnsetGroupRead unset) {
  ReportPosition(position, 0);
  const int item = ItemIndex(matches, i);
  if (item < 0) return {};
  if (j < 1 || j > matches->GroupCount()) {
    SetCallError(CallError::kException);
    return {};
  }
  const MatchSpan group = matches->Span(item, j);
  if (!group.Participated() && unset == UnsetGroupRead::kTypeMismatch) {
    SetCallError(CallError::kResultTypeMismatch);
    return {};
  }
  ClearCallError();
  ReportPosition(position, matches->Span(item, 0).start);
  return ToGbk(matches->Text(group));
}

}  // namespace vardelle
