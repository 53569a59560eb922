// The window's fixed layout (app/view/window_layout.h) in Win32's terms: child window ids,
// bitmap resources, and texts in the system's UTF-16.
#pragma once

#include <string>
#include <vector>

#include "app/view/window_layout.h"

namespace vardelle::win32 {

using Place = LayoutPlace;

struct ReportColumn {
  std::wstring caption;
  int width;
  bool alignRight;
};

// Child window ids, in the order of Control; WM_COMMAND and WM_NOTIFY name the control by
// them.
enum ControlId : int {
  kServerTableId = 1001,  // listView
  kPeriodLabelId,         // 透明标签3
  kPeriodListId,          // 组合框1
  kStatusLabelId,         // 状态标签
  kTestButtonId,          // 超级按钮1
  kKeyListId,             // 超级列表框1
  kKeyListStatusLabelId,  // 全球Ping状态标签
  kLogoPictureId,         // 图片框1
  kHelpTextId,            // 透明标签1
  kDonationLinkId,        // 超级链接框2
  kDonationPictureId,     // 图片框2
  kDonationHintId,        // 透明标签4
  kUpdateLabelId,         // 透明标签2
  kCopyrightLabelId,      // 标签1
  kSettingsButtonId,      // 设置按钮
  kTabControlId           // 高级选择夹1
};

struct ControlLayout {
  ControlId id;
  ControlKind kind;
  Place place;  // relative to the tab control, at 96 DPI
  Growth growth;
  std::wstring caption;
  int pictureId;  // a bitmap resource, 0 for none
  std::vector<ReportColumn> columns;
  bool handCursor;
  bool paragraphs;  // a long text, wrapped
};

struct PageLayout {
  std::wstring caption;
  int iconId;
};

struct PeriodItem {
  std::wstring caption;
  int value;  // seconds
};

std::vector<PageLayout> PageLayouts();
std::vector<ControlLayout> ControlLayouts();
std::vector<PeriodItem> PeriodItems();
std::vector<ReportColumn> StatisticsColumnLayouts();

}  // namespace vardelle::win32
