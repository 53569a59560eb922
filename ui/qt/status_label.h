// A one-line label that shortens a text too long for it with "…" instead of wrapping;
// the whole text stays readable in its tool tip.
#pragma once

#include <QLabel>
#include <QString>

namespace vardelle::ui {

class StatusLabel : public QLabel {
  Q_OBJECT

 public:
  explicit StatusLabel(QWidget* parent);

  void SetFullText(const QString& text);
  const QString& FullText() const { return fullText_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowFitting();

  QString fullText_;
};

}  // namespace vardelle::ui
