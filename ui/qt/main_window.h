// The main window: its controls as the fixed layout places them, and the wiring of their
// events to the application's handlers.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "app/application/application.h"
#include "app/view/main_window_view.h"
#include "app/view/window_keys.h"
#include "ui/qt/mini_view.h"
#include "ui/qt/period_timer.h"
#include "ui/qt/report_view.h"
#include "ui/qt/statistics_columns.h"
#include "ui/qt/status_label.h"
#include "ui/qt/tab_control.h"
#include "ui/qt/table_guide.h"

namespace vardelle::ui {

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(MainWindowEvents& events);

  // Puts the window at its fixed place with a client area of the layout's size.
  void PlaceOnScreen();
  // From now on size changes reach the application, which has its view by then.
  void MarkCreated() { created_ = true; }

  ReportView& ServerTable() { return *serverTable_; }
  ReportView& KeyList() { return *keyList_; }
  QComboBox& PeriodList() { return *periodList_; }
  int PeriodSelection() const { return periodList_->currentIndex(); }
  int PeriodItemValue(int index) const { return periodList_->itemData(index).toInt(); }
  PeriodTimer& Timer() { return *timer_; }
  QPushButton& TestButton() { return *testButton_; }
  void FocusTestButton() { testButton_->setFocus(); }
  QMenu& RowMenu() { return *rowMenu_; }
  QMenu& KeyListMenu() { return *keyListMenu_; }
  // The row menu at the mouse moved by (dx, dy), with 移出小窗 in place of 小窗 for rows the
  // mini view lists, and the key list's with the place of checkedPlace checked; each returns
  // when its menu closes.
  void ShowRowMenu(int dx, int dy, bool listedInMiniView);
  void ShowKeyListMenu(int checkedPlace);
  void SelectPeriod(int index) { periodList_->setCurrentIndex(index); }
  QPushButton& SettingsButton() { return *settingsButton_; }
  // The empty table's guide: shown with text, hidden for an empty text.
  void SetTableGuide(const QString& text) { tableGuide_->SetText(text); }
  TableGuide& Guide() { return *tableGuide_; }
  int ClientWidth() const { return width(); }
  void SetTableWidth(int tableWidth);
  // The row's tooltip outside the latency cell, which keeps its statistics, and the location
  // cell while it has a note of its own.
  void SetRowWatchNote(RowId id, const QString& note);
  // The location cell's own tooltip; "" gives it the row's again.
  void SetLocationNote(RowId id, const QString& note);
  StatusLabel& StatusLine() { return *statusLabel_; }
  StatusLabel& KeyListStatusLine() { return *keyListStatusLabel_; }
  StatisticsColumns& Statistics() { return *statisticsColumns_; }
  QSystemTrayIcon& Tray() { return *tray_; }
  MiniView& Mini() { return *miniView_; }
  void SetMiniView(const NativeMiniView<QString>& view);

  // The notification-area icon: shown with text as its tooltip, hidden for an empty text.
  void SetTrayToolTip(const QString& text);
  // Closes the window for good: no offer to keep running in the tray.
  void Quit();
  // Whether the desktop shows tray icons; tests answer for a desktop they have not.
  void SetTrayAvailability(std::function<bool()> available) {
    trayAvailable_ = std::move(available);
  }

 signals:
  void Closed();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The keys the focused control leaves to the window (MainWindowKeyCommand).
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void SetFocusOrder();
  std::optional<Control> FocusedControl() const;
  QWidget* ControlWidget(Control control) const;
  // Every control at its place in the window as large as it is now.
  void PlaceControls();
  void TurnPage(int step);
  void BuildControls();
  void FillPeriodList();
  void BuildRowMenu();
  void BuildKeyListMenu();
  // Checks the place of that index in the key list's menu.
  void CheckGlobalPingPlace(int placeIndex);
  void ConnectEvents();
  void BuildTray();
  // True when the player chose to keep the program running in the tray.
  bool KeepsRunningInTray();
  void ShowFromTray();
  // The icon shows while it has a tooltip, the mini view shows (its menu is the way back from
  // click-through) or the window is hidden there.
  void ShowTrayWhenNeeded();

  MainWindowEvents& events_;
  bool created_ = false;
  bool quitting_ = false;
  TabControl* tabs_ = nullptr;
  ReportView* serverTable_ = nullptr;
  ReportView* keyList_ = nullptr;
  QComboBox* periodList_ = nullptr;
  QPushButton* testButton_ = nullptr;
  QPushButton* settingsButton_ = nullptr;
  TableGuide* tableGuide_ = nullptr;
  QLabel* updateLabel_ = nullptr;
  StatusLabel* statusLabel_ = nullptr;
  StatusLabel* keyListStatusLabel_ = nullptr;
  PeriodTimer* timer_ = nullptr;
  QMenu* rowMenu_ = nullptr;
  QAction* rowMiniViewItem_ = nullptr;
  QAction* rowRemoveFromMiniViewItem_ = nullptr;
  QMenu* keyListMenu_ = nullptr;
  QList<QAction*> placeActions_;
  StatisticsColumns* statisticsColumns_ = nullptr;
  QSystemTrayIcon* tray_ = nullptr;
  QAction* trayMiniViewItem_ = nullptr;
  QAction* trayClickThroughItem_ = nullptr;
  // A window of its own, not a child: it stays over the game while this one is minimised.
  std::unique_ptr<MiniView> miniView_;
  std::function<bool()> trayAvailable_ = QSystemTrayIcon::isSystemTrayAvailable;
};

}  // namespace vardelle::ui
