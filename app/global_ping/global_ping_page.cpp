#include "app/global_ping/global_ping_page.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "app/settings/column_settings.h"
#include "app/table/server_table.h"

namespace vardelle {
namespace {

constexpr char kSettingsSection[] = "globalPing";
constexpr char kPlaceKey[] = "place";

size_t PlaceIndexOf(const GlobalPingPlace& place) {
  const auto places = GlobalPingPlaces();
  for (size_t index = 0; index < places.size(); ++index) {
    if (places[index].englishName == place.englishName) return index;
  }
  return 0;
}

std::string StillMeasuring(int rows) {
  return rows > 0 ? std::to_string(rows) + " 个测试进行中" : "没有进行中的测试";
}

std::string NothingToTestStatus(size_t listedServers) {
  return listedServers == 0 ? "全球Ping: 服务器列表还没有载入"
                            : "全球Ping: 请先在列表中选择要测试的服务器";
}

constexpr char kAllUnderTestStatus[] = "全球Ping: 所选服务器的测试仍在进行中";

}  // namespace

struct GlobalPingPage::Rows {
  struct Slot {
    std::mutex lock;
    std::uint64_t owner = 0;  // the run that claimed the row last; 0 for none
    bool measuring = false;   // the owner's measurement has not ended
    bool created = false;     // the owner's measurement has its id
  };

  explicit Rows(std::vector<GlobalPingServer> listedServers)
      : servers(std::move(listedServers)), slots(servers.size()) {}

  // Claims for run the rows without a measurement under way and answers them, waiting out
  // a write that is under way. A row still being measured keeps its measurement: a second
  // click would spend the hourly budget on it again.
  std::vector<int> Claim(std::uint64_t run, const std::vector<int>& rows) {
    std::vector<int> claimed;
    for (const int row : rows) {
      Slot& slot = slots[static_cast<size_t>(row)];
      std::lock_guard guard(slot.lock);
      if (slot.measuring) continue;
      slot.owner = run;
      slot.measuring = true;
      slot.created = false;
      ++measuring;
      claimed.push_back(row);
    }
    return claimed;
  }

  // True when the write changed what the page's status line tells: a row ended, or its
  // measurement was created and charged to the budget.
  bool Write(std::uint64_t run, int row, const GlobalPingRowCells& cells,
             std::atomic<MainWindowView*>& window) {
    Slot& slot = slots[static_cast<size_t>(row)];
    std::lock_guard guard(slot.lock);
    if (slot.owner != run) return false;
    const bool created = !slot.created && !cells.row.key.empty();
    slot.created = slot.created || created;
    if (cells.final) {
      slot.measuring = false;
      --measuring;
    }
    if (!listed) return false;
    if (MainWindowView* view = window.load()) view->SetKeyListRow(row, cells.row);
    return cells.final || created;
  }

  // No write starts after this returns, and none is under way.
  void Unlist() {
    listed = false;
    for (Slot& slot : slots) std::lock_guard guard(slot.lock);
  }

