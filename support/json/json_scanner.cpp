#include "support/json/json_scanner.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace vardelle {
namespace {

// Two apostrophes stand for a double quote in the stored patterns, paths and markers.
constexpr std::string_view kCleaningPattern = "[\\s　]+''|''[\\s　]+|^[ 　''\\t]+|[ 　''\\t]+$";
constexpr std::string_view kTrimPattern = "^[ 　\\t]+|[ 　\\t]+$";
constexpr std::string_view kSpacingBeforePattern = "[\\s　]+(\\[|{|'')";
constexpr std::string_view kSpacingAfterPattern = "(\\]|}|'')[\\s　]+";
constexpr std::string_view kDotBeforeIndexPattern = "([^\\.])(\\[\\d+\\])(\\.?)";
constexpr std::string_view kDotBeforeIndexReplacement = "$1.$2$3";
constexpr std::string_view kDroppedDotPattern = "\\.(\\[\\d+\\])";
constexpr std::string_view kDroppedDotReplacement = "$1";
constexpr std::string_view kStartOfTextMarker = "#Mirel头#";
constexpr std::string_view kEndOfTextMarker = "#Mirel尾#";

constexpr unsigned char kFullWidthSpaceByte = 0xA1;  // U+3000 is A1 A1 in GBK

Text QuotesFromApostrophes(std::string_view text) {
  if (text.find("''") == std::string_view::npos) return Text(text);
  return ReplaceText(text, "''", "\"");
}

unsigned char ByteAt(std::string_view text, std::size_t i) {
  return i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
}

// Whitespace bytes of the expression engine's \s; they never occur inside a GBK character.
bool IsAsciiSpace(unsigned char byte) { return byte == ' ' || (byte >= '\t' && byte <= '\r'); }

bool IsLineBreak(unsigned char byte) { return byte >= '\n' && byte <= '\r'; }

bool IsBlank(unsigned char byte) { return byte == ' ' || byte == '\t'; }

bool IsFullWidthSpaceAt(std::string_view text, std::size_t i) {
  return ByteAt(text, i) == kFullWidthSpaceByte && ByteAt(text, i + 1) == kFullWidthSpaceByte;
}

bool IsGbkLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
bool IsGbkTrail(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// The common case of the test below, in a loop without early exit that vectorises.
bool IsAsciiOnOneLine(std::string_view text) {
  unsigned char other = 0;
  for (const char byte : text) {
    const auto value = static_cast<unsigned char>(byte);
    other |= static_cast<unsigned char>((value >= 0x80) | IsLineBreak(value));
  }
  return other == 0;
}

// True when the text is well-formed GBK on a single line: then the engine sees exactly the
// characters a byte walk sees, and "^" and "$" match only at the text's two ends, so the
// trim and cleaning patterns can be applied without the engine.
bool IsSingleLineGbk(std::string_view text) {
  if (IsAsciiOnOneLine(text)) return true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char byte = ByteAt(text, i);
    if (byte < 0x80) {
      if (IsLineBreak(byte)) return false;
    } else if (IsGbkLead(byte) && IsGbkTrail(ByteAt(text, i + 1))) {
      ++i;
    } else {
      return false;
    }
  }
  return true;
}

// A blank (space, tab or full-width space) right before or after a double quote: the part
// of the cleaning pattern that works in the middle of a line could match.
bool QuoteTouchesBlank(std::string_view text) {
  for (std::size_t i = text.find('"'); i != std::string_view::npos; i = text.find('"', i + 1)) {
    const bool blankBefore =
        i > 0 && (IsBlank(ByteAt(text, i - 1)) || (i > 1 && IsFullWidthSpaceAt(text, i - 2)));
    const bool blankAfter = IsBlank(ByteAt(text, i + 1)) || IsFullWidthSpaceAt(text, i + 1);
    if (blankBefore || blankAfter) return true;
  }
  return false;
}

// A double quote, then well-formed GBK on one line without quotes, blanks or full-width
// spaces, then a double quote: the cleaning pattern takes the two quotes and nothing else.
bool IsQuotedWord(std::string_view text) {
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') return false;
  const std::size_t end = text.size() - 1;
  for (std::size_t i = 1; i < end; ++i) {
    const unsigned char byte = ByteAt(text, i);
    if (byte > ' ' && byte < 0x7F && byte != '"') continue;
    const unsigned char trail = i + 1 < end ? ByteAt(text, i + 1) : 0;
    if (!IsGbkLead(byte) || !IsGbkTrail(trail) || IsFullWidthSpaceAt(text, i)) return false;
    ++i;
  }
  return true;
}

// Width of the run character at i (space, tab, full-width space, and the quote when asked),
// or 0 when the character there is not one.
std::size_t RunCharWidth(std::string_view text, std::size_t i, bool quoteToo) {
  const unsigned char byte = ByteAt(text, i);
  if (IsBlank(byte) || (quoteToo && byte == '"')) return 1;
  return IsFullWidthSpaceAt(text, i) ? 2 : 0;
}

// The text of a single-line GBK text without its leading and trailing runs of blanks (and
// quotes): what the trim and cleaning patterns leave of such a text. In well-formed GBK a
// text ending in A1 A1 ends in a full-width space, so the trailing run can be peeled from
// the back.
std::string_view StripRuns(std::string_view text, bool quoteToo) {
  std::size_t begin = 0;
  while (std::size_t width = RunCharWidth(text, begin, quoteToo)) begin += width;
  std::size_t end = text.size();
  while (end > begin) {
    const unsigned char last = ByteAt(text, end - 1);
    if (IsBlank(last) || (quoteToo && last == '"')) {
      end -= 1;
    } else if (end - begin >= 2 && IsFullWidthSpaceAt(text, end - 2)) {
      end -= 2;
    } else {
      break;
    }
  }
  return text.substr(begin, end - begin);
}

// Byte-level tests that are true whenever the spacing patterns could match (and sometimes
// when they could not), so a false answer lets the engine call be skipped.
bool SpaceIsFollowedByOpener(std::string_view text) {
  for (std::size_t i = 1; i < text.size(); ++i) {
    const char byte = text[i];
    if (byte != '[' && byte != '{' && byte != '"') continue;
    if (IsAsciiSpace(ByteAt(text, i - 1)) || (i > 1 && IsFullWidthSpaceAt(text, i - 2)))
      return true;
  }
  return false;
}

bool CloserIsFollowedBySpace(std::string_view text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const char byte = text[i];
    if (byte != ']' && byte != '}' && byte != '"') continue;
    if (IsAsciiSpace(ByteAt(text, i + 1)) || IsFullWidthSpaceAt(text, i + 1)) return true;
  }
  return false;
}

