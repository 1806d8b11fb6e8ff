#include "FakeAudioBackend.h"
#include "MprisClient.h"
#include "PlayerRig.h"
#include "QmlHarness.h"
#include "TestApp.h"
#include "TestHttpServer.h"
#include "TestImages.h"
#include "core/AppPaths.h"

#include <QCoroTask>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QQmlComponent>
#include <QQuickItem>
#include <QTest>

#include <memory>

namespace {
constexpr int toolTimeoutMs = 60000;

// The file of the screen a slot of the main window shows; empty while the slot is empty.
QString shownIn(QQuickWindow *window, const char *slot)
{
    const auto *loader = window->findChild<QObject *>(QLatin1String(slot));
    if (!loader || !loader->property("item").value<QObject *>())
        return {};
    return loader->property("source").toUrl().fileName();
}

// Serves a working stand-in of every tool, as the real hosts pack them.
void serveTools(TestToolMirror &mirror)
{
    mirror.serveYtdlp(mirror.fakeYtdlp(QStringLiteral("2026.08.19")));
    mirror.serveFfmpeg(mirror.fakeFfmpeg(QStringLiteral("ffmpeg"), QStringLiteral("7.1")),
                       mirror.fakeFfmpeg(QStringLiteral("ffprobe"), QStringLiteral("7.1")));
    mirror.serveDeno(mirror.fakeDeno(QStringLiteral("2.2.0")));
}
} // namespace

Q_DECLARE_METATYPE(SidebarItem)

