#include "app/status/region_status.h"

#include <cstddef>
#include <optional>
#include <utility>

#include "app/start/application.h"
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

std::vector<Text> CutAndSplit(std::string_view text, std::string_view startMarker,
                              std::string_view endMarker) {
  return SplitAtCommas(TextBetween(text, startMarker, endMarker));
}

// One GET of url on request, synchronous, without a body; false (nothing sent) for a site
// without an address.
bool Ask(HttpRequest& request, const std::string& url) {
  if (url.empty()) return false;
  Text completed = url;
  request.OpenRequest("GET", completed);
  request.SendText();
  return true;
}

void FetchInto(const Endpoints& endpoints, RegionStatusLists& lists) {
  HttpRequest request;
  if (Ask(request, endpoints.DocumentUrl(Site::kStatusSite))) {
    CutStatusScript(DecodeBytesAsGb2312(request.GetResponseBody()), lists);
  }
  if (Ask(request, endpoints.DocumentUrl(Site::kStatusService))) {
    CutStatusService(request.GetResponseText(), lists);
  }
  if (Ask(request, endpoints.DocumentUrl(Site::kSelectorSite))) {
    CutSelectorScript(DecodeBytesAsGb2312(request.GetResponseBody()), lists);
  }
}

// Step 1 of the look-up: every selector piece naming the region is checked, not only the
// first.
bool IsStopped(const RegionStatusLists& lists, std::string_view quotedName) {
  for (const Text& piece : lists.selectorItems) {
    if (!Contains(piece, quotedName)) continue;
    if (TextBetween(TrimSpaces(piece), kSelectorStateStart, kSelectorStateEnd) == kStoppedState) {
      return true;
    }
  }
  return false;
}

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

Text TextBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker) {
  const int start = FindText(text, startMarker, {.start = 1, .ignoreCase = true});
  if (start == -1) return {};
  // 0-based offset of the content; an empty end marker is found right there.
  const std::size_t content = static_cast<std::size_t>(start) - 1 + startMarker.size();
  if (endMarker.empty() || content >= text.size()) return {};
  const int end = FindText(
      text, endMarker, {.start = static_cast<int>(content) + 1, .ignoreCase = true});
  if (end == -1) return {};
  return Text(text.substr(content, static_cast<std::size_t>(end) - 1 - content));
}

std::vector<Text> SplitAtCommas(std::string_view text) {
  std::vector<Text> pieces;
  int pieceStart = 1;
  for (int comma = FindText(text, ",", {.start = pieceStart}); comma != -1;
       comma = FindText(text, ",", {.start = pieceStart})) {
    pieces.push_back(MidText(text, pieceStart, comma - pieceStart));
    pieceStart = comma + 1;
  }
  if (pieceStart <= TextLength(text)) pieces.push_back(MidText(text, pieceStart, TextLength(text)));
  return pieces;
}

void CutStatusScript(std::string_view script, RegionStatusLists& lists) {
  lists.serverInfoItems = CutAndSplit(script, kServerInfoStart, kListEnd);
  lists.serverStatusItems = CutAndSplit(script, kServerStatusStart, kListEnd);
}

void CutStatusService(std::string_view answer, RegionStatusLists& lists) {
  lists.statusCodeItems = CutAndSplit(answer, kStatusCodeStart, kListEnd);
}

void CutSelectorScript(std::string_view script, RegionStatusLists& lists) {
  lists.selectorItems = CutAndSplit(script, kSelectorStart, kSelectorEnd);
}

std::shared_ptr<const RegionStatusLists> FetchRegionStatus(Application& app) {
  try {
    auto lists = std::make_shared<RegionStatusLists>();
    FetchInto(app.endpoints, *lists);
    PublishRegionStatus(app, lists);
    return lists;
  } catch (...) {
    // Only running out of memory gets here: no lists, as when nothing answered.
    return EmptySet();
  }
}

std::shared_ptr<const RegionStatusLists> CurrentRegionStatus(const Application& app) {
  const std::shared_ptr<ProcessLists> lists = app.lists.load();
  if (!lists) return EmptySet();
  std::shared_ptr<const RegionStatusLists> current = lists->regionStatus.Load();
  return current ? current : EmptySet();
}

void PublishRegionStatus(Application& app, std::shared_ptr<const RegionStatusLists> lists) {
  // A copy of the holder: ShutDown may drop the process-wide lists meanwhile.
  const std::shared_ptr<ProcessLists> processLists = app.lists.load();
  if (processLists && lists) processLists->regionStatus.Store(std::move(lists));
}

Text LookUpRegionStatus(const RegionStatusLists& lists, std::string_view regionName) {
  if (IsStopped(lists, JoinTexts({"\"", regionName}))) return kStoppedStatusWord;

  const std::optional<std::string_view> infoPiece =
      FirstPieceHolding(lists.serverInfoItems, JoinTexts({":'", regionName, "'"}));
  if (!infoPiece) return kUnknownStatusWord;
  const Text regionId = TextBetween(TrimSpaces(*infoPiece), "'", "':");

  const std::optional<std::string_view> codePiece =
      FirstPieceHolding(lists.statusCodeItems, JoinTexts({"\"", regionId, "\":"}));
  if (!codePiece) return kUnknownStatusWord;
  const Text statusCode = TextBetween(*codePiece, ":\"", "\"");

  const std::optional<std::string_view> wordPiece =
      FirstPieceHolding(lists.serverStatusItems, statusCode);
  if (!wordPiece) return kUnknownStatusWord;
  return TextBetween(*wordPiece, ":'", "'");
}

Colour StatusWordColour(std::string_view word) {
  static constexpr std::pair<std::string_view, Colour> kColours[] = {
      {kUnknownStatusWord, kGrey}, {"正常", kBlack}, {"拥挤", kOrange},
      {"满载", kRed},              {"维护", kGrey},
  };
  for (const auto& [known, colour] : kColours) {
    if (word == known) return colour;
  }
  return kGrey;
}

}  // namespace vardelle
