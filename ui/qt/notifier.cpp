#include "ui/qt/notifier.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>
#include <utility>
#include <vector>

#include "ui/qt/window_text.h"

namespace vardelle::ui {
namespace {

// The server decides how long a notification stays.
constexpr int kServerChosenTimeout = -1;

QDBusMessage ServiceCall(const QString& method) {
  return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
                                        QStringLiteral("/org/freedesktop/Notifications"),
                                        QStringLiteral("org.freedesktop.Notifications"), method);
}

QDBusMessage NotifyCall(const QString& title, const QString& body) {
  QDBusMessage call = ServiceCall(QStringLiteral("Notify"));
  call << QStringLiteral("Vardelle") << 0u << QStringLiteral("vardelle") << title << body
       << QStringList() << QVariantMap() << kServerChosenTimeout;
  return call;
}

// The body markup is a small XML-like subset: these five are all that make text markup.
QString EscapedForMarkup(const QString& text) {
  return text.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&#39;"));
}

}  // namespace

struct DesktopNotifier::Service : std::enable_shared_from_this<Service> {
  enum class Markup { kNotAsked, kAsking, kRead, kNotRead };

  explicit Service(QDBusConnection connection) : bus(std::move(connection)) {}

  // Notices wait while the capabilities are asked for.
  void Deliver(const QString& title, const QString& body) {
    if (markup == Markup::kNotAsked) AskCapabilities();
    if (markup == Markup::kAsking) {
      waiting.emplace_back(title, body);
    } else {
      bus.send(NotifyCall(title, markup == Markup::kRead ? EscapedForMarkup(body) : body));
    }
  }

  void AskCapabilities() {
    markup = Markup::kAsking;
    auto* watcher =
        new QDBusPendingCallWatcher(bus.asyncCall(ServiceCall(QStringLiteral("GetCapabilities"))),
                                    QCoreApplication::instance());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                     [self = shared_from_this(), watcher] {
                       self->Answered(QDBusPendingReply<QStringList>(*watcher));
                       watcher->deleteLater();
                     });
  }

  void Answered(const QDBusPendingReply<QStringList>& reply) {
    const bool plain = reply.isValid() && !reply.value().contains(QStringLiteral("body-markup"));
    markup = plain ? Markup::kNotRead : Markup::kRead;
    for (const auto& [title, body] : std::exchange(waiting, {})) Deliver(title, body);
  }

  QDBusConnection bus;
  Markup markup = Markup::kNotAsked;
  std::vector<std::pair<QString, QString>> waiting;
};

DesktopNotifier::DesktopNotifier(QDBusConnection bus)
    : service_(std::make_shared<Service>(std::move(bus))) {}

void DesktopNotifier::Notify(const AlertNotice& notice) {
  QCoreApplication* application = QCoreApplication::instance();
  if (!application) return;
  QMetaObject::invokeMethod(
      application,
      [service = service_, title = FromGbk(notice.title), body = FromGbk(notice.body)] {
        service->Deliver(title, body);
      },
      Qt::QueuedConnection);
}

}  // namespace vardelle::ui
