#include "app/status/region_status.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <thread>
#include <utility>

#include "app/settings/endpoints.h"
#include "app/status/process_lists.h"
#include "support/http/http_request.h"
#include "support/text/space_trim.h"

namespace vardelle {
namespace {

// Where the operator's documents are cut, and what the look-up searches for.
constexpr std::string_view kServerInfoStart = "ServerInfo : {";
constexpr std::string_view kServerStatusStart = "ServerStatus : {";
constexpr std::string_view kListEnd = "},";
constexpr std::string_view kStatusCodeStart = "[{";
constexpr std::string_view kSelectorStart = "LOLServerSelect.STD_DATA=";
constexpr std::string_view kSelectorEnd = "];";
constexpr std::string_view kSelectorStateStart = "status:\"";
constexpr std::string_view kSelectorStateEnd = "\"}";
constexpr std::string_view kStoppedState = "0";

constexpr Colour kBlack = 0x00000000;
constexpr Colour kOrange = 0x000080FF;
constexpr Colour kRed = 0x000000FF;
constexpr Colour kGrey = 0x00808080;

// Whether the piece holds wanted anywhere, case-sensitively, as the text primitives find.
bool Contains(std::string_view piece, std::string_view wanted) {
  return FindText(piece, wanted) != -1;
}

// The first piece that holds wanted; nothing when none does.
std::optional<std::string_view> FirstPieceHolding(const std::vector<Text>& pieces,
                                                  std::string_view wanted) {
  for (const Text& piece : pieces) {
    if (Contains(piece, wanted)) return piece;
  }
  return std::nullopt;
}

// The key of a piece of ServerStatus: the text before its colon, without blanks and without
// the single or double quotes it may be written in ('1':'正常' as ServerInfo quotes its ids).
// Neither a colon nor a quote is ever a double-byte character's second byte.
std::optional<Text> KeyOf(std::string_view piece) {
  const std::size_t colon = piece.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  Text key = TrimBlanksAndLineBreaks(piece.substr(0, colon));
  const bool quoted =
      key.size() >= 2 && (key.front() == '\'' || key.front() == '"') && key.back() == key.front();
  return quoted ? key.substr(1, key.size() - 2) : key;
}

// The first piece whose key is code, as 1 is the key of 1:'正常', '1':'正常' and "1":'正常'; the
// whole key is compared, so that code 1 never takes the piece of code 10.
std::optional<std::string_view> PieceKeyedBy(const std::vector<Text>& pieces,
                                             std::string_view code) {
  for (const Text& piece : pieces) {
    if (KeyOf(piece) == code) return piece;
  }
  return std::nullopt;
}

// TextBetween without the copy: the cut documents can be tens of megabytes.
std::string_view ViewBetween(std::string_view text, std::string_view startMarker,
                             std::string_view endMarker) {
  const int start = FindText(text, startMarker, {.start = 1, .ignoreCase = true});
  if (start == -1) return {};
  // 0-based offset of the content; an empty end marker is found right there.
  const std::size_t content = static_cast<std::size_t>(start) - 1 + startMarker.size();
  if (endMarker.empty() || content >= text.size()) return {};
  const int end =
      FindText(text, endMarker, {.start = static_cast<int>(content) + 1, .ignoreCase = true});
  if (end == -1) return {};
  return text.substr(content, static_cast<std::size_t>(end) - 1 - content);
}

std::vector<Text> CutAndSplit(std::string_view text, std::string_view startMarker,
                              std::string_view endMarker) {
  return SplitAtCommas(ViewBetween(text, startMarker, endMarker));
}

enum class Answer { kNone, kFailed, kAnswered };

// One GET of url on request, without a body; none for a site without an address and for a
// download ended by stopping. The answer is waited for in short steps, so that a stop is
// seen at once rather than after the request's time-outs.
Answer Ask(HttpRequest& request, const std::string& url, const std::atomic<bool>& stopping) {
  if (url.empty()) return Answer::kNone;
  Text completed = url;
  request.OpenRequest("GET", completed, true);
  request.SendText();
  while (!request.WaitResponse(0)) {
    if (!request.LastCallError().empty()) return Answer::kFailed;  // cut as an empty answer
    if (stopping) {
      request.AbortRequest();
      return Answer::kNone;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return Answer::kAnswered;
}

// Asks url and cuts what came, even from a failed request (the table shows what can be read);
// a failed request leaves the document failed whatever its cut found.
void ReadDocument(HttpRequest& request, const std::string& url, const std::atomic<bool>& stopping,
                  const std::function<void(HttpRequest&)>& cut, DocumentRead& read) {
  const Answer answer = Ask(request, url, stopping);
  if (answer == Answer::kNone) return;
  cut(request);
  if (answer == Answer::kFailed) read = DocumentRead::kFailed;
}

void FetchInto(const Endpoints& endpoints, RegionStatusLists& lists,
               const std::atomic<bool>& stopping) {
  HttpRequest request;
  ReadDocument(
      request, endpoints.DocumentUrl(Site::kStatusSite), stopping,
      [&](HttpRequest& r) { CutStatusScript(DecodeBytesAsGb2312(r.GetResponseBody()), lists); },
      lists.statusScript);
  ReadDocument(
      request, endpoints.DocumentUrl(Site::kStatusService), stopping,
      [&](HttpRequest& r) { CutStatusService(r.GetResponseText(), lists); }, lists.statusService);
  ReadDocument(
      request, endpoints.DocumentUrl(Site::kSelectorSite), stopping,
      [&](HttpRequest& r) { CutSelectorScript(DecodeBytesAsGb2312(r.GetResponseBody()), lists); },
      lists.selector);
}

// Whole when its lists were cut, which takes an answer holding every marker.
DocumentRead ReadOf(std::initializer_list<const std::vector<Text>*> lists) {
  for (const std::vector<Text>* list : lists) {
    if (list->empty()) return DocumentRead::kFailed;
  }
  return DocumentRead::kRead;
}

// Step 1 of the look-up: every selector piece naming the region is checked, not only the
// first.
bool IsStopped(const RegionStatusLists& lists, std::string_view regionName) {
  const Text quotedName = JoinTexts({"\"", regionName});
  for (const Text& piece : lists.selectorItems) {
    if (!Contains(piece, quotedName)) continue;
    if (TextBetween(TrimSpaces(piece), kSelectorStateStart, kSelectorStateEnd) == kStoppedState) {
      return true;
    }
  }
  return false;
}

// Steps 2 to 4: the word the status script gives the region through its id and status code.
Text ScriptWord(const RegionStatusLists& lists, std::string_view regionName) {
  const std::optional<std::string_view> infoPiece =
      FirstPieceHolding(lists.serverInfoItems, JoinTexts({":'", regionName, "'"}));
  if (!infoPiece) return kUnknownStatusWord;
  const Text regionId = TextBetween(TrimSpaces(*infoPiece), "'", "':");

  const std::optional<std::string_view> codePiece =
      FirstPieceHolding(lists.statusCodeItems, JoinTexts({"\"", regionId, "\":"}));
  if (!codePiece) return kUnknownStatusWord;
  const Text statusCode = TextBetween(*codePiece, ":\"", "\"");
  // A bare number or "" is no code.
  if (statusCode.empty()) return kUnknownStatusWord;

  const std::optional<std::string_view> wordPiece =
      PieceKeyedBy(lists.serverStatusItems, statusCode);
  if (!wordPiece) return kUnknownStatusWord;
  return TextBetween(*wordPiece, ":'", "'");
}

std::atomic<std::uint64_t> queriesMade{0};

const std::shared_ptr<const RegionStatusLists>& EmptySet() {
  static const auto* const empty =
      new std::shared_ptr<const RegionStatusLists>(std::make_shared<const RegionStatusLists>());
  return *empty;
}

}  // namespace

std::shared_ptr<const RegionStatusLists> RegionStatusSlot::Load() const {
  std::lock_guard guard(mutex);
  return current;
}

void RegionStatusSlot::Store(std::shared_ptr<const RegionStatusLists> lists) {
  {
    std::lock_guard guard(mutex);
    current.swap(lists);
  }
}

Text TrimBlanksAndLineBreaks(std::string_view text) {
  Text trimmed(text);
  for (;;) {
    const std::size_t first = trimmed.find_first_not_of(" \t\r\n");
    const std::size_t last = trimmed.find_last_not_of(" \t\r\n");
    Text next = first == Text::npos ? Text() : TrimSpaces(trimmed.substr(first, last - first + 1));
    if (next == trimmed) return trimmed;
    trimmed = std::move(next);
  }
}

Text TextBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker) {
  return Text(ViewBetween(text, startMarker, endMarker));
}

std::vector<Text> SplitAtCommas(std::string_view text) {
  std::vector<Text> pieces;
  // Each piece starts right after a comma, so each search starts on a character's first byte.
  for (std::string_view rest = text; !rest.empty();) {
    if (pieces.size() == kMostListPieces) return {};
    const int comma = FindText(rest, ",");
    const std::size_t length = comma == -1 ? rest.size() : static_cast<std::size_t>(comma) - 1;
    pieces.emplace_back(rest.substr(0, length));
    rest.remove_prefix(std::min(length + 1, rest.size()));
  }
  return pieces;
}

void CutStatusScript(std::string_view script, RegionStatusLists& lists) {
  lists.serverInfoItems = CutAndSplit(script, kServerInfoStart, kListEnd);
  lists.serverStatusItems = CutAndSplit(script, kServerStatusStart, kListEnd);
  lists.statusScript = ReadOf({&lists.serverInfoItems, &lists.serverStatusItems});
}

void CutStatusService(std::string_view answer, RegionStatusLists& lists) {
  lists.statusCodeItems = CutAndSplit(answer, kStatusCodeStart, kListEnd);
  lists.statusService = ReadOf({&lists.statusCodeItems});
}

void CutSelectorScript(std::string_view script, RegionStatusLists& lists) {
  lists.selectorItems = CutAndSplit(script, kSelectorStart, kSelectorEnd);
  lists.selector = ReadOf({&lists.selectorItems});
}

std::shared_ptr<const RegionStatusLists> FetchRegionStatus(const Endpoints& endpoints,
                                                           const SharedProcessLists& lists) {
  const std::atomic<bool> never{false};
  return FetchRegionStatus(endpoints, lists, never);
}

std::shared_ptr<const RegionStatusLists> FetchRegionStatus(const Endpoints& endpoints,
                                                           const SharedProcessLists& lists,
                                                           const std::atomic<bool>& stopping) {
  try {
    auto set = std::make_shared<RegionStatusLists>();
    set->query = ++queriesMade;
    FetchInto(endpoints, *set, stopping);
    if (stopping) return CurrentRegionStatus(lists);  // a set cut short is never published
    PublishRegionStatus(lists, set);
    return set;
  } catch (...) {
    // Only running out of memory gets here: no lists, as when nothing answered.
    return EmptySet();
  }
}

std::shared_ptr<const RegionStatusLists> CurrentRegionStatus(const SharedProcessLists& lists) {
  const std::shared_ptr<ProcessLists> processLists = lists.load();
  if (!processLists) return EmptySet();
  std::shared_ptr<const RegionStatusLists> current = processLists->regionStatus.Load();
  return current ? current : EmptySet();
}

void PublishRegionStatus(const SharedProcessLists& lists,
                         std::shared_ptr<const RegionStatusLists> set) {
  // A copy of the holder: ShutDown may drop the process-wide lists meanwhile.
  const std::shared_ptr<ProcessLists> processLists = lists.load();
  if (processLists && set) processLists->regionStatus.Store(std::move(set));
}

RegionWord ReadRegionWord(const RegionStatusLists& lists, std::string_view regionName) {
  const auto failed = [](DocumentRead read) { return read == DocumentRead::kFailed; };
  const bool stopped = IsStopped(lists, regionName);
  const bool complete = !failed(lists.selector) &&
                        (stopped || (!failed(lists.statusScript) && !failed(lists.statusService)));
  return {stopped ? Text(kStoppedStatusWord) : ScriptWord(lists, regionName), complete};
}

RegionStatusWords::RegionStatusWords() : lists_(EmptySet()) {}

RegionStatusWords::RegionStatusWords(std::shared_ptr<const RegionStatusLists> lists,
                                     const std::vector<Text>& regions)
    : lists_(lists ? std::move(lists) : EmptySet()) {
  for (const Text& region : regions) Keep(region);
}

const RegionWord& RegionStatusWords::Keep(std::string_view region) {
  const auto found = words_.find(region);
  if (found != words_.end()) return found->second;
  return words_.emplace(Text(region), ReadRegionWord(*lists_, region)).first->second;
}

RegionWord RegionStatusWords::Of(std::string_view region) const {
  const auto found = words_.find(region);
  return found != words_.end() ? found->second : ReadRegionWord(*lists_, region);
}

Colour StatusWordColour(std::string_view word) {
  static constexpr std::pair<std::string_view, Colour> kColours[] = {
      {kUnknownStatusWord, kGrey},
      {"正常", kBlack},
      {"拥挤", kOrange},
      {"满载", kRed},
      {"维护", kGrey},
  };
  for (const auto& [known, colour] : kColours) {
    if (word == known) return colour;
  }
  return kGrey;
}

}  // namespace vardelle
