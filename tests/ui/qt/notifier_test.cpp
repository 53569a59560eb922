// Alerts reach the freedesktop notification service: a bus of the test's own, where the test
// plays the service and records every call it gets.
#include "ui/qt/notifier.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QTest>
#include <mutex>
#include <thread>
#include <vector>

#include "ui/qt/window_text.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

using testing::QText;

// Answers GetCapabilities with its capabilities and records every Notify call.
class NotificationService : public QDBusVirtualObject {
 public:
  explicit NotificationService(QStringList offered = {QStringLiteral("body")})
      : capabilities(std::move(offered)) {}
  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.member() == QStringLiteral("GetCapabilities")) {
      ++capabilityQuestions;
      connection.send(message.createReply(QVariant(capabilities)));
      return true;
    }
    calls.push_back(message);
    connection.send(message.createReply(QVariantList{static_cast<uint>(calls.size())}));
    return true;
  }
  const QStringList capabilities;
  int capabilityQuestions = 0;
  std::vector<QDBusMessage> calls;
};

// A session bus daemon of the test's own, ended with the test.
class PrivateBus {
 public:
  PrivateBus() {
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"),
                   QStringLiteral("--print-address")});
    if (daemon_.waitForStarted(30000) && daemon_.waitForReadyRead(30000)) {
      address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
  }
  ~PrivateBus() {
    daemon_.kill();
    daemon_.waitForFinished(30000);
  }
  const QString& Address() const { return address_; }

 private:
  QProcess daemon_;
  QString address_;
};

// The service on a private bus, and the program's side of that bus.
class ServiceOnPrivateBus {
 public:
  explicit ServiceOnPrivateBus(QStringList capabilities) : service(std::move(capabilities)) {
    testing::TestApplication();
    EXPECT_FALSE(bus_.Address().isEmpty()) << "dbus-daemon did not start";
    serviceSide_ = QDBusConnection::connectToBus(bus_.Address(), "service side");
    EXPECT_TRUE(serviceSide_.isConnected());
    EXPECT_TRUE(serviceSide_.registerService(QStringLiteral("org.freedesktop.Notifications")));
    EXPECT_TRUE(serviceSide_.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"),
                                                   &service));
  }
  ~ServiceOnPrivateBus() {
    serviceSide_.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    QDBusConnection::disconnectFromBus("service side");
    QDBusConnection::disconnectFromBus("program side");
  }
  QDBusConnection ProgramSide() const {
    return QDBusConnection::connectToBus(bus_.Address(), "program side");
  }

  NotificationService service;

 private:
  PrivateBus bus_;
  QDBusConnection serviceSide_{QString()};
};

TEST(DesktopNotifierTest, NoticesFromAnyThreadBecomeNotifyCallsOfTheService) {
  ServiceOnPrivateBus onBus({QStringLiteral("body")});
  const QDBusConnection programSide = onBus.ProgramSide();
  ASSERT_TRUE(programSide.isConnected());
  NotificationService& service = onBus.service;

  DesktopNotifier notifier(programSide);
  std::thread writer([&] {
    notifier.Notify({"电信15区（127.0.0.16）", "大区状态：维护 → 正常"});
    notifier.Notify({"网通01区（127.0.0.22）", "延迟超过 150ms，当前 超时"});
  });
  writer.join();
  EXPECT_TRUE(QTest::qWaitFor([&] { return service.calls.size() == 2; }, 30000));

  ASSERT_EQ(service.calls.size(), 2u);
  const QDBusMessage& call = service.calls[0];
  EXPECT_EQ(call.interface(), QStringLiteral("org.freedesktop.Notifications"));
  EXPECT_EQ(call.member(), QStringLiteral("Notify"));
  EXPECT_EQ(call.signature(), QStringLiteral("susssasa{sv}i"));
  const QVariantList arguments = call.arguments();
  ASSERT_EQ(arguments.size(), 8);
  EXPECT_EQ(arguments[0].toString(), QStringLiteral("Vardelle"));
  EXPECT_EQ(arguments[1].toUInt(), 0u);  // a new notification, replacing none
  EXPECT_EQ(arguments[3].toString(), QText(u"电信15区（127.0.0.16）"));
  EXPECT_EQ(arguments[4].toString(), QText(u"大区状态：维护 → 正常"));
  EXPECT_EQ(arguments[7].toInt(), -1);
  EXPECT_EQ(service.calls[1].arguments()[4].toString(), QText(u"延迟超过 150ms，当前 超时"));
  EXPECT_EQ(service.capabilityQuestions, 1);
}

// A status word from the network holding markup: escaped for a service that reads markup in
// bodies, as it is for one that shows bodies as plain text; the title is plain text always.
TEST(DesktopNotifierTest, BodiesAreEscapedForServicesThatReadMarkup) {
  const std::string hostile =
      "大区状态：<a href=\"https://x.example/?a=1&b=2\">维护</a> <img src='file:///etc/passwd'/>";
  const QString escaped = QText(
      u"大区状态：&lt;a href=&quot;https://x.example/?a=1&amp;b=2&quot;&gt;维护&lt;/a&gt; "
      u"&lt;img src=&#39;file:///etc/passwd&#39;/&gt;");
  struct Case {
    QStringList capabilities;
    QString body;
  };
  const Case cases[] = {
      {{QStringLiteral("body"), QStringLiteral("body-markup")}, escaped},
      {{QStringLiteral("body"), QStringLiteral("actions")}, FromGbk(hostile)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.capabilities.join(u',').toStdString());
    ServiceOnPrivateBus onBus(c.capabilities);
    const QDBusConnection programSide = onBus.ProgramSide();
    ASSERT_TRUE(programSide.isConnected());
    DesktopNotifier notifier(programSide);
    notifier.Notify({"<b>电信15区</b>", hostile});
    notifier.Notify({"电信15区", hostile});
    EXPECT_TRUE(QTest::qWaitFor([&] { return onBus.service.calls.size() == 2; }, 30000));
    ASSERT_EQ(onBus.service.calls.size(), 2u);
    EXPECT_EQ(onBus.service.capabilityQuestions, 1);
    EXPECT_EQ(onBus.service.calls[0].arguments()[3].toString(), QText(u"<b>电信15区</b>"));
    for (const QDBusMessage& call : onBus.service.calls) {
      EXPECT_EQ(call.arguments()[4].toString(), c.body);
    }
  }
}

}  // namespace
}  // namespace vardelle::ui
