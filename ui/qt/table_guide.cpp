#include "ui/qt/table_guide.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/settings_dialog/settings_dialog.h"
#include "ui/qt/window_text.h"

namespace vardelle::ui {

TableGuide::TableGuide(QWidget* table, std::function<void()> openSettings) : QFrame(table) {
  setObjectName(QStringLiteral("tableGuide"));
  auto* column = new QVBoxLayout(this);
  text_ = new QLabel(this);
  text_->setObjectName(QStringLiteral("tableGuideText"));
  text_->setTextFormat(Qt::PlainText);
  text_->setAlignment(Qt::AlignCenter);
  button_ = new QPushButton(FromGbk(kSettingsCaption), this);
  button_->setObjectName(QStringLiteral("tableGuideButton"));
  column->addWidget(text_);
  column->addWidget(button_, 0, Qt::AlignHCenter);
  connect(button_, &QPushButton::clicked, this, [openSettings] { openSettings(); });
  table->installEventFilter(this);
  hide();
}

void TableGuide::SetText(const QString& text) {
  text_->setText(text);
  setVisible(!text.isEmpty());
  if (!text.isEmpty()) Centre();
}

void TableGuide::Centre() {
  adjustSize();
  const QWidget* table = parentWidget();
  move((table->width() - width()) / 2, (table->height() - height()) / 2);
}

bool TableGuide::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible()) Centre();
  return QFrame::eventFilter(watched, event);
}

}  // namespace vardelle::ui
