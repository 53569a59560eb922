#include "ui/qt/main_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCursor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <string>

#include "app/alerts/alert_watching.h"
#include "app/global_ping/global_ping_places.h"
#include "app/start/user_files.h"
#include "app/table/server_table.h"
#include "ui/qt/layout.h"
#include "ui/qt/paragraph_label.h"
#include "ui/qt/pictures.h"
#include "ui/qt/status_label.h"
#include "ui/qt/tab_control.h"
#include "ui/qt/window_text.h"

namespace vardelle::ui {
namespace {

QLabel* MakeLabel(const ControlLayout& layout, QWidget* page) {
  const QString caption = FromGbk(layout.caption);
  QLabel* label = layout.paragraphs ? new ParagraphLabel(caption, page) : new QLabel(caption, page);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(layout.paragraphs);
  return label;
}

QWidget* MakeControl(const ControlLayout& layout, QWidget* page) {
  switch (layout.kind) {
    case ControlKind::kReport:
      return new ReportView(layout.columns, page);
    case ControlKind::kDropDown:
      return new QComboBox(page);
    case ControlKind::kButton: {
      const QImage picture = PictureOf(layout.picture);
      auto* button =
          new QPushButton(QIcon(QPixmap::fromImage(picture)), FromGbk(layout.caption), page);
      button->setIconSize(picture.size());
      return button;
    }
    case ControlKind::kPicture: {
      auto* picture = new QLabel(page);
      picture->setPixmap(QPixmap::fromImage(PictureOf(layout.picture)));
      picture->setScaledContents(true);
      return picture;
    }
    case ControlKind::kLink: {
      QLabel* link = MakeLabel(layout, page);
      link->setTextFormat(Qt::RichText);
      link->setOpenExternalLinks(true);
      link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
      return link;
    }
    case ControlKind::kTransparentLabel:
      return MakeLabel(layout, page);
    case ControlKind::kLabel: {
      QLabel* label = MakeLabel(layout, page);
      label->setAutoFillBackground(true);
      return label;
    }
    case ControlKind::kStatusLabel:
      return new StatusLabel(page);
  }
  return nullptr;
}

// Marks a location cell whose tooltip is its own note rather than the row's.
constexpr int kLocationNoteRole = Qt::UserRole + 2;

template <typename T>
T* FindControl(QWidget& window, const char16_t* name) {
  return window.findChild<T*>(QString::fromUtf16(name));
}

}  // namespace

MainWindow::MainWindow(MainWindowEvents& events) : events_(events) {
  setWindowTitle(QString::fromLatin1(kWindowTitle));
  BuildControls();
  FillPeriodList();
  BuildRowMenu();
  BuildKeyListMenu();
  setMinimumSize(kWindowPlace.width, kWindowPlace.height);
  timer_ = new PeriodTimer(this);
  timer_->setObjectName(QString::fromUtf16(u"时钟1"));
  ConnectEvents();
  miniView_ = std::make_unique<MiniView>(events);
  BuildTray();
}

void MainWindow::BuildControls() {
  auto* tabs = tabs_ = new TabControl(this);
  tabs->setObjectName(QString::fromUtf16(u"高级选择夹1"));
  tabs->setGeometry(RectOf(kTabControlPlace));
  tabs->setFont(SongTiFont());
  for (const PageLayout& page : PageLayouts()) {
    tabs->AddPage(QIcon(QPixmap::fromImage(PageIconOf(page.icon))), FromGbk(page.caption));
  }
  for (const ControlLayout& layout : ControlLayouts()) {
    QWidget* control = MakeControl(layout, tabs->Page(layout.page));
    control->setObjectName(FromGbk(layout.name));
    control->setGeometry(RectOf(layout.place));
    if (layout.handCursor) control->setCursor(Qt::PointingHandCursor);
  }
  SetFocusOrder();
  serverTable_ = FindControl<ReportView>(*this, u"listView");
  keyList_ = FindControl<ReportView>(*this, u"超级列表框1");
  periodList_ = FindControl<QComboBox>(*this, u"组合框1");
  testButton_ = FindControl<QPushButton>(*this, u"超级按钮1");
  settingsButton_ = FindControl<QPushButton>(*this, u"设置按钮");
  updateLabel_ = FindControl<QLabel>(*this, u"透明标签2");
  statusLabel_ = FindControl<StatusLabel>(*this, u"状态标签");
  keyListStatusLabel_ = FindControl<StatusLabel>(*this, u"全球Ping状态标签");
  serverTable_->setFont(SongTiFont());
  serverTable_->setContextMenuPolicy(Qt::CustomContextMenu);
  keyList_->setContextMenuPolicy(Qt::CustomContextMenu);
  // The last column takes whatever width the others leave, so no bare strip shows on the right.
  keyList_->header()->setStretchLastSection(true);
  tableGuide_ = new TableGuide(serverTable_->viewport(), [this] { events_.OnSettingsChosen(); });
  statisticsColumns_ = new StatisticsColumns(*serverTable_, UserSettingsPath());
  // The table's design-time row; loading the server list replaces it.
  const RowId row = serverTable_->AppendRow(QString::fromUtf16(u"测试主机"), RowIcon::kNotTested);
  serverTable_->SetCellText(serverTable_->RowWithId(row), 1, QStringLiteral("192.168.1.1"));
}

// Tab goes through each page's controls as the layout orders them, as in the Win32 window;
// Ctrl+Tab turns the pages, so the tab strip takes no focus of its own.
void MainWindow::SetFocusOrder() {
  tabs_->TabStrip().setFocusPolicy(Qt::NoFocus);
  for (int page = 0; page < static_cast<int>(PageLayouts().size()); ++page) {
    const std::vector<Control> order = FocusOrder(page);
    for (std::size_t i = 1; i < order.size(); ++i) {
      setTabOrder(ControlWidget(order[i - 1]), ControlWidget(order[i]));
    }
  }
}

QWidget* MainWindow::ControlWidget(Control control) const {
  return findChild<QWidget*>(FromGbk(LayoutOf(control).name));
}

// Qt scales the layout's pixels to the screen itself.
void MainWindow::PlaceControls() {
  const LayoutSize client{width(), height()};
  tabs_->setGeometry(RectOf(PlaceInClient(kTabControlPlace, Growth::kFills, client, kLayoutDpi)));
  for (const ControlLayout& layout : ControlLayouts()) {
    ControlWidget(layout.control)
        ->setGeometry(
            RectOf(PlaceInClient(layout.place, GrowthOf(layout.control), client, kLayoutDpi)));
  }
}

// The layout's control that has the focus or holds the widget that has it.
std::optional<Control> MainWindow::FocusedControl() const {
  for (const QWidget* widget = focusWidget(); widget && widget != this;
       widget = widget->parentWidget()) {
    for (const ControlLayout& layout : ControlLayouts()) {
      if (widget->objectName() == FromGbk(layout.name)) return layout.control;
    }
  }
  return std::nullopt;
}

void MainWindow::TurnPage(int step) {
  const int pages = static_cast<int>(PageLayouts().size());
  tabs_->TabStrip().setCurrentIndex((tabs_->TabStrip().currentIndex() + step + pages) % pages);
  const std::vector<Control> order = FocusOrder(tabs_->TabStrip().currentIndex());
  if (!order.empty()) ControlWidget(order.front())->setFocus(Qt::TabFocusReason);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  const auto keyOf = [](int key) {
    switch (key) {
      case Qt::Key_Tab:
      case Qt::Key_Backtab:
        return Key::kTab;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        return Key::kEnter;
      case Qt::Key_Space:
        return Key::kSpace;
      case Qt::Key_F5:
        return Key::kF5;
      default:
        return Key::kOther;
    }
  };
  const bool shift =
      event->modifiers().testFlag(Qt::ShiftModifier) || event->key() == Qt::Key_Backtab;
  const KeyPress press{keyOf(event->key()), shift,
                       event->modifiers().testFlag(Qt::ControlModifier)};
  switch (MainWindowKeyCommand(press, FocusedControl())) {
    case KeyCommand::kNone:
      QWidget::keyPressEvent(event);
      return;
    case KeyCommand::kFocusNext:
    case KeyCommand::kFocusPrevious:
      focusNextPrevChild(!press.shift);
      return;
    case KeyCommand::kNextPage:
    case KeyCommand::kPreviousPage:
      TurnPage(press.shift ? -1 : 1);
      return;
    case KeyCommand::kPressFocused:
      if (auto* button = qobject_cast<QAbstractButton*>(focusWidget())) button->click();
      return;
    case KeyCommand::kStartTestRun:
      events_.OnTestButtonClicked();
      return;
  }
}

void MainWindow::FillPeriodList() {
  for (const PeriodItem& item : PeriodItems()) {
    periodList_->addItem(FromGbk(item.caption), item.value);
  }
  periodList_->setCurrentIndex(0);
}

void MainWindow::BuildRowMenu() {
  rowMenu_ = new QMenu(this);
  rowMenu_->setObjectName(QString::fromUtf16(u"右键1"));
  connect(rowMenu_->addAction(QString::fromUtf16(u"持续 Ping")), &QAction::triggered, this,
          [this] { events_.OnContinuousPingChosen(); });
  rowMenu_->addSeparator();
  connect(rowMenu_->addAction(QString::fromUtf16(u"路由追踪")), &QAction::triggered, this,
          [this] { events_.OnRouteTraceChosen(); });
  rowMenu_->addSeparator();
  connect(rowMenu_->addAction(QString::fromUtf16(u"提醒…")), &QAction::triggered, this,
          [this] { events_.OnAlertChosen(); });
  rowMiniViewItem_ = rowMenu_->addAction(FromGbk(kMiniViewMenuText));
  connect(rowMiniViewItem_, &QAction::triggered, this, [this] { events_.OnMiniViewChosen(); });
  rowRemoveFromMiniViewItem_ = rowMenu_->addAction(FromGbk(kRemoveFromMiniViewMenuText));
  rowRemoveFromMiniViewItem_->setVisible(false);
  connect(rowRemoveFromMiniViewItem_, &QAction::triggered, this,
          [this] { events_.OnMiniViewRemoveChosen(); });
}

void MainWindow::BuildTray() {
  // The globe, as the program's icon on the desktop.
  tray_ = new QSystemTrayIcon(QIcon(QPixmap::fromImage(GlobePicture(32))), this);
  tray_->setObjectName(QStringLiteral("trayIcon"));
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("trayMenu"));
  connect(menu->addAction(FromGbk(ShowWindowMenuText())), &QAction::triggered, this,
          [this] { ShowFromTray(); });
  menu->addSeparator();
  trayMiniViewItem_ = menu->addAction(FromGbk(kMiniViewMenuText));
  trayMiniViewItem_->setCheckable(true);
  connect(trayMiniViewItem_, &QAction::triggered, this, [this] { events_.OnMiniViewToggled(); });
  trayClickThroughItem_ = menu->addAction(FromGbk(kClickThroughMenuText));
  trayClickThroughItem_->setCheckable(true);
  connect(trayClickThroughItem_, &QAction::triggered, this,
          [this] { events_.OnClickThroughToggled(); });
  // Last, where desktops put it.
  menu->addSeparator();
  connect(menu->addAction(FromGbk(QuitMenuText())), &QAction::triggered, this, [this] { Quit(); });
  tray_->setContextMenu(menu);
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
    if (why == QSystemTrayIcon::Trigger || why == QSystemTrayIcon::DoubleClick) ShowFromTray();
  });
}