bool IsOpener(unsigned char byte) { return byte == '[' || byte == '{' || byte == '"'; }
bool IsCloser(unsigned char byte) { return byte == ']' || byte == '}' || byte == '"'; }

bool MayStartBlank(unsigned char byte) { return byte <= ' ' || byte == kFullWidthSpaceByte; }

// A blank (space, tab, line break or full-width space) at i with an opener right after it or
// a closer right before it.
bool BlankTouchesBracketAt(std::string_view text, std::size_t i) {
  const unsigned char byte = ByteAt(text, i);
  std::size_t width = 1;
  if (byte == kFullWidthSpaceByte) {
    if (!IsFullWidthSpaceAt(text, i)) return false;
    width = 2;
  } else if (!IsAsciiSpace(byte)) {
    return false;
  }
  return IsOpener(ByteAt(text, i + width)) || (i > 0 && IsCloser(ByteAt(text, i - 1)));
}

// SpaceIsFollowedByOpener or CloserIsFollowedBySpace, in one pass that looks only around
// the blanks, which are few in the documents read: each chunk is first tested for a byte
// that may start one, in a loop without early exit that vectorises.
bool SpaceTouchesBracket(std::string_view text) {
  constexpr std::size_t kChunk = 64;
  for (std::size_t begin = 0; begin < text.size(); begin += kChunk) {
    const std::size_t end = std::min(begin + kChunk, text.size());
    unsigned char found = 0;
    for (std::size_t i = begin; i < end; ++i) {
      found |= static_cast<unsigned char>(MayStartBlank(static_cast<unsigned char>(text[i])));
    }
    if (found == 0) continue;
    for (std::size_t i = begin; i < end; ++i) {
      if (BlankTouchesBracketAt(text, i)) return true;
    }
  }
  return false;
}

