#include "app/start/command_line.h"

#include <charconv>

#include "app/global_ping/globalping_client.h"
#include "runtime/platform.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

// Bounds of the headless schedule: a day's worth of runs at most, an hour between them.
constexpr int kMostRuns = 86'400;
constexpr int kLongestInterval = 3'600;

// What each site serves, for the help text in each language.
constexpr std::string_view kSiteRoles[kSiteCount] = {
    "game-box site (server list)", "operator activity site (status script)",
    "operator application server (status service)",
    "operator game-activity site (area selector script)", "IP-location service"};
constexpr std::string_view kChineseSiteRoles[kSiteCount] = {
    "游戏盒子站点（服务器列表）", "运营方活动站点（状态脚本）", "运营方应用服务器（状态服务）",
    "运营方游戏活动站点（大区选择脚本）", "IP 归属地服务"};

const SiteInfo* SiteOfOption(std::string_view option) {
  for (const SiteInfo& info : SiteTable()) {
    if (info.option == option) return &info;
  }
  return nullptr;
}

// Reads the arguments one after the other; stops at the first one it cannot use.
class ArgumentReader {
 public:
  explicit ArgumentReader(const std::vector<std::string>& arguments) : arguments_(arguments) {}

  void ReadAll(CommandLine& line) {
    while (next_ < arguments_.size() && line.error.empty()) ReadOne(line);
  }

  // The sites whose address came from an option.
  std::array<bool, kSiteCount> given{};

 private:
  void ReadOne(CommandLine& line) {
    const std::string& argument = arguments_[next_++];
    const size_t equals = argument.find('=');
    const std::string_view name = std::string_view(argument).substr(0, equals);
    const bool attached = equals != std::string::npos;
    if (bool* flag = FlagNamed(line, name); flag && !attached) {
      *flag = true;
      return;
    }
    const SiteInfo* site = SiteOfOption(name);
    if (!site && !TakesValue(name)) {
      // Its value is left out: it may be a mistyped option's secret.
      line.error = "unknown argument: " + std::string(name) + (attached ? "=..." : "");
      return;
    }
    std::string value;
    if (attached) {
      value = argument.substr(equals + 1);
    } else if (next_ < arguments_.size()) {
      value = arguments_[next_++];
    }
    if (!site) {
      ReadValue(line, name, std::move(value));
    } else if (!IsHttpUrl(value)) {
      line.error = std::string(name) + " needs a URL such as http://127.0.0.1:8080";
    } else {
      line.endpoints.SetBaseUrl(site->site, std::move(value));
      given[SiteIndex(site->site)] = true;
    }
  }

  static bool* FlagNamed(CommandLine& line, std::string_view name) {
    if (name == "--demo") return &line.demo;
    if (name == "--help") return &line.help;
    if (name == "--version") return &line.version;
    if (name == "--headless") return &line.headless;
    if (name == "--watch") return &line.watch;
    return nullptr;
  }

  static bool TakesValue(std::string_view name) {
    return name == "--format" || name == "--server-list" || name == "--runs" || name == "--lang" ||
           name == "--interval" || name == "--global-ping" || name == "--globalping" ||
           name == "--globalping-token" || IsWatchOption(name);
  }

  static bool IsWatchOption(std::string_view name) {
    return name == "--watch-server" || name == "--latency-over" || name == "--loss-over";
  }

  static void ReadValue(CommandLine& line, std::string_view name, std::string value) {
    if (name == "--format") {
      ReadFormat(line, value);
    } else if (name == "--runs") {
      ReadCount(line, name, value, 1, kMostRuns, line.schedule.runs);
    } else if (name == "--interval") {
      ReadCount(line, name, value, 1, kLongestInterval, line.schedule.intervalSeconds);
    } else if (IsWatchOption(name)) {
      ReadWatchValue(line, name, std::move(value));
    } else if (name == "--lang") {
      ReadLanguage(line, value);
    } else if (name.starts_with("--global")) {
      ReadGlobalPingValue(line, name, std::move(value));
    } else if (value.empty()) {
      line.error = "--server-list needs a file name";
    } else {
      line.endpoints.SetServerListFile(std::move(value));
    }
  }

