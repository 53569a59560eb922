// The main window as built: every control of the fixed layout with its kind, place,
// content, font and cursor.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>
#include <memory>

#include "app/view/project_links.h"
#include "support/text/text_codec.h"
#include "ui/qt/main_window.h"
#include "ui/qt/period_timer.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

using testing::QText;

enum class Kind {
  kTable,
  kTransparentLabel,
  kLabel,
  kDropDown,
  kButton,
  kPlainButton,
  kPicture,
  kLink
};

struct ExpectedControl {
  const char16_t* name;
  int page;
  Kind kind;
  QRect place;
  bool handCursor;
};

const ExpectedControl kControls[] = {
    {u"listView", 0, Kind::kTable, QRect(0, 23, 832, 483), false},
    {u"透明标签3", 0, Kind::kTransparentLabel, QRect(8, 520, 84, 24), false},
    {u"组合框1", 0, Kind::kDropDown, QRect(92, 522, 112, 20), false},
    {u"超级按钮1", 0, Kind::kButton, QRect(720, 515, 104, 32), true},
    {u"状态标签", 0, Kind::kTransparentLabel, QRect(212, 520, 412, 24), false},
    {u"设置按钮", 0, Kind::kPlainButton, QRect(632, 515, 80, 32), true},
    {u"超级列表框1", 1, Kind::kTable, QRect(0, 23, 832, 483), false},
    {u"全球Ping状态标签", 1, Kind::kTransparentLabel, QRect(9, 520, 815, 24), false},
    {u"图片框1", 2, Kind::kPicture, QRect(53, 69, 96, 96), false},
    {u"透明标签1", 2, Kind::kTransparentLabel, QRect(221, 72, 488, 264), false},
    {u"超级链接框2", 2, Kind::kLink, QRect(413, 392, 192, 24), false},
    {u"图片框2", 2, Kind::kPicture, QRect(211, 382, 150, 150), false},
    {u"透明标签4", 2, Kind::kTransparentLabel, QRect(413, 432, 288, 16), true},
    {u"透明标签2", 2, Kind::kTransparentLabel, QRect(413, 467, 264, 16), true},
    {u"标签1", 2, Kind::kLabel, QRect(413, 503, 280, 21), false},
};

// The help text, word for word, as the program's GBK bytes.
constexpr char kHelpTextGbk[] =
    "【Vardelle】\r\n\r\n"
    "服务器列表、大区状态读取自英雄联盟官方服务器，保证数据最准确。\r\n\r\n"
    "全球Ping功能可同时从全国乃至全球上百个地区测试LOL服务器ping值，此功能在开发中。\r\n\r\n"
    "注意：某些大区（比如影流）拥有多个IP用于负载均衡，测速时IP会随机变化。\r\n\r\n\r\n\r\n"
    "【大区状态说明】\r\n\r\n"
    "正常： 该区服务器可正常登入\r\n\r\n"
    "拥挤： 该区服务器拥挤，可能需短时排队\r\n\r\n"
    "满载： 该区服务器满载，可能需长时间排队\r\n\r\n"
    "维护： 该区服务器正在维护，建议选择正常大区游戏\r\n";

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TestApplication();
    window = std::make_unique<MainWindow>(events);
  }

  template <typename T = QWidget>
  T* Find(const char16_t* name) const {
    return window->findChild<T*>(QText(name));
  }
  QWidget* Tabs() const { return Find(u"高级选择夹1"); }
  QTabBar* TabStrip() const { return Tabs()->findChild<QTabBar*>(); }

  testing::RecordingEvents events;
  std::unique_ptr<MainWindow> window;
};