// Step 1 of loading: an escaped quote stops counting as a quote, while an escaped backslash
// before a closing quote leaves that quote alone.
Text ProtectEscapedQuotes(std::string_view text) {
  // A byte-wise search finds every character-wise match (and more), so a text without these
  // bytes, such as one whose only escapes are \u ones, comes back as it is.
  const auto has = [text](std::string_view bytes) {
    return text.find(bytes) != std::string_view::npos;
  };
  if (!has("\\\\") && !has("\\\"") && !has("\\|\\|")) return Text(text);
  Text pairsHidden = ReplaceText(text, "\\\\", "\\|\\|");
  Text quotesHidden = ReplaceText(pairsHidden, "\\\"", "\\''");
  return ReplaceText(quotesHidden, "\\|\\|", "\\\\");
}

constexpr char kStructuralBytes[] = {'{', '}', '[', ']', '"', ':', ','};

int StructuralIndex(char byte) {
  switch (byte) {
    case '{':
      return 0;
    case '}':
      return 1;
    case '[':
      return 2;
    case ']':
      return 3;
    case '"':
      return 4;
    case ':':
      return 5;
    case ',':
      return 6;
    default:
      return -1;
  }
}

Text TextOfPiece(std::string_view text, const JsonPiece& piece) {
  if (piece.rewritten) return *piece.rewritten;
  return Text(text.substr(piece.offset, piece.length));
}

// Printable ASCII without quotes, apostrophes and blanks: the cleaning pattern leaves every
// part between two dots as it is, and no dot lies inside a quoted name.
bool IsPlainPath(std::string_view path) {
  return std::all_of(path.begin(), path.end(), [](char byte) {
    return byte > ' ' && byte < 0x7F && byte != '"' && byte != '\'';
  });
}

std::uint32_t ToOffset(std::size_t offset) { return static_cast<std::uint32_t>(offset); }

int ToPosition(std::size_t size) { return static_cast<int>(size); }

// Appends the parts between the dots of a path, empty ones included.
void SplitAtDots(std::string_view path, std::vector<std::string_view>& parts) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] != '.') continue;
    parts.push_back(path.substr(start, i - start));
    start = i + 1;
  }
  parts.push_back(path.substr(start));
}

// The index of the first element greater than value in a sorted list, searched from the
// index of the previous answer: the cutters mostly move forward by a few elements, so a
// galloping search from there stays in cache where a plain binary search would not.
std::size_t UpperBoundNear(const std::vector<int>& list, int value, std::size_t& cursor) {
  std::size_t low = 0;
  std::size_t high = list.size();
  if (cursor <= list.size()) {
    if (cursor == list.size() || list[cursor] > value) {
      high = cursor;
      if (cursor == 0 || list[cursor - 1] <= value) return cursor;
    } else {
      low = cursor + 1;
      std::size_t step = 1;
      while (low + step <= list.size() && list[low + step - 1] <= value) {
        low += step;
        step *= 2;
      }
      high = std::min(list.size(), low + step);
    }
  }
  const auto it = std::upper_bound(list.begin() + static_cast<std::ptrdiff_t>(low),
                                   list.begin() + static_cast<std::ptrdiff_t>(high), value);
  cursor = static_cast<std::size_t>(it - list.begin());
  return cursor;
}

}  // namespace

JsonScanner::JsonScanner() = default;

JsonScanner::JsonScanner(const JsonScanner& other)
    : source(other.source),
      scan(other.scan),
      positions(other.positions),
      pathParts(other.pathParts),
      unsplitPlainPath(other.unsplitPlainPath),
      plainPathPending(other.plainPathPending),
      processEventsHook(other.processEventsHook) {}

JsonScanner::~JsonScanner() = default;

// Compiling costs more than reading a short document, and plain documents never need the
// engine, so each pattern is set up when first used.
const RegexObject& JsonScanner::pattern(std::unique_ptr<RegexObject>& slot,
                                        std::string_view stored) const {
  if (!slot) {
    slot = std::make_unique<RegexObject>();
    slot->Create(QuotesFromApostrophes(stored));
  }
  return *slot;
}

void JsonScanner::setProcessEventsHook(ProcessEventsHook hook) {
  processEventsHook = std::move(hook);
}