class TestMorvaneApp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    // The setup screen until every tool works; then the music shell, whose Downloads route shows
    // the downloader tab the selection names, and whose Settings route shows the settings.
    void rootFollowsSetupAndSelection_data()
    {
        QTest::addColumn<SidebarItem>("selection");
        QTest::addColumn<QString>("screen");
        QTest::newRow("download") << SidebarItem::Download << QStringLiteral("DownloadScreen.qml");
        QTest::newRow("queue") << SidebarItem::Queue << QStringLiteral("QueueView.qml");
        QTest::newRow("history") << SidebarItem::History << QStringLiteral("HistoryTab.qml");
    }
    void rootFollowsSetupAndSelection()
    {
        QFETCH(SidebarItem, selection);
        QFETCH(QString, screen);
        TestApp test;
        QVERIFY(test.app.start());
        QCOMPARE(shownIn(test.window(), "setupSlot"), QStringLiteral("SetupScreen.qml"));
        QCOMPARE(shownIn(test.window(), "shellSlot"), QString());

        QVERIFY(test.finishSetup());
        QVERIFY(test.app.state().setupDone());
        QCOMPARE(shownIn(test.window(), "setupSlot"), QString());
        QCOMPARE(shownIn(test.window(), "shellSlot"), QStringLiteral("MusicShell.qml"));
        test.app.state().setRoute({Route::Kind::Downloads, {}});
        test.app.state().setSelection(selection);
        QTRY_COMPARE(shownIn(test.window(), "downloaderTab"), screen);
        // The settings page gets the application's settings models.
        test.app.state().setRoute({Route::Kind::Settings, {}});
        QTRY_COMPARE(shownIn(test.window(), "settingsContent"), QStringLiteral("SettingsView.qml"));
    }

    // Every show of the main window runs the start-up check again: once the tools are there, the shell shows.
    void eachShowRunsTheStartUpCheck()
    {
        TestApp test;
        QVERIFY(test.app.start());
        DependencyManager &deps = test.app.state().deps();
        QCOMPARE(test.mirror.downloadCount(), 0); // loading alone checks nothing
        test.app.shell().showMainWindow();
        QTRY_COMPARE_WITH_TIMEOUT(deps.phase(), DependencyManager::Phase::Failed, toolTimeoutMs);
        const int firstAttempt = test.mirror.downloadCount();
        QVERIFY(firstAttempt > 0);

        test.window()->close();
        test.mirror.installFakes(test.env, QStringLiteral("2026.08.19"));
        test.app.shell().showMainWindow();
        QTRY_VERIFY_WITH_TIMEOUT(test.app.state().setupDone(), toolTimeoutMs);
        QCOMPARE(shownIn(test.window(), "shellSlot"), QStringLiteral("MusicShell.qml"));
        QCOMPARE(test.mirror.downloadCount(), firstAttempt); // found installed, nothing fetched
    }

    // The setup screen's Retry and the diagnostics' repair go through the coordinator, which leaves setup.
    void retryAndRepairReachTheCoordinator()
    {
        for (const char *button : {"setup", "diagnostics"}) {
            TestApp test;
            QVERIFY(test.app.start());
            QCoro::waitFor(test.app.state().retrySetup());
            QVERIFY(!test.app.state().setupDone());
            serveTools(test.mirror);
            if (qstrcmp(button, "setup") == 0)
                test.model<SetupViewModel>("setup")->retry();
            else
                test.model<DiagnosticsViewModel>("diagnostics")->repair();
            QTRY_VERIFY2_WITH_TIMEOUT(test.app.state().setupDone(), button, toolTimeoutMs);
            QTRY_VERIFY(!test.app.state().deps().busy());
        }
    }

    // The desktop's media controls as the application wires them: the clock is set again when a
    // loaded song starts, the length follows the back end's, and the picture is the one the player
    // shows, as a file any client can read, or none while it shows none.
    void mediaControls()
    {
        TestHttpServer server;
        qputenv("MORVANE_IMAGE_HOST", server.base().toUtf8());
        TestApp test;
        PlayerManager &player = test.app.state().player();
        auto &audio = static_cast<FakeAudioBackend &>(test.app.state().audio());
        MprisClient client;
        const auto metadata = [&client] { return client.get(QStringLiteral("Metadata")).toMap(); };
        const Track song = PlayerRig::track(0);

        player.play(song);
        QCOMPARE(client.get(QStringLiteral("PlaybackStatus")), QVariant(QStringLiteral("Playing")));
        QCOMPARE(client.get(QStringLiteral("Rate")), QVariant(1.0));
        // No size of the picture can be had.
        QTRY_COMPARE(server.requestsFor(song.artwork(true).last().path()).size(), 1);
        client.settle();
        QVERIFY(client.seeks.isEmpty());
        audio.becomeReady(NAN);
        client.settle();
        // The clock the clients held during the load is set when the song starts.
        QCOMPARE(client.seeks, QList<qlonglong>{0});
        QCOMPARE(client.get(QStringLiteral("Rate")), QVariant(1.0));
        QVERIFY(player.artwork().isNull());
        QVERIFY(!metadata().contains(QStringLiteral("mpris:artUrl")));
        QCOMPARE(metadata().value(QStringLiteral("mpris:length")), QVariant(qlonglong(200000000)));

        client.forget();
        audio.currentDuration = 180; // found once the stream plays
        QTRY_COMPARE(metadata().value(QStringLiteral("mpris:length")), QVariant(qlonglong(180000000)));
        client.settle();
        QVERIFY(!client.changes.isEmpty());
        QCOMPARE(client.changes.last()
                     .changed.value(QStringLiteral("Metadata"))
                     .toMap()
                     .value(QStringLiteral("mpris:length")),
                 QVariant(qlonglong(180000000)));

        server.serveText(song.artwork(true).first().path(), TestImages::solid(Qt::red, {64, 36}), "image/png");
        player.play(song);
        QTRY_VERIFY(!player.artwork().isNull());
        QTRY_VERIFY(metadata().contains(QStringLiteral("mpris:artUrl")));
        const QUrl link(metadata().value(QStringLiteral("mpris:artUrl")).toString());
        QVERIFY(link.isLocalFile());
        QVERIFY(link.toLocalFile().startsWith(AppPaths::sub(QStringLiteral("Cache/Artwork")) + QLatin1Char('/')));
        const QImage shown(link.toLocalFile());
        QCOMPARE(shown.size(), QSize(36, 36)); // the middle square the views show
        QVERIFY(shown.pixelColor(18, 18).red() > 230 && shown.pixelColor(18, 18).green() < 25);
        // Asked again, the same file.
        QCOMPARE(metadata().value(QStringLiteral("mpris:artUrl")), QVariant(link.toString()));
    }

    // Window lists and docks show the sidebar's brand mark in the accent colour.
    void windowIconIsTheBrandMark()
    {
        const QIcon icon = QGuiApplication::windowIcon();
        QVERIFY(!icon.isNull());
        const QImage image = icon.pixmap(64).toImage();
        // The middle bar of the level meter runs through the centre; the corners stay clear.
        QCOMPARE(image.pixelColor(32, 32).rgb(), QColor::fromRgbF(1.0f, 0.34f, 0.42f).rgb());
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
    }

    // QML reads the one coordinator as the singleton `AppState`, and follows it.
    void appStateSingleton()
    {
        TestApp test;
        QVERIFY(test.app.start());
        QQmlComponent component(&test.app.shell().engine());
        component.setData("import QtQml\nimport Morvane\nQtObject {\n"
                          "  property QtObject state: AppState\n"
                          "  property string toast: AppState.toast\n}",
                          QUrl());
        std::unique_ptr<QObject> object(component.create());
        QVERIFY2(object, qPrintable(component.errorString()));
        QCOMPARE(object->property("state").value<QObject *>(), &test.app.state());
        test.app.state().setToast(QStringLiteral("No valid link found."));
        QCOMPARE(object->property("toast").toString(), QStringLiteral("No valid link found."));
    }
};

QTEST_MAIN(TestMorvaneApp)
#include "tst_morvaneapp.moc"