std::string KindProblem(const QWidget& control, Kind kind) {
  const auto* label = qobject_cast<const QLabel*>(&control);
  const bool plainLabel = label && label->pixmap().isNull() && !label->openExternalLinks();
  switch (kind) {
    case Kind::kTable: {
      const auto* table = qobject_cast<const QTreeWidget*>(&control);
      return table && !table->rootIsDecorated() && !table->isHeaderHidden() ? "" : "not a report";
    }
    case Kind::kTransparentLabel:
      return plainLabel && !label->autoFillBackground() ? "" : "not a transparent label";
    case Kind::kLabel:
      return plainLabel && label->autoFillBackground() ? "" : "not an opaque label";
    case Kind::kDropDown: {
      const auto* box = qobject_cast<const QComboBox*>(&control);
      return box && !box->isEditable() ? "" : "not a drop-down list";
    }
    case Kind::kButton: {
      const auto* button = qobject_cast<const QPushButton*>(&control);
      return button && !button->icon().isNull() ? "" : "not a button with picture";
    }
    case Kind::kPlainButton:
      return qobject_cast<const QPushButton*>(&control) ? "" : "not a button";
    case Kind::kPicture:
      return label && !label->pixmap().isNull() && label->hasScaledContents() ? ""
                                                                              : "not a picture box";
    case Kind::kLink:
      return label && label->openExternalLinks() ? "" : "not a hyperlink";
  }
  return "unknown kind";
}

TEST_F(LayoutTest, EveryControlHasItsKindPlaceCursorAndPage) {
  QWidget* tabs = Tabs();
  ASSERT_NE(tabs, nullptr);
  for (const ExpectedControl& expected : kControls) {
    SCOPED_TRACE(QText(expected.name).toStdString());
    QWidget* control = Find(expected.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(KindProblem(*control, expected.kind), "");
    EXPECT_EQ(QRect(control->mapTo(tabs, QPoint(0, 0)), control->size()), expected.place);
    const Qt::CursorShape cursor = expected.handCursor ? Qt::PointingHandCursor : Qt::ArrowCursor;
    EXPECT_EQ(control->cursor().shape(), cursor);
    for (int page = 0; page < TabStrip()->count(); ++page) {
      TabStrip()->setCurrentIndex(page);
      EXPECT_EQ(control->isVisibleTo(window.get()), page == expected.page) << "page " << page;
    }
  }
}

TEST_F(LayoutTest, WindowTabsAndFonts) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Vardelle v1.3"));
  EXPECT_EQ(window->findChild<QMenuBar*>(), nullptr);
  ASSERT_NE(Tabs(), nullptr);
  EXPECT_EQ(Tabs()->geometry(), QRect(0, 1, 864, 560));

  const QString captions[] = {QText(u"LOL服务器"), QText(u"全球Ping"), QText(u"帮助信息")};
  ASSERT_EQ(TabStrip()->count(), 3);
  for (int tab = 0; tab < 3; ++tab) {
    EXPECT_EQ(TabStrip()->tabText(tab), captions[tab]);
    EXPECT_TRUE(TabStrip()->tabIcon(tab).availableSizes().contains(QSize(16, 16)));
  }
  EXPECT_EQ(TabStrip()->currentIndex(), 0);

  for (QWidget* control : {Tabs(), Find(u"listView")}) {
    SCOPED_TRACE(control->objectName().toStdString());
    const QFont font = control->font();
    EXPECT_EQ(font.pixelSize(), 12);
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_EQ(font.families().value(0), QText(u"宋体"));
    // Whatever face stands in for 宋体 must carry the Chinese captions.
    EXPECT_TRUE(QFontMetrics(font).inFontUcs4(U'服'));
  }
  // The pages' controls take the tab control's font.
  EXPECT_EQ(Find(u"透明标签1")->font(), Tabs()->font());
}

TEST_F(LayoutTest, WindowSitsAtItsPlaceWithTheLayoutsClientArea) {
  window->show();
  window->PlaceOnScreen();
  EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(50, 50));
  EXPECT_EQ(window->size(), QSize(832, 561));
}

struct ExpectedColumn {
  const char16_t* caption;
  int width;
  Qt::Alignment alignment;
};

