// The server table's columns, 0-based, and the cell texts that more than one step writes.
#pragma once

namespace vardelle {

enum ServerColumn : int {
  kNameColumn = 0,      // 服务器名称: serverName
  kRegionColumn = 1,    // 大区名称: the region's present name
  kDomainColumn = 2,    // 域名
  kAddressColumn = 3,   // IP地址
  kLatencyColumn = 4,   // 延迟
  kStatusColumn = 5,    // 大区状态
  kLocationColumn = 6,  // 服务器机房地理位置
};

// Cell 6 while the server's location is being looked up.
inline constexpr char kLocationPendingText[] = "正在查询服务器物理归属地...";

}  // namespace vardelle
