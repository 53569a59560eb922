// The expression engine behind RegexObject and CompactRegex, in UTF-16 code units.
//
// An engine compiles a pattern into a CompiledRegex, which is read-only and may be shared
// between threads; searching goes through a RegexSearcher, which holds the scratch space
// of one user and so serves one thread at a time. Global iteration and the replacement
// text rules are the same for every engine and live here, on top of RegexSearcher::Find.
//
// Syntax and semantics follow JavaScript regular expressions without the u flag: a code
// unit is a character, \d \w \b are ASCII, \s includes U+3000 and the other Unicode
// spaces, case folding is Unicode's, and a group that took no part is told apart from one
// that matched the empty text.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/call_error.h"

namespace vardelle {

struct RegexOptions {
  bool ignoreCase = true;
  bool multiline = true;  // ^ and $ also match at line breaks
  bool global = true;     // every match rather than only the first
};

// A stretch [start, end) of the subject in code units; start -1 marks a group that took
// no part in the match.
struct MatchSpan {
  int start = -1;
  int end = -1;
  bool Participated() const { return start >= 0; }
};

// The outcome of an engine call: a value, or an empty value and the failure code.
template <typename T>
struct EngineResult {
  T value{};
  CallError error = CallError::kNone;
};

// The matches of one search over its own copy of the subject; never changed once built.
class RegexMatches {
 public:
  RegexMatches(std::u16string subject, int groupCount);
  // spans holds the whole match first, then one span per group.
  void Add(const std::vector<MatchSpan>& spans);

  std::u16string_view Subject() const;
  int Count() const;
  int GroupCount() const;
  // match in 0 .. Count() - 1; group 0 is the whole match, 1 .. GroupCount() the groups.
  MatchSpan Span(int match, int group) const;
  std::u16string_view Text(MatchSpan span) const;  // "" for a group that took no part

 private:
  std::u16string subject;
  int groupCount;
  std::vector<MatchSpan> spans;  // (groupCount + 1) per match
};

class RegexSearcher {
 public:
  virtual ~RegexSearcher() = default;
  virtual int GroupCount() const = 0;
  // Searches subject from code unit start on. A match fills spans (whole match first,
  // then the groups); no match leaves spans empty; both answer kNone. An engine failure
  // (a run-away search stopped by its limits) answers its code.
  virtual CallError Find(std::u16string_view subject, int start, std::vector<MatchSpan>& spans) = 0;
};

class CompiledRegex {
 public:
  virtual ~CompiledRegex() = default;
  virtual std::unique_ptr<RegexSearcher> NewSearcher() const = 0;
};

class RegexEngine {
 public:
  virtual ~RegexEngine() = default;
  // An uncompilable pattern answers no code and CallError::kException.
  virtual EngineResult<std::shared_ptr<const CompiledRegex>> Compile(
      std::u16string_view pattern, RegexOptions options) const = 0;
};

// The platform's engine; thread-safe, lives for the whole process.
const RegexEngine& SystemRegexEngine();

// Compiled patterns kept for sharing: compiling (the JIT above all) costs far more than a
// match, and the program compiles the same few patterns again and again (every JSON
// reader its own). At most `bound` are kept, since patterns may come from documents; later
// ones are compiled each time, as are patterns that fail. Thread-safe.
class SharedPatterns {
 public:
  SharedPatterns(const RegexEngine& engine, std::size_t bound);
  ~SharedPatterns();
  EngineResult<std::shared_ptr<const CompiledRegex>> Compile(std::u16string_view pattern,
                                                             RegexOptions options);

 private:
  struct Store;
  const RegexEngine& engine_;
  const std::size_t bound_;
  std::unique_ptr<Store> store_;
};

// SystemRegexEngine's Compile through the process's SharedPatterns (256 kept).
EngineResult<std::shared_ptr<const CompiledRegex>> CompileShared(std::u16string_view pattern,
                                                                 RegexOptions options);

// Every match (global) or the first one. After an empty match the next search starts one
// code unit further on, as in JavaScript. A subject longer than the engine's int
// positions fails with kOverflow.
EngineResult<std::shared_ptr<const RegexMatches>> ExecuteRegex(RegexSearcher& searcher,
                                                               std::u16string subject, bool global);

// Replaces every match (global) or the first one. In the replacement "$$" is "$", "$&"
// the match, "$`" the text before it, "$'" the text after it, and "$n" / "$nn" group n
// (1 .. 99; two digits when that group exists, else one digit and the rest literal; a
// group that took no part gives ""). Any other "$" is literal. Text outside the matches
// is kept code unit for code unit.
EngineResult<std::u16string> ReplaceRegex(RegexSearcher& searcher, std::u16string_view subject,
                                          std::u16string_view replacement, bool global);

}  // namespace vardelle
