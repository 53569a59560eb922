// Alerts as desktop notifications: the freedesktop notification service, over the session
// bus.
#pragma once

#include <QDBusConnection>
#include <QString>
#include <memory>

#include "app/alerts/alert_watching.h"

namespace vardelle::ui {

class DesktopNotifier final : public AlertNotifier {
 public:
  // bus: the session bus, or a test's own. Needs a QApplication for as long as it is called.
  explicit DesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus());

  // From any thread; the message is sent from the application's thread, since a bus
  // connection is not for several threads, and without waiting for an answer. Without a
  // notification service the notice is lost, as every desktop program's is.
  //
  // The body holds server names and status words from the network. A service that reads
  // markup in bodies (it lists "body-markup" among its capabilities, asked once before the
  // first notice) gets them escaped, so they show as text and never as a link or an image;
  // one that does not gets them as they are. Should the question fail, bodies are escaped.
  void Notify(const AlertNotice& notice) override;

 private:
  struct Service;
  std::shared_ptr<Service> service_;  // used on the application's thread only
};

}  // namespace vardelle::ui
