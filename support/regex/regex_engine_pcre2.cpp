// The system's expression engine on every platform: PCRE2 with 16-bit code units,
// JIT-compiled where the JIT is available.
//
// PCRE2 runs in non-UTF mode, so every code unit is one character as in JavaScript, and
// the lone surrogates that stand for bytes which are not GBK are ordinary characters that
// can neither break a search nor get lost. PCRE2_UCP gives \s the Unicode spaces (U+3000
// among them) and Unicode case folding; \d \w \b, which UCP would widen too, are spelled
// out as ASCII classes before compiling.
#include "support/regex/regex_engine_pcre2.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <memory>
#include <string>

namespace vardelle {
namespace {

// A run-away search (nested quantifiers, a huge subject) stops with an error instead of
// hanging: the match limit bounds the work per start position, the depth and heap limits
// the interpreter's backtracking memory, the JIT stack the JIT's.
constexpr uint32_t kMatchLimit = 10'000'000;
constexpr uint32_t kDepthLimit = 100'000;
constexpr PCRE2_SIZE kHeapLimitKib = 256 * 1024;
constexpr PCRE2_SIZE kJitStackStart = 64 * 1024;
constexpr PCRE2_SIZE kJitStackMax = 64 * 1024 * 1024;

struct Pcre2Free {
  void operator()(pcre2_code* p) const { pcre2_code_free(p); }
  void operator()(pcre2_compile_context* p) const { pcre2_compile_context_free(p); }
  void operator()(pcre2_match_context* p) const { pcre2_match_context_free(p); }
  void operator()(pcre2_match_data* p) const { pcre2_match_data_free(p); }
  void operator()(pcre2_jit_stack* p) const { pcre2_jit_stack_free(p); }
};
template <typename T>
using Pcre2Ptr = std::unique_ptr<T, Pcre2Free>;

constexpr std::u16string_view kBoundary =
    u"(?:(?<=[A-Za-z0-9_])(?![A-Za-z0-9_])|(?<![A-Za-z0-9_])(?=[A-Za-z0-9_]))";
constexpr std::u16string_view kNotBoundary =
    u"(?:(?<=[A-Za-z0-9_])(?=[A-Za-z0-9_])|(?<![A-Za-z0-9_])(?![A-Za-z0-9_]))";
// Inside a class a negation cannot be nested, so \D and \W become the complementary
// ranges; U+017F and U+212A stay out, as case folding would tie them to s and k.
// Written with \u, as PCRE2_ALT_BSUX turns \x{...} off.
constexpr std::u16string_view kNotDigitInClass = u"\\x00-/:-\\uffff";
constexpr std::u16string_view kNotWordInClass =
    u"\\x00-/:-@\\[-^`{-\\u017e\\u0180-\\u2129\\u212b-\\uffff";

// The JavaScript meaning of the escape \letter where PCRE2 reads it otherwise; "" keeps
// the escape as written.
std::u16string_view JavaScriptEscape(char16_t letter, bool inClass) {
  switch (letter) {
    case u'd':
      return inClass ? u"0-9" : u"[0-9]";
    case u'D':
      return inClass ? kNotDigitInClass : u"[^0-9]";
    case u'w':
      return inClass ? u"A-Za-z0-9_" : u"[A-Za-z0-9_]";
    case u'W':
      return inClass ? kNotWordInClass : u"[^A-Za-z0-9_]";
    case u'b':
      return inClass ? u"" : kBoundary;  // [\b] is a backspace in both
    case u'B':
      return inClass ? u"" : kNotBoundary;
    case u'v':
      return u"\\x0b";  // PCRE2's \v is a class of vertical spaces
    default:
      return u"";
  }
}

// Rewrites the escapes whose meaning differs; a "[" inside a class is a plain character in
// JavaScript, while PCRE2 could read "[:" as the start of a POSIX class.
std::u16string ToPcre2Syntax(std::u16string_view pattern) {
  std::u16string out;
  out.reserve(pattern.size());
  bool inClass = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    if (c == u'\\' && i + 1 < pattern.size()) {
      const std::u16string_view meaning = JavaScriptEscape(pattern[i + 1], inClass);
      out.append(meaning.empty() ? pattern.substr(i, 2) : meaning);
      ++i;
    } else if (c == u'[') {
      out.append(inClass ? u"\\[" : u"[");
      inClass = true;
    } else {
      if (c == u']') inClass = false;
      out += c;
    }
  }
  return out;
}

uint32_t CompileOptions(RegexOptions options) {
  uint32_t flags = PCRE2_UCP | PCRE2_NEVER_UTF | PCRE2_ALT_BSUX | PCRE2_MATCH_UNSET_BACKREF |
                   PCRE2_ALLOW_EMPTY_CLASS | PCRE2_NEVER_BACKSLASH_C;
  if (options.ignoreCase) flags |= PCRE2_CASELESS;
  // Without multiline, JavaScript's $ matches only at the very end, not before a final \n.
  flags |= options.multiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;
  return flags;
}

class Pcre2Regex final : public CompiledRegex, public std::enable_shared_from_this<Pcre2Regex> {
 public:
  explicit Pcre2Regex(Pcre2Ptr<pcre2_code> compiled) : code(std::move(compiled)) {
    // Without a JIT (an unsupported machine, no executable memory) the interpreter runs.
    jit = pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE) == 0;
    uint32_t captures = 0;
    pcre2_pattern_info(code.get(), PCRE2_INFO_CAPTURECOUNT, &captures);
    groupCount = static_cast<int>(captures);
  }
  std::unique_ptr<RegexSearcher> NewSearcher() const override;
  const pcre2_code* Code() const { return code.get(); }
  bool Jit() const { return jit; }
  int GroupCount() const { return groupCount; }

