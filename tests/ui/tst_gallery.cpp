#include "AppStateRig.h"
#include "FakeYtDlp.h"
#include "GalleryPage.h"
#include "MusicShellScreen.h"
#include "PlayerRig.h"
#include "QmlHarness.h"
#include "QueueScreen.h"
#include "RecordingDesktopServices.h"
#include "TestApp.h"
#include "TestEnvironment.h"
#include "TestHttpServer.h"
#include "TestRequests.h"
#include "TestToolMirror.h"
#include "core/Json.h"
#include "core/LogManager.h"
#include "core/SettingsStore.h"
#include "core/YTDLPManager.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadTask.h"
#include "engine/HistoryStore.h"
#include "tools/DependencyManager.h"
#include "ui/downloader/DiagnosticsViewModel.h"
#include "ui/downloader/DownloadScreenModel.h"
#include "ui/downloader/HistoryViewModel.h"
#include "ui/downloader/SetupViewModel.h"
#include "ui/settings/MusicSettingsModel.h"
#include "ui/settings/ToolsSettingsModel.h"

#include <QCoroTask>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QKeySequence>
#include <QMimeData>
#include <QNetworkAccessManager>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

constexpr int toolTimeoutMs = 60000;

// Publishes yt-dlp's download a few bytes at a time, so an install stays visibly under way for a while.
void serveYtdlpSlowly(TestToolMirror &mirror)
{
    TestHttpServer::Route route;
    route.filePath = mirror.fakeYtdlp(QStringLiteral("2026.08.19"));
    route.dripBytes = 16;
    route.dripIntervalMs = 150;
    mirror.server().serve(YTDLPManager::spec().urls.value(0).path(), route);
}

// A history with one entry per finished status: completed with its file there, failed with an error and no
// file, cancelled with a size of 0.
void recordHistory(HistoryStore &history, const QString &folder)
{
    QDir().mkpath(folder);
    const QString file = folder + QStringLiteral("/Evening walk.mp4");
    QFile(file).open(QIODevice::WriteOnly);
    const auto record = [&](const char *title, const char *url, TaskStatus status, const QString &output,
                            std::optional<qint64> size, const std::optional<QString> &error) {
        DownloadOptions options = TestRequests::defaultRequest(QString::fromLatin1(url), folder);
        options.title = QString::fromLatin1(title);
        DownloadTask task(options);
        task.setStatus(status);
        if (!output.isEmpty())
            task.setOutputFiles({output});
        task.setFinalSize(size);
        task.setError(error);
        history.record(task);
    };
    record("Cancelled live stream", "https://media.test/live", TaskStatus::Cancelled, {}, 0, {});
    record("Conference talk", "https://media.test/talk", TaskStatus::Failed, {}, std::nullopt,
           QStringLiteral("ERROR: HTTP Error 404: Not Found"));
    record("Evening walk", "https://media.test/walk", TaskStatus::Completed, file, 48'234'567, {});
}

// The label of the shortcut of the command at `index` of the open `menu`; null when it has none.
QQuickItem *shortcutLabel(QObject *menu, int index)
{
    QQuickItem *command = nullptr;
    QMetaObject::invokeMethod(menu, "itemAt", Q_RETURN_ARG(QQuickItem *, command), Q_ARG(int, index));
    return command ? command->findChild<QQuickItem *>(QStringLiteral("shortcut")) : nullptr;
}

void click(QQuickWindow *window, const QString &objectName)
{
    const QQuickItem *item = QmlHarness::findItem(window->contentItem(), objectName);
    QVERIFY(item);
    QTest::mouseClick(window, Qt::LeftButton, {}, item->mapToScene(item->boundingRect().center()).toPoint());
}

// Counts the timer events the main thread delivers while it lives: an animation left running ticks one
// every frame, even with no window to draw.
class TimerEventCounter : public QObject
{
public:
    TimerEventCounter() { QCoreApplication::instance()->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::Timer;
        return false;
    }
};

} // namespace

using GalleryPage::inked;
using GalleryPage::part;
using GalleryPage::record;

// Renders every screen with fixture data into build/gallery/<name>.png: each must fill its window,
// show more than one colour and load without a warning.
class TestGallery : public QObject
{
    Q_OBJECT

    static QUrl fixture(const char *file)
    {
        return QUrl::fromLocalFile(QStringLiteral(MORVANE_GALLERY_SOURCE_DIR "/") + QLatin1String(file));
    }