void JsonScanner::processEvents() const {
  if (processEventsHook) processEventsHook();
}

Text JsonScanner::applyPattern(const RegexObject& pattern, std::string_view text,
                               std::string_view replacement) const {
  return pattern.Replace(text, replacement);
}

Text JsonScanner::restoreQuotes(std::string_view text) const {
  if (text.find('\\') == std::string_view::npos) return Text(text);
  return ReplaceText(text, "\\''", "\\\"");
}

Text JsonScanner::cleanName(std::string_view text) const {
  return TextOfPiece(text, namePiece(text, 0, text.size()));
}

Text JsonScanner::trimValue(std::string_view text) const {
  return TextOfPiece(text, trimmedPiece(text, 0, text.size()));
}

Text JsonScanner::compactSpacing(std::string_view text) const {
  Text result = SpaceIsFollowedByOpener(text)
                    ? applyPattern(pattern(spacingBefore, kSpacingBeforePattern), text, "$1")
                    : Text(text);
  if (CloserIsFollowedBySpace(result)) {
    result = applyPattern(pattern(spacingAfter, kSpacingAfterPattern), result, "$1");
  }
  return result;
}

Text JsonScanner::loadedText(std::string_view text) const {
  const bool hasBackslash = text.find('\\') != std::string_view::npos;
  const Text protectedText = hasBackslash ? ProtectEscapedQuotes(text) : Text();
  const std::string_view unspaced = hasBackslash ? std::string_view(protectedText) : text;
  // Most texts have no blank next to a bracket, brace or quote; they are taken as they are.
  if (SpaceTouchesBracket(unspaced)) {
    return compactSpacing(unspaced);
  }
  return Text(unspaced);
}

bool JsonScanner::changesOnLoad(std::string_view text) {
  return text.find('\\') != std::string_view::npos || SpaceTouchesBracket(text);
}

// Without blanks to compact, loading can only change a text through its backslashes: an
// escaped quote, or a backslash before a bar, which the quote protection uses as its own
// marker. A text with neither comes back unchanged, and so does every stretch of it.
bool JsonScanner::reloadsUnchanged(std::string_view loaded) {
  if (SpaceTouchesBracket(loaded)) return false;
  for (std::size_t i = loaded.find('\\'); i != std::string_view::npos;
       i = loaded.find('\\', i + 1)) {
    const char next = ByteAt(loaded, i + 1);
    if (next == '"' || next == '|') return false;
  }
  return true;
}

void JsonScanner::load(std::string_view text) {
  source = loadedText(text);
  scan.assign(source);
  indexScanBuffer();
}

// Blanks the string literals and records the structural bytes in one pass. Quotes pair up
// in document order; a last quote without a partner blanks nothing.
void JsonScanner::indexScanBuffer() {
  // Counting first lets every list be allocated once, at its final size.
  std::array<std::size_t, kStructuralCount> counts{};
  for (int kind = 0; kind < kStructuralCount; ++kind) {
    counts[kind] =
        static_cast<std::size_t>(std::count(scan.begin(), scan.end(), kStructuralBytes[kind]));
    positions[kind].clear();
    positions[kind].reserve(counts[kind]);
  }
  const std::size_t unpaired = counts[kQuote] % 2 == 1 ? scan.rfind('"') : std::string::npos;
  countedStart = kNone;
  bool inside = false;
  for (std::size_t i = 0; i < scan.size(); ++i) {
    if (inside && scan[i] != '"') {
      scan[i] = ' ';
      continue;
    }
    const int kind = StructuralIndex(scan[i]);
    if (kind < 0) continue;
    positions[kind].push_back(ToPosition(i + 1));
    if (kind == kQuote) inside = !inside && i != unpaired;
  }
}

int JsonScanner::firstAfter(Structural kind, int p) const {
  const auto& list = positions[kind];
  const std::size_t index = UpperBoundNear(list, p, cursors[kind]);
  return index == list.size() ? kNone : list[index];
}

int JsonScanner::firstAtOrAfter(Structural kind, int p) const { return firstAfter(kind, p - 1); }

