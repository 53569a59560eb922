// The main window's fixed layout as data: every control with its page, place and content,
// as the Qt edition lays it out (ui/layout.cpp), in the system's UTF-16.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace vardelle::win32 {

struct Place {
  int x;
  int y;
  int width;
  int height;
};

inline constexpr Place kWindowFrame{50, 50, 848, 583};
inline constexpr Place kTabControlPlace{0, 1, 864, 560};
inline constexpr wchar_t kWindowTitle[] = L"Vardelle v1.3";

struct ReportColumn {
  const wchar_t* caption;
  int width;
  bool alignRight;
};

enum class ControlKind {
  kReport,
  kTransparentLabel,
  kLabel,
  kDropDown,
  kButton,
  kPicture,
  kLink,
  kStatusLabel
};

// Child window ids; WM_COMMAND and WM_NOTIFY name the control by them.
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
  kTabControlId           // 高级选择夹1
};

struct ControlLayout {
  int page;
  const wchar_t* name;
  ControlId id;
  ControlKind kind;
  Place place;  // relative to the tab control
  std::wstring caption;
  int pictureId = 0;  // a bitmap resource, 0 for none
  std::span<const ReportColumn> columns = {};
  bool handCursor = false;
  bool paragraphs = false;  // a long text, wrapped
};

struct PageLayout {
  const wchar_t* caption;
  int iconId;
};

struct PeriodItem {
  const wchar_t* caption;
  int value;  // seconds
};

std::vector<PageLayout> PageLayouts();
std::vector<ControlLayout> ControlLayouts();
std::span<const PeriodItem> PeriodItems();
std::span<const ReportColumn> StatisticsColumnLayouts();

// The help page's text: two sections of paragraphs, "\r\n" between lines.
std::wstring HelpText();
// The project's page as the help page's link and labels spell it.
std::wstring ProjectPage();

}  // namespace vardelle::win32
