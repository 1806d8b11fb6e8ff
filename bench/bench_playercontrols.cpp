// The player controls on screen while a local MP3 plays without a sound card (ao=null): process
// CPU with the player bar and the queue panel (a list with the current row) shown, then with the
// window hidden and the next song started (the play button's spinner turns and stops unseen), then hidden with the tray
// icon up and its panel made and closed, each above the bare-libmpv baseline; the main thread's share; and what wakes
// the main thread while hidden. Run under Xvfb once per scene graph (QT_QUICK_BACKEND=software for the software one); a
// stand-in tray host on the session bus (run it under dbus-run-session) gives Xvfb a tray. Usage: bench_playercontrols
// [seconds]   (default 60 per phase)
#include "BenchAudio.h"
#include "coordinator/AppState.h"
#include "music/ArtworkManager.h"
#include "shell/MenuBarIcon.h"
#include "shell/QmlSetup.h"
#include "ui/music/ArtworkProvider.h"
#include "ui/music/MenuBarPlayerModel.h"
#include "ui/music/PlayerBarModel.h"
#include "ui/music/QueuePanelModel.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <ctime>
#include <memory>

using namespace BenchAudio;

namespace {

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

struct Phase
{
    double percent = 0;
    double mainPercent = 0;
    int timers = 0;
    int queuedCalls = 0;
    int frames = 0;
};

// `window`'s frames are counted.
Phase measure(QApplication &app, int seconds, QQuickWindow *window)
{
    std::atomic_int frames = 0;
    const QMetaObject::Connection counting = QObject::connect(
        window, &QQuickWindow::frameSwapped, window, [&frames] { ++frames; }, Qt::DirectConnection);
    WakeupCounter counter;
    app.installEventFilter(&counter);
    const double mainStart = threadCpuSeconds();
    const Meter meter;
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double wall = double(meter.wall.nsecsElapsed()) / 1e9;
    Phase phase{meter.percent(), 100.0 * (threadCpuSeconds() - mainStart) / wall, counter.timers, counter.queuedCalls,
                frames};
    app.removeEventFilter(&counter);
    QObject::disconnect(counting);
    return phase;
}

// Returns once `player`'s song has loaded and plays.
void waitUntilPlaying(PlayerManager &player)
{
    QEventLoop loading;
    QObject::connect(&player, &PlayerManager::playingChanged, &loading, [&] {
        if (!player.isLoading())
            loading.quit();
    });
    loading.exec();
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    for (const char *variable : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
        qputenv(variable, home.path().toUtf8());
    qputenv("MORVANE_AO", "null");
    qputenv("MORVANE_IMAGE_HOST", "http://127.0.0.1:9"); // no pictures, and nothing leaves the machine
    QApplication app(argc, argv);
    // Before anything asks whether there is a tray: Qt asks the host once per process.
    QProcess trayHost;
    trayHost.start(QStringLiteral(MORVANE_TRAY_WATCHER), QStringList());
    trayHost.waitForReadyRead(5000);
    const int seconds = argc > 1 ? std::max(5, atoi(argv[1])) : 60;
    QmlSetup::prepareApplication();
    // The first song plays while the window shows, the second from the change made while it is hidden
    // to the end: each outlasts all three phases.
    const QString song = makeSong(home.path(), 3 * seconds + 30);
    QDir(home.path()).mkdir(QStringLiteral("next"));
    const QString nextSong = makeSong(home.path() + QStringLiteral("/next"), 3 * seconds + 30);
    const double baseline = bareMpv(song, seconds);

    AppState state;
    state.library().recordDownload(QStringLiteral("benchsong01"), song);
    state.library().recordDownload(QStringLiteral("benchsong02"), nextSong);
    QList<Track> queue{
        Track{QStringLiteral("benchsong01"), QStringLiteral("Bench"), QStringLiteral("Bench"), {}, {}, {}}};
    for (int n = 2; n < 12; ++n)
        queue.append(Track{QStringLiteral("benchsong%1").arg(n, 2, 10, QLatin1Char('0')),
                           QStringLiteral("Next %1").arg(n),
                           QStringLiteral("Bench"),
                           180.0,
                           {},
                           {}});
    PlayerManager &player = state.player();
    player.play(queue, 0, false);
    waitUntilPlaying(player);

    PlayerBarModel bar(state);
    QueuePanelModel panel(state);
    QQmlEngine engine;
    QmlSetup::prepareEngine(engine, &state.network());
    ArtworkProvider::install(engine, state.artwork());
    QQmlComponent component(&engine);
    component.setData("import QtQuick\nimport Morvane\n"
                      "AppWindow { id: page; width: 1280; height: 800\n"
                      "  required property PlayerBarModel bar\n  required property QueuePanelModel panel\n"
                      "  QueuePanel { anchors.right: parent.right; anchors.top: parent.top;"
                      " anchors.bottom: playerBar.top; width: 320; model: page.panel }\n"
                      "  PlayerBar { id: playerBar; anchors.left: parent.left; anchors.right: parent.right;"
                      " anchors.bottom: parent.bottom; height: 78; model: page.bar } }",
                      QUrl());
    std::unique_ptr<QObject> root(component.createWithInitialProperties(
        {{QStringLiteral("bar"), QVariant::fromValue(&bar)}, {QStringLiteral("panel"), QVariant::fromValue(&panel)}}));
    auto *window = qobject_cast<QQuickWindow *>(root.get());
    if (!window)
        qFatal("%s", qPrintable(component.errorString()));
    window->show();

    const Phase shown = measure(app, seconds, window);
    window->hide();
    player.advance();
    waitUntilPlaying(player);
    const Phase hidden = measure(app, seconds, window);

    // The tray's icon up, its panel made once, shown and closed, as after a first look.
    MenuBarIcon icon(player);
    icon.show();
    MenuBarPlayerModel trayModel(state);
    QQmlComponent panelComponent(&engine, QUrl(QStringLiteral("qrc:/Morvane/music/MenuBarPlayerWindow.qml")));
    std::unique_ptr<QObject> trayPanel(
        panelComponent.createWithInitialProperties({{QStringLiteral("model"), QVariant::fromValue(&trayModel)}}));
    auto *panelWindow = qobject_cast<QQuickWindow *>(trayPanel.get());
    if (!panelWindow)
        qFatal("%s", qPrintable(panelComponent.errorString()));
    panelWindow->show();
    QEventLoop drawn;
    QObject::connect(panelWindow, &QQuickWindow::frameSwapped, &drawn, &QEventLoop::quit);
    drawn.exec();
    panelWindow->hide();
    const Phase tray = measure(app, seconds, panelWindow);

    std::printf("scene graph:        %s\n",
                qPrintable(window->rendererInterface()->graphicsApi() == QSGRendererInterface::Software
                               ? QStringLiteral("software")
                               : QStringLiteral("default (OpenGL)")));
    std::printf("bare libmpv:        %.2f %% of one core\n", baseline);
    std::printf("tray:               %s\n", QSystemTrayIcon::isSystemTrayAvailable() ? "up" : "none on this desktop");
    for (const auto &[name, phase] :
         {std::pair{"window shown", shown}, std::pair{"window hidden", hidden}, std::pair{"hidden, tray up", tray}})
        std::printf("%-19s %.2f %% (%.2f above the baseline), main thread %.2f %%, %d timer events, %d queued "
                    "calls, %d frames in %d s\n",
                    (std::string(name) + ':').c_str(), phase.percent, phase.percent - baseline, phase.mainPercent,
                    phase.timers, phase.queuedCalls, phase.frames, seconds);
    std::printf("position:           %.1f s\n", player.position());
    trayHost.kill();
    trayHost.waitForFinished();
    return 0;
}
