// Cuts JSON texts into members and elements and splits paths, for the JSON reader.
//
// The scanner holds one loaded text at a time in two byte buffers: the source buffer (the
// text after quote protection and spacing removal) and the scan buffer (the same bytes with
// the inside of every string literal blanked). Structural searches run on the scan buffer,
// names and values are cut from the source buffer at the same positions. Positions are
// 1-based; kNone stands for "not found".
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "support/regex/regex_object.h"
#include "support/text/text.h"

namespace vardelle {

// Lets pending work run during long loops; empty by default.
using ProcessEventsHook = std::function<void()>;

struct JsonMember {
  Text name;
  Text value;
};

// A text that a member cutter produced, with the position where it stopped.
struct JsonCut {
  Text text;
  int position;
};

// A trimmed piece of the loaded text: where it lies in the source buffer, or, when trimming
// took bytes out of its middle, the trimmed text itself.
struct JsonPiece {
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  std::unique_ptr<Text> rewritten;  // rare, so kept apart to keep pieces small
};

struct JsonMemberPiece {
  Text name;
  JsonPiece value;
};

struct JsonTopLevel {
  int kind = 0;  // 1 object, 2 array
  std::vector<JsonMember> members;
  std::vector<Text> elements;
};

class JsonScanner {
 public:
  static constexpr int kNone = -1;
  // The answer of the member cutters when the member's end cannot be found.
  static constexpr std::string_view kOutOfRange = "超出";

  JsonScanner();
  JsonScanner(const JsonScanner& other);
  JsonScanner& operator=(const JsonScanner&) = delete;
  ~JsonScanner();

  void setProcessEventsHook(ProcessEventsHook hook);

  Text restoreQuotes(std::string_view text) const;
  Text cleanName(std::string_view text) const;
  Text trimValue(std::string_view text) const;
  JsonTopLevel detectTopLevel(std::string_view text);
  // The first step of detectTopLevel: loads the text, or "[" + text + "]" when it holds no
  // bracket or brace outside its strings, and answers the kind (1 object, 2 array).
  int loadTopLevel(std::string_view text);
  std::vector<JsonMember> splitObject(std::string_view text, bool reload);
  std::vector<Text> splitArray(std::string_view text, bool reload);
  // splitObject and splitArray on the loaded text, as pieces; nothing when there are more
  // than `limit` of them, so that cutting stops there.
  std::optional<std::vector<JsonMemberPiece>> objectPieces(std::size_t limit);
  std::optional<std::vector<JsonPiece>> arrayPieces(std::size_t limit);
  Text pieceText(const JsonPiece& piece) const;
  static int valueKind(std::string_view value);
  int splitPath(std::string_view path);
  int takePathParts(std::vector<Text>& parts);
  // splitPath's parts as views, held until the next split: of the path itself when it is
  // plain (so the caller keeps it alive while reading them), as paths are read far more
  // often than their parts are taken.
  std::span<const std::string_view> pathPartViews(std::string_view path);
  Text normalizePath(std::string_view path, int mode) const;
  Text compactSpacing(std::string_view text) const;
  void load(std::string_view text);
  // The text that load puts into the source buffer.
  Text loadedText(std::string_view text) const;
  // False when loading gives back the text unchanged (true does not say that it changes).
  static bool changesOnLoad(std::string_view text);
  // True when loading the loaded text, or any stretch of it from an opening bracket or brace
  // to its partner, gives back the same bytes.
  static bool reloadsUnchanged(std::string_view loaded);
  // trimValue and cleanName of text's bytes [begin, end), as pieces of text.
  JsonPiece trimmedPiece(std::string_view text, std::size_t begin, std::size_t end) const;
  JsonPiece namePiece(std::string_view text, std::size_t begin, std::size_t end) const;
  bool isBalanced(int a, int b) const;
  JsonCut nextMemberName(int p) const;
  JsonCut nextMemberValue(int c) const;
  Text cut(int a, int b) const;
  // A capacity hint for the nodes of the loaded text: about one per colon or comma, plus
  // the root and an array's last element.
  int nodeEstimate() const;
  // The text between two markers, searching from `from`; *next receives the position after
  // the end marker (kNone when either marker is missing).
  Text textBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                   int from, int* next) const;

  std::string_view sourceBuffer() const { return source; }
  std::string_view scanBuffer() const { return scan; }

 private:
  enum Structural { kOpenBrace, kCloseBrace, kOpenBracket, kCloseBracket, kQuote, kColon, kComma };
  static constexpr int kStructuralCount = 7;

  // Where the previous count of each balance-relevant byte ended; only a hint.
  using BalanceCursors = std::array<std::size_t, kQuote + 1>;

  // Running counts of the balance-relevant bytes up to and including a position.
  struct BalanceKey {
    std::int32_t braces = 0;    // "{" minus "}"
    std::int32_t brackets = 0;  // "[" minus "]"
    std::int32_t quotes = 0;    // parity of the double quotes
    bool operator==(const BalanceKey&) const = default;
  };

  const RegexObject& pattern(std::unique_ptr<RegexObject>& slot, std::string_view stored) const;
  void processEvents() const;
  void indexScanBuffer();
  int firstAfter(Structural kind, int p) const;  // strictly after p
  int firstAtOrAfter(Structural kind, int p) const;
  BalanceKey balanceUpTo(int position, BalanceCursors& hints) const;
  int splitPlainPath(std::string_view path);
  int nextValueCandidate(int q, bool* jumped) const;
  int memberValueEnd(int c) const;
  std::string_view cutView(int a, int b) const;
  JsonPiece trimmedPiece(int a, int b) const;
  Text applyPattern(const RegexObject& pattern, std::string_view text,
                    std::string_view replacement) const;

  std::string source;
  std::string scan;
  // Sorted positions of each structural byte in the scan buffer, so that a search costs a
  // binary search and a balance test a few: the counts up to a position are the number of
  // positions before it.
  std::array<std::vector<int>, kStructuralCount> positions;
  // Where the previous search in each list ended; only a hint, any value is safe.
  mutable std::array<std::size_t, kStructuralCount> cursors{};
  mutable BalanceCursors startCursors{};
  mutable BalanceCursors endCursors{};
  // The cutters test one start against many ends in a row, so the start's counts are kept.
  mutable int countedStart = kNone;
  mutable BalanceKey startCounts;

  mutable std::unique_ptr<RegexObject> cleaning;
  mutable std::unique_ptr<RegexObject> spacingBefore;
  mutable std::unique_ptr<RegexObject> spacingAfter;
  mutable std::unique_ptr<RegexObject> trim;
  std::vector<Text> pathParts;
  // The last plain path, when pathPartViews split it and its parts are not made yet.
  Text unsplitPlainPath;
  bool plainPathPending = false;
  std::vector<std::string_view> partViews;
  ProcessEventsHook processEventsHook;
};

}  // namespace vardelle
