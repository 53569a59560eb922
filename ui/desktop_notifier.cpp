#include "ui/desktop_notifier.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

#include "ui/gbk_text.h"

namespace vardelle::ui {
namespace {

// The server decides how long a notification stays.
constexpr int kServerChosenTimeout = -1;

QDBusMessage NotifyCall(const QString& title, const QString& body) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"),
      QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  call << QStringLiteral("Vardelle") << 0u << QStringLiteral("vardelle") << title << body
       << QStringList() << QVariantMap() << kServerChosenTimeout;
  return call;
}

}  // namespace

DesktopNotifier::DesktopNotifier(QDBusConnection bus) : bus_(std::move(bus)) {}

void DesktopNotifier::Notify(const AlertNotice& notice) {
  QCoreApplication* application = QCoreApplication::instance();
  if (!application) return;
  QMetaObject::invokeMethod(
      application,
      [bus = bus_, title = FromGbk(notice.title), body = FromGbk(notice.body)] {
        bus.send(NotifyCall(title, body));
      },
      Qt::QueuedConnection);
}

}  // namespace vardelle::ui
