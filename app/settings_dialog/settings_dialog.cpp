#include "app/settings_dialog/settings_dialog.h"

#include <charconv>

#include "app/application/application.h"
#include "app/loading/server_list_loading.h"
#include "app/settings/column_settings.h"
#include "app/settings/site_settings.h"
#include "app/sites/site_check.h"
#include "app/view/run_period.h"
#include "app/view/window_layout.h"
#include "runtime/threads/threads.h"

namespace vardelle {
namespace {

constexpr char kTableSection[] = "table";
constexpr char kPeriodKey[] = "testPeriod";

SettingsValues Trimmed(SettingsValues values) {
  for (std::string& base : values.baseUrls) base = TrimmedSiteBase(base);
  return values;
}

int PeriodIndexOfSeconds(int seconds) {
  int index = 0;
  for (const PeriodItem& item : PeriodItems()) {
    if (item.value == seconds) return index;
    ++index;
  }
  return -1;
}

bool SameSources(const SettingsValues& a, const SettingsValues& b) {
  return a.baseUrls == b.baseUrls && a.serverListFile == b.serverListFile;
}

}  // namespace

Text SettingsProblem(const SettingsValues& values) {
  for (const SiteInfo& info : SiteTable()) {
    const Text problem =
        SiteBaseProblem(TrimmedSiteBase(values.baseUrls[static_cast<std::size_t>(info.site)]));
    if (!problem.empty()) return SiteCaption(info.site) + "：" + problem;
  }
  if (values.periodIndex < 0 || values.periodIndex >= static_cast<int>(PeriodItems().size())) {
    return Text(kDefaultPeriodCaption) + "：不在列表中";
  }
  return {};
}

std::optional<int> SavedPeriodIndex(const std::string& settingsFile) {
  if (settingsFile.empty()) return std::nullopt;
  const std::optional<Text> saved = ReadSettingsValue(settingsFile, kTableSection, kPeriodKey);
  int seconds = 0;
  if (!saved ||
      std::from_chars(saved->data(), saved->data() + saved->size(), seconds).ec != std::errc()) {
    return std::nullopt;
  }
  const int index = PeriodIndexOfSeconds(seconds);
  return index < 0 ? std::nullopt : std::optional<int>(index);
}

SettingsDialog::SettingsDialog(Application& app, MainWindowView& window,
                               const SecretProtector& protector)
    : app_(app), window_(window), protector_(protector) {
  const Endpoints endpoints = EndpointsNow(app);
  for (const SiteInfo& info : SiteTable()) {
    initial_.baseUrls[static_cast<std::size_t>(info.site)] = endpoints.BaseUrl(info.site);
  }
  initial_.serverListFile = endpoints.ServerListFile();
  initial_.globalpingToken = app.globalpingToken;
  initial_.periodIndex = std::max(window.PeriodSelection(), 0);
}

SettingsDialog::~SettingsDialog() {
  abort_ = true;
  for (TestSlot& slot : tests_) {
    if (slot.thread.joinable()) slot.thread.join();
  }
}

Text SettingsDialog::StartTest(Site site, std::string_view typed) {
  const std::string base = TrimmedSiteBase(typed);
  if (base.empty()) return "未填写站点";
  if (Text problem = SiteBaseProblem(base); !problem.empty()) return problem;
  TestSlot& slot = tests_[static_cast<std::size_t>(site)];
  {
    std::lock_guard lock(mutex_);
    if (slot.running) return kSiteTestUnderWay;
    slot.running = true;
  }
  // The slot's last test has ended: its thread is only left to join.
  if (slot.thread.joinable()) slot.thread.join();
  const auto test = [this, site, base, &slot] {
    Text line;
    try {
      line = DescribeSiteAnswer(site, FetchSiteDocument(site, base, abort_));
    } catch (...) {
      line = "测试失败：内存不足";
    }
    std::lock_guard lock(mutex_);
    try {
      results_.emplace_back(site, std::move(line));
    } catch (...) {
      // Out of memory: the line is lost, the slot is freed all the same.
    }
    slot.running = false;
  };
  try {
    slot.thread = std::thread(test);
  } catch (...) {
    std::lock_guard lock(mutex_);
    slot.running = false;
    return "测试未能开始：系统不再给出线程";
  }
  return kSiteTestUnderWay;
}

std::vector<std::pair<Site, Text>> SettingsDialog::TakeResults() {
  std::lock_guard lock(mutex_);
  return std::exchange(results_, {});
}

Text SettingsDialog::Accept(const SettingsValues& values) {
  if (Text problem = SettingsProblem(values); !problem.empty()) return problem;
  const SettingsValues chosen = Trimmed(values);
  Save(chosen);
  Apply(chosen);
  return {};
}

// Only what the player changed is written: a site given by an option or the demo world stays
// out of the file.
void SettingsDialog::Save(const SettingsValues& values) const {
  const std::string& path = app_.settingsFile;
  for (const SiteInfo& info : SiteTable()) {
    const std::size_t index = static_cast<std::size_t>(info.site);
    if (values.baseUrls[index] != initial_.baseUrls[index]) {
      SaveSettingsValue(path, kSitesSection, SettingsKeyOf(info).c_str(), values.baseUrls[index]);
    }
  }
  if (values.serverListFile != initial_.serverListFile) {
    SaveSettingsValue(path, kSitesSection, kServerListKey, values.serverListFile);
  }
  if (values.globalpingToken != initial_.globalpingToken) {
    // Kept as the file keeps every token; a token the system will not seal is used this run
    // and never written in clear.
    const std::optional<Text> kept =
        values.globalpingToken.empty() ? Text() : protector_.Protect(values.globalpingToken);
    if (kept) SaveSettingsValue(path, kSitesSection, kTokenKey, *kept);
  }
  if (values.periodIndex != initial_.periodIndex) {
    SaveSettingsValue(
        path, kTableSection, kPeriodKey,
        std::to_string(PeriodItems()[static_cast<std::size_t>(values.periodIndex)].value));
  }
}

void SettingsDialog::Apply(const SettingsValues& values) {
  Endpoints endpoints = EndpointsNow(app_);
  for (const SiteInfo& info : SiteTable()) {
    endpoints.SetBaseUrl(info.site, values.baseUrls[static_cast<std::size_t>(info.site)]);
  }
  endpoints.SetServerListFile(values.serverListFile);
  ReplaceEndpoints(app_, std::move(endpoints));
  app_.globalpingToken = values.globalpingToken;
  if (values.periodIndex != initial_.periodIndex) {
    window_.SelectPeriod(values.periodIndex);
    SelectTestPeriod(window_);
  }
  if (!SameSources(values, initial_)) {
    Application* const app = &app_;
    StartThread([app] { LoadServerList(*app); });
  }
}

}  // namespace vardelle
