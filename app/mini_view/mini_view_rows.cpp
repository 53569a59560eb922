#include "app/mini_view/mini_view_rows.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/settings/column_settings.h"
#include "app/table/server_table.h"
#include "support/files/file_access.h"
#include "support/files/profile_reader.h"
#include "support/text/space_trim.h"

namespace vardelle {
namespace {

constexpr char kMiniViewSection[] = "miniView";

std::optional<int> NumberIn(std::string_view contents, const char* key) {
  const Text text = FindProfileString(contents, kMiniViewSection, key).value_or("");
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

Text ServerKey(size_t entry) { return "server" + std::to_string(entry); }

// A name the file can hold on one line and give back.
bool KeepsInFile(const Text& name) {
  return !IsBlankText(name) && name.find_first_of(std::string_view("\r\n\0\x1a", 4)) == Text::npos;
}

// The selected rows with the servers' names.
std::vector<std::pair<RowId, Text>> SelectedRowNames(MainWindowView& window) {
  std::vector<std::pair<RowId, Text>> rows;
  for (const int position : window.SelectedRows()) {
    const RowId row = window.RowIdAt(position);
    rows.emplace_back(row, TrimSpaces(window.CellText(row, kNameColumn)));
  }
  return rows;
}

std::vector<Text> SelectedNames(MainWindowView& window) {
  std::vector<Text> names;
  for (auto& [row, name] : SelectedRowNames(window)) names.push_back(std::move(name));
  return names;
}

}  // namespace

void MiniViewRows::Load(const Text& settingsPath, MainWindowView& window) {
  SettingsWriter().Flush();
  const std::optional<std::string> contents = ReadWholeFile(settingsPath, true);
  if (!contents) return;
  {
    std::lock_guard guard(mutex_);
    const int count = std::clamp(NumberIn(*contents, "count").value_or(0), 0, kMostMiniViewServers);
    for (int entry = 1; entry <= count; ++entry) {
      const Text name =
          TrimSpaces(FindProfileString(*contents, kMiniViewSection, ServerKey(static_cast<size_t>(entry)))
                         .value_or(""));
      if (KeepsInFile(name) && !Lists(name)) state_.rows.push_back({.name = name});
    }
    state_.shown = NumberIn(*contents, "shown") == 1 && !state_.rows.empty();
    const std::optional<int> x = NumberIn(*contents, "x");
    const std::optional<int> y = NumberIn(*contents, "y");
    if (x && y) state_.place = ScreenPoint{*x, *y};
  }
  Draw(window);
}

void MiniViewRows::AddSelectedRows(MainWindowView& window, const Text& settingsPath) {
  const std::vector<std::pair<RowId, Text>> chosen = SelectedRowNames(window);
  if (chosen.empty()) return;
  {
    std::lock_guard guard(mutex_);
    for (const auto& [row, name] : chosen) {
      if (KeepsInFile(name) && !Lists(name) && state_.rows.size() < kMostMiniViewServers) {
        state_.rows.push_back(LineOf(name, row));
        Track(row, name);
      }
    }
    state_.shown = true;
    Save(settingsPath);
  }
  Draw(window);
}

bool MiniViewRows::ListsSelectedRows(MainWindowView& window) const {
  const std::vector<Text> names = SelectedNames(window);
  std::lock_guard guard(mutex_);
  return !names.empty() &&
         std::all_of(names.begin(), names.end(), [&](const Text& name) { return Lists(name); });
}

void MiniViewRows::RemoveSelectedRows(MainWindowView& window, const Text& settingsPath) {
  Remove(SelectedNames(window), window, settingsPath);
}

void MiniViewRows::Remove(const std::vector<Text>& names, MainWindowView& window,
                          const Text& settingsPath) {
  {
    std::lock_guard guard(mutex_);
    std::vector<MiniViewRow> kept;
    std::vector<std::optional<size_t>> keptAt(state_.rows.size());
    for (size_t line = 0; line < state_.rows.size(); ++line) {
      if (std::find(names.begin(), names.end(), state_.rows[line].name) != names.end()) continue;
      keptAt[line] = kept.size();
      kept.push_back(state_.rows[line]);
    }
    if (kept.size() == state_.rows.size()) return;
    std::map<RowId, size_t> tracked;
    for (const auto& [row, line] : tracked_) {
      if (keptAt[line]) tracked[row] = *keptAt[line];
    }
    tracked_.swap(tracked);
    state_.rows.swap(kept);
    state_.shown &= !state_.rows.empty();
    Save(settingsPath);
  }
  Draw(window);
}

void MiniViewRows::ToggleShown(MainWindowView& window, const Text& settingsPath) {
  {
    std::lock_guard guard(mutex_);
    state_.shown = !state_.shown;
    Save(settingsPath);
  }
  Draw(window);
}

void MiniViewRows::ToggleClickThrough(MainWindowView& window) {
  {
    std::lock_guard guard(mutex_);
    state_.clickThrough = !state_.clickThrough;
  }
  Draw(window);
}

void MiniViewRows::Moved(ScreenPoint place, const Text& settingsPath) {
  std::lock_guard guard(mutex_);
  state_.place = place;
  Save(settingsPath);
}

void MiniViewRows::TrackRows(const std::vector<RowTexts>& table) {
  std::lock_guard guard(mutex_);
  tracked_.clear();
  std::map<RowId, Written> stillThere;
  for (const RowTexts& row : table) {
    if (row.cells.empty()) continue;
    Track(row.row, TrimSpaces(row.cells.front()));
    if (const auto written = written_.find(row.row); written != written_.end()) {
      stillThere.insert(*written);
    }
  }
  written_.swap(stillThere);
}

void MiniViewRows::RowsChanged(const std::vector<RowChange>& changes, MainWindowView& window) {
  bool listedChanged = false;
  {
    std::lock_guard guard(mutex_);
    for (const RowChange& change : changes) {
      Written& written = written_[change.row];
      for (const auto& [column, text] : change.cells) {
        if (column == kLatencyColumn) written.latency = text;
      }
      if (change.colour) written.colour = *change.colour;
      if (const auto listed = tracked_.find(change.row); listed != tracked_.end()) {
        MiniViewRow& line = state_.rows[listed->second];
        line = LineOf(line.name, change.row);
        listedChanged = true;
      }
    }
    listedChanged &= state_.shown;
  }
  if (listedChanged) Draw(window);
}

MiniViewState MiniViewRows::State() const {
  std::lock_guard guard(mutex_);
  return state_;
}

MiniViewRow MiniViewRows::LineOf(const Text& name, RowId row) const {
  const auto written = written_.find(row);
  if (written == written_.end()) return {.name = name};
  const RowColour colour = written->second.colour;
  return {name, written->second.latency, colour.textColour, colour.backColour};
}

void MiniViewRows::Track(RowId row, const Text& name) {
  for (size_t line = 0; line < state_.rows.size(); ++line) {
    if (state_.rows[line].name == name) {
      // A server listed twice in the table follows its first row.
      const bool followed = std::any_of(tracked_.begin(), tracked_.end(),
                                        [&](const auto& entry) { return entry.second == line; });
      if (!followed) tracked_[row] = line;
      return;
    }
  }
}

bool MiniViewRows::Lists(const Text& name) const {
  return std::any_of(state_.rows.begin(), state_.rows.end(),
                     [&](const MiniViewRow& row) { return row.name == name; });
}

void MiniViewRows::Save(const Text& settingsPath) const {
  if (settingsPath.empty()) return;
  std::vector<ProfileEntry> entries;
  for (size_t line = 0; line < state_.rows.size(); ++line) {
    entries.push_back({kMiniViewSection, ServerKey(line + 1), state_.rows[line].name});
  }
  // A shorter list leaves no keys of a longer one behind.
  for (size_t line = state_.rows.size(); line < kMostMiniViewServers; ++line) {
    entries.push_back({kMiniViewSection, ServerKey(line + 1), "", true});
  }
  entries.push_back({kMiniViewSection, "count", std::to_string(state_.rows.size())});
  entries.push_back({kMiniViewSection, "shown", state_.shown ? "1" : "0"});
  if (state_.place) {
    entries.push_back({kMiniViewSection, "x", std::to_string(state_.place->x)});
    entries.push_back({kMiniViewSection, "y", std::to_string(state_.place->y)});
  }
  SettingsWriter().Write(settingsPath, std::move(entries));
}

void MiniViewRows::Draw(MainWindowView& window) const { window.SetMiniView(State()); }

}  // namespace vardelle
