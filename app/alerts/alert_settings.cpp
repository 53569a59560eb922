#include "app/alerts/alert_settings.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string>

#include "app/settings/column_settings.h"
#include "support/files/file_access.h"
#include "support/files/profile_reader.h"
#include "support/text/space_trim.h"

namespace vardelle {
namespace {

constexpr char kAlertSection[] = "alerts";
constexpr char kCountKey[] = "count";
constexpr char kAnyChange[] = "any";
constexpr char kBecomesNormal[] = "normal";

Text Key(const char* name, int entry) { return name + std::to_string(entry); }

// Digits only, from least to most.
std::optional<int> WholeNumber(std::string_view text, int least, int most) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  const bool whole = !text.empty() && error == std::errc() && end == text.data() + text.size();
  if (!whole || text.front() == '-' || value < least || value > most) return std::nullopt;
  return value;
}

// One setting of an entry: nothing when left empty, and false when it holds something else
// than a value of its range.
template <typename Value, typename Parse>
bool ReadSetting(std::string_view contents, const Text& key, Parse parse,
                 std::optional<Value>& setting) {
  const Text text = FindProfileString(contents, kAlertSection, key).value_or("");
  if (text.empty()) return true;
  setting = parse(text);
  return setting.has_value();
}

std::optional<StatusWatch> StatusWatchNamed(std::string_view name) {
  if (name == kAnyChange) return StatusWatch::kAnyChange;
  if (name == kBecomesNormal) return StatusWatch::kBecomesNormal;
  return std::nullopt;
}

std::optional<SavedAlertWatch> EntryAt(std::string_view contents, int entry) {
  SavedAlertWatch saved;
  saved.target =
      AlertTargetOf(FindProfileString(contents, kAlertSection, Key("server", entry)).value_or(""),
                    FindProfileString(contents, kAlertSection, Key("domain", entry)).value_or(""));
  AlertWatch& watch = saved.watch;
  const bool read =
      ReadSetting(contents, Key("status", entry), StatusWatchNamed, watch.status) &&
      ReadSetting(
          contents, Key("latencyOverMs", entry),
          [](std::string_view text) { return WholeNumber(text, 1, kMostLatencyThresholdMs); },
          watch.latencyOverMs) &&
      ReadSetting(
          contents, Key("lossOverPercent", entry),
          [](std::string_view text) { return WholeNumber(text, 0, kMostLossThresholdPercent); },
          watch.lossOverPercent);
  if (!read || IsBlankText(saved.target.serverName) || watch.IsEmpty()) return std::nullopt;
  return saved;
}

bool ReadsBack(const SavedAlertWatch& saved) {
  constexpr std::string_view kLineEnds("\r\n\0\x1a", 4);
  const AlertTarget& target = saved.target;
  return !IsBlankText(target.serverName) && !saved.watch.IsEmpty() &&
         target.serverName.find_first_of(kLineEnds) == Text::npos &&
         target.domain.find_first_of(kLineEnds) == Text::npos;
}

Text StatusName(const std::optional<StatusWatch>& status) {
  if (!status) return "";
  return *status == StatusWatch::kAnyChange ? kAnyChange : kBecomesNormal;
}

Text NumberText(const std::optional<int>& number) {
  return number ? std::to_string(*number) : Text();
}

// An entry's five keys; one without a value is taken out of the file, so an empty saved
// watch leaves none of them.
void AddEntry(std::vector<ProfileEntry>& entries, int entry, const SavedAlertWatch& saved) {
  const AlertWatch& watch = saved.watch;
  for (const auto& [name, value] : {std::pair<const char*, Text>{"server", saved.target.serverName},
                                    {"domain", saved.target.domain},
                                    {"status", StatusName(watch.status)},
                                    {"latencyOverMs", NumberText(watch.latencyOverMs)},
                                    {"lossOverPercent", NumberText(watch.lossOverPercent)}}) {
    entries.push_back({kAlertSection, Key(name, entry), value, value.empty()});
  }
}

// A count past the most is read as the most: the entries before it are still a list.
int SavedCount(std::string_view text) {
  const int count = WholeNumber(text, 0, std::numeric_limits<int>::max()).value_or(0);
  return std::min(count, kMostSavedAlertWatches);
}

}  // namespace

AlertWatchFile ReadAlertWatchFile(const Text& path) {
  SettingsWriter().Flush();
  const std::optional<std::string> contents = ReadWholeFile(path, true);
  if (!contents) return {};
  AlertWatchFile file;
  file.entries = SavedCount(FindProfileString(*contents, kAlertSection, kCountKey).value_or(""));
  for (int entry = 1; entry <= file.entries; ++entry) {
    if (std::optional<SavedAlertWatch> saved = EntryAt(*contents, entry)) {
      file.watches.push_back(std::move(*saved));
    }
  }
  return file;
}

std::vector<SavedAlertWatch> ReadAlertWatches(const Text& path) {
  return ReadAlertWatchFile(path).watches;
}

int SaveAlertWatches(const Text& path, const std::vector<SavedAlertWatch>& watches,
                     int entriesBefore) {
  if (path.empty()) return 0;
  std::vector<ProfileEntry> entries;
  int count = 0;
  for (const SavedAlertWatch& watch : watches) {
    if (count == kMostSavedAlertWatches) break;
    const SavedAlertWatch saved{AlertTargetOf(watch.target.serverName, watch.target.domain),
                                watch.watch};
    if (ReadsBack(saved)) AddEntry(entries, ++count, saved);
  }
  for (int entry = count + 1; entry <= std::min(entriesBefore, kMostSavedAlertWatches); ++entry) {
    AddEntry(entries, entry, {});
  }
  entries.push_back({kAlertSection, kCountKey, std::to_string(count)});
  SettingsWriter().Write(path, std::move(entries));
  return count;
}

}  // namespace vardelle
