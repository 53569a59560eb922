#include "support/regex/regex_engine.h"

#include <climits>
#include <map>
#include <mutex>
#include <tuple>
#include <utility>

namespace vardelle {

RegexMatches::RegexMatches(std::u16string subjectText, int groups)
    : subject(std::move(subjectText)), groupCount(groups) {}

void RegexMatches::Add(const std::vector<MatchSpan>& matchSpans) {
  spans.insert(spans.end(), matchSpans.begin(), matchSpans.end());
}

std::u16string_view RegexMatches::Subject() const { return subject; }

int RegexMatches::Count() const { return static_cast<int>(spans.size()) / (groupCount + 1); }

int RegexMatches::GroupCount() const { return groupCount; }

MatchSpan RegexMatches::Span(int match, int group) const {
  return spans[static_cast<std::size_t>(match) * (groupCount + 1) + group];
}

std::u16string_view RegexMatches::Text(MatchSpan span) const {
  if (!span.Participated()) return {};
  return std::u16string_view(subject).substr(span.start, span.end - span.start);
}

namespace {

// Calls visit(spans) for every match (or the first), the way JavaScript's exec loop walks
// a subject: the next search starts at the end of the match, one further after an empty one.
template <typename Visit>
CallError ForEachMatch(RegexSearcher& searcher, std::u16string_view subject, bool global,
                       Visit&& visit) {
  if (subject.size() > INT_MAX) return CallError::kOverflow;
  const int length = static_cast<int>(subject.size());
  std::vector<MatchSpan> spans;
  for (int start = 0; start <= length;) {
    if (CallError error = searcher.Find(subject, start, spans); error != CallError::kNone) {
      return error;
    }
    if (spans.empty()) break;
    visit(spans);
    if (!global) break;
    start = spans[0].end > spans[0].start ? spans[0].end : spans[0].end + 1;
  }
  return CallError::kNone;
}

void AppendSpan(std::u16string& out, std::u16string_view subject, MatchSpan span) {
  if (span.Participated()) out.append(subject.substr(span.start, span.end - span.start));
}

int DigitAt(std::u16string_view text, std::size_t at) {
  return at < text.size() && text[at] >= u'0' && text[at] <= u'9' ? text[at] - u'0' : -1;
}

// The group that the digits at the front of text name, and how many digits name it: two
// when that two-digit group exists, else one; {0, 0} when they name no group.
std::pair<int, std::size_t> GroupReference(std::u16string_view text, int groups) {
  const int first = DigitAt(text, 0);
  const int second = DigitAt(text, 1);
  if (first < 0) return {0, 0};
  if (second >= 0 && first * 10 + second >= 1 && first * 10 + second <= groups) {
    return {first * 10 + second, 2};
  }
  if (first >= 1 && first <= groups) return {first, 1};
  return {0, 0};
}

// Appends what the "$" item at the front of text stands for; answers how many code units
// after the "$" it used, 0 when the "$" is a plain character.
std::size_t AppendDollarItem(std::u16string& out, std::u16string_view text,
                             std::u16string_view subject, const std::vector<MatchSpan>& spans) {
  if (text.empty()) return 0;
  const MatchSpan whole = spans[0];
  switch (text[0]) {
    case u'$':
      out += u'$';
      return 1;
    case u'&':
      AppendSpan(out, subject, whole);
      return 1;
    case u'`':
      out.append(subject.substr(0, whole.start));
      return 1;
    case u'\'':
      out.append(subject.substr(whole.end));
      return 1;
    default:
      break;
  }
  const auto [group, digits] = GroupReference(text, static_cast<int>(spans.size()) - 1);
  if (digits > 0) AppendSpan(out, subject, spans[group]);
  return digits;
}

void AppendExpansion(std::u16string& out, std::u16string_view replacement,
                     std::u16string_view subject, const std::vector<MatchSpan>& spans) {
  for (std::size_t i = 0; i < replacement.size(); ++i) {
    const std::size_t used = replacement[i] == u'$'
                                 ? AppendDollarItem(out, replacement.substr(i + 1), subject, spans)
                                 : 0;
    if (used == 0) out += replacement[i];
    i += used;
  }
}

}  // namespace

EngineResult<std::shared_ptr<const RegexMatches>> ExecuteRegex(RegexSearcher& searcher,
                                                               std::u16string subject,
                                                               bool global) {
  auto matches = std::make_shared<RegexMatches>(std::move(subject), searcher.GroupCount());
  const CallError error =
      ForEachMatch(searcher, matches->Subject(), global,
                   [&](const std::vector<MatchSpan>& spans) { matches->Add(spans); });
  if (error != CallError::kNone) return {nullptr, error};
  return {std::move(matches), CallError::kNone};
}

EngineResult<std::u16string> ReplaceRegex(RegexSearcher& searcher, std::u16string_view subject,
                                          std::u16string_view replacement, bool global) {
  std::u16string out;
  std::size_t copied = 0;
  const CallError error =
      ForEachMatch(searcher, subject, global, [&](const std::vector<MatchSpan>& spans) {
        out.append(subject.substr(copied, spans[0].start - copied));
        AppendExpansion(out, replacement, subject, spans);
        copied = spans[0].end;
      });
  if (error != CallError::kNone) return {{}, error};
  out.append(subject.substr(copied));
  return {std::move(out), CallError::kNone};
}

using PatternKey = std::tuple<std::u16string, bool, bool, bool>;

struct SharedPatterns::Store {
  std::mutex mutex;
  std::map<PatternKey, std::shared_ptr<const CompiledRegex>> byKey;
};

SharedPatterns::SharedPatterns(const RegexEngine& engine, std::size_t bound)
    : engine_(engine), bound_(bound), store_(std::make_unique<Store>()) {}

SharedPatterns::~SharedPatterns() = default;

EngineResult<std::shared_ptr<const CompiledRegex>> SharedPatterns::Compile(
    std::u16string_view pattern, RegexOptions options) {
  PatternKey key{std::u16string(pattern), options.ignoreCase, options.multiline, options.global};
  {
    std::lock_guard guard(store_->mutex);
    if (const auto found = store_->byKey.find(key); found != store_->byKey.end()) {
      return {found->second, CallError::kNone};
    }
  }
  auto compiled = engine_.Compile(pattern, options);
  if (compiled.value) {
    std::lock_guard guard(store_->mutex);
    if (store_->byKey.size() < bound_) store_->byKey.emplace(std::move(key), compiled.value);
  }
  return compiled;
}

EngineResult<std::shared_ptr<const CompiledRegex>> CompileShared(std::u16string_view pattern,
                                                                 RegexOptions options) {
  constexpr std::size_t kKept = 256;
  // Never destroyed: threads still compiling at exit find it alive.
  static SharedPatterns* const shared = new SharedPatterns(SystemRegexEngine(), kKept);
  return shared->Compile(pattern, options);
}

}  // namespace vardelle
