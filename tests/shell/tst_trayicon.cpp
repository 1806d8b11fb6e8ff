#include "FakeAudioBackend.h"
#include "HeldDownload.h"
#include "PlayerRig.h"
#include "QmlHarness.h"
#include "TestApp.h"
#include "shell/TrayPlayer.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QProcess>
#include <QQuickWindow>
#include <QSystemTrayIcon>
#include <QTest>

namespace {

const QString itemPath = QStringLiteral("/StatusNotifierItem");
const QString itemInterface = QStringLiteral("org.kde.StatusNotifierItem");

// Counts the icon's NewIcon signals as a tray host sees them.
class IconChanges final : public QObject
{
    Q_OBJECT

public:
    int count = 0;

public Q_SLOTS:
    void changed() { ++count; }
};

// A call to the application's own tray item, answered while this thread's event loop runs: the
// item lives on this thread, so a blocking call would wait for itself.
QDBusMessage call(const QString &service, const QString &path, const QString &interface, const QString &method,
                  const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    QDBusPendingCall pending = QDBusConnection::sessionBus().asyncCall(message);
    if (!QTest::qWaitFor([&pending] { return pending.isFinished(); }, 10000))
        return {};
    return pending.reply();
}

// The item's picture as the host receives it: every size's bytes.
QByteArray iconPixmap(const QString &service)
{
    const QDBusMessage reply = call(service, itemPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                    QStringLiteral("Get"), {itemInterface, QStringLiteral("IconPixmap")});
    if (reply.type() != QDBusMessage::ReplyMessage)
        return {};
    const auto argument = qvariant_cast<QDBusArgument>(reply.arguments().constFirst().value<QDBusVariant>().variant());
    QByteArray bytes;
    argument.beginArray();
    while (!argument.atEnd()) {
        int width = 0;
        int height = 0;
        QByteArray data;
        argument.beginStructure();
        argument >> width >> height >> data;
        argument.endStructure();
        bytes += QByteArray::number(width) + 'x' + QByteArray::number(height) + data;
    }
    argument.endArray();
    return bytes;
}

// The entries of a dbusmenu layout, depth first: label by id.
void readLayout(const QDBusArgument &argument, QList<std::pair<int, QString>> &entries)
{
    int id = 0;
    QVariantMap properties;
    argument.beginStructure();
    argument >> id >> properties;
    if (properties.contains(QStringLiteral("label")))
        entries.append({id, properties.value(QStringLiteral("label")).toString()});
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        readLayout(qvariant_cast<QDBusArgument>(child.variant()), entries);
    }
    argument.endArray();
    argument.endStructure();
}

} // namespace

// The tray icon as a desktop's tray host sees it over D-Bus: a stand-in StatusNotifier watcher in
// another process makes the tray available on the test's private bus, Qt registers the icon with
// it, and the test acts as the host: it reads the picture and the menu, clicks the icon and the
// menu's entries. Needs an X server (scripts/test runs the interface tests under xvfb-run).
class TestTrayIcon : public QObject
{
    Q_OBJECT

    QProcess m_watcher;
    QStringList m_items;

    // The tray item registered since the last call: the newest application's icon.
    QString nextItem()
    {
        const qsizetype known = m_items.size();
        const bool registered = QTest::qWaitFor(
            [this, known] {
                while (m_watcher.canReadLine()) {
                    const QString line = QString::fromUtf8(m_watcher.readLine()).trimmed();
                    if (line.startsWith(QLatin1String("item ")))
                        m_items.append(line.mid(5));
                }
                return m_items.size() > known;
            },
            10000);
        return registered ? m_items.constLast() : QString();
    }

    // The menu's entries through the item's dbusmenu.
    static QList<std::pair<int, QString>> menuEntries(const QString &service)
    {
        const QDBusMessage reply = call(service, QStringLiteral("/MenuBar"), QStringLiteral("com.canonical.dbusmenu"),
                                        QStringLiteral("GetLayout"), {0, -1, QStringList()});
        QList<std::pair<int, QString>> entries;
        if (reply.arguments().size() == 2)
            readLayout(qvariant_cast<QDBusArgument>(reply.arguments().at(1)), entries);
        return entries;
    }

