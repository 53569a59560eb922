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

struct LayoutSize {
  int width;
  int height;
};

// The window's place on the screen and its client area's size, at 96 DPI: the tab control
// fills it, down to the bottom row's margin.
inline constexpr LayoutPlace kWindowPlace{50, 50, 832, 561};
inline constexpr LayoutPlace kTabControlPlace{0, 1, 864, 560};
inline constexpr int kLayoutDpi = 96;
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

// How a control follows the client area as it grows past the layout's size.
enum class Growth {
  kFixed,        // keeps its place (the help page's controls)
  kFills,        // grows in width and height (the tab control, the tables)
  kBottomLeft,   // stays at the bottom, at the left
  kBottomWide,   // stays at the bottom and grows in width
  kBottomRight,  // stays at the bottom right
  kCentred,      // stays in the middle of what grows (the empty table's guide)
};

Growth GrowthOf(Control control);

// A length of the 96-DPI layout at dpi, rounded.
int ScaledToDpi(int length, int dpi);
// A place of the layout (relative to the tab control, or the tab control's own) in a client
// area of that size at dpi; a client area smaller than the layout's moves and grows nothing.
LayoutPlace PlaceInClient(const LayoutPlace& place, Growth growth, LayoutSize client, int dpi);

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