  const std::vector<GlobalPingServer> servers;
  std::vector<Slot> slots;
  std::atomic<bool> listed{true};
  std::atomic<std::uint64_t> lastRun{0};
  std::atomic<int> measuring{0};  // rows whose measurement has not ended
};

void GlobalPingPage::ListServers(MainWindowView& window) {
  std::vector<GlobalPingServer> servers;
  std::vector<std::string> names;
  // Names and domains in one step, so a sort meanwhile cannot pair a name with another row's
  // domain and have the wrong host measured.
  for (RowTexts& row : window.RowsWithTexts({kNameColumn, kDomainColumn})) {
    servers.push_back({std::move(row.cells[0]), std::move(row.cells[1])});
    names.push_back(servers.back().name);
  }
  std::shared_ptr<Rows> previous;
  {
    std::lock_guard guard(mutex_);
    previous = std::exchange(rows_, std::make_shared<Rows>(std::move(servers)));
  }
  if (previous) previous->Unlist();
  window.SetKeyListRows(names);
}

std::shared_ptr<GlobalPingPage::Rows> GlobalPingPage::CurrentRows() {
  std::lock_guard guard(mutex_);
  return rows_;
}

const GlobalPingPlace& GlobalPingPage::Place(const std::string& settingsFile) {
  std::lock_guard guard(mutex_);
  if (!placeIndex_) {
    const std::optional<Text> saved = ReadSettingsValue(settingsFile, kSettingsSection, kPlaceKey);
    const std::optional<GlobalPingPlace> place =
        saved ? GlobalPingPlaceNamed(*saved) : std::nullopt;
    placeIndex_ = PlaceIndexOf(place.value_or(DefaultGlobalPingPlace()));
  }
  return GlobalPingPlaces()[*placeIndex_];
}

void GlobalPingPage::ChoosePlace(size_t placeIndex, const std::string& settingsFile) {
  if (placeIndex >= GlobalPingPlaces().size()) return;
  {
    std::lock_guard guard(mutex_);
    placeIndex_ = placeIndex;
  }
  const std::string name(GlobalPingPlaces()[placeIndex].englishName);
  if (!settingsFile.empty()) SaveSettingsValue(settingsFile, kSettingsSection, kPlaceKey, name);
}

void GlobalPingPage::ShowMenu(MainWindowView& window, const std::string& settingsFile) {
  window.ShowKeyListMenu(static_cast<int>(PlaceIndexOf(Place(settingsFile))));
}

std::vector<int> GlobalPingPage::RowsToTest(MainWindowView& window, bool allServers) {
  if (!allServers) return window.KeyListSelectedRows();
  std::vector<int> rows(window.KeyListRowCount());
  std::iota(rows.begin(), rows.end(), 0);
  return rows;
}

std::shared_ptr<GlobalPingTestRun> GlobalPingPage::TestRows(std::atomic<MainWindowView*>& window,
                                                            const GlobalpingAccess& access,
                                                            std::vector<int> rows,
                                                            const GlobalPingPlace& place,
                                                            const ClientLimits& limits) {
  const std::shared_ptr<Rows> listed = CurrentRows();
  const size_t count = listed ? listed->servers.size() : 0;
  std::erase_if(rows, [count](int row) { return row < 0 || static_cast<size_t>(row) >= count; });
  if (rows.empty()) {
    if (MainWindowView* view = window.load()) view->SetKeyListStatus(NothingToTestStatus(count));
    return nullptr;
  }
  const std::uint64_t run = ++listed->lastRun;
  rows = listed->Claim(run, rows);
  if (rows.empty()) {
    if (MainWindowView* view = window.load()) view->SetKeyListStatus(kAllUnderTestStatus);
    return nullptr;
  }
  std::vector<GlobalPingServer> servers;
  for (const int row : rows) servers.push_back(listed->servers[static_cast<size_t>(row)]);
  auto update = [this, listed, run, rows, &window, access, place](size_t index,
                                                                  const GlobalPingRowCells& cells) {
    if (!listed->Write(run, rows[index], cells, window)) return;
    if (MainWindowView* view = window.load()) TellStatus(*view, access, place);
  };
  // Told before any worker runs, so this count never shows after a worker's later one.
  if (MainWindowView* view = window.load()) TellStatus(*view, access, place);
  const GlobalTestSettings settings{access, place, limits, true, budget_};
  auto started = GlobalPingTestRun::Start(settings, std::move(servers), std::move(update));
  std::lock_guard guard(mutex_);
  std::erase_if(tests_,
                [](const std::shared_ptr<GlobalPingTestRun>& test) { return test->Ended(); });
  tests_.push_back(started);
  return started;
}

bool GlobalPingPage::TestsRunning() {
  std::lock_guard guard(mutex_);
  return std::any_of(tests_.begin(), tests_.end(),
                     [](const std::shared_ptr<GlobalPingTestRun>& test) { return !test->Ended(); });
}

void GlobalPingPage::TellStatus(MainWindowView& window, const GlobalpingAccess& access,
                                const GlobalPingPlace& place) {
  std::lock_guard guard(statusMutex_);
  const std::shared_ptr<Rows> listed = CurrentRows();
  const int measuring = listed ? listed->measuring.load() : 0;
  std::string text = "全球Ping (" + std::string(place.caption) + "): " + StillMeasuring(measuring) +
                     "，" + budget_->RemainingText();
  if (access.token.empty()) text += "，设置 Globalping 令牌可提高额度";
  window.SetKeyListStatus(text);
}

}  // namespace vardelle
