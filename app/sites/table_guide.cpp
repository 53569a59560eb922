#include "app/sites/table_guide.h"

#include "app/sites/site_check.h"

namespace vardelle {
namespace {

Text MissingSites(const Endpoints& endpoints) {
  Text names;
  for (const SiteInfo& info : SiteTable()) {
    if (endpoints.HasAddress(info.site)) continue;
    names += (names.empty() ? "" : "、") + SiteCaption(info.site);
  }
  return names;
}

}  // namespace

Text EmptyTableGuide(const Endpoints& endpoints) {
  const bool listSourceSet =
      endpoints.HasAddress(Site::kGameBox) || !endpoints.ServerListFile().empty();
  Text guide = listSourceSet ? "服务器列表没有读到服务器（原因见下方状态栏）。"
                             : "还没有服务器列表：未设置游戏盒子站点，也未选择服务器列表文件。";
  if (const Text missing = MissingSites(endpoints); !missing.empty()) {
    guide += "\n未设置的站点：" + missing + "。";
  }
  return guide + "\n点“" + kSettingsCaption + "”填写站点地址，每个站点都可先“" + kSiteTestCaption +
         "”。";
}

}  // namespace vardelle
