#include "ui/qt/paragraph_label.h"

#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>

namespace vardelle::ui {

void ParagraphLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(foregroundRole()));
  const int pitch = QFontInfo(font()).pixelSize() + 1;
  const QRect area = contentsRect();
  int y = 0;
  static const QRegularExpression kLineBreak(QStringLiteral("\r\n|\r|\n"));
  for (const QString& paragraph : text().split(kLineBreak)) {
    QTextLayout layout(paragraph, font());
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(area.width());
      line.setPosition(QPointF(0, y));
      y += pitch;
    }
    layout.endLayout();
    layout.draw(&painter, area.topLeft());
  }
}

}  // namespace vardelle::ui
