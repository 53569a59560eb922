// The region status pipeline on any bytes: the input holds the status script, the status
// service answer, the area selector script and region names, one per line, in this order
// and split at zero bytes. The documents are cut as a query cuts them once downloaded; then
// every region named there or in the script's region list is looked up. Whatever the
// documents, each list is pieces of its document, and a region's word is a made-up one or
// taken from the script's status words, and its colour one of the four.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/status/region_status.h"

namespace {

using vardelle::Bytes;
using vardelle::RegionStatusLists;
using vardelle::Text;

constexpr int kMostRegions = 64;
constexpr vardelle::Colour kAllowedColours[] = {0x00000000, 0x000080FF, 0x000000FF, 0x00808080};
constexpr vardelle::Colour kGrey = 0x00808080;

// The input's next part up to separator, taken off the input with the separator.
std::string_view NextPart(std::string_view& input, char separator) {
  const std::size_t end = input.find(separator);
  const std::string_view part = input.substr(0, end);
  input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  return part;
}

// Downloaded bytes as the query reads them.
Text DecodedAsDownloaded(std::string_view document) {
  return vardelle::DecodeBytesAsGb2312(vardelle::BytesOf(document));
}

// The pieces rejoined at commas lie in the document: only the trailing empty piece is lost.
bool ArePiecesOf(const std::vector<Text>& pieces, std::string_view document) {
  if (pieces.empty()) return true;
  Text joined = pieces.front();
  for (std::size_t i = 1; i < pieces.size(); ++i) joined += "," + pieces[i];
  return document.find(joined) != std::string_view::npos;
}

bool AnyPieceHolds(const std::vector<Text>& pieces, std::string_view wanted) {
  for (const Text& piece : pieces) {
    if (piece.find(wanted) != Text::npos) return true;
  }
  return false;
}

bool IsAllowedColour(vardelle::Colour colour) {
  for (vardelle::Colour allowed : kAllowedColours) {
    if (colour == allowed) return true;
  }
  return false;
}

void CheckRegion(const RegionStatusLists& lists, std::string_view region) {
  const Text word = vardelle::ReadRegionWord(lists, region).shown;
  const bool stopped = word == vardelle::kStoppedStatusWord &&
                       AnyPieceHolds(lists.selectorItems, "\"" + Text(region));
  const bool unknown = word == vardelle::kUnknownStatusWord;
  if (!stopped && !unknown && !AnyPieceHolds(lists.serverStatusItems, word)) std::abort();
  const vardelle::Colour colour = vardelle::StatusWordColour(word);
  if (!IsAllowedColour(colour) || ((stopped || unknown) && colour != kGrey)) std::abort();
}

// The names the script's region list gives, as a row's region cell would hold them.
std::vector<Text> ListedRegions(const RegionStatusLists& lists) {
  std::vector<Text> regions;
  for (const Text& piece : lists.serverInfoItems) {
    if (static_cast<int>(regions.size()) == kMostRegions) break;
    regions.push_back(vardelle::TextBetween(piece, ":'", "'"));
  }
  return regions;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const Text script = DecodedAsDownloaded(NextPart(input, '\0'));
  const std::string_view service = NextPart(input, '\0');
  const Text selector = DecodedAsDownloaded(NextPart(input, '\0'));
  RegionStatusLists lists;
  vardelle::CutStatusScript(script, lists);
  vardelle::CutStatusService(service, lists);
  vardelle::CutSelectorScript(selector, lists);
  if (!ArePiecesOf(lists.serverInfoItems, script) ||
      !ArePiecesOf(lists.serverStatusItems, script) ||
      !ArePiecesOf(lists.statusCodeItems, service) || !ArePiecesOf(lists.selectorItems, selector)) {
    std::abort();
  }
  for (const Text& region : ListedRegions(lists)) CheckRegion(lists, region);
  for (int read = 0; read < kMostRegions && !input.empty(); ++read) {
    CheckRegion(lists, NextPart(input, '\n'));
  }
  return 0;
}
