#include "ui/qt/status_label.h"

#include <QFontMetrics>

namespace vardelle::ui {

StatusLabel::StatusLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setWordWrap(false);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void StatusLabel::SetFullText(const QString& text) {
  fullText_ = text;
  ShowFitting();
}

void StatusLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  ShowFitting();
}

void StatusLabel::ShowFitting() {
  // Line breaks in a message would push the rest out of a one-line label.
  QString line = fullText_;
  line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
  const QString shown = fontMetrics().elidedText(line, Qt::ElideRight, contentsRect().width());
  setText(shown);
  setToolTip(shown == line ? QString() : fullText_);
}

}  // namespace vardelle::ui
