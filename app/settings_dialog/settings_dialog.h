// The dialog of "设置…", written once for both windows: what it shows, its "测试" buttons, and
// what OK saves and changes at once. A window draws the fields, hands them over as typed and
// shows the lines it gets back; it asks TakeResults on its own thread from a timer, so no
// test thread ever calls into a window.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "app/settings/endpoints.h"
#include "app/sites/table_guide.h"
#include "support/files/secret_protector.h"
#include "support/text/text.h"

namespace vardelle {

struct Application;
class MainWindowView;

// The dialog's fields (GBK, as typed).
struct SettingsValues {
  std::array<std::string, kSiteCount> baseUrls;
  std::string serverListFile;
  std::string globalpingToken;
  int periodIndex = 0;  // into PeriodItems()
  bool operator==(const SettingsValues&) const = default;
};

inline constexpr char kSettingsDialogTitle[] = "设置";
inline constexpr char kServerListFileCaption[] = "服务器列表文件";
inline constexpr char kChooseFileCaption[] = "选择…";
inline constexpr char kGlobalpingTokenCaption[] = "Globalping 令牌";
inline constexpr char kDefaultPeriodCaption[] = "默认自动测速间隔";
inline constexpr char kSettingsNote[] =
    "站点只填协议、主机和端口，例如 http://127.0.0.1:8080；有服务器列表文件时不读游戏盒子。";
inline constexpr char kSiteTestUnderWay[] = "正在测试…";

// Why the fields cannot be saved ("" when they can): the first site whose base is no site
// base, named.
Text SettingsProblem(const SettingsValues& values);

// The period list's item saved as the default, when one is; the window selects it at start.
std::optional<int> SavedPeriodIndex(const std::string& settingsFile);

class SettingsDialog {
 public:
  // Filled in with what app runs with now; window is the one the dialog opens over.
  SettingsDialog(Application& app, MainWindowView& window,
                 const SecretProtector& protector = SystemSecretProtector());
  // Ends the tests still running and waits for them (each bounded by kSiteTestTime).
  ~SettingsDialog();
  SettingsDialog(const SettingsDialog&) = delete;
  SettingsDialog& operator=(const SettingsDialog&) = delete;

  const SettingsValues& Initial() const { return initial_; }

  // "测试" beside a site: fetches its document from the base as typed on a thread of its own.
  // The line to show now: the base's problem, or kSiteTestUnderWay (also while a test of the
  // site runs, which is not started twice).
  Text StartTest(Site site, std::string_view typed);
  // The lines of the tests ended since the last call, with their sites.
  std::vector<std::pair<Site, Text>> TakeResults();

  // OK: "" when the values were saved to the settings file and took effect (the dialog then
  // closes; a changed list or site reloads the table), else the problem to show.
  Text Accept(const SettingsValues& values);

 private:
  struct TestSlot {
    std::thread thread;
    bool running = false;  // under mutex_
  };

  void Save(const SettingsValues& values) const;
  void Apply(const SettingsValues& values);

  Application& app_;
  MainWindowView& window_;
  const SecretProtector& protector_;
  SettingsValues initial_;
  std::atomic<bool> abort_{false};
  std::mutex mutex_;
  std::array<TestSlot, kSiteCount> tests_;
  std::vector<std::pair<Site, Text>> results_;  // under mutex_
};

}  // namespace vardelle
