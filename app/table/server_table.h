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
  // The window's statistics columns, after the seven of the layout; hidden until asked for.
  kLossColumn = 7,        // 丢包率
  kMinAvgMaxColumn = 8,   // 最小/平均/最大
  kJitterColumn = 9,      // 抖动
  kTrendColumn = 10,      // 走势: a sparkline drawn over the average's text
};
inline constexpr int kStatisticsColumnCount = 4;

// Cell 6 while the server's location is being looked up.
inline constexpr char kLocationPendingText[] = "正在查询服务器物理归属地...";

}  // namespace vardelle