// The laid-out columns first; any after them (the statistics columns) start hidden.
void ExpectColumns(const QTreeWidget& table, std::span<const ExpectedColumn> columns) {
  ASSERT_GE(table.columnCount(), static_cast<int>(columns.size()));
  for (int c = static_cast<int>(columns.size()); c < table.columnCount(); ++c) {
    EXPECT_TRUE(table.isColumnHidden(c)) << c;
  }
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
    const ExpectedColumn& expected = columns[static_cast<size_t>(c)];
    EXPECT_EQ(table.headerItem()->text(c), QText(expected.caption));
    // A last column that stretches takes at least its own width.
    if (c == table.columnCount() - 1 && table.header()->stretchLastSection()) {
      EXPECT_GE(table.columnWidth(c), expected.width) << c;
    } else {
      EXPECT_EQ(table.columnWidth(c), expected.width) << c;
    }
    EXPECT_EQ(table.headerItem()->textAlignment(c) & Qt::AlignHorizontal_Mask, expected.alignment)
        << c;
  }
}

TEST_F(LayoutTest, ServerTableHasItsColumnsAndDesignTimeRow) {
  auto* table = Find<QTreeWidget>(u"listView");
  const ExpectedColumn columns[] = {{u"服务器名称", 100, Qt::AlignLeft},
                                    {u"大区名称", 80, Qt::AlignLeft},
                                    {u"域名", 170, Qt::AlignLeft},
                                    {u"IP地址", 110, Qt::AlignLeft},
                                    {u"延迟", 80, Qt::AlignRight},
                                    {u"大区状态", 80, Qt::AlignRight},
                                    {u"服务器机房地理位置", 188, Qt::AlignRight}};
  ExpectColumns(*table, columns);
  EXPECT_FALSE(table->isSortingEnabled());
  EXPECT_TRUE(table->header()->sectionsClickable());
  EXPECT_EQ(table->iconSize(), QSize(12, 12));
  ASSERT_EQ(table->topLevelItemCount(), 1);
  EXPECT_EQ(table->topLevelItem(0)->text(0), QText(u"测试主机"));
  EXPECT_EQ(table->topLevelItem(0)->text(1), QStringLiteral("192.168.1.1"));
  EXPECT_FALSE(table->topLevelItem(0)->icon(0).isNull());
  EXPECT_EQ(table->topLevelItem(0)->textAlignment(4) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

TEST_F(LayoutTest, KeyListHasItsColumnsAndNoRows) {
  auto* list = Find<QTreeWidget>(u"超级列表框1");
  const ExpectedColumn columns[] = {
      {u"服务器名称", 160, Qt::AlignLeft}, {u"KEY", 180, Qt::AlignLeft},
      {u"测试状态", 210, Qt::AlignLeft},   {u"平均", 60, Qt::AlignRight},
      {u"最小–最大", 85, Qt::AlignRight},  {u"丢包", 55, Qt::AlignRight},
      {u"探针", 50, Qt::AlignRight}};
  ExpectColumns(*list, columns);
  EXPECT_EQ(list->topLevelItemCount(), 0);
}

// On screen a finished row's longest texts show whole, the columns fill the list with no
// strip left bare and no sideways scrolling, and the list and its status line lie within
// the window.
TEST_F(LayoutTest, KeyListFitsItsTextsAndTheWindow) {
  window->show();
  window->PlaceOnScreen();
  TabStrip()->setCurrentIndex(1);
  auto* list = Find<ReportView>(u"超级列表框1");
  list->AppendRow(QText(u"艾欧尼亚 电信一区"), RowIcon::kAnswered);
  const std::pair<int, const char16_t*> longest[] = {
      {kKeyListKeyColumn, u"Xk3fPq8ZbW2nLr7TyH5mVc1D"},
      {kKeyListStateColumn, u"本小时额度已用完，14:05 后可再测"},
      {kKeyListAverageColumn, u"123.4ms"},
      {kKeyListRangeColumn, u"8.1–241.9ms"},
      {kKeyListLossColumn, u"100.0%"},
      {kKeyListProbesColumn, u"10/10"}};
  for (const auto& [column, text] : longest) list->SetCellText(0, column, QText(text));
  QApplication::processEvents();
  const QAbstractItemView& cells = *list;
  for (int column = 0; column < kKeyListColumnCount; ++column) {
    EXPECT_LE(cells.sizeHintForColumn(column), list->columnWidth(column)) << column;
  }
  EXPECT_EQ(list->header()->length(), list->viewport()->width());
  for (const char16_t* name : {u"超级列表框1", u"全球Ping状态标签"}) {
    const QWidget* control = Find(name);
    const QRect place(control->mapTo(window.get(), QPoint(0, 0)), control->size());
    EXPECT_TRUE(window->rect().contains(place)) << QText(name).toStdString();
  }
}

TEST_F(LayoutTest, PeriodListTimerAndMenu) {
  auto* box = Find<QComboBox>(u"组合框1");
  const std::pair<const char16_t*, int> items[] = {{u"手动测速", 0}, {u"5秒", 5},   {u"10秒", 10},
                                                   {u"20秒", 20},    {u"30秒", 30}, {u"60秒", 60}};
  ASSERT_EQ(box->count(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(box->itemText(i), QText(items[i].first));
    EXPECT_EQ(box->itemData(i), QVariant(items[i].second));
  }
  EXPECT_EQ(box->currentIndex(), 0);

  auto* timer = window->findChild<PeriodTimer*>(QText(u"时钟1"));
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->Period(), 0);
  EXPECT_FALSE(timer->Countdown().isActive());

  auto* menu = window->findChild<QMenu*>(QText(u"右键1"));
  ASSERT_NE(menu, nullptr);
  const QList<QAction*> actions = menu->actions();
  ASSERT_EQ(actions.size(), 7);
  EXPECT_EQ(actions[0]->text(), QText(u"持续 Ping"));
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_EQ(actions[2]->text(), QText(u"路由追踪"));
  EXPECT_TRUE(actions[3]->isSeparator());
  EXPECT_EQ(actions[4]->text(), QText(u"提醒…"));
  EXPECT_EQ(actions[5]->text(), QText(u"小窗"));
  // Shown in its place for a server the mini view lists already.
  EXPECT_EQ(actions[6]->text(), QText(u"移出小窗"));
  EXPECT_FALSE(actions[6]->isVisible());
}

TEST_F(LayoutTest, CaptionsAndPictures) {
  const QString page = QString::fromLatin1(kProjectPage);
  EXPECT_EQ(Find<QLabel>(u"透明标签3")->text(), QText(u"自动测速间隔："));
  EXPECT_EQ(Find<QPushButton>(u"超级按钮1")->text(), QText(u"手动测速"));
  EXPECT_EQ(Find<QPushButton>(u"超级按钮1")->iconSize(), QSize(24, 24));
  EXPECT_EQ(Find<QLabel>(u"透明标签2")->text(),
            QText(u"更新下载： ") + page + QStringLiteral("\r\n"));
  EXPECT_TRUE(Find<QLabel>(u"标签1")->text().contains(page));
  EXPECT_FALSE(Find<QLabel>(u"透明标签4")->text().isEmpty());
  const QString link = Find<QLabel>(u"超级链接框2")->text();
  EXPECT_TRUE(link.contains(QStringLiteral("href=\"%1\"").arg(page))) << link.toStdString();
  EXPECT_EQ(Find<QLabel>(u"图片框1")->pixmap().size(), QSize(96, 96));
  EXPECT_EQ(Find<QLabel>(u"图片框2")->pixmap().size(), QSize(430, 430));
}

TEST_F(LayoutTest, HelpTextWordForWord) {
  const QString help = Find<QLabel>(u"透明标签1")->text();
  EXPECT_EQ(ToGbk(std::u16string_view(reinterpret_cast<const char16_t*>(help.utf16()),
                                      static_cast<size_t>(help.size()))),
            std::string(kHelpTextGbk));
}

}  // namespace
}  // namespace vardelle::ui
