#include "ui/qt/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace vardelle::ui {
namespace {

QImage BlankImage(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

// Painter in a 16-unit coordinate system, so every icon is drawn once for all sizes.
class IconPainter : public QPainter {
 public:
  explicit IconPainter(QImage& image) : QPainter(&image) {
    setRenderHint(QPainter::Antialiasing);
    scale(image.width() / 16.0, image.height() / 16.0);
  }
};

QPen Pen(QColor colour, double width) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

}  // namespace

QImage GlobePicture(int side) {
  QImage image = BlankImage(side, side);
  IconPainter p(image);
  const QRectF ball(1, 1, 14, 14);
  QRadialGradient sea(QPointF(6, 5.5), 10);
  sea.setColorAt(0, QColor(0x8f, 0xd3, 0xff));
  sea.setColorAt(1, QColor(0x15, 0x5f, 0xb8));
  p.setPen(Qt::NoPen);
  p.setBrush(sea);
  p.drawEllipse(ball);
  const QColor grid(255, 255, 255, 190);
  p.setPen(Pen(grid, 0.6));
  p.setBrush(Qt::NoBrush);
  for (double half : {2.5, 5.0}) p.drawEllipse(QRectF(8 - half, 1, 2 * half, 14));
  p.drawLine(QPointF(8, 1), QPointF(8, 15));
  for (double y : {4.5, 8.0, 11.5}) {
    const double dy = y - 8;
    const double half = std::sqrt(49 - dy * dy);
    p.drawLine(QPointF(8 - half, y), QPointF(8 + half, y));
  }
  p.setPen(Pen(QColor(0x0b, 0x3d, 0x7a), 0.8));
  p.drawEllipse(ball);
  return image;
}

QImage PieChartPicture(int side) {
  QImage image = BlankImage(side, side);
  IconPainter p(image);
  const QRectF disc(1, 1, 14, 14);
  struct Slice {
    int startDegrees, spanDegrees;
    QColor colour;
  };
  const Slice slices[] = {{90, 150, QColor(0x2e, 0x8b, 0xe6)},
                          {240, 80, QColor(0xf2, 0xb1, 0x1b)},
                          {320, 130, QColor(0x3c, 0xb3, 0x4a)}};
  p.setPen(Pen(Qt::white, 0.7));
  for (const Slice& slice : slices) {
    p.setBrush(slice.colour);
    p.drawPie(disc, slice.startDegrees * 16, slice.spanDegrees * 16);
  }
  return image;
}

QImage SpeechBubblePicture(int side) {
  QImage image = BlankImage(side, side);
  IconPainter p(image);
  QPainterPath bubble;
  bubble.addRoundedRect(QRectF(1, 2, 14, 9.5), 3, 3);
  QPainterPath tail;
  tail.moveTo(4, 10);
  tail.lineTo(3.5, 14.5);
  tail.lineTo(8, 10);
  tail.closeSubpath();
  p.setPen(Pen(QColor(0x1f, 0x6f, 0xc5), 0.9));
  p.setBrush(QColor(0xf4, 0xf9, 0xff));
  p.drawPath(bubble.united(tail));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1f, 0x6f, 0xc5));
  for (double x : {5.0, 8.0, 11.0}) p.drawEllipse(QPointF(x, 6.75), 0.9, 0.9);
  return image;
}

QImage RefreshPicture(int side) {
  QImage image = BlankImage(side, side);
  IconPainter p(image);
  const QColor green(0x1e, 0xa0, 0x3c);
  const QRectF circle(2.5, 2.5, 11, 11);
  p.setBrush(Qt::NoBrush);
  p.setPen(Pen(green, 1.8));
  // Each arrow covers a bit less than half the circle and ends in a head pointing
  // along the turning direction (anticlockwise on screen).
  for (int start : {20, 200}) p.drawArc(circle, start * 16, 130 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(green);
  for (int end : {150, 330}) {
    p.save();
    p.translate(8, 8);
    p.rotate(-end);
    p.drawPolygon(QPolygonF({QPointF(3.3, 0.4), QPointF(7.7, 0.4), QPointF(5.5, -3.2)}));
    p.restore();
  }
  return image;
}

QImage RowIconPicture(RowIcon icon, int side) {
  constexpr qreal kLayoutSide = 12;
  struct Colours {
    QColor fill, rim;
  };
  static const Colours kColours[] = {{QColor(0x35, 0xc2, 0x3e), QColor(0x1b, 0x7a, 0x22)},
                                     {QColor(0xa6, 0xa6, 0xa6), QColor(0x6e, 0x6e, 0x6e)},
                                     {QColor(0xf5, 0xc8, 0x1a), QColor(0xa8, 0x84, 0x00)}};
  const Colours& colours = kColours[static_cast<int>(icon)];
  QImage image = BlankImage(side, side);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(side / kLayoutSide, side / kLayoutSide);
  p.setPen(QPen(colours.rim, 1));
  p.setBrush(colours.fill);
  p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
  return image;
}

QImage HeaderArrowPicture(HeaderArrow arrow) {
  if (arrow == HeaderArrow::kNone) return {};
  QImage image = BlankImage(8, 7);
  {
    QPainter p(&image);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawPolygon(QPolygon({QPoint(3, 0), QPoint(4, 0), QPoint(7, 6), QPoint(0, 6)}));
  }
  return arrow == HeaderArrow::kUp ? image : image.mirrored(false, true);
}

}  // namespace vardelle::ui