 private:
  Pcre2Ptr<pcre2_code> code;
  bool jit = false;
  int groupCount = 0;
};

class Pcre2Searcher final : public RegexSearcher {
 public:
  explicit Pcre2Searcher(std::shared_ptr<const Pcre2Regex> compiled)
      : regex(std::move(compiled)),
        matchData(pcre2_match_data_create_from_pattern(regex->Code(), nullptr)),
        context(pcre2_match_context_create(nullptr)) {
    if (!context) return;
    pcre2_set_match_limit(context.get(), kMatchLimit);
    pcre2_set_depth_limit(context.get(), kDepthLimit);
    pcre2_set_heap_limit(context.get(), kHeapLimitKib);
    if (regex->Jit()) AssignJitStack();
  }

  int GroupCount() const override { return regex->GroupCount(); }

  CallError Find(std::u16string_view subject, int start, std::vector<MatchSpan>& spans) override {
    spans.clear();
    if (!matchData || !context) return CallError::kOther;
    const int found =
        pcre2_match(regex->Code(), reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(),
                    static_cast<PCRE2_SIZE>(start), 0, matchData.get(), context.get());
    if (found == PCRE2_ERROR_NOMATCH) return CallError::kNone;
    if (found <= 0) return CallError::kException;
    ReadSpans(found, spans);
    return CallError::kNone;
  }

 private:
  // Big subjects need more than the JIT's default 32 KiB of stack; the stack is reserved
  // up to its maximum but only touched as a search needs it.
  void AssignJitStack() {
    jitStack.reset(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr));
    if (jitStack) pcre2_jit_stack_assign(context.get(), nullptr, jitStack.get());
  }

  void ReadSpans(int setPairs, std::vector<MatchSpan>& spans) const {
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(matchData.get());
    for (int group = 0; group <= regex->GroupCount(); ++group) {
      const PCRE2_SIZE start = ovector[2 * group];
      const bool set = group < setPairs && start != PCRE2_UNSET;
      spans.push_back(
          set ? MatchSpan{static_cast<int>(start), static_cast<int>(ovector[2 * group + 1])}
              : MatchSpan{});
    }
  }

  std::shared_ptr<const Pcre2Regex> regex;
  Pcre2Ptr<pcre2_match_data> matchData;
  Pcre2Ptr<pcre2_match_context> context;
  Pcre2Ptr<pcre2_jit_stack> jitStack;
};

std::unique_ptr<RegexSearcher> Pcre2Regex::NewSearcher() const {
  return std::make_unique<Pcre2Searcher>(shared_from_this());
}

class Pcre2Engine final : public RegexEngine {
 public:
  EngineResult<std::shared_ptr<const CompiledRegex>> Compile(std::u16string_view pattern,
                                                             RegexOptions options) const override {
    Pcre2Ptr<pcre2_compile_context> context(pcre2_compile_context_create(nullptr));
    if (!context) return {nullptr, CallError::kOther};
    // JavaScript ends lines at CR and LF; \u{hhhh} is accepted next to \uhhhh.
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_ANYCRLF);
    pcre2_set_compile_extra_options(context.get(), PCRE2_EXTRA_ALT_BSUX);
    const std::u16string source = ToPcre2Syntax(pattern);
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    Pcre2Ptr<pcre2_code> code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(source.data()),
                                            source.size(), CompileOptions(options), &errorCode,
                                            &errorOffset, context.get()));
    if (!code) return {nullptr, CallError::kException};
    return {std::make_shared<const Pcre2Regex>(std::move(code)), CallError::kNone};
  }
};

}  // namespace

std::unique_ptr<RegexEngine> CreatePcre2RegexEngine() { return std::make_unique<Pcre2Engine>(); }

}  // namespace vardelle