JsonScanner::BalanceKey JsonScanner::balanceUpTo(int position, BalanceCursors& hints) const {
  auto countUpTo = [&](Structural kind) {
    return static_cast<std::int32_t>(UpperBoundNear(positions[kind], position, hints[kind]));
  };
  return {countUpTo(kOpenBrace) - countUpTo(kCloseBrace),
          countUpTo(kOpenBracket) - countUpTo(kCloseBracket), countUpTo(kQuote) % 2};
}

// The counts strictly between a and b are the difference of the running counts, so equal
// running counts mean equal braces, equal brackets and an even number of quotes in between.
bool JsonScanner::isBalanced(int a, int b) const {
  if (a == kNone || b == kNone) return false;
  if (b - 1 <= a) return true;
  if (a != countedStart) {
    startCounts = balanceUpTo(a, startCursors);
    countedStart = a;
  }
  return balanceUpTo(b - 1, endCursors) == startCounts;
}

Text JsonScanner::cut(int a, int b) const { return Text(cutView(a, b)); }

std::string_view JsonScanner::cutView(int a, int b) const {
  const int first = std::min(std::max(a, 0), ToPosition(source.size()));
  const int last = std::min(b - 1, ToPosition(source.size()));  // 1-based, inclusive
  return std::string_view(source).substr(static_cast<std::size_t>(first),
                                         static_cast<std::size_t>(std::max(last - first, 0)));
}

JsonPiece JsonScanner::trimmedPiece(int a, int b) const {
  const std::string_view raw = cutView(a, b);
  const auto begin = static_cast<std::size_t>(raw.data() - source.data());
  return trimmedPiece(source, begin, begin + raw.size());
}

// What trimValue makes of a stretch, kept as a stretch whenever it is one: the trim pattern
// only takes blanks from the ends of lines, so unless a line inside the piece lost some, the
// trimmed text is the piece less its leading and trailing runs.
JsonPiece JsonScanner::trimmedPiece(std::string_view text, std::size_t begin,
                                    std::size_t end) const {
  const std::string_view raw = text.substr(begin, end - begin);
  if (IsQuotedWord(raw)) return {ToOffset(begin), ToOffset(raw.size()), nullptr};
  const std::string_view stripped = StripRuns(raw, false);
  JsonPiece strippedPiece{static_cast<std::uint32_t>(stripped.data() - text.data()),
                          static_cast<std::uint32_t>(stripped.size()), nullptr};
  if (IsSingleLineGbk(raw)) return strippedPiece;
  Text trimmed = applyPattern(pattern(trim, kTrimPattern), raw, "");
  if (trimmed == stripped) return strippedPiece;
  return {0, 0, std::make_unique<Text>(std::move(trimmed))};
}

// What cleanName makes of a stretch, as a piece in the same way.
JsonPiece JsonScanner::namePiece(std::string_view text, std::size_t begin, std::size_t end) const {
  const std::string_view raw = text.substr(begin, end - begin);
  if (IsQuotedWord(raw)) return {ToOffset(begin + 1), ToOffset(raw.size() - 2), nullptr};
  if (IsSingleLineGbk(raw) && !QuoteTouchesBlank(raw)) {
    const std::string_view stripped = StripRuns(raw, true);
    return {static_cast<std::uint32_t>(stripped.data() - text.data()),
            static_cast<std::uint32_t>(stripped.size()), nullptr};
  }
  return {0, 0, std::make_unique<Text>(applyPattern(pattern(cleaning, kCleaningPattern), raw, ""))};
}

Text JsonScanner::pieceText(const JsonPiece& piece) const { return TextOfPiece(source, piece); }

int JsonScanner::nodeEstimate() const {
  return static_cast<int>(positions[kColon].size() + positions[kComma].size()) + 2;
}

int JsonScanner::loadTopLevel(std::string_view text) {
  load(text);
  int brace = firstAtOrAfter(kOpenBrace, 1);
  int bracket = firstAtOrAfter(kOpenBracket, 1);
  if (brace == kNone && bracket == kNone) {
    load(JoinTexts({"[", text, "]"}));
    brace = firstAtOrAfter(kOpenBrace, 1);
    bracket = firstAtOrAfter(kOpenBracket, 1);
  }
  return bracket == kNone || (brace != kNone && brace < bracket) ? 1 : 2;
}

