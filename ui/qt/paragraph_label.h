// A label for a long text of several paragraphs: wraps its lines and advances them by the
// font's pixel size plus one, the line pitch of the 宋体 face the layout was sized for.
// Fallback faces carry taller line boxes that would push the last lines out of the box.
#pragma once

#include <QLabel>

namespace vardelle::ui {

class ParagraphLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace vardelle::ui
