#include "QmlHarness.h"
#include "RecordingDesktopServices.h"
#include "TestApp.h"
#include "core/SettingsStore.h"

#include <QKeySequence>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(Route::Kind)

class TestCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    void newDownload()
    {
        TestApp test;
        AppState &state = test.app.state();
        state.setSelection(SidebarItem::History);
        state.setUrlText(QStringLiteral("https://media.test/a"));
        CommandController commands(&state, nullptr);
        commands.newDownload();
        QCOMPARE(state.selection(), SidebarItem::Download);
        QCOMPARE(state.route(), (Route{Route::Kind::Downloads, {}}));
        QCOMPARE(state.urlText(), QString());
    }

    // Three presses come back to the mode they started from, each one a change of its own.
    void cycleRepeat()
    {
        TestApp test;
        PlayerManager &player = test.app.state().player();
        CommandController commands(&test.app.state(), nullptr);
        QSignalSpy changes(&player, &PlayerManager::repeatModeChanged);
        QList<RepeatMode> seen;
        for (int press = 0; press < 3; ++press) {
            commands.cycleRepeat();
            seen.append(player.repeatMode());
        }
        QCOMPARE(seen, (QList<RepeatMode>{RepeatMode::All, RepeatMode::One, RepeatMode::Off}));
        QCOMPARE(changes.size(), 3);
    }

    void go_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<Route::Kind>("route");
        QTest::newRow("1") << 1 << Route::Kind::Home;
        QTest::newRow("2") << 2 << Route::Kind::Search;
        QTest::newRow("3") << 3 << Route::Kind::Explore;
        QTest::newRow("4") << 4 << Route::Kind::Liked;
        QTest::newRow("5") << 5 << Route::Kind::Playlists;
        QTest::newRow("6") << 6 << Route::Kind::Downloads;
        QTest::newRow("0 does nothing") << 0 << Route::Kind::Settings;
        QTest::newRow("7 does nothing") << 7 << Route::Kind::Settings;
    }
    void go()
    {
        QFETCH(int, screen);
        QFETCH(Route::Kind, route);
        TestApp test;
        test.app.state().setRoute(Route{Route::Kind::Settings, {}});
        CommandController commands(&test.app.state(), nullptr);
        commands.go(screen);
        QCOMPARE(test.app.state().route().kind, route);
    }

    void openDownloadFolder_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QUrl>("opened");
        QTest::newRow("stored") << QVariant(QStringLiteral("/srv/media")) << QUrl(QStringLiteral("file:///srv/media"));
        QTest::newRow("default") << QVariant()
                                 << QUrl::fromLocalFile(
                                        SettingsStore::value(QStringLiteral("downloadFolder")).toString());
        QTest::newRow("empty text, passed on") << QVariant(QString()) << QUrl();
    }
    void openDownloadFolder()
    {
        QFETCH(QVariant, stored);
        QFETCH(QUrl, opened);
        TestApp test;
        if (stored.isValid())
            SettingsStore::set(QStringLiteral("downloadFolder"), stored);
        RecordingDesktopServices desktop;
        CommandController commands(&test.app.state(), &desktop);
        if (!stored.isValid())
            opened = QUrl::fromLocalFile(SettingsStore::value(QStringLiteral("downloadFolder")).toString());
        commands.openDownloadFolder();
        QCOMPARE(desktop.opened, QList<QUrl>{opened});
    }

    // Every shortcut of the menus is bound once, and none is a Ctrl+Alt+arrow (workspace switching).
    void shortcutsAreUnique()
    {
        TestApp test;
        QVERIFY(test.app.start());
        QStringList keys;
        for (QObject *object : test.window()->findChildren<QObject *>()) {
            if (!object->inherits("QQuickAction"))
                continue;
            const QString key = QKeySequence(object->property("shortcut").toString()).toString();
            if (!key.isEmpty())
                keys.append(key);
        }
        QVERIFY(keys.size() >= 23);
        QCOMPARE(QSet<QString>(keys.cbegin(), keys.cend()).size(), keys.size());
        for (const char *arrow : {"Left", "Right", "Up", "Down"})
            QVERIFY(!keys.contains(QStringLiteral("Ctrl+Alt+") + QLatin1String(arrow)));
    }

    // Keys pressed in the main window reach the coordinator: Ctrl+1 goes home.
    void keys()
    {
        TestApp test;
        QVERIFY(test.app.start());
        AppState &state = test.app.state();
        test.app.shell().showMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(test.window()));

        state.setRoute(Route{Route::Kind::Settings, {}});
        QTest::keyClick(test.window(), Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(state.route().kind, Route::Kind::Home);
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