  static void ReadGlobalPingValue(CommandLine& line, std::string_view name, std::string value) {
    if (name == "--globalping-token") {
      line.globalpingToken = std::move(value);
    } else if (name == "--globalping") {
      if (IsHttpUrl(value)) {
        line.endpoints.SetGlobalpingBase(std::move(value));
      } else {
        line.error = "--globalping needs a URL such as http://127.0.0.1:8080";
      }
    } else if (const std::optional<GlobalPingPlace> place = GlobalPingPlaceNamed(value)) {
      line.globalPingPlace = place;
    } else {
      line.error = "--global-ping needs china, asia or world (or their Chinese names)";
    }
  }

  static void ReadWatchValue(CommandLine& line, std::string_view name, std::string value) {
    WatchOptions& watch = line.watchOptions;
    if (name == "--latency-over") {
      ReadCount(line, name, value, 1, kMostLatencyThresholdMs, watch.latencyOverMs);
    } else if (name == "--loss-over") {
      ReadCount(line, name, value, 0, kMostLossThresholdPercent, watch.lossOverPercent);
    } else if (value.empty()) {
      line.error = "--watch-server needs a server name";
    } else {
      watch.servers.push_back(std::move(value));
    }
  }

  // A whole number from least to most, digits only.
  static void ReadCount(CommandLine& line, std::string_view name, const std::string& value,
                        int least, int most, int& count) {
    int read = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), read);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() ||
        read < least || read > most) {
      line.error = std::string(name) + " needs a whole number from " + std::to_string(least) +
                   " to " + std::to_string(most);
      return;
    }
    count = read;
  }

  static void ReadLanguage(CommandLine& line, const std::string& value) {
    if (value == "zh" || value == "en") {
      line.helpLanguage = HelpLanguageOfTag(value);
    } else {
      line.error = "--lang needs zh or en";
    }
  }

  static void ReadFormat(CommandLine& line, const std::string& value) {
    if (const std::optional<ReportFormat> format = ReportFormatNamed(value)) {
      line.format = format;
    } else {
      line.error = "--format needs text, json or csv";
    }
  }

  const std::vector<std::string>& arguments_;
  size_t next_ = 0;
};

void ReadEnvironment(
    const std::function<std::optional<std::string>(std::string_view)>& getEnvironment,
    const std::array<bool, kSiteCount>& given, CommandLine& line) {
  for (const SiteInfo& info : SiteTable()) {
    if (given[SiteIndex(info.site)]) continue;
    const std::optional<std::string> value = getEnvironment(info.environment);
    if (!value || value->empty()) continue;
    if (!IsHttpUrl(*value)) {
      line.error = std::string(info.environment) + " is not a URL such as http://127.0.0.1:8080";
      return;
    }
    line.endpoints.SetBaseUrl(info.site, *value);
  }
}

// The Globalping settings the command line left open, as the sites' are filled.
void ReadGlobalpingEnvironment(
    const std::function<std::optional<std::string>(std::string_view)>& getEnvironment,
    CommandLine& line) {
  if (line.globalpingToken.empty()) {
    line.globalpingToken = getEnvironment("VARDELLE_GLOBALPING_TOKEN").value_or("");
  }
  if (!line.endpoints.GlobalpingBase().empty()) return;
  const std::string base = getEnvironment("VARDELLE_GLOBALPING").value_or("");
  if (!base.empty() && !IsHttpUrl(base)) {
    line.error = "VARDELLE_GLOBALPING is not a URL such as http://127.0.0.1:8080";
    return;
  }
  line.endpoints.SetGlobalpingBase(base.empty() ? kPublicGlobalpingApi : base);
}

std::optional<HelpLanguage> LanguageOfEnvironment(
    const std::function<std::optional<std::string>(std::string_view)>& getEnvironment) {
  for (const std::string_view name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const std::string value = getEnvironment(name).value_or("");
    if (!value.empty()) return HelpLanguageOfTag(value);
  }
  return std::nullopt;
}