    // Renders the gallery page `page` over the view model `model`; `before` acts on the shown window first.
    static void recordPage(const char *page, QObject *model, const QString &name,
                           const std::function<void(QQuickWindow *)> &before = {})
    {
        QmlHarness harness;
        std::unique_ptr<QObject> object(
            harness.create(fixture(page), {{QStringLiteral("model"), QVariant::fromValue(model)}}));
        auto *window = qobject_cast<QQuickWindow *>(object.get());
        QVERIFY(window);
        if (before) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            before(window);
        }
        record(window, name);
    }

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    void palette()
    {
        QmlHarness harness;
        auto *window = qobject_cast<QQuickWindow *>(harness.create(fixture("Palette.qml")));
        QVERIFY(window);
        record(window, QStringLiteral("palette"));
    }

    // The main window before the tools are confirmed, and after, with the queue in the shell slot.
    void root()
    {
        TestApp test;
        QVERIFY(test.app.start());
        record(test.window(), QStringLiteral("root-setup"));
        QVERIFY(test.finishSetup());
        record(test.window(), QStringLiteral("root"));

        // The File menu, opened from the menu bar, names each command's shortcut as the desktop does.
        auto *fileMenu = test.window()->findChild<QObject *>(QStringLiteral("fileMenu"));
        QVERIFY(fileMenu);
        QTest::mouseClick(test.window(), Qt::LeftButton, {}, QPoint(20, 12));
        QTRY_VERIFY(fileMenu->property("opened").toBool());
        record(test.window(), QStringLiteral("file-menu"));
        QQuickItem *keys = shortcutLabel(fileMenu, 0);
        QVERIFY(keys && keys->isVisible());
        QCOMPARE(keys->property("text").toString(),
                 QKeySequence(QStringLiteral("Ctrl+N")).toString(QKeySequence::NativeText));
        QMetaObject::invokeMethod(fileMenu, "close");
        QTRY_VERIFY(!fileMenu->property("visible").toBool());

        test.app.state().player().play(PlayerRig::track(1)); // the toast stands over a playing bar
        test.app.state().setToast(QStringLiteral("Added 2 downloads to the queue"));
        QTest::qWait(400); // until it has slid in
        record(test.window(), QStringLiteral("root-toast"));
        test.app.state().setToast(std::nullopt);
        QTest::qWait(400); // until it has gone

        QMimeData links;
        links.setUrls({QUrl(QStringLiteral("https://media.test/a"))});
        QDragEnterEvent enter(QPoint(640, 400), Qt::CopyAction, &links, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(test.window(), &enter);
        QTest::qWait(200); // the outline is painted a frame later
        record(test.window(), QStringLiteral("drop-overlay"));
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(test.window(), &leave);
    }

    void setup()
    {
        TestEnvironment env;
        TestToolMirror mirror(env.root()); // serves nothing yet
        QNetworkAccessManager network;
        DependencyManager deps(&network);
        SetupViewModel model(&deps, [] {});
        recordPage("SetupPage.qml", &model, QStringLiteral("setup-checking"));

        QCoro::waitFor(deps.bootstrap());
        QVERIFY(model.failed());
        recordPage("SetupPage.qml", &model, QStringLiteral("setup-failed"));

        serveYtdlpSlowly(mirror);
        deps.bootstrap();
        QTRY_VERIFY_WITH_TIMEOUT(deps.state(Tool::Ytdlp).progress > 0, toolTimeoutMs);
        recordPage("SetupPage.qml", &model, QStringLiteral("setup-installing"));
        QTRY_VERIFY_WITH_TIMEOUT(!deps.busy(), toolTimeoutMs);
    }

    void diagnostics()
    {
        TestEnvironment env;
        TestToolMirror mirror(env.root());
        for (const QString &name : {QStringLiteral("yt-dlp"), QStringLiteral("ffmpeg"), QStringLiteral("ffprobe")})
            env.installTool(name, QStringLiteral("/usr/bin/") + name);
        QNetworkAccessManager network;
        DependencyManager deps(&network);
        deps.setFreeSpaceProbe([] { return std::optional<qint64>(5'000'000'000); });
        RecordingDesktopServices desktop;
        DiagnosticsViewModel model(&deps, &desktop, [&deps] { deps.repair(); });
        QCoro::waitFor(deps.runDiagnostics());
        QVERIFY(!model.results().isEmpty());
        recordPage("DiagnosticsPage.qml", &model, QStringLiteral("diagnostics"));

        serveYtdlpSlowly(mirror);
        model.repair();
        QTRY_VERIFY_WITH_TIMEOUT(deps.state(Tool::Ytdlp).progress > 0, toolTimeoutMs);
        QVERIFY(!model.busyCaption().isEmpty());
        recordPage("DiagnosticsPage.qml", &model, QStringLiteral("diagnostics-busy"));
        QTRY_VERIFY_WITH_TIMEOUT(!deps.busy(), toolTimeoutMs);
    }

    void history()
    {
        TestEnvironment env;
        HistoryStore history;
        DownloadManager downloads(&history);
        RecordingDesktopServices desktop;
        HistoryViewModel model(&history, &downloads, &desktop);
        recordPage("HistoryPage.qml", &model, QStringLiteral("history-empty"));

        recordHistory(history, env.root() + QStringLiteral("/Downloads"));
        model.click(Json::uuidText(history.items().first().id));
        recordPage("HistoryPage.qml", &model, QStringLiteral("history"));
        recordPage("HistoryPage.qml", &model, QStringLiteral("history-menu"), [](QQuickWindow *window) {
            // The newest entry, the first row below the search bar.
            QTest::mouseClick(window, Qt::RightButton, {}, QPoint(300, 90));
            QTRY_VERIFY(window->findChild<QObject *>(QStringLiteral("historyMenu")));
        });

        recordPage("HistoryPage.qml", &model, QStringLiteral("history-clear"),
                   [&model](QQuickWindow *) { model.askClear(); });
        model.cancelClear();

        model.setSearch(QStringLiteral("nothing like it"));
        recordPage("HistoryPage.qml", &model, QStringLiteral("history-no-match"));
    }

    // Each downloader tab; Network filled in, Tools while an update runs.
    void settings()
    {
        // Made first, so its own environment is the outer one and the tools below land in `env`.
        PlayerRig music;
        TestEnvironment env;
        TestToolMirror mirror(env.root());
        mirror.installFakes(env, QStringLiteral("2023.03.04"));
        TestHttpServer::Route slowRelease; // keeps the update busy while the tab is drawn
        slowRelease.body = R"({"tag_name":"2023.03.04","assets":[]})";
        slowRelease.dripBytes = 4;
        slowRelease.dripIntervalMs = 50;
        mirror.server().serve(YTDLPManager::latestAPI().path(), slowRelease);
        QNetworkAccessManager network;
        DependencyManager deps(&network);
        QCoro::waitFor(deps.bootstrap());
        ToolsSettingsModel tools(&deps, {[] {}, [](const QString &) {}});
        MusicSettingsModel musicModel(*music.player, music.library);
        SettingsStore::set(QStringLiteral("cookiesBrowser"), QStringLiteral("firefox"));
        SettingsStore::set(QStringLiteral("userAgent"), QStringLiteral("Mozilla/5.0 (X11; Linux x86_64)"));
        SettingsStore::set(QStringLiteral("proxy"), QStringLiteral("socks5://127.0.0.1:1080"));
        SettingsStore::set(QStringLiteral("rateLimit"), QStringLiteral("2M"));
        SettingsStore::set(QStringLiteral("timeout"), 60);
        SettingsStore::set(QStringLiteral("extraArgs"), QStringLiteral("--geo-bypass"));

        QmlHarness harness;
        auto *window = qobject_cast<QQuickWindow *>(
            harness.create(QUrl(QStringLiteral("qrc:/Morvane/settings/SettingsWindow.qml")),
                           {{QStringLiteral("music"), QVariant::fromValue(&musicModel)},
                            {QStringLiteral("tools"), QVariant::fromValue(&tools)}}));
        QVERIFY(window);
        QObject *tabs = window->findChild<QObject *>(QStringLiteral("settingsTabs"));
        QVERIFY(tabs);
        record(window, QStringLiteral("settings-music"));
        const QStringList names{QStringLiteral("settings-general"), QStringLiteral("settings-formats"),
                                QStringLiteral("settings-network")};
        for (int tab = 1; tab <= 3; ++tab) {
            tabs->setProperty("currentIndex", tab);
            record(window, names[tab - 1]);
        }

        const QString videos = QDir::home().filePath(QStringLiteral("Videos"));
        QVERIFY(QDir(videos).mkpath(QStringLiteral("Travel")));
        SettingsStore::set(QStringLiteral("downloadFolder"), videos);
        tabs->setProperty("currentIndex", 1);
        click(window, QStringLiteral("chooseFolder"));
        QTRY_VERIFY(window->findChild<QObject *>(QStringLiteral("folderChooser"))->property("opened").toBool());
        QTest::keyClick(window, Qt::Key_Return); // into Travel
        record(window, QStringLiteral("settings-folder-chooser"));
        click(window, QStringLiteral("chooseButton"));
        QCOMPARE(SettingsStore::string(QStringLiteral("downloadFolder")), videos + QStringLiteral("/Travel"));

        tabs->setProperty("currentIndex", 4);
        deps.updateTools();
        QVERIFY(deps.busy());
        auto *actions = window->findChild<QQuickItem *>(QStringLiteral("toolActions"));
        QVERIFY(actions);
        QVERIFY(!actions->isEnabled());
        QVERIFY(window->findChild<QQuickItem *>(QStringLiteral("toolsSpinner")));
        record(window, QStringLiteral("settings-tools-busy"));
        QTRY_VERIFY_WITH_TIMEOUT(!deps.busy(), 60000);
        QVERIFY(actions->isEnabled());
        QTRY_VERIFY(!window->findChild<QQuickItem *>(QStringLiteral("toolsSpinner"))); // no idle animation
        record(window, QStringLiteral("settings-tools"));
    }

    // The settings window as File → Settings… opens it from the main window: on its first tab.
    void settingsWindow()
    {
        TestApp test;
        QVERIFY(test.app.start());
        test.app.shell().showMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(test.window()));
        QTest::keyClick(test.window(), Qt::Key_Comma, Qt::ControlModifier);
        const QWindowList windows = QGuiApplication::topLevelWindows();
        const auto settings = std::find_if(windows.cbegin(), windows.cend(), [](QWindow *window) {
            return window->isVisible() && window->title() == QLatin1String("Settings");
        });
        QVERIFY(settings != windows.cend());
        record(qobject_cast<QQuickWindow *>(*settings), QStringLiteral("settings-window"));
        (*settings)->close();
    }

    void queue()
    {
        QueueScreen screen;
        QVERIFY(screen.window);
        screen.addEveryStatus();
        screen.window->show();
        // Rows follow their tasks a frame later: wait until the last one shows its status.
        QTRY_VERIFY(screen.row(8) && screen.row(8)->property("statusText").toString() == QStringLiteral("Cancelled"));
        record(screen.window, QStringLiteral("queue"));
    }

    void queueEmpty()
    {
        QueueScreen screen;
        QVERIFY(screen.window);
        record(screen.window, QStringLiteral("queue-empty"));
    }

    void queueMenu()
    {
        QueueScreen screen;
        QVERIFY(screen.window);
        screen.addEveryStatus();
        screen.window->show();
        QTRY_VERIFY(screen.row(6) && screen.row(6)->property("statusText").toString() == QStringLiteral("Completed"));
        QQuickItem *row = screen.row(6);
        const QPointF point = row->mapToScene(QPointF(row->width() / 2, row->height() / 2));
        QTest::mouseClick(screen.window, Qt::RightButton, {}, point.toPoint());
        record(screen.window, QStringLiteral("queue-menu"));
    }

    void logSheet()
    {
        QueueScreen screen;
        QVERIFY(screen.window);
        DownloadTask *task = screen.add(QStringLiteral("Long concert"));
        // Past the shown limit, so the sheet opens with its note line.
        QFile log(LogManager::taskLogPath(task->id()));
        QVERIFY(log.open(QIODevice::WriteOnly));
        for (int line = 0; line < 30'000; ++line)
            log.write(QStringLiteral("[2026-12-09T10:00:00Z] [download] %1% of 45.6MiB at 1.2MiB/s ETA 00:27\n")
                          .arg(line % 100)
                          .toUtf8());
        log.close();
        screen.window->show();
        screen.queue.trigger(Json::uuidText(task->id()), QStringLiteral("showLog"));
        QTRY_VERIFY(screen.logSheet.rowCount() > 0);
        // A drag from the first block to the bottom of the view selects across blocks, and the
        // selection stays when the pointer leaves.
        QQuickItem *list = QmlHarness::findItem(screen.window->contentItem(), QStringLiteral("logBlocks"));
        QVERIFY(list);
        const QPointF from = list->mapToScene(QPointF(40, 30));
        const QPointF to = list->mapToScene(QPointF(200, list->height() - 30));
        QTest::mousePress(screen.window, Qt::LeftButton, {}, from.toPoint());
        for (int step = 1; step <= 10; ++step)
            QTest::mouseMove(screen.window, (from + (to - from) * step / 10).toPoint());
        QTest::mouseRelease(screen.window, Qt::LeftButton, {}, to.toPoint());
        QTest::mouseMove(screen.window, QPoint(5, 5));
        const qsizetype lines = screen.logSheet.selectedText().count(QLatin1Char('\n'));
        QVERIFY2(lines > LogSheetModel::linesPerBlock, qPrintable(QString::number(lines)));
        QVERIFY(screen.logSheet.text().contains(screen.logSheet.selectedText()));
        record(screen.window, QStringLiteral("log-sheet"));
    }

    // The Download screen before a link, while yt-dlp discovers a stalled link, and after a failure.
    void downloadScreen()
    {
        AppStateRig rig;
        QVERIFY(rig.makeReady(true));
        TestHttpServer server;
        server.stall(QStringLiteral("/stall.mp4"));
        DownloadScreenModel model(*rig.state);
        recordPage("DownloadScreenPage.qml", &model, QStringLiteral("download-placeholder"));

        rig.state->setUrlText(server.url(QStringLiteral("/stall.mp4")).toString());
        model.fetchNow();
        QCOMPARE(model.stateKind(), QStringLiteral("loading"));
        recordPage("DownloadScreenPage.qml", &model, QStringLiteral("download-loading"));

        rig.state->setUrlText(QStringLiteral("not a link"));
        model.fetchNow();
        QCOMPARE(model.stateKind(), QStringLiteral("failed"));
        recordPage("DownloadScreenPage.qml", &model, QStringLiteral("download-failed"));
    }

    // The form for a single video under each kind of preset, subtitles on, and for a playlist of
    // thirty entries with some ticked.
    void downloadForm()
    {
        AppStateRig rig;
        QVERIFY(rig.makeReady());
        SettingsStore::set(QStringLiteral("writeSubs"), true);
        DownloadScreenModel model(*rig.state);
        QFile video(QStringLiteral(MORVANE_TEST_DATA_DIR "/downloadform/video.json"));
        QVERIFY(video.open(QIODevice::ReadOnly));
        QVERIFY(rig.fetchCanned(video.readAll()));
        const std::pair<Preset, const char *> presets[]{
            {Preset::Best, "best"}, {Preset::Uhd, "4k"}, {Preset::Audio, "audio"}, {Preset::Custom, "advanced"}};
        for (const auto &[preset, name] : presets) {
            rig.state->setPreset(preset);
            recordPage("DownloadFormPage.qml", &model, QStringLiteral("download-form-") + QLatin1String(name));
        }

        const QDir videos(QDir::home().filePath(QStringLiteral("Videos")));
        for (const char *folder : {"Concerts", "Podcasts/2026", "Travel"})
            QVERIFY(videos.mkpath(QLatin1String(folder)));
        SettingsStore::set(QStringLiteral("downloadFolder"), videos.path());
        recordPage("DownloadFormPage.qml", &model, QStringLiteral("folder-chooser"), [](QQuickWindow *window) {
            click(window, QStringLiteral("changeFolder"));
            QTRY_VERIFY(window->findChild<QObject *>(QStringLiteral("folderChooser"))->property("opened").toBool());
        });

        QJsonArray entries;
        for (int i = 1; i <= 30; ++i) {
            entries.append(QJsonObject{{QStringLiteral("title"), QStringLiteral("Late session, part %1").arg(i)},
                                       {QStringLiteral("duration"), 170 + 7 * i}});
        }
        QVERIFY(rig.fetchCanned(
            FakeYtDlp::listing(entries, QStringLiteral("Late night radio sessions, recorded live ").repeated(8))));
        rig.state->setSelectedItems({1, 2, 3, 5, 8});
        recordPage("DownloadFormPage.qml", &model, QStringLiteral("download-form-playlist"), [&](QQuickWindow *window) {
            // The long title keeps to three lines.
            const QQuickItem *title = QmlHarness::findItem(window->contentItem(), QStringLiteral("mediaTitle"));
            QVERIFY(title);
            const int lines = title->property("lineCount").toInt();
            QVERIFY2(lines > 3, qPrintable(QString::number(lines)));
            QVERIFY(qAbs(title->height() - title->implicitHeight() * 3 / lines) < 2);
            // A click on an entry's title ticks it, like one on its box.
            const QQuickItem *entry = QmlHarness::findItem(window->contentItem(), QStringLiteral("entryCheck"));
            QVERIFY(entry);
            const QPoint onTitle = entry->mapToScene(QPointF(entry->width() * 0.6, entry->height() / 2)).toPoint();
            QTest::mouseClick(window, Qt::LeftButton, {}, onTitle);
            QCOMPARE(rig.state->selectedItems(), (QSet<int>{2, 3, 5, 8}));
            QTest::mouseClick(window, Qt::LeftButton, {}, onTitle);
            QCOMPARE(rig.state->selectedItems(), (QSet<int>{1, 2, 3, 5, 8}));
        });
    }

    // The music shell: on several routes and in both window sizes, with a badge, the search field
    // focused, the overflow menu, the error banner, the name sheet and both panels.
    void musicShell()
    {
        MusicShellScreen screen;
        QVERIFY(screen.window);
        AppState &state = *screen.rig.state;
        for (const char *title : {"one", "two", "three"})
            screen.rig.addDownload(QString::fromLatin1(title));
        state.setRoute(Route::playlist(MusicShellRig::playlistID(3)));
        record(screen.window, QStringLiteral("music-shell"));

        state.setRoute({Route::Kind::Liked, {}});
        QQuickItem *input = screen.item(QStringLiteral("searchInput"));
        QVERIFY(input);
        screen.click(input);
        screen.type(QStringLiteral("lofi beats"));
        QVERIFY(input->hasActiveFocus());
        record(screen.window, QStringLiteral("music-shell-search-focused"));

        QQuickItem *menuButton = screen.item(QStringLiteral("overflowMenuButton"));
        QVERIFY(menuButton);
        screen.click(menuButton);
        QObject *menu = screen.window->findChild<QObject *>(QStringLiteral("overflowMenu"));
        QTRY_VERIFY(menu->property("opened").toBool());
        record(screen.window, QStringLiteral("music-shell-menu"));
        QTest::keyClick(screen.window, Qt::Key_Escape);
        QTRY_VERIFY(!menu->property("visible").toBool());

        Track broken;
        broken.id = QStringLiteral("eeeeeeeeeee");
        broken.title = QStringLiteral("A song whose title goes on and on, as live recordings of long suites tend to");
        broken.artist = QStringLiteral("Artist");
        screen.rig.catalog->answers.insert(
            broken.id, MusicError{QStringLiteral("The stream could not be opened because the server closed the "
                                                 "connection before sending any audio data, twice in a row.")});
        state.player().play(broken);
        QTRY_VERIFY(!state.player().errorMessage().isEmpty());
        QTRY_COMPARE(screen.item(QStringLiteral("errorBanner"))->opacity(), 1.0);
        record(screen.window, QStringLiteral("music-shell-banner"));

        state.setShowQueue(true);
        state.setShowNowPlaying(true);
        QTRY_COMPARE(screen.item(QStringLiteral("queueArea"))->width(), 321.0);
        QTRY_COMPARE(screen.item(QStringLiteral("nowPlayingSlot"))->y(), 0.0);
        record(screen.window, QStringLiteral("music-shell-panels"));
        // The banner stands in the middle of the content area, clear of the queue panel's title.
        const QRectF area = MusicShellScreen::sceneRect(screen.item(QStringLiteral("contentArea")));
        const QRectF banner = MusicShellScreen::sceneRect(screen.item(QStringLiteral("errorBanner")));
        QVERIFY(area.contains(banner) && qAbs(banner.center().x() - area.center().x()) <= 0.5);

        NamePrompt prompt;
        prompt.title = QStringLiteral("Rename Playlist");
        prompt.initial = QStringLiteral("Road Songs");
        prompt.action = QStringLiteral("Rename");
        state.setNamePrompt(prompt);
        QTRY_VERIFY(screen.item(QStringLiteral("nameField")) && screen.item(QStringLiteral("nameField"))->isVisible());
        record(screen.window, QStringLiteral("music-name-prompt"));
    }

    void musicShellWide()
    {
        MusicShellScreen screen({1600, 1000});
        QVERIFY(screen.window);
        screen.rig.addDownload(QStringLiteral("one"));
        screen.rig.state->setRoute({Route::Kind::Settings, {}});
        record(screen.window, QStringLiteral("music-shell-wide"));
    }

    // In the smallest window, with and without the queue panel, a page's title and its buttons lie apart
    // inside the content area, and no control of the downloader's form passes its edges.
    void narrowPages_data()
    {
        QTest::addColumn<Route::Kind>("kind");
        QTest::newRow("home") << Route::Kind::Home;
        QTest::newRow("playlists") << Route::Kind::Playlists;
        QTest::newRow("downloads-from-link") << Route::Kind::Downloads;
    }
    void narrowPages()
    {
        QFETCH(Route::Kind, kind);
        MusicShellScreen screen;
        QVERIFY(screen.window);
        AppState &state = *screen.rig.state;
        if (kind == Route::Kind::Downloads) {
            TestToolMirror mirror(screen.rig.env.root());
            mirror.installFakes(screen.rig.env, QStringLiteral("2023.03.04"));
            QCoro::waitFor(state.retrySetup());
            QFile video(QStringLiteral(MORVANE_TEST_DATA_DIR "/downloadform/video.json"));
            QVERIFY(video.open(QIODevice::ReadOnly));
            FakeYtDlp(screen.rig.env).answer(video.readAll());
            state.setUrlText(QStringLiteral("https://media.example/watch"));
            state.fetch();
            QTRY_COMPARE_WITH_TIMEOUT(state.fetchState().kind, FetchState::Kind::Loaded, 30000);
            state.setPreset(Preset::Custom);
            state.setSelection(SidebarItem::Download);
        }
        state.setRoute({kind, {}});
        screen.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.window));
        screen.window->resize(1020, 660);
        for (const bool queueShown : {true, false}) {
            state.setShowQueue(queueShown);
            QTRY_COMPARE(screen.item(QStringLiteral("queueArea"))->width(), queueShown ? 321.0 : 0.0);
            screen.window->grabWindow(); // lays out what the resize moved
            if (queueShown)
                record(screen.window, QStringLiteral("music-narrow-") + QLatin1String(QTest::currentDataTag()));
            const QRectF area = MusicShellScreen::sceneRect(screen.item(QStringLiteral("contentArea")));
            QQuickItem *actions = screen.item(QStringLiteral("pageActions"));
            const QRectF title =
                MusicShellScreen::sceneRect(actions->parentItem()->property("heading").value<QQuickItem *>());
            const QRectF buttons = MusicShellScreen::sceneRect(actions);
            QVERIFY(!title.intersects(buttons) && area.contains(title) && area.contains(buttons));
            std::function<void(const QQuickItem *)> walk = [&](const QQuickItem *item) {
                const QRectF rect = MusicShellScreen::sceneRect(item);
                QVERIFY2(!item->inherits("QQuickControl") ||
                             (rect.left() >= area.left() && rect.right() <= area.right() + 0.5),
                         qPrintable(item->objectName()));
                for (const QQuickItem *child : item->childItems())
                    if (child->isVisible())
                        walk(child);
            };
            if (const QQuickItem *form = screen.item(QStringLiteral("downloaderTab")); form && form->isVisible())
                walk(form);
        }
    }

    // The Downloads page on each segment, and on the diagnostics selection, which lights none; the
    // Settings page on both of its segments.
    void musicPanels()
    {
        MusicShellScreen screen({1280, 800});
        QVERIFY(screen.window);
        screen.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.window));
        AppState &state = *screen.rig.state;
        screen.rig.addDownload(QStringLiteral("Morning run"));
        screen.rig.addDownload(QStringLiteral("Lecture"))->setStatus(TaskStatus::Paused);
        screen.rig.addDownload(QStringLiteral("Finished song"))->setStatus(TaskStatus::Completed);
        recordHistory(state.history(), screen.rig.env.root() + QStringLiteral("/Downloads"));
        state.setRoute({Route::Kind::Downloads, {}});
        const std::pair<SidebarItem, const char *> segments[] = {
            {SidebarItem::Queue, "music-downloads-active"},
            {SidebarItem::History, "music-downloads-finished"},
            {SidebarItem::Download, "music-downloads-from-link"},
            {SidebarItem::Diagnostics, "music-downloads-diagnostics"}};
        for (const auto &[selection, name] : segments) {
            state.setSelection(selection);
            record(screen.window, QString::fromLatin1(name));
        }
        state.setSelection(SidebarItem::History);
        screen.item(QStringLiteral("segments"))->forceActiveFocus(Qt::TabFocusReason);
        record(screen.window, QStringLiteral("music-downloads-finished-focused"));

        state.setRoute({Route::Kind::Settings, {}});
        record(screen.window, QStringLiteral("music-settings-preferences"));
        screen.click(screen.item(QStringLiteral("segment1")));
        QTRY_VERIFY(!screen.diagnostics.results().isEmpty());
        record(screen.window, QStringLiteral("music-settings-diagnostics"));
    }

    // Every control of the style: a spinner draws at each size a screen gives it, a disabled control
    // looks unlike its enabled twin, keyboard focus shows, and a menu command shows its shortcut.
    void controls()
    {
        QmlHarness harness;
        std::unique_ptr<QObject> object(harness.create(fixture("ControlsPage.qml")));
        auto *window = qobject_cast<QQuickWindow *>(object.get());
        QVERIFY(window);
        auto *menu = window->findChild<QObject *>(QStringLiteral("menu"));
        QVERIFY(menu);
        window->show();
        QTRY_VERIFY(menu->property("opened").toBool());
        record(window, QStringLiteral("controls"));
        const QImage page = window->grabWindow();
        const auto item = [window](const QString &name) { return window->findChild<QQuickItem *>(name); };
        const QRgb background = page.pixel(2, 2);

        for (const int size : {12, 18, 22, 38, 54}) {
            QQuickItem *spinner = item(QStringLiteral("spinner%1").arg(size));
            QVERIFY(spinner);
            QCOMPARE(spinner->width(), qreal(size));
            QVERIFY2(inked(part(page, spinner, 0), background) >= size, qPrintable(spinner->objectName()));
        }

        for (const char *name : {"button", "prominentButton", "flatButton", "toolButton", "label", "check", "switch",
                                 "spin", "combo", "field", "slider", "progress", "tab", "menuItem"}) {
            QQuickItem *enabled = item(QLatin1String(name));
            QQuickItem *disabled = item(QLatin1String(name) + QLatin1String("Disabled"));
            QVERIFY2(enabled && disabled && !disabled->isEnabled(), name);
            QVERIFY2(part(page, enabled) != part(page, disabled), name);
        }
        // A bare label reads at the size of the controls it labels.
        const auto pixelSize = [&item](const char *name) {
            return item(QLatin1String(name))->property("font").value<QFont>().pixelSize();
        };
        QCOMPARE(pixelSize("label"), pixelSize("button"));

        QQuickItem *keys = shortcutLabel(menu, 0);
        QVERIFY(keys && keys->isVisible());
        QCOMPARE(keys->property("text").toString(),
                 QKeySequence(QStringLiteral("Ctrl+N")).toString(QKeySequence::NativeText));
        QVERIFY(inked(part(page, keys, 0), page.pixel(keys->mapToScene(QPointF(-4, 0)).toPoint())) > 0);

        QQuickItem *button = item(QStringLiteral("button"));
        button->forceActiveFocus(Qt::TabFocusReason);
        QVERIFY(button->property("visualFocus").toBool());
        QTRY_VERIFY(part(window->grabWindow(), button) != part(page, button));
        QQuickItem *pill = item(QStringLiteral("pillButton"));
        pill->forceActiveFocus(Qt::TabFocusReason);
        QTRY_VERIFY(part(window->grabWindow(), pill) != part(page, pill));
    }

    // A spinner turns only while its window shows: one stopped, or still running, while its window is
    // hidden leaves nothing ticking on the main thread.
    void hiddenSpinnerIdles_data()
    {
        QTest::addColumn<bool>("stops");
        QTest::newRow("stops while hidden") << true;
        QTest::newRow("runs while hidden") << false;
    }
    void hiddenSpinnerIdles()
    {
        QFETCH(bool, stops);
        QmlHarness harness;
        QQmlComponent component(&harness.engine());
        component.setData(
            "import QtQuick\nimport QtQuick.Controls\nimport Morvane\n"
            "AppWindow { width: 80; height: 80; BusyIndicator { objectName: \"spinner\"; running: true } }",
            QUrl());
        std::unique_ptr<QObject> object(component.create());
        auto *window = qobject_cast<QQuickWindow *>(object.get());
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::qWait(100);
        window->hide();
        if (stops)
            window->findChild<QObject *>(QStringLiteral("spinner"))->setProperty("running", false);
        QTest::qWait(100);
        TimerEventCounter timers;
        QTest::qWait(500);
        QVERIFY2(timers.count <= 2, qPrintable(QString::number(timers.count)));
    }

    void pillButtons()
    {
        QmlHarness harness;
        auto *window = qobject_cast<QQuickWindow *>(harness.create(fixture("PillButtonsPage.qml")));
        QVERIFY(window);
        record(window, QStringLiteral("pill-buttons"));
        window->findChild<QQuickItem *>(QStringLiteral("play"))->forceActiveFocus(Qt::TabFocusReason);
        record(window, QStringLiteral("pill-buttons-focused"));
    }

    // Each button filled with the accent, focused: its ring is not the fill's colour, nor the page's.
    void accentButtonsFocused()
    {
        QmlHarness harness;
        std::unique_ptr<QObject> object(harness.create(fixture("AccentButtonsPage.qml")));
        auto *window = qobject_cast<QQuickWindow *>(object.get());
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        for (const char *name : {"Play Non-Stop", "Play", "Quit", "Choose", "Create", "Done"}) {
            QQuickItem *button = QmlHarness::findItem(window->contentItem(), QLatin1String(name));
            QVERIFY(button);
            button->forceActiveFocus(Qt::TabFocusReason);
            record(window, QStringLiteral("accent-focused-") + QString::fromLatin1(name).replace(u' ', u'-'));
            const QImage shot = window->grabWindow();
            const auto at = [&](qreal x) {
                return QColor(shot.pixel(button->mapToScene(QPointF(x, button->height() / 2)).toPoint()));
            };
            // Just outside the left edge, the ring; inside it, the fill; further out, the page.
            QVERIFY2(at(-1) != at(3) && at(-1) != at(-6), name);
        }
    }

    void emptyStates()
    {
        QmlHarness harness;
        auto *window = qobject_cast<QQuickWindow *>(harness.create(fixture("EmptyStatesPage.qml")));
        QVERIFY(window);
        record(window, QStringLiteral("empty-states"));
    }
};

QTEST_MAIN(TestGallery)
#include "tst_gallery.moc"
