// Alerts reach the freedesktop notification service: a bus of the test's own, where the test
// plays the service and records every call it gets.
#include "ui/desktop_notifier.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QTest>
#include <mutex>
#include <thread>
#include <vector>

#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

using testing::Text;

class NotificationService : public QDBusVirtualObject {
 public:
  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    calls.push_back(message);
    connection.send(message.createReply(QVariantList{static_cast<uint>(calls.size())}));
    return true;
  }
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

TEST(DesktopNotifierTest, NoticesFromAnyThreadBecomeNotifyCallsOfTheService) {
  testing::TestApplication();
  PrivateBus bus;
  ASSERT_FALSE(bus.Address().isEmpty()) << "dbus-daemon did not start";
  QDBusConnection serviceSide = QDBusConnection::connectToBus(bus.Address(), "service side");
  QDBusConnection programSide = QDBusConnection::connectToBus(bus.Address(), "program side");
  ASSERT_TRUE(serviceSide.isConnected());
  ASSERT_TRUE(programSide.isConnected());
  NotificationService service;
  ASSERT_TRUE(serviceSide.registerService(QStringLiteral("org.freedesktop.Notifications")));
  ASSERT_TRUE(serviceSide.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"),
                                                &service));

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
  EXPECT_EQ(arguments[3].toString(), Text(u"电信15区（127.0.0.16）"));
  EXPECT_EQ(arguments[4].toString(), Text(u"大区状态：维护 → 正常"));
  EXPECT_EQ(arguments[7].toInt(), -1);
  EXPECT_EQ(service.calls[1].arguments()[4].toString(), Text(u"延迟超过 150ms，当前 超时"));

  serviceSide.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
  QDBusConnection::disconnectFromBus("service side");
  QDBusConnection::disconnectFromBus("program side");
}

}  // namespace
}  // namespace vardelle::ui