    // False while the menu does not offer `label` (a busy session bus may answer late).
    static bool click(const QString &service, const QString &label)
    {
        for (const auto &[id, text] : menuEntries(service)) {
            if (text == label) {
                call(service, QStringLiteral("/MenuBar"), QStringLiteral("com.canonical.dbusmenu"),
                     QStringLiteral("Event"),
                     {id, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u});
                return true;
            }
        }
        return false;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server: scripts/test runs this test under xvfb-run");
        m_watcher.start(QStringLiteral(MORVANE_TRAY_WATCHER), QStringList());
        QVERIFY(m_watcher.waitForReadyRead(10000));
        QCOMPARE(m_watcher.readLine().trimmed(), QByteArray("ready"));
        QVERIFY(QSystemTrayIcon::isSystemTrayAvailable());
        QmlHarness::prepareApplication();
    }
    void init() { QmlHarness::failOnWarnings(); }
    void cleanupTestCase()
    {
        m_watcher.kill();
        m_watcher.waitForFinished();
    }

    // The picture changes when playback starts and when it pauses, and at nothing else.
    void iconFollowsPlayingOnly()
    {
        TestApp test;
        QVERIFY(test.app.start());
        QVERIFY(test.app.tray().icon());
        QVERIFY(!test.model<QObject>("commands")->property("miniPlayerOffered").toBool());
        const QString service = nextItem();
        QVERIFY(!service.isEmpty());
        IconChanges changes;
        QVERIFY(QDBusConnection::sessionBus().connect(service, itemPath, itemInterface, QStringLiteral("NewIcon"),
                                                      &changes, SLOT(changed())));
        const QByteArray idle = iconPixmap(service);
        QVERIFY(!idle.isEmpty());
        QCOMPARE(test.app.tray().icon()->symbol(), QStringLiteral("music.note.list"));

        PlayerManager &player = test.app.state().player();
        player.play(PlayerRig::tracks(3), 0, false); // playing while it loads
        QTRY_COMPARE(changes.count, 1);
        const QByteArray playing = iconPixmap(service);
        QVERIFY(playing != idle);
        QCOMPARE(test.app.tray().icon()->symbol(), QStringLiteral("waveform.circle.fill"));

        // Loaded, moved, louder, the next song: still playing.
        auto *audio = dynamic_cast<FakeAudioBackend *>(&test.app.state().audio());
        QVERIFY(audio);
        audio->becomeReady(200);
        player.seek(50);
        player.setVolume(0.3);
        player.advance(true);
        player.togglePlay();
        // The host gets the item's signals in order: the pause's is the second.
        QTRY_COMPARE(changes.count, 2);
        QCOMPARE(iconPixmap(service), idle);
        QCOMPARE(changes.count, 2);
    }

    void clickOpensThePanel()
    {
        TestApp test;
        QVERIFY(test.app.start());
        const QString service = nextItem();
        QVERIFY(!test.app.tray().panel());
        call(service, itemPath, itemInterface, QStringLiteral("Activate"), {40, 10});
        QTRY_VERIFY(test.app.tray().panel() && test.app.tray().panel()->isVisible());
        QCOMPARE(test.app.tray().panel()->width(), 330);
    }

    // "Open Morvane" brings the main window forward over the settings window; "Quit" asks while
    // a download runs.
    void menuOpensTheMainWindowAndQuits()
    {
        TestApp test;
        QVERIFY(test.app.start());
        const QString service = nextItem();
        QList<QString> labels;
        for (const auto &entry : menuEntries(service))
            labels.append(entry.second);
        QCOMPARE(labels, (QList<QString>{QStringLiteral("Open Morvane"), QStringLiteral("Quit")}));

        QQuickWindow *main = test.window();
        test.app.shell().showMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        QMetaObject::invokeMethod(main, "openSettings");
        auto *settings = main->property("settingsWindow").value<QQuickWindow *>();
        QVERIFY(settings);
        QTRY_COMPARE(QGuiApplication::focusWindow(), settings);

        QTRY_VERIFY(click(service, QStringLiteral("Open Morvane")));
        QTRY_COMPARE(QGuiApplication::focusWindow(), main);
        QVERIFY(settings->isVisible());

        HeldDownload download(test);
        QVERIFY(download.start());
        QTRY_VERIFY(click(service, QStringLiteral("Quit")));
        QTRY_VERIFY(test.app.quitController().isAsking());
    }
};

QTEST_MAIN(TestTrayIcon)
#include "tst_trayicon.moc"
