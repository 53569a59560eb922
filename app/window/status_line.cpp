#include "app/window/status_line.h"

#include <string_view>

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

}  // namespace

Text FetchingServerListStatus() { return "正在下载服务器列表..."; }

Text LoadingServerListStatus(int loaded, int total) {
  return JoinTexts({"正在加载服务器列表 ", std::to_string(loaded), "/", std::to_string(total)});
}

Text ServerListLoadedStatus(int serverCount) {
  return JoinTexts({"服务器列表已加载，共 ", std::to_string(serverCount), " 个服务器"});
}

Text MissingSiteAddressStatus(const SiteInfo& site) {
  return JoinTexts(
      {"未设置", SiteName(site.site), "站点地址（", site.option, " 或 ", site.environment, "）"});
}

Text ServerListNoContentStatus() { return "无法读取服务器列表：没有收到内容"; }

Text ServerListNotAnArrayStatus() { return "无法读取服务器列表：应答不是 JSON 数组"; }

Text ServerListEmptyStatus() { return "服务器列表为空"; }

Text ProbesUnavailableStatus(const std::string& reason) {
  return JoinTexts({"无法发送 ICMP 回显：", reason});
}

}  // namespace vardelle