JsonTopLevel JsonScanner::detectTopLevel(std::string_view text) {
  JsonTopLevel top;
  top.kind = loadTopLevel(text);
  if (top.kind == 1) {
    top.members = splitObject(text, false);
  } else {
    top.elements = splitArray(text, false);
  }
  return top;
}

std::vector<JsonMember> JsonScanner::splitObject(std::string_view text, bool reload) {
  if (reload) load(text);
  std::vector<JsonMember> members;
  std::optional<std::vector<JsonMemberPiece>> pieces = objectPieces(SIZE_MAX);
  for (JsonMemberPiece& piece : *pieces) {
    members.push_back({std::move(piece.name), pieceText(piece.value)});
  }
  return members;
}

std::optional<std::vector<JsonMemberPiece>> JsonScanner::objectPieces(std::size_t limit) {
  std::vector<JsonMemberPiece> members;
  int p = firstAtOrAfter(kOpenBrace, 1);
  if (p == kNone) return members;
  for (;;) {
    processEvents();
    JsonCut name = nextMemberName(p);
    if (name.position == kNone) break;
    const int end = memberValueEnd(name.position);
    if (end == kNone) break;
    if (members.size() == limit) return std::nullopt;
    members.push_back({std::move(name.text), trimmedPiece(name.position, end)});
    p = end;
  }
  return members;
}

JsonCut JsonScanner::nextMemberName(int p) const {
  if (p == kNone) return {Text(kOutOfRange), kNone};
  const char atP =
      p >= 1 && p <= ToPosition(scan.size()) ? scan[static_cast<std::size_t>(p) - 1] : '\0';
  if (atP != '{' && atP != ',') {
    const int brace = firstAfter(kOpenBrace, p);
    if (brace != kNone) p = brace;
  }
  const int q1 = firstAtOrAfter(kQuote, p);
  const int q2 = q1 == kNone ? kNone : firstAfter(kQuote, q1);
  int colon = firstAfter(kColon, p);
  // A colon between the two quotes belongs to the key; the first one past them ends it.
  if (colon != kNone && q2 != kNone && colon > q1 && colon < q2) colon = firstAfter(kColon, q2);
  if (colon == kNone) return {Text(kOutOfRange), kNone};
  return {cleanName(cut(p, colon)), colon};
}

// One step of the value search from q: the next "," or "}", unless an opening bracket or
// brace comes first, in which case the first closing one after it (*jumped is then set).
int JsonScanner::nextValueCandidate(int q, bool* jumped) const {
  const int bracket = firstAfter(kOpenBracket, q);
  const int brace = firstAfter(kOpenBrace, q);
  const int comma = firstAfter(kComma, q);
  const int close = firstAfter(kCloseBrace, q);
  int stop = ToPosition(scan.size()) + 1;
  if (comma != kNone && (close == kNone || comma < close)) {
    stop = comma;
  } else if (close != kNone) {
    stop = close;
  }
  *jumped = true;
  if (bracket != kNone && bracket < stop) return firstAfter(kCloseBracket, bracket);
  if (brace != kNone && brace < stop) return firstAfter(kCloseBrace, brace);
  *jumped = false;
  return stop;
}

JsonCut JsonScanner::nextMemberValue(int c) const {
  const int end = memberValueEnd(c);
  if (end == kNone) return {Text(kOutOfRange), kNone};
  return {cut(c, end), end};
}

int JsonScanner::memberValueEnd(int c) const {
  if (c == kNone) return kNone;
  int q = c;
  int last = 0;
  for (;;) {
    bool jumped = false;
    q = nextValueCandidate(q, &jumped);
    if (q == kNone) return kNone;
    if (!jumped) {
      if (q <= last) return kNone;
      last = q;
    }
    if (isBalanced(c, q)) return q;
  }
}

std::vector<Text> JsonScanner::splitArray(std::string_view text, bool reload) {
  if (reload) load(text);
  std::vector<Text> elements;
  const std::optional<std::vector<JsonPiece>> pieces = arrayPieces(SIZE_MAX);
  for (const JsonPiece& piece : *pieces) elements.push_back(pieceText(piece));
  return elements;
}

