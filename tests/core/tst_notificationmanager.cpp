#include "TestEnvironment.h"
#include "TestLog.h"
#include "core/LogManager.h"
#include "core/NotificationManager.h"
#include "core/SettingsStore.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QTest>

// Stands in for the desktop's notification server on the private session bus of the test run.
class FakeNotificationServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Call
    {
        QString appName, appIcon, summary, body;
        uint replacesId;
        QVariantMap hints;
        int timeout;
    };
    QList<Call> calls;

public Q_SLOTS:
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &, const QVariantMap &hints, int timeout)
    {
        calls.append({appName, appIcon, summary, body, replacesId, hints, timeout});
        return uint(calls.size());
    }
};

namespace {
const QString serviceName = QStringLiteral("org.freedesktop.Notifications");

} // namespace

class TestNotificationManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        // A connection of its own, so every call really goes through the bus daemon.
        m_bus = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-server")));
        QVERIFY2(m_bus->isConnected(), "the tests run under dbus-run-session");
        m_server = std::make_unique<FakeNotificationServer>();
        QVERIFY(m_bus->registerObject(QStringLiteral("/org/freedesktop/Notifications"), m_server.get(),
                                      QDBusConnection::ExportAllSlots));
        QVERIFY(m_bus->registerService(serviceName));
    }
    void cleanup()
    {
        m_bus->unregisterService(serviceName);
        m_bus->unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-server"));
        m_bus.reset();
        m_server.reset();
    }

    void postsEscapedText()
    {
        TestEnvironment env;
        NotificationManager::requestAuth();
        NotificationManager::notify(QStringLiteral("Download complete"), QStringLiteral("Tom & Jerry <b>live</b> > 1"));
        QTRY_COMPARE(m_server->calls.size(), 1);
        const auto &call = m_server->calls.first();
        QCOMPARE(call.appName, QStringLiteral("Morvane"));
        QCOMPARE(call.appIcon, QStringLiteral(MORVANE_DESKTOP_ICON)); // the desktop entry's Icon=
        QCOMPARE(call.summary, QStringLiteral("Download complete"));
        QCOMPARE(call.body, QStringLiteral("Tom &amp; Jerry &lt;b&gt;live&lt;/b&gt; &gt; 1"));
        QCOMPARE(call.replacesId, 0u);
        QCOMPARE(call.timeout, -1);
        QCOMPARE(call.hints.value(QStringLiteral("desktop-entry")), QVariant(QStringLiteral("org.morvane.Morvane")));

        NotificationManager::notify(QStringLiteral("<Fail & retry>"), QStringLiteral("plain"));
        QTRY_COMPARE(m_server->calls.size(), 2);
        QCOMPARE(m_server->calls.last().summary, QStringLiteral("&lt;Fail &amp; retry&gt;"));
        QCOMPARE(m_server->calls.last().body, QStringLiteral("plain"));
    }

    void settingOffPostsNothing()
    {
        TestEnvironment env;
        SettingsStore::set(QStringLiteral("notifications"), false);
        NotificationManager::notify(QStringLiteral("Download failed"), QStringLiteral("muted"));
        // Calls on one connection arrive in order, so once the second is in the first never came.
        SettingsStore::set(QStringLiteral("notifications"), true);
        NotificationManager::notify(QStringLiteral("Download complete"), QStringLiteral("heard"));
        QTRY_COMPARE(m_server->calls.size(), 1);
        QCOMPARE(m_server->calls.first().body, QStringLiteral("heard"));
    }

    void missingServerIsLoggedNotAwaited()
    {
        TestEnvironment env;
        QVERIFY(m_bus->unregisterService(serviceName));
        QTRY_VERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(serviceName));

        NotificationManager::notify(QStringLiteral("Download complete"), QStringLiteral("nobody listens"));
        QTRY_VERIFY(TestLog::appLogText().contains(
            QStringLiteral("Notification not shown: org.freedesktop.DBus.Error.ServiceUnknown")));
        QVERIFY(m_server->calls.isEmpty());
    }

private:
    std::unique_ptr<QDBusConnection> m_bus;
    std::unique_ptr<FakeNotificationServer> m_server;
};

QTEST_GUILESS_MAIN(TestNotificationManager)
#include "tst_notificationmanager.moc"
