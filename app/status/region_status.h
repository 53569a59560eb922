// The region status query: the operator's three status documents cut into four lists of
// pieces, published as one immutable set per query, and the look-up of a region's status
// word and its colour in such a set.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "app/view/colour.h"
#include "support/text/text.h"

namespace vardelle {

class Endpoints;
struct ProcessLists;

// The process-wide lists of the running program: none before StartUp and after ShutDown.
// Shared, so a worker still running while ShutDown frees them keeps its own reference.
using SharedProcessLists = std::atomic<std::shared_ptr<ProcessLists>>;

// How a status document's fetch went. A document is read when its answer came without a
// failure and held the markers of every list it is cut into; a site without an address is
// not asked.
enum class DocumentRead { kNotAsked, kFailed, kRead };

// The operator's region status documents cut into pieces. A set is never changed once it
// is published: every query builds a new one, and a reader keeps the set it started with,
// so a new query never frees lists that a worker of an earlier run still reads.
struct RegionStatusLists {
  std::vector<Text> serverInfoItems;    // status script, "ServerInfo : {" .. "},"
  std::vector<Text> serverStatusItems;  // status script, "ServerStatus : {" .. "},"
  std::vector<Text> statusCodeItems;    // status service, "[{" .. "},"
  std::vector<Text> selectorItems;      // area selector, "LOLServerSelect.STD_DATA=" .. "];"
  DocumentRead statusScript = DocumentRead::kNotAsked;
  DocumentRead statusService = DocumentRead::kNotAsked;
  DocumentRead selector = DocumentRead::kNotAsked;
  // The query that made the set, counted from 1 in the process; 0 for a set made otherwise. A
  // query cut short hands out the set before it, which tells it from a new reading.
  std::uint64_t query = 0;
};

// The set published last, replaced and read by many threads at once; a reader keeps the set
// it took. A lock rather than std::atomic<std::shared_ptr>: that one's load gives its lock
// back with a relaxed store, so a store on another thread races with the pointer's read.
class RegionStatusSlot {
 public:
  std::shared_ptr<const RegionStatusLists> Load() const;
  // The replaced set is let go outside the lock.
  void Store(std::shared_ptr<const RegionStatusLists> lists);

 private:
  mutable std::mutex mutex;
  std::shared_ptr<const RegionStatusLists> current = std::make_shared<const RegionStatusLists>();
};

// The words that the look-up makes itself; every other word comes from the status script.
inline constexpr char kStoppedStatusWord[] = "停机";
inline constexpr char kUnknownStatusWord[] = "未知状态";

// The text between the first startMarker and the first endMarker after it; "" when either
// is missing. Markers are found ignoring the case of ASCII letters, and the searches step
// over double-byte characters whole, so a marker never matches from a character's second
// byte.
Text TextBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker);

// The text without the blanks around it: ASCII and full-width spaces, tabs and line breaks, in
// any mix, as a script laid out over lines puts them before its keys and a settings file
// trims its values.
Text TrimBlanksAndLineBreaks(std::string_view text);

// A real list has about 30 pieces; a text cut into more is no list of the operator's, and
// keeping tens of millions of pieces would cost gigabytes.
inline constexpr std::size_t kMostListPieces = 4096;

// The text cut at every ",", the commas dropped: pieces between adjacent commas are "", a
// trailing empty piece is not kept and "" gives no pieces. The scan steps over double-byte
// characters whole. A text of more than kMostListPieces pieces gives none, so every look-up
// in its list reads as unknown.
std::vector<Text> SplitAtCommas(std::string_view text);

// Each document's lists, cut as a query cuts the document once downloaded (the two scripts
// decoded from GB2312, the status service answer as its text); each fills only its own lists
// and tells whether its document was read.
void CutStatusScript(std::string_view script, RegionStatusLists& lists);
void CutStatusService(std::string_view answer, RegionStatusLists& lists);
void CutSelectorScript(std::string_view script, RegionStatusLists& lists);

// Downloads the status script, the status service and the area selector script from
// endpoints, in this order with one request object (a site without an address is not
// asked and its lists stay empty), cuts the four lists, publishes them as the current set
// in lists (when the process-wide lists are there) and returns the new set, never null.
// Blocks until the three answers are in; callable from any thread; never throws.
std::shared_ptr<const RegionStatusLists> FetchRegionStatus(const Endpoints& endpoints,
                                                           const SharedProcessLists& lists);
// The same, ended early once stopping is set (the set published before is kept then).
std::shared_ptr<const RegionStatusLists> FetchRegionStatus(const Endpoints& endpoints,
                                                           const SharedProcessLists& lists,
                                                           const std::atomic<bool>& stopping);

// The set published last; an empty set, never null, before the first query or when there
// are no process-wide lists (before StartUp, after ShutDown).
std::shared_ptr<const RegionStatusLists> CurrentRegionStatus(const SharedProcessLists& lists);

// Makes set the current one (nothing when there are no process-wide lists).
void PublishRegionStatus(const SharedProcessLists& lists,
                         std::shared_ptr<const RegionStatusLists> set);

// A region's status as one set reads it. shown, the table's word of the region named
// regionName (a row's "大区名称" cell): "停机" when a selector piece naming it holds the state
// "0", else the word reached through region id and status code (a quoted, non-empty code, the
// key of its ServerStatus piece), else "未知状态". complete: the documents it depends on were
// all read. 停机 depends on the area selector alone; every other word on the selector too
// (without it, a stopped region reads its script word) and on the status script and service.
// A failed document leaves the table's word standing but says nothing about the region, so
// the alert rules take no reading from it.
struct RegionWord {
  Text shown;
  bool complete = false;
  // What the alert rules take: "" for an incomplete read.
  Text Reading() const { return complete ? shown : Text(); }
};
RegionWord ReadRegionWord(const RegionStatusLists& lists, std::string_view regionName);

// The words of one fetch's set, each region read once and the same record handed to the table,
// the alerts and the headless watch, so that none of them reads a word of its own.
class RegionStatusWords {
 public:
  // An empty set's: every region 未知状态, as before the first fetch.
  RegionStatusWords();
  RegionStatusWords(std::shared_ptr<const RegionStatusLists> lists,
                    const std::vector<Text>& regions);
  // The query of the set read (RegionStatusLists::query).
  std::uint64_t Query() const { return lists_->query; }
  // The region's word, read now and kept when it was not read before.
  const RegionWord& Keep(std::string_view region);
  // The region's word; one not read before is read without being kept.
  RegionWord Of(std::string_view region) const;

 private:
  std::shared_ptr<const RegionStatusLists> lists_;
  std::map<Text, RegionWord, std::less<>> words_;
};

// 正常 black, 拥挤 orange, 满载 red; 维护, 未知状态 and every other word grey.
Colour StatusWordColour(std::string_view word);

}  // namespace vardelle
