#include "ui/settings/Setting.h"

#include "TestEnvironment.h"
#include "core/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

namespace {

// The settings file as an earlier run of the application left it: QSettings keeps INI text.
void writeSettingsFile(const TestEnvironment &env, const QByteArray &lines)
{
    const QString folder = env.root() + QStringLiteral("/config/Morvane");
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/Morvane.conf"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[General]\n" + lines);
}

} // namespace

class TestSetting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsTypedAfterRestart_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QVariant>("fallback");
        QTest::addColumn<QVariant>("expected");
        const QByteArray earlierRun = "notifications=false\nmaxConcurrent=3\nclipboardMonitor=true\n"
                                      "subLangs=\"de,fr\"\ntimeout=abc\n";
        QTest::newRow("flag written false") << "notifications" << earlierRun << QVariant(true) << QVariant(false);
        QTest::newRow("flag written true") << "clipboardMonitor" << earlierRun << QVariant(false) << QVariant(true);
        QTest::newRow("integer") << "maxConcurrent" << earlierRun << QVariant(2) << QVariant(3);
        QTest::newRow("text with a comma")
            << "subLangs" << earlierRun << QVariant(QStringLiteral("en.*")) << QVariant(QStringLiteral("de,fr"));
        QTest::newRow("unreadable integer") << "timeout" << earlierRun << QVariant(30) << QVariant(30);
        QTest::newRow("registered default") << "playlistNumbering" << earlierRun << QVariant(false) << QVariant(true);
        QTest::newRow("registered integer") << "retries" << QByteArray() << QVariant(0) << QVariant(10);
        QTest::newRow("unregistered") << "userAgent" << earlierRun << QVariant(QString()) << QVariant(QString());
        QTest::newRow("unregistered flag") << "someFlag" << QByteArray() << QVariant(true) << QVariant(true);
    }

    void readsTypedAfterRestart()
    {
        QFETCH(QString, key);
        QFETCH(QByteArray, file);
        QFETCH(QVariant, fallback);
        QFETCH(QVariant, expected);
        TestEnvironment env;
        writeSettingsFile(env, file);
        const Setting setting(key, fallback);
        QCOMPARE(setting.value().metaType(), expected.metaType());
        QCOMPARE(setting.value(), expected);
    }

    void firstStartShowsTheDownloadsFolder()
    {
        TestEnvironment env;
        const Setting folder(QStringLiteral("downloadFolder"), QString());
        const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        QVERIFY(!downloads.isEmpty());
        QCOMPARE(folder.value(), QVariant(downloads));
    }

    void everySettingOnAKeyFollowsEveryWrite()
    {
        TestEnvironment env;
        Setting settingsWindow(QStringLiteral("embedThumbnail"), true);
        Setting musicWindow(QStringLiteral("embedThumbnail"), true);
        Setting otherKey(QStringLiteral("embedMetadata"), true);
        QSignalSpy windowSpy(&settingsWindow, &Setting::valueChanged);
        QSignalSpy musicSpy(&musicWindow, &Setting::valueChanged);
        QSignalSpy otherSpy(&otherKey, &Setting::valueChanged);

        settingsWindow.setValue(false);
        QCOMPARE(musicWindow.value(), QVariant(false));
        QCOMPARE(windowSpy.size(), 1);
        QCOMPARE(musicSpy.size(), 1);

        settingsWindow.setValue(false); // equal: nobody hears of it
        musicWindow.setValue(QStringLiteral("false"));
        QCOMPARE(musicSpy.size(), 1);

        SettingsStore::set(QStringLiteral("embedThumbnail"), true); // from C++
        QCOMPARE(settingsWindow.value(), QVariant(true));
        QCOMPARE(musicWindow.value(), QVariant(true));
        QCOMPARE(windowSpy.size(), 2);
        QCOMPARE(musicSpy.size(), 2);

        SettingsStore::remove(QStringLiteral("embedThumbnail")); // back to the default: true
        QCOMPARE(musicSpy.size(), 2);
        SettingsStore::set(QStringLiteral("embedThumbnail"), false);
        SettingsStore::remove(QStringLiteral("embedThumbnail"));
        QCOMPARE(musicSpy.size(), 4);
        QCOMPARE(otherSpy.size(), 0);
    }

    void equalValuesAfterRestartNotifyNobody()
    {
        TestEnvironment env;
        writeSettingsFile(env, "maxConcurrent=3\nnotifications=false\n");
        Setting concurrent(QStringLiteral("maxConcurrent"), 2);
        Setting notifications(QStringLiteral("notifications"), true);
        QSignalSpy concurrentSpy(&concurrent, &Setting::valueChanged);
        QSignalSpy notificationsSpy(&notifications, &Setting::valueChanged);
        concurrent.setValue(3);
        notifications.setValue(false);
        QCOMPARE(concurrentSpy.size(), 0);
        QCOMPARE(notificationsSpy.size(), 0);
        concurrent.setValue(4);
        QCOMPARE(concurrentSpy.size(), 1);
    }

    void writesStoreInTheFallbacksType()
    {
        TestEnvironment env;
        Setting timeout(QStringLiteral("timeout"), 30);
        timeout.setValue(45.0); // a JavaScript number
        QCOMPARE(SettingsStore::value(QStringLiteral("timeout")), QVariant(45));
        timeout.setValue(QStringLiteral("later")); // not a number: stored as given
        QCOMPARE(SettingsStore::value(QStringLiteral("timeout")), QVariant(QStringLiteral("later")));
        QCOMPARE(timeout.value(), QVariant(30));
    }

    void writingTheDefaultStoresIt()
    {
        TestEnvironment env;
        Setting setting(QStringLiteral("subLangs"), QStringLiteral("en.*"));
        QSignalSpy spy(&setting, &Setting::valueChanged);
        setting.setValue(QStringLiteral("en.*"));
        QVERIFY(SettingsStore::isStored(QStringLiteral("subLangs")));
        QCOMPARE(spy.size(), 0);
    }

    void keyAndFallbackSetLater()
    {
        TestEnvironment env;
        SettingsStore::set(QStringLiteral("proxy"), QStringLiteral("socks5://127.0.0.1:9"));
        Setting setting; // as QML builds it: empty, then its properties one by one
        QSignalSpy spy(&setting, &Setting::valueChanged);
        QCOMPARE(setting.value(), QVariant());
        setting.setValue(QStringLiteral("lost")); // no key yet: nowhere to store
        setting.setFallback(QString());
        setting.setKey(QStringLiteral("proxy"));
        QCOMPARE(setting.value(), QVariant(QStringLiteral("socks5://127.0.0.1:9")));
        QCOMPARE(spy.size(), 2);
        setting.setValue(QString()); // an emptied field stores empty
        QCOMPARE(SettingsStore::networkSnapshot().proxy, QString());
        QVERIFY(SettingsStore::isStored(QStringLiteral("proxy")));
    }
};

QTEST_GUILESS_MAIN(TestSetting)
#include "tst_setting.moc"
