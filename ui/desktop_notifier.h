// Alerts as desktop notifications: the freedesktop notification service, over the session
// bus.
#pragma once

#include <QDBusConnection>
#include <QString>

#include "app/alerts/alert_watching.h"

namespace vardelle::ui {

class DesktopNotifier final : public AlertNotifier {
 public:
  // bus: the session bus, or a test's own. Needs a QApplication for as long as it is called.
  explicit DesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus());

  // From any thread; the message is sent from the application's thread, since a bus
  // connection is not for several threads, and without waiting for an answer. Without a
  // notification service the notice is lost, as every desktop program's is.
  void Notify(const AlertNotice& notice) override;

 private:
  QDBusConnection bus_;
};

}  // namespace vardelle::ui