// The watch's options go with --headless --watch, which prints no table and never ends by
// itself.
std::string WatchUsageError(const CommandLine& line) {
  if (!line.watch) {
    return line.watchOptions == WatchOptions{}
               ? ""
               : "--watch-server, --latency-over and --loss-over are for --headless --watch runs";
  }
  if (!line.headless) return "--watch is for --headless runs";
  if (line.format) return "--format is not for --watch, which prints a line of JSON per event";
  if (line.globalPingPlace) return "--global-ping is not for --watch";
  if (line.schedule.runs != RunSchedule{}.runs) {
    return "--runs is not for --watch, which runs until it is asked to end";
  }
  return "";
}

}  // namespace

std::optional<HelpLanguage> HelpLanguageOfTag(std::string_view tag) {
  if (tag == "C" || tag == "POSIX" || tag.starts_with("C.")) return std::nullopt;
  return tag.starts_with("zh") ? HelpLanguage::kChinese : HelpLanguage::kEnglish;
}

CommandLine ParseCommandLine(
    const std::vector<std::string>& arguments,
    const std::function<std::optional<std::string>(std::string_view)>& getEnvironment) {
  CommandLine line;
  ArgumentReader reader(arguments);
  reader.ReadAll(line);
  // The demo world stands in for every site not named on the command line; an address
  // left over in the environment must not mix real sites into it.
  if (line.error.empty() && !line.demo) ReadEnvironment(getEnvironment, reader.given, line);
  if (line.error.empty() && !line.demo) ReadGlobalpingEnvironment(getEnvironment, line);
  if (line.error.empty() && line.globalPingPlace && !line.headless) {
    line.error = "--global-ping is for --headless runs";
  }
  if (line.error.empty() && line.format && !line.headless) {
    line.error = "--format is for --headless runs";
  }
  if (line.error.empty() && !line.headless && !(line.schedule == RunSchedule{})) {
    line.error = "--runs and --interval are for --headless runs";
  }
  if (line.error.empty()) line.error = WatchUsageError(line);
  if (!line.helpLanguage) line.helpLanguage = LanguageOfEnvironment(getEnvironment);
  return line;
}