std::optional<std::vector<JsonPiece>> JsonScanner::arrayPieces(std::size_t limit) {
  std::vector<JsonPiece> elements;
  int p = firstAtOrAfter(kOpenBracket, 1);
  while (p != kNone) {
    processEvents();
    const int start = p;
    do {
      const int comma = firstAfter(kComma, p);
      p = comma != kNone ? comma : firstAfter(kCloseBracket, p);
      processEvents();
    } while (p != kNone && !isBalanced(start, p));
    if (p == kNone) break;
    if (elements.size() == limit) return std::nullopt;
    elements.push_back(trimmedPiece(start, p));
  }
  const bool onlyAnEmptyOne = elements.size() == 1 && pieceText(elements.front()).empty();
  if (onlyAnEmptyOne) elements.clear();
  return elements;
}

int JsonScanner::valueKind(std::string_view value) {
  if (value.empty()) return 0;
  if (value.front() == '[') return 2;
  if (value.front() == '{') return 1;
  return 0;
}

int JsonScanner::splitPath(std::string_view path) {
  plainPathPending = false;
  if (IsPlainPath(path)) return splitPlainPath(path);
  const Text text = QuotesFromApostrophes(path);
  const int length = TextLength(text);
  pathParts.clear();
  int start = 0;  // the position before the part being collected
  int searchFrom = 1;
  for (;;) {
    int dot = FindText(text, ".", {.start = searchFrom});
    const bool lastPass = dot == -1;
    if (lastPass) dot = length + 1;
    searchFrom = dot + 1;
    const Text part = MidText(text, start + 1, dot - start - 1);
    const auto quotes = std::count(part.begin(), part.end(), '"');
    if (quotes != 1) {  // one quote: the dot lies inside a quoted name
      pathParts.push_back(cleanName(part));
      start = dot;
    }
    if (lastPass) break;
  }
  return static_cast<int>(pathParts.size());
}

// Parts are assigned over the previous ones, as paths are read one after the other.
int JsonScanner::splitPlainPath(std::string_view path) {
  partViews.clear();
  SplitAtDots(path, partViews);
  pathParts.resize(partViews.size());
  for (std::size_t i = 0; i < partViews.size(); ++i) pathParts[i].assign(partViews[i]);
  return static_cast<int>(pathParts.size());
}

std::span<const std::string_view> JsonScanner::pathPartViews(std::string_view path) {
  if (!IsPlainPath(path)) {
    splitPath(path);
    partViews.assign(pathParts.begin(), pathParts.end());
    return partViews;
  }
  partViews.clear();
  SplitAtDots(path, partViews);
  unsplitPlainPath.assign(path);
  plainPathPending = true;
  return partViews;
}

int JsonScanner::takePathParts(std::vector<Text>& parts) {
  if (std::exchange(plainPathPending, false)) splitPlainPath(unsplitPlainPath);
  parts = pathParts;
  return static_cast<int>(parts.size());
}

Text JsonScanner::normalizePath(std::string_view path, int mode) const {
  if (mode != 0 && mode != 1) return {};
  // Both patterns need a bracketed number, so a path without "[" stays as it is.
  if (path.find('[') == std::string_view::npos) return Text(path);
  RegexObject pattern;
  pattern.Create(mode == 1 ? kDotBeforeIndexPattern : kDroppedDotPattern);
  return pattern.Replace(path, mode == 1 ? kDotBeforeIndexReplacement : kDroppedDotReplacement);
}

Text JsonScanner::textBetween(std::string_view text, std::string_view startMarker,
                              std::string_view endMarker, int from, int* next) const {
  Text subject(text);
  Text start = QuotesFromApostrophes(startMarker);
  Text end = QuotesFromApostrophes(endMarker);
  if (start.empty()) {
    start = kStartOfTextMarker;
    subject = JoinTexts({start, subject});
  }
  if (end.empty()) {
    end = kEndOfTextMarker;
    subject = JoinTexts({subject, end});
  }
  if (next != nullptr) *next = kNone;
  const int startAt = FindText(subject, start, {.start = from});
  if (startAt == -1) return {};
  const int inner = startAt + TextLength(start);
  const int endAt = FindText(subject, end, {.start = inner});
  if (endAt == -1) return {};
  if (next != nullptr) *next = endAt + TextLength(end);
  return MidText(subject, inner, endAt - inner);
}

}  // namespace vardelle
