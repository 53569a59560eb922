// The main window's fixed layout as data, for both windows: every control with its page,
// place and content, the pages, the period list and the table columns. Texts are GBK; each
// window converts them and draws the pictures named here its own way.
#pragma once

#include <span>
#include <vector>

#include "support/text/text.h"

namespace vardelle {

struct LayoutPlace {
  int x;
  int y;
  int width;
  int height;
};

inline constexpr LayoutPlace kWindowFramePlace{50, 50, 848, 583};
inline constexpr LayoutPlace kTabControlPlace{0, 1, 864, 560};
inline constexpr char kWindowTitle[] = "Vardelle v1.3";

struct ColumnLayout {
  const char* caption;
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

// Every control, in the order of the table below.
enum class Control {
  kServerTable,        // listView
  kPeriodLabel,        // 透明标签3
  kPeriodList,         // 组合框1
  kStatusLine,         // 状态标签
  kTestButton,         // 超级按钮1
  kKeyList,            // 超级列表框1
  kKeyListStatusLine,  // 全球Ping状态标签
  kLogoPicture,        // 图片框1
  kHelpText,           // 透明标签1
  kDonationLink,       // 超级链接框2
  kDonationPicture,    // 图片框2
  kDonationHint,       // 透明标签4
  kUpdateLabel,        // 透明标签2
  kCopyrightLabel,     // 标签1
  kSettingsButton,     // 设置按钮
};

enum class LayoutPicture { kNone, kRefresh, kLogo, kDonationQr };
enum class PageIcon { kServers, kGlobalPing, kHelp };

struct ControlLayout {
  int page;
  Control control;
  const char* name;  // the control's object name
  ControlKind kind;
  LayoutPlace place;  // relative to the tab control
  Text caption;       // a link's holds its <a href> element
  LayoutPicture picture = LayoutPicture::kNone;
  std::span<const ColumnLayout> columns = {};
  bool handCursor = false;
  bool paragraphs = false;  // a long text, wrapped
};

struct PageLayout {
  const char* caption;
  PageIcon icon;
};

struct PeriodItem {
  const char* caption;
  int value;  // seconds
};

std::span<const PageLayout> PageLayouts();
// In the order of Control.
const std::vector<ControlLayout>& ControlLayouts();
const ControlLayout& LayoutOf(Control control);
std::span<const PeriodItem> PeriodItems();
// The server table's columns after its seven, hidden until asked for.
std::span<const ColumnLayout> StatisticsColumnLayouts();

// The help page's text: two sections of paragraphs, "\r\n" between lines.
Text HelpText();

}  // namespace vardelle