namespace {

// The words of the help text in one language; the options and paths are the same in both.
struct HelpWords {
  std::string_view usage;
  std::string_view about;
  const std::string_view (&siteRoles)[kSiteCount];
  std::string_view askedFor;
  std::string_view environmentVariable;
  std::string_view closeBracket;
  std::string_view options;
  std::string_view urls;
  std::string_view settingsOnWindows;
  std::string_view settingsOnLinux;
  std::string_view settings;
  std::string_view privateOnWindows;
  std::string_view privateOnLinux;
};

constexpr std::string_view kUsageLines =
    " vardelle [--demo] [--headless [--format text|json|csv] [--runs N]\n"
    "                [--interval SECONDS]] [--SITE URL ...]\n"
    "                [--server-list FILE] [--lang zh|en]\n"
    "       vardelle [--demo] --headless --watch [--interval SECONDS]\n"
    "                [--watch-server NAME ...] [--latency-over MS] [--loss-over PERCENT]\n"
    "                [--SITE URL ...] [--server-list FILE]\n"
    "\n";

constexpr HelpWords kEnglishHelp{
    "Usage:",
    "Measures the latency to every League of Legends server of the Chinese game servers\n"
    "and shows each region's status and the location of its machine room.\n"
    "\n"
    "Options (also written --SITE=URL):\n",
    kSiteRoles,
    ", asked for ",
    "\n      (environment variable ",
    ")\n",
    "  --demo\n"
    "      serve every document from the built-in offline demo world on 127.0.0.1; sites\n"
    "      named by an option above keep that address, the environment is not read\n"
    "  --headless\n"
    "      no window: load the list, make one test run, wait for it and every location\n"
    "      lookup, print the table to standard output and exit (0; 1 when the server\n"
    "      list could not be read; 2 for a usage error)\n"
    "  --runs N\n"
    "      make N test runs (default 1) and report each row's loss, min/avg/max, mdev\n"
    "      and jitter over them\n"
    "  --interval SECONDS\n"
    "      seconds from one run's start to the next (default 5, at least 1)\n"
    "  --watch\n"
    "      with --headless: test every --interval seconds until Ctrl+C or SIGTERM and\n"
    "      print a line of JSON per alert, at once: a region's status word changed (read\n"
    "      so by two status fetches in a row), a server over its latency or loss threshold\n"
    "      for three runs in a row, or back for three; one per server and kind in five\n"
    "      minutes at most (0; 1 when there is no list or no server to watch)\n"
    "  --watch-server NAME\n"
    "      watch only the server named NAME (repeatable; default every server)\n"
    "  --latency-over MS\n"
    "      the latency alert's threshold (default 150; a lost probe is over it)\n"
    "  --loss-over PERCENT\n"
    "      the loss alert's threshold, over each server's last 20 runs (default 10)\n"
    "  --global-ping PLACE\n"
    "      with --headless: one global test of every server from the Globalping probes\n"
    "      of PLACE (china, asia, world, or their Chinese names) instead of the local run\n"
    "  --globalping URL\n"
    "      Globalping API base (environment variable VARDELLE_GLOBALPING; default\n"
    "      https://api.globalping.io, the demo world's stand-in with --demo)\n"
    "  --globalping-token TOKEN\n"
    "      sent as a bearer token (environment variable VARDELLE_GLOBALPING_TOKEN); other\n"
    "      users can read a command line, not the settings file's globalpingToken=\n"
    "  --format text|json|csv\n"
    "      the printed table: aligned text (the default), JSON {\"rows\": [...]} or CSV;\n"
    "      UTF-8, rows in table order. In text and CSV a control character from the\n"
    "      network shows as \\xHH (ESC as \\x1b), and a CSV cell that a spreadsheet would\n"
    "      take as a formula (=, +, -, @, tab, CR first) starts with '\n"
    "  --server-list FILE\n"
    "      read the server list from FILE, in the game-box site's JSON format, instead\n"
    "      of asking the game-box site\n"
    "  --lang zh|en\n"
    "      the language of this text (default Chinese; without the option, LC_ALL,\n"
    "      LC_MESSAGES, LANG or else the system's display language choose)\n"
    "  --help\n"
    "      print this text and exit\n"
    "  --version\n"
    "      print the version and exit\n"
    "\n",
    "URL is the site's base, such as http://127.0.0.1:8080; the document's path is\n"
    "appended to it. An option beats its environment variable. A site with neither is\n"
    "never asked: its documents count as not received.\n"
    "\n"
    "Settings: ",
    "%APPDATA%\\Vardelle\\settings.ini",
    "$XDG_CONFIG_HOME/vardelle/settings.ini (~/.config/vardelle/settings.ini\n"
    "when XDG_CONFIG_HOME is not set)",
    " may hold a [sites] section with the site bases\n"
    "(gamebox=, statusSite=, statusService=, selectorSite=, iplocation=),\n"
    "globalpingToken= and serverList=FILE (relative to that folder); options and\n"
    "environment variables beat it, and --demo reads no site base from it. The cookie\n"
    "file is cookies.ini in the same folder. The folder and its files are yours alone",
    ";\nthe program seals a token found in clear for your Windows account.\n",
    "\n(0700 and 0600).\n"};

constexpr HelpWords kChineseHelp{
    "用法：",
    "测量到英雄联盟国服每个服务器的延迟，并显示各大区的状态和服务器机房的位置。\n"
    "\n"
    "选项（也可写作 --SITE=URL）：\n",
    kChineseSiteRoles,
    "，请求 ",
    "\n      （环境变量 ",
    "）\n",
    "  --demo\n"
    "      所有文档都由内置的离线演示世界在 127.0.0.1 上提供；上面的选项指定的站点\n"
    "      保留其地址，不读环境变量\n"
    "  --headless\n"
    "      不开窗口：载入列表，测速一次，等它和所有归属地查询完成，把表格打印到标准\n"
    "      输出后退出（0；读不到服务器列表时为 1；用法错误时为 2）\n"
    "  --runs N\n"
    "      测速 N 次（默认 1），报告每行在这些次里的丢包率、最小/平均/最大延迟、平均\n"
    "      偏差和抖动\n"
    "  --interval SECONDS\n"
    "      从一次测速开始到下一次开始的秒数（默认 5，至少 1）\n"
    "  --watch\n"
    "      与 --headless 同用：每 --interval 秒测速一次，直到 Ctrl+C 或 SIGTERM，每个\n"
    "      提醒立即打印一行 JSON：大区状态词变了（连续两次获取状态都如此），服务器连续\n"
    "      三次超过延迟或丢包阈值，或连续三次回落；每个服务器每种提醒五分钟内至多一次\n"
    "      （0；没有列表或没有要监视的服务器时为 1）\n"
    "  --watch-server NAME\n"
    "      只监视名为 NAME 的服务器（可重复；默认监视所有服务器）\n"
    "  --latency-over MS\n"
    "      延迟提醒的阈值（默认 150；丢失的探测算作超过）\n"
    "  --loss-over PERCENT\n"
    "      丢包提醒的阈值，按每个服务器最近 20 次测速计算（默认 10）\n"
    "  --global-ping PLACE\n"
    "      与 --headless 同用：用 PLACE（china、asia、world 或它们的中文名）的 Globalping\n"
    "      探针对所有服务器做一次全球测试，代替本地测速\n"
    "  --globalping URL\n"
    "      Globalping API 的基址（环境变量 VARDELLE_GLOBALPING；默认\n"
    "      https://api.globalping.io，--demo 时为演示世界的替身）\n"
    "  --globalping-token TOKEN\n"
    "      作为 bearer 令牌发送（环境变量 VARDELLE_GLOBALPING_TOKEN）；其他用户看得到\n"
    "      命令行，看不到设置文件里的 globalpingToken=\n"
    "  --format text|json|csv\n"
    "      打印的表格：对齐的文本（默认）、JSON {\"rows\": [...]} 或 CSV；UTF-8，行按\n"
    "      表格顺序。文本和 CSV 里来自网络的控制字符显示为 \\xHH（ESC 为 \\x1b），\n"
    "      电子表格会当作公式的 CSV 单元格（以 =、+、-、@、制表符、回车开头）前加 '\n"
    "  --server-list FILE\n"
    "      从 FILE 读服务器列表（游戏盒子站点的 JSON 格式），不向游戏盒子站点请求\n"
    "  --lang zh|en\n"
    "      本说明的语言（默认中文；不给出时由 LC_ALL、LC_MESSAGES、LANG 或系统的显示\n"
    "      语言决定）\n"
    "  --help\n"
    "      打印本说明后退出\n"
    "  --version\n"
    "      打印版本号后退出\n"
    "\n",
    "URL 是站点的基址，例如 http://127.0.0.1:8080，文档的路径接在它后面。选项优先于\n"
    "它的环境变量。两者都没有的站点不会被请求：它的文档算作没有收到。\n"
    "\n"
    "设置：",
    "%APPDATA%\\Vardelle\\settings.ini",
    "$XDG_CONFIG_HOME/vardelle/settings.ini（没有设置 XDG_CONFIG_HOME 时为\n"
    "~/.config/vardelle/settings.ini）",
    " 可以有一个 [sites] 节，写站点的基址\n"
    "（gamebox=、statusSite=、statusService=、selectorSite=、iplocation=），以及\n"
    "globalpingToken= 和 serverList=FILE（相对于该文件夹）；选项和环境变量优先于它，\n"
    "--demo 不从中读站点基址。Cookie 文件是同一文件夹里的 cookies.ini。该文件夹和其中\n"
    "的文件只有你能读写",
    "；\n程序会为你的 Windows 账户加密以明文存放的令牌。\n",
    "（0700 和 0600）。\n"};

}  // namespace

std::string CommandLineHelp(HelpLanguage language) {
  const HelpWords& words = language == HelpLanguage::kChinese ? kChineseHelp : kEnglishHelp;
  std::string help = std::string(words.usage) + std::string(kUsageLines) + std::string(words.about);
  for (const SiteInfo& info : SiteTable()) {
    help += "  " + std::string(info.option) + " URL\n      " +
            std::string(words.siteRoles[SiteIndex(info.site)]) + std::string(words.askedFor) +
            std::string(info.path) + std::string(words.environmentVariable) +
            std::string(info.environment) + std::string(words.closeBracket);
  }
  const bool windows = UserApplicationDataFolder().has_value();
  help += std::string(words.options) + std::string(words.urls) +
          std::string(windows ? words.settingsOnWindows : words.settingsOnLinux) +
          std::string(words.settings) +
          std::string(windows ? words.privateOnWindows : words.privateOnLinux);
  return GbkToUtf8(help);
}

}  // namespace vardelle