void MainWindow::SetTrayToolTip(const QString& text) {
  tray_->setToolTip(text);
  ShowTrayWhenNeeded();
}

void MainWindow::SetMiniView(const NativeMiniView<QString>& view) {
  miniView_->Draw(view);
  trayMiniViewItem_->setChecked(view.shown);
  trayClickThroughItem_->setChecked(view.clickThrough);
  ShowTrayWhenNeeded();
}

void MainWindow::ShowTrayWhenNeeded() {
  const bool hiddenInTray = created_ && !isVisible();
  tray_->setVisible(!tray_->toolTip().isEmpty() || miniView_->Drawn().shown || hiddenInTray);
}

void MainWindow::ShowFromTray() {
  showNormal();
  raise();
  activateWindow();
}

void MainWindow::Quit() {
  quitting_ = true;
  close();
}

bool MainWindow::KeepsRunningInTray() {
  // Without a tray to come back from, a hidden window would be lost.
  if (!created_ || quitting_ || !trayAvailable_() || !tray_->isVisible() ||
      !events_.AlertsWatched()) {
    return false;
  }
  return QMessageBox::question(
             this, QStringLiteral("Vardelle"), FromGbk(KeepRunningInTrayQuestion()),
             QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

void MainWindow::BuildKeyListMenu() {
  keyListMenu_ = new QMenu(this);
  keyListMenu_->setObjectName(QStringLiteral("keyListMenu"));
  connect(keyListMenu_->addAction(QString::fromUtf16(u"测试选中的服务器")), &QAction::triggered,
          this, [this] { events_.OnGlobalTestChosen(false); });
  connect(keyListMenu_->addAction(QString::fromUtf16(u"测试全部服务器")), &QAction::triggered, this,
          [this] { events_.OnGlobalTestChosen(true); });
  keyListMenu_->addSection(QString::fromUtf16(u"测试地点"));
  auto* places = new QActionGroup(keyListMenu_);
  int index = 0;
  for (const GlobalPingPlace& place : GlobalPingPlaces()) {
    QAction* action = keyListMenu_->addAction(FromGbk(std::string(place.caption)));
    action->setCheckable(true);
    places->addAction(action);
    connect(action, &QAction::triggered, this,
            [this, index] { events_.OnGlobalPlaceChosen(index); });
    placeActions_.append(action);
    ++index;
  }
}

void MainWindow::CheckGlobalPingPlace(int placeIndex) {
  if (placeIndex >= 0 && placeIndex < placeActions_.size()) {
    placeActions_[placeIndex]->setChecked(true);
  }
}

void MainWindow::ShowRowMenu(int dx, int dy, bool listedInMiniView) {
  rowMiniViewItem_->setVisible(!listedInMiniView);
  rowRemoveFromMiniViewItem_->setVisible(listedInMiniView);
  rowMenu_->exec(QCursor::pos() + QPoint(dx, dy));
}

void MainWindow::ShowKeyListMenu(int checkedPlace) {
  CheckGlobalPingPlace(checkedPlace);
  keyListMenu_->exec(QCursor::pos());
}

void MainWindow::SetTableWidth(int tableWidth) {
  serverTable_->resize(tableWidth, serverTable_->height());
}

void MainWindow::SetRowWatchNote(RowId id, const QString& note) {
  QTreeWidgetItem* item = serverTable_->RowWithId(id);
  if (!item) return;
  const QString tip = PlainTextToolTip(note);
  const bool locationHasItsOwn = item->data(kLocationColumn, kLocationNoteRole).toBool();
  for (int column = 0; column < serverTable_->columnCount(); ++column) {
    if (column == kLatencyColumn || (column == kLocationColumn && locationHasItsOwn)) continue;
    item->setToolTip(column, tip);
  }
}

void MainWindow::SetLocationNote(RowId id, const QString& note) {
  QTreeWidgetItem* item = serverTable_->RowWithId(id);
  if (!item) return;
  item->setData(kLocationColumn, kLocationNoteRole, !note.isEmpty());
  // Without a note of its own the cell shows the row's, as the name cell does.
  item->setToolTip(kLocationColumn,
                   note.isEmpty() ? item->toolTip(kNameColumn) : PlainTextToolTip(note));
}

void MainWindow::ConnectEvents() {
  connect(serverTable_, &ReportView::HeaderClicked, this,
          [this](int column) { events_.OnHeaderClicked(column); });
  connect(serverTable_, &ReportView::RowActivated, this, [this] { events_.OnRowActivated(); });
  connect(serverTable_, &QWidget::customContextMenuRequested, this,
          [this] { events_.OnRowRightClicked(); });
  connect(keyList_, &ReportView::RowActivated, this, [this] { events_.OnKeyListRowActivated(); });
  connect(keyList_, &QWidget::customContextMenuRequested, this,
          [this] { events_.OnKeyListRightClicked(); });
  // Every choice counts, the same item again included; the period rule sorts that out.
  connect(periodList_, &QComboBox::activated, this, [this] { events_.OnPeriodChanged(); });
  connect(testButton_, &QPushButton::clicked, this, [this] { events_.OnTestButtonClicked(); });
  connect(settingsButton_, &QPushButton::clicked, this, [this] { events_.OnSettingsChosen(); });
  connect(timer_, &PeriodTimer::Elapsed, this, [this] { events_.OnTimerElapsed(); });
  updateLabel_->installEventFilter(this);
}

void MainWindow::PlaceOnScreen() {
  resize(kWindowPlace.width, kWindowPlace.height);
  move(kWindowPlace.x, kWindowPlace.y);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == updateLabel_ && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    events_.OnUpdateLabelPressed();
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceControls();
  if (created_) events_.OnResized();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (KeepsRunningInTray()) {
    hide();
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
  emit Closed();
}

}  // namespace vardelle::ui
