#include "app/view/status_line.h"

#include <string_view>

#include "support/text/space_trim.h"

namespace vardelle {
namespace {

std::string_view SiteName(Site site) {
  switch (site) {
    case Site::kGameBox:
      return "游戏盒子";
    case Site::kStatusSite:
      return "大区状态脚本";
    case Site::kStatusService:
      return "大区状态服务";
    case Site::kSelectorSite:
      return "大区选择脚本";
    case Site::kIpLocation:
      return "IP 归属地服务";
  }
  return "";
}

std::string_view RoleName(ProgramRole role) {
  switch (role) {
    case ProgramRole::kTerminal:
      return "终端程序";
    case ProgramRole::kPing:
      return "网络测试程序";
    case ProgramRole::kRouteTracer:
      return "路由追踪程序";
    case ProgramRole::kBrowser:
      return "浏览器";
  }
  return "";
}

Text ProgramList(const std::vector<std::string>& programs) {
  Text list;
  for (const std::string& program : programs) {
    list = list.empty() ? program : JoinTexts({list, "、", program});
  }
  return list;
}

}  // namespace

Text FetchingServerListStatus() { return "正在下载服务器列表..."; }

Text LoadingServerListStatus(int loaded, int total) {
  return JoinTexts({"正在加载服务器列表 ", std::to_string(loaded), "/", std::to_string(total)});
}

Text ServerListLoadedStatus(int serverCount) {
  return JoinTexts({"服务器列表已加载，共 ", std::to_string(serverCount), " 个服务器"});
}

Text ServerListCutStatus(int loaded, int leftOut) {
  return JoinTexts({"服务器列表过长，只加载了前 ", std::to_string(loaded), " 个服务器，其余 ",
                    std::to_string(leftOut), " 个未加载"});
}

Text MissingSiteAddressStatus(const SiteInfo& site) {
  return JoinTexts(
      {"未设置", SiteName(site.site), "站点地址（", site.option, " 或 ", site.environment, "）"});
}

Text ServerListFileUnreadableStatus(const std::string& path) {
  return JoinTexts({"无法读取服务器列表文件：", path});
}

Text ServerListNoContentStatus() { return "无法读取服务器列表：没有收到内容"; }

Text ServerListNotAnArrayStatus() { return "无法读取服务器列表：应答不是 JSON 数组"; }

Text ServerListEmptyStatus() { return "服务器列表为空"; }

Text ProbesUnavailableStatus(const std::string& reason) {
  // The remedy comes first, so it is what a narrow status line still shows; the reason
  // follows for the tool tip.
  return JoinTexts(
      {"无法发送 ICMP 回显：请用 vardelle 软件包安装（它授予 vardelle-ping "
       "cap_net_raw 权限），或运行 sudo sysctl -w "
       "net.ipv4.ping_group_range=\"0 2147483647\"。原因：",
       reason});
}

Text LaunchFailedStatus(const LaunchOutcome& outcome) {
  const bool missing = outcome.result == LaunchOutcome::Result::kMissing;
  return JoinTexts({missing ? "未找到" : "无法启动", RoleName(outcome.role), "（",
                    ProgramList(outcome.programs), "）"});
}

Text UnusableHostStatus() { return "该行的域名不是有效的主机名或 IPv4 地址，未启动"; }

Text UnusableWebAddressStatus() { return "该地址不是 http 或 https 网址，未打开浏览器"; }

Text NoMeasurementResultsStatus() { return "该行还没有全球Ping测试结果，未打开浏览器"; }

Text StillProbingNote(int rows) {
  return JoinTexts({"；", std::to_string(rows), " 个服务器仍在等待上一轮的应答"});
}

Text TestRunFinishedStatus(int servers, int answered, const Text& fastestServer, int fastestMs) {
  const Text counts = JoinTexts({"测速完成：", std::to_string(servers), " 个服务器，",
                                 std::to_string(answered), " 个有响应"});
  if (fastestMs < 0) return counts;
  return JoinTexts(
      {counts, "，最快 ", TrimSpaces(fastestServer), " ", std::to_string(fastestMs), "ms"});
}

}  // namespace vardelle
