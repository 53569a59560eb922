#include "ui/layout.h"

#include "app/window/project_links.h"
#include "ui/donation_qr.h"
#include "ui/pictures.h"

namespace vardelle::ui {
namespace {

// The layout tables keep their hand-made lines.
// clang-format off
constexpr ReportColumn kServerColumns[] = {
    {u"服务器名称", 100, Qt::AlignLeft}, {u"大区名称", 80, Qt::AlignLeft},
    {u"域名", 170, Qt::AlignLeft},       {u"IP地址", 110, Qt::AlignLeft},
    {u"延迟", 80, Qt::AlignRight},       {u"大区状态", 80, Qt::AlignRight},
    {u"服务器机房地理位置", 200, Qt::AlignRight}};

// Wide enough for a 24-character measurement id, the longest state ("本小时额度已用完，
// 14:05 后可再测") and figures such as "8.1–241.9ms", yet all fit the 832-pixel list beside
// its scroll bar. The figures line up on the right.
constexpr ReportColumn kKeyColumns[] = {
    {u"服务器名称", 160, Qt::AlignLeft}, {u"KEY", 180, Qt::AlignLeft},
    {u"测试状态", 210, Qt::AlignLeft},   {u"平均", 60, Qt::AlignRight},
    {u"最小–最大", 85, Qt::AlignRight},  {u"丢包", 55, Qt::AlignRight},
    {u"探针", 50, Qt::AlignRight}};

constexpr PeriodItem kPeriodItems[] = {{u"手动测速", 0}, {u"5秒", 5},   {u"10秒", 10},
                                       {u"20秒", 20},    {u"30秒", 30}, {u"60秒", 60}};

// The help page's two sections, paragraph by paragraph.
constexpr const char16_t* kAboutParagraphs[] = {
    u"【Vardelle】",
    u"服务器列表、大区状态读取自英雄联盟官方服务器，保证数据最准确。",
    u"全球Ping功能可同时从全国乃至全球上百个地区测试LOL服务器ping值，此功能在开发中。",
    u"注意：某些大区（比如影流）拥有多个IP用于负载均衡，测速时IP会随机变化。"};
constexpr const char16_t* kStatusParagraphs[] = {
    u"【大区状态说明】",
    u"正常： 该区服务器可正常登入",
    u"拥挤： 该区服务器拥挤，可能需短时排队",
    u"满载： 该区服务器满载，可能需长时间排队",
    u"维护： 该区服务器正在维护，建议选择正常大区游戏"};

QString LineEnd() { return QStringLiteral("\r\n"); }

QString JoinParagraphs(std::span<const char16_t* const> paragraphs) {
  QStringList lines;
  for (const char16_t* paragraph : paragraphs) lines << QString::fromUtf16(paragraph);
  return lines.join(LineEnd().repeated(2));
}

QString ProjectPage() { return QString::fromLatin1(kProjectPage); }

}  // namespace

QString HelpText() {
  const QString sectionGap = LineEnd().repeated(4);
  return JoinParagraphs(kAboutParagraphs) + sectionGap + JoinParagraphs(kStatusParagraphs) +
         LineEnd();
}

QFont SongTiFont() {
  QFont font;
  font.setFamilies({QString::fromUtf16(u"宋体"), QStringLiteral("SimSun"),
                    QStringLiteral("WenQuanYi Micro Hei")});
  font.setPixelSize(12);
  font.setWeight(QFont::Normal);
  return font;
}

std::vector<PageLayout> PageLayouts() {
  return {{u"LOL服务器", GlobePicture(16)},
          {u"全球Ping", PieChartPicture(16)},
          {u"帮助信息", SpeechBubblePicture(16)}};
}

std::vector<ControlLayout> ControlLayouts() {
  using enum ControlKind;
  const QString link = QStringLiteral("<a href=\"%1\">%2</a>")
                           .arg(ProjectPage(), QString::fromUtf16(u"捐助账户：Vardelle 项目主页"));
  return {
      {0, u"listView", kReport, QRect(0, 23, 832, 483), {}, {}, kServerColumns, false},
      {0, u"透明标签3", kTransparentLabel, QRect(9, 520, 80, 24),
       QString::fromUtf16(u"自动测速间隔："), {}, {}, false},
      {0, u"组合框1", kDropDown, QRect(92, 522, 112, 20), {}, {}, {}, false},
      // The free room between the period list and the button shows what the program does.
      {0, u"状态标签", kStatusLabel, QRect(212, 520, 500, 24), {}, {}, {}, false},
      {0, u"超级按钮1", kButton, QRect(720, 515, 104, 32), QString::fromUtf16(u"手动测速"),
       RefreshPicture(24), {}, true},
      // The list takes the server table's place and size, so both pages line up, and its
      // status line sits where page 0 keeps its own.
      {1, u"超级列表框1", kReport, QRect(0, 23, 832, 483), {}, {}, kKeyColumns, false},
      {1, u"全球Ping状态标签", kStatusLabel, QRect(9, 520, 815, 24), {}, {}, {}, false},
      {2, u"图片框1", kPicture, QRect(53, 69, 96, 96), {}, GlobePicture(96), {}, false},
      {2, u"透明标签1", kTransparentLabel, QRect(221, 72, 488, 264), HelpText(), {}, {}, false, true},
      {2, u"超级链接框2", kLink, QRect(413, 392, 192, 24), link, {}, {}, false},
      {2, u"图片框2", kPicture, QRect(211, 382, 150, 150), {}, DonationPicture(), {}, false},
      {2, u"透明标签4", kTransparentLabel, QRect(413, 432, 288, 16),
       QString::fromUtf16(u"请用手机支付应用扫描左侧二维码捐助本项目"), {}, {}, true},
      {2, u"透明标签2", kTransparentLabel, QRect(413, 467, 264, 16),
       QString::fromUtf16(u"更新下载： ") + ProjectPage() + LineEnd(), {}, {}, true},
      {2, u"标签1", kLabel, QRect(413, 503, 257, 21),
       QString::fromUtf16(u"© Vardelle 项目 ") + ProjectPage(), {}, {}, false},
  };
}

std::span<const PeriodItem> PeriodItems() { return kPeriodItems; }

}  // namespace vardelle::ui
