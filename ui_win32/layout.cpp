#include "ui_win32/layout.h"

#include "app/window/project_links.h"
#include "ui_win32/resources/resource_ids.h"

namespace vardelle::win32 {
namespace {

// The layout tables keep their hand-made lines.
// clang-format off
constexpr ReportColumn kServerColumns[] = {
    {L"服务器名称", 100, false}, {L"大区名称", 80, false},
    {L"域名", 170, false},       {L"IP地址", 110, false},
    {L"延迟", 80, true},         {L"大区状态", 80, true},
    {L"服务器机房地理位置", 200, true}};

// Wide enough for a 24-character measurement id, the longest state and figures such as
// "8.1–241.9ms", yet all fit the 832-pixel list beside its scroll bar.
constexpr ReportColumn kKeyColumns[] = {
    {L"服务器名称", 160, false}, {L"KEY", 180, false},
    {L"测试状态", 210, false},   {L"平均", 60, true},
    {L"最小–最大", 85, true},    {L"丢包", 55, true},
    {L"探针", 50, true}};

constexpr ReportColumn kStatisticsColumns[] = {
    {L"丢包率", 60, true}, {L"最小/平均/最大", 110, true},
    {L"抖动", 60, true},   {L"走势", 100, false}};

constexpr PeriodItem kPeriodItems[] = {{L"手动测速", 0}, {L"5秒", 5},   {L"10秒", 10},
                                       {L"20秒", 20},    {L"30秒", 30}, {L"60秒", 60}};

// The help page's two sections, paragraph by paragraph.
constexpr const wchar_t* kAboutParagraphs[] = {
    L"【Vardelle】",
    L"服务器列表、大区状态读取自英雄联盟官方服务器，保证数据最准确。",
    L"全球Ping功能可同时从全国乃至全球上百个地区测试LOL服务器ping值，此功能在开发中。",
    L"注意：某些大区（比如影流）拥有多个IP用于负载均衡，测速时IP会随机变化。"};
constexpr const wchar_t* kStatusParagraphs[] = {
    L"【大区状态说明】",
    L"正常： 该区服务器可正常登入",
    L"拥挤： 该区服务器拥挤，可能需短时排队",
    L"满载： 该区服务器满载，可能需长时间排队",
    L"维护： 该区服务器正在维护，建议选择正常大区游戏"};
// clang-format on

constexpr wchar_t kLineEnd[] = L"\r\n";

std::wstring JoinParagraphs(std::span<const wchar_t* const> paragraphs) {
  std::wstring text;
  for (const wchar_t* paragraph : paragraphs) {
    if (!text.empty()) text += std::wstring(kLineEnd) + kLineEnd;
    text += paragraph;
  }
  return text;
}

}  // namespace

std::wstring ProjectPage() {
  const std::string page(kProjectPage);  // ASCII
  return std::wstring(page.begin(), page.end());
}

std::wstring HelpText() {
  const std::wstring sectionGap = std::wstring(kLineEnd) + kLineEnd + kLineEnd + kLineEnd;
  return JoinParagraphs(kAboutParagraphs) + sectionGap + JoinParagraphs(kStatusParagraphs) +
         kLineEnd;
}

std::vector<PageLayout> PageLayouts() {
  return {
      {L"LOL服务器", IDB_TAB_SERVERS}, {L"全球Ping", IDB_TAB_GLOBAL}, {L"帮助信息", IDB_TAB_HELP}};
}

std::vector<ControlLayout> ControlLayouts() {
  using enum ControlKind;
  const std::wstring link =
      L"<a href=\"" + ProjectPage() + L"\">" + L"捐助账户：Vardelle 项目主页" + L"</a>";
  // clang-format off
  return {
      {0, L"listView", kServerTableId, kReport, {0, 23, 832, 483}, L"", 0, kServerColumns},
      {0, L"透明标签3", kPeriodLabelId, kTransparentLabel, {9, 520, 80, 24}, L"自动测速间隔："},
      {0, L"组合框1", kPeriodListId, kDropDown, {92, 522, 112, 20}, L""},
      // The free room between the period list and the button shows what the program does.
      {0, L"状态标签", kStatusLabelId, kStatusLabel, {212, 520, 500, 24}, L""},
      {0, L"超级按钮1", kTestButtonId, kButton, {720, 515, 104, 32}, L"手动测速", IDB_REFRESH,
       {}, true},
      // The list takes the server table's place and size, so both pages line up, and its
      // status line sits where page 0 keeps its own.
      {1, L"超级列表框1", kKeyListId, kReport, {0, 23, 832, 483}, L"", 0, kKeyColumns},
      {1, L"全球Ping状态标签", kKeyListStatusLabelId, kStatusLabel, {9, 520, 815, 24}, L""},
      {2, L"图片框1", kLogoPictureId, kPicture, {53, 69, 96, 96}, L"", IDB_LOGO},
      {2, L"透明标签1", kHelpTextId, kTransparentLabel, {221, 72, 488, 264}, HelpText(), 0, {},
       false, true},
      {2, L"超级链接框2", kDonationLinkId, kLink, {413, 392, 192, 24}, link},
      {2, L"图片框2", kDonationPictureId, kPicture, {211, 382, 150, 150}, L"", IDB_DONATION_QR},
      {2, L"透明标签4", kDonationHintId, kTransparentLabel, {413, 432, 288, 16},
       L"请用手机支付应用扫描左侧二维码捐助本项目", 0, {}, true},
      {2, L"透明标签2", kUpdateLabelId, kTransparentLabel, {413, 467, 264, 16},
       L"更新下载： " + ProjectPage() + kLineEnd, 0, {}, true},
      {2, L"标签1", kCopyrightLabelId, kLabel, {413, 503, 257, 21},
       L"© Vardelle 项目 " + ProjectPage()},
  };
  // clang-format on
}

std::span<const PeriodItem> PeriodItems() { return kPeriodItems; }

std::span<const ReportColumn> StatisticsColumnLayouts() { return kStatisticsColumns; }

}  // namespace vardelle::win32
