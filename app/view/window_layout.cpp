#include "app/view/window_layout.h"

#include <algorithm>

#include "app/view/project_links.h"

namespace vardelle {
namespace {

// The layout tables keep their hand-made lines.
// clang-format off
// All fit the 832-pixel table beside its scroll bar and borders (21 pixels), so a full server
// list scrolls no sideways.
constexpr ColumnLayout kServerColumns[] = {
    {"服务器名称", 100, false}, {"大区名称", 80, false},
    {"域名", 170, false},       {"IP地址", 110, false},
    {"延迟", 80, true},         {"大区状态", 80, true},
    {"服务器机房地理位置", 188, true}};

// Wide enough for a 24-character measurement id, the longest state ("本小时额度已用完，
// 14:05 后可再测") and figures such as "8.1–241.9ms", yet all fit the 832-pixel list beside
// its scroll bar. The figures line up on the right.
constexpr ColumnLayout kKeyColumns[] = {
    {"服务器名称", 160, false}, {"KEY", 180, false},
    {"测试状态", 210, false},   {"平均", 60, true},
    {"最小–最大", 85, true},    {"丢包", 55, true},
    {"探针", 50, true}};

constexpr ColumnLayout kStatisticsColumns[] = {
    {"丢包率", 60, true}, {"最小/平均/最大", 110, true},
    {"抖动", 60, true},   {"走势", 100, false}};

constexpr PeriodItem kPeriodItems[] = {{"手动测速", 0}, {"5秒", 5},   {"10秒", 10},
                                       {"20秒", 20},    {"30秒", 30}, {"60秒", 60}};

constexpr PageLayout kPages[] = {{"LOL服务器", PageIcon::kServers},
                                 {"全球Ping", PageIcon::kGlobalPing},
                                 {"帮助信息", PageIcon::kHelp}};

// The help page's two sections, paragraph by paragraph.
constexpr const char* kAboutParagraphs[] = {
    "【Vardelle】",
    "服务器列表、大区状态读取自英雄联盟官方服务器，保证数据最准确。",
    "全球Ping功能可同时从全国乃至全球上百个地区测试LOL服务器ping值，此功能在开发中。",
    "注意：某些大区（比如影流）拥有多个IP用于负载均衡，测速时IP会随机变化。"};
constexpr const char* kStatusParagraphs[] = {
    "【大区状态说明】",
    "正常： 该区服务器可正常登入",
    "拥挤： 该区服务器拥挤，可能需短时排队",
    "满载： 该区服务器满载，可能需长时间排队",
    "维护： 该区服务器正在维护，建议选择正常大区游戏"};
// clang-format on

constexpr char kLineEnd[] = "\r\n";

Text JoinParagraphs(std::span<const char* const> paragraphs) {
  Text text;
  for (const char* paragraph : paragraphs) {
    if (!text.empty()) text += JoinTexts({kLineEnd, kLineEnd});
    text += paragraph;
  }
  return text;
}

std::vector<ControlLayout> BuildControlLayouts() {
  using enum ControlKind;
  using enum Control;
  using enum LayoutPicture;
  const Text page = kProjectPage;
  // clang-format off
  return {
      {0, kServerTable, "listView", kReport, {0, 23, 832, 483}, "", kNone, kServerColumns},
      // 宋体's seven characters whole, up to the list.
      {0, kPeriodLabel, "透明标签3", kTransparentLabel, {8, 520, 84, 24}, "自动测速间隔："},
      {0, kPeriodList, "组合框1", kDropDown, {92, 522, 112, 20}, ""},
      // The free room between the period list and the button shows what the program does.
      {0, kStatusLine, "状态标签", kStatusLabel, {212, 520, 412, 24}, ""},
      {0, kTestButton, "超级按钮1", kButton, {720, 515, 104, 32}, "手动测速", kRefresh, {}, true},
      // The list takes the server table's place and size, so both pages line up, and its
      // status line sits where page 0 keeps its own.
      {1, kKeyList, "超级列表框1", kReport, {0, 23, 832, 483}, "", kNone, kKeyColumns},
      {1, kKeyListStatusLine, "全球Ping状态标签", kStatusLabel, {9, 520, 815, 24}, ""},
      {2, kLogoPicture, "图片框1", kPicture, {53, 69, 96, 96}, "", kLogo},
      {2, kHelpText, "透明标签1", kTransparentLabel, {221, 72, 488, 264}, HelpText(), kNone, {},
       false, true},
      {2, kDonationLink, "超级链接框2", kLink, {413, 392, 192, 24},
       "<a href=\"" + page + "\">捐助账户：Vardelle 项目主页</a>"},
      {2, kDonationPicture, "图片框2", kPicture, {211, 382, 150, 150}, "", kDonationQr},
      {2, kDonationHint, "透明标签4", kTransparentLabel, {413, 432, 288, 16},
       "请用手机支付应用扫描左侧二维码捐助本项目", kNone, {}, true},
      {2, kUpdateLabel, "透明标签2", kTransparentLabel, {413, 467, 264, 16},
       "更新下载： " + page + kLineEnd, kNone, {}, true},
      // The address whole in 宋体 (270 pixels).
      {2, kCopyrightLabel, "标签1", kLabel, {413, 503, 280, 21}, "(C) Vardelle 项目 " + page},
      // Beside the test button, where the player looks first.
      {0, kSettingsButton, "设置按钮", kButton, {632, 515, 80, 32}, "设置…", kNone, {}, true},
  };
  // clang-format on
}

}  // namespace

Growth GrowthOf(Control control) {
  using enum Control;
  switch (control) {
    case kServerTable:
    case kKeyList:
      return Growth::kFills;
    case kPeriodLabel:
    case kPeriodList:
      return Growth::kBottomLeft;
    case kStatusLine:
    case kKeyListStatusLine:
      return Growth::kBottomWide;
    case kTestButton:
    case kSettingsButton:
      return Growth::kBottomRight;
    default:
      return Growth::kFixed;
  }
}

int ScaledToDpi(int length, int dpi) {
  return (length * dpi + (length < 0 ? -kLayoutDpi : kLayoutDpi) / 2) / kLayoutDpi;
}

LayoutPlace PlaceInClient(const LayoutPlace& place, Growth growth, LayoutSize client, int dpi) {
  const int extraWidth = std::max(0, client.width - ScaledToDpi(kWindowPlace.width, dpi));
  const int extraHeight = std::max(0, client.height - ScaledToDpi(kWindowPlace.height, dpi));
  LayoutPlace scaled{ScaledToDpi(place.x, dpi), ScaledToDpi(place.y, dpi),
                     ScaledToDpi(place.width, dpi), ScaledToDpi(place.height, dpi)};
  switch (growth) {
    case Growth::kFixed:
      break;
    case Growth::kFills:
      scaled.width += extraWidth;
      scaled.height += extraHeight;
      break;
    case Growth::kBottomLeft:
      scaled.y += extraHeight;
      break;
    case Growth::kBottomWide:
      scaled.y += extraHeight;
      scaled.width += extraWidth;
      break;
    case Growth::kBottomRight:
      scaled.x += extraWidth;
      scaled.y += extraHeight;
      break;
    case Growth::kCentred:
      scaled.x += extraWidth / 2;
      scaled.y += extraHeight / 2;
      break;
  }
  return scaled;
}

std::span<const PageLayout> PageLayouts() { return kPages; }

const std::vector<ControlLayout>& ControlLayouts() {
  static const std::vector<ControlLayout> layouts = BuildControlLayouts();
  return layouts;
}

const ControlLayout& LayoutOf(Control control) {
  return ControlLayouts()[static_cast<std::size_t>(control)];
}

std::span<const PeriodItem> PeriodItems() { return kPeriodItems; }

std::span<const ColumnLayout> StatisticsColumnLayouts() { return kStatisticsColumns; }

Text HelpText() {
  return JoinParagraphs(kAboutParagraphs) + JoinTexts({kLineEnd, kLineEnd, kLineEnd, kLineEnd}) +
         JoinParagraphs(kStatusParagraphs) + kLineEnd;
}

}  // namespace vardelle
