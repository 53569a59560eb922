#include "ui/qt/mini_view.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/qt/report_view.h"
#include "ui/qt/window_text.h"

namespace vardelle::ui {
namespace {

constexpr int kPadding = 4;
// See-through enough to show the game behind it, solid enough to read.
constexpr double kOpacity = 0.8;
constexpr Qt::WindowFlags kWindowFlags =
    Qt::Tool | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;

}  // namespace

MiniView::MiniView(MainWindowEvents& events) : QWidget(nullptr, kWindowFlags), events_(events) {
  setObjectName(QStringLiteral("miniView"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  setWindowOpacity(kOpacity);
  menu_ = new QMenu(this);
  clickThroughItem_ = menu_->addAction(FromGbk(kClickThroughMenuText));
  clickThroughItem_->setCheckable(true);
  connect(clickThroughItem_, &QAction::triggered, this,
          [this] { events_.OnClickThroughToggled(); });
  removeItem_ = menu_->addAction(FromGbk(kRemoveFromMiniViewMenuText));
  connect(removeItem_, &QAction::triggered, this,
          [this] { events_.OnMiniViewLineRemoveChosen(ToGbkText(menuServer_)); });
}

void MiniView::Draw(const NativeMiniView<QString>& view) {
  if (view.clickThrough != drawn_.clickThrough) SetClickThrough(view.clickThrough);
  clickThroughItem_->setChecked(view.clickThrough);
  // Moved only to a new place, so a draw during a drag does not pull it back.
  if (view.place && view.place != drawn_.place) move(view.place->x, view.place->y);
  drawn_ = view;
  const QFontMetrics metrics = fontMetrics();
  int width = 0;
  for (const auto& row : drawn_.rows)
    width = std::max(width, metrics.horizontalAdvance(LineText(row)));
  resize(width + 2 * kPadding,
         LineHeight() * std::max<int>(1, static_cast<int>(drawn_.rows.size())) + 2 * kPadding);
  setVisible(drawn_.shown);
  update();
}

// A changed window flag takes effect when the window is shown anew.
void MiniView::SetClickThrough(bool clickThrough) {
  const bool shown = isVisible();
  setWindowFlag(Qt::WindowTransparentForInput, clickThrough);
  if (shown) show();
}

QString MiniView::LineText(const NativeMiniView<QString>::Row& row) const {
  return row.name + QStringLiteral("  ") + row.latency;
}

int MiniView::LineHeight() const { return fontMetrics().height() + kPadding; }

QRect MiniView::LinePlace(size_t line) const {
  const int lineHeight = LineHeight();
  return QRect(0, kPadding + static_cast<int>(line) * lineHeight, width(), lineHeight);
}

std::optional<QString> MiniView::ServerAt(QPoint point) const {
  for (size_t line = 0; line < drawn_.rows.size(); ++line) {
    if (LinePlace(line).contains(point)) return drawn_.rows[line].name;
  }
  return std::nullopt;
}

void MiniView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  for (size_t line = 0; line < drawn_.rows.size(); ++line) {
    const auto& row = drawn_.rows[line];
    const QRect place = LinePlace(line);
    if (row.backColour != kDefaultColour) painter.fillRect(place, ToQColor(row.backColour));
    painter.setPen(row.textColour != kDefaultColour ? ToQColor(row.textColour)
                                                    : palette().windowText().color());
    painter.drawText(place.adjusted(kPadding, 0, -kPadding, 0), Qt::AlignVCenter, LineText(row));
  }
}

void MiniView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) grip_ = event->globalPosition().toPoint() - pos();
}

void MiniView::mouseMoveEvent(QMouseEvent* event) {
  if (grip_) move(event->globalPosition().toPoint() - *grip_);
}

void MiniView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !grip_) return;
  // From the mouse, not pos(): the platform may not have told the window its move yet.
  const QPoint place = event->globalPosition().toPoint() - *grip_;
  grip_.reset();
  events_.OnMiniViewMoved({place.x(), place.y()});
}

// Taken now: the lines may change while the menu is open.
void MiniView::contextMenuEvent(QContextMenuEvent* event) {
  const std::optional<QString> server = ServerAt(event->pos());
  menuServer_ = server.value_or(QString());
  removeItem_->setVisible(server.has_value());
  menu_->exec(event->globalPos());
}

}  // namespace vardelle::ui
