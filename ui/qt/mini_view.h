// The mini view (小窗): a small borderless window over the game, always on top, half see-
// through and never taking the focus, that lists the chosen servers in their rows' colours.
// Dragged with the left button; its right-click menu holds 点击穿透 and, over a server's
// line, 移出小窗 for that server.
#pragma once

#include <QMenu>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cstddef>
#include <optional>

#include "app/view/main_window_view.h"
#include "ui/window_view_core.h"

namespace vardelle::ui {

class MiniView final : public QWidget {
 public:
  explicit MiniView(MainWindowEvents& events);

  void Draw(const NativeMiniView<QString>& view);
  const NativeMiniView<QString>& Drawn() const { return drawn_; }
  // Where a line is drawn, in the window's coordinates.
  QRect LinePlace(size_t line) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void SetClickThrough(bool clickThrough);
  QString LineText(const NativeMiniView<QString>::Row& row) const;
  int LineHeight() const;
  // The server whose line is at point, if any.
  std::optional<QString> ServerAt(QPoint point) const;

  MainWindowEvents& events_;
  NativeMiniView<QString> drawn_;
  QMenu* menu_ = nullptr;
  QAction* clickThroughItem_ = nullptr;
  QAction* removeItem_ = nullptr;
  // The server of the line the menu was opened on: what 移出小窗 takes out.
  QString menuServer_;
  // Where the mouse took hold of the window, relative to its corner, while dragging.
  std::optional<QPoint> grip_;
};

}  // namespace vardelle::ui
