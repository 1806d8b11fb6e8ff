// The Home screen over the library benchmark's full library (4 000 songs, 6 000 plays, 50
// playlists): the time from the route becoming Home to the first frame drawn with it, warm
// (median of 20 showings, each coming from Explore), and apart from it the engine's refresh of
// the sections that each showing asks for. Run under xvfb-run (or with QT_QPA_PLATFORM=offscreen);
// build with `cmake --build build --target benchmarks`.
#include "BenchLibrary.h"
#include "FakeAudioBackend.h"
#include "FakeCatalog.h"
#include "QmlHarness.h"
#include "RecordingDesktopServices.h"
#include "TestEnvironment.h"
#include "coordinator/AppState.h"
#include "core/AppPaths.h"
#include "ui/downloader/DownloadQueueModel.h"
#include "ui/downloader/HistoryViewModel.h"
#include "ui/downloader/LogSheetModel.h"
#include "ui/music/MusicShellModel.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QTimer>

#include <cstdio>

namespace {
void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QmlHarness::prepareApplication();
    TestEnvironment environment;
    QFile file(AppPaths::support() + QStringLiteral("/library.json"));
    if (!file.open(QIODevice::WriteOnly) || file.write(BenchLibrary::build().toJson()) < 0)
        return 1;
    file.close();

    AppState::Backends backends;
    backends.catalog = std::make_unique<FakeCatalog>();
    backends.audio = std::make_unique<FakeAudioBackend>();
    AppState state(std::move(backends));
    RecordingDesktopServices desktop;
    DownloadQueueModel queue(&state.downloads(), &desktop);
    LogSheetModel logSheet(&desktop);
    HistoryViewModel history(&state.history(), &state.downloads(), &desktop);
    MusicShellModel model(&state);
    QmlHarness harness;
    const QUrl page = QUrl::fromLocalFile(QStringLiteral(MORVANE_GALLERY_SOURCE_DIR "/MusicShellPage.qml"));
    auto *window =
        qobject_cast<QQuickWindow *>(harness.create(page, {{QStringLiteral("model"), QVariant::fromValue(&model)},
                                                           {QStringLiteral("queue"), QVariant::fromValue(&queue)},
                                                           {QStringLiteral("logSheet"), QVariant::fromValue(&logSheet)},
                                                           {QStringLiteral("history"), QVariant::fromValue(&history)},
                                                           {QStringLiteral("width"), 1280},
                                                           {QStringLiteral("height"), 800}}));
    if (!window)
        return 1;
    window->show();
    wait(2000);

    std::vector<double> frames;
    QElapsedTimer clock;
    bool waiting = false;
    QObject::connect(window, &QQuickWindow::frameSwapped, window, [&] {
        if (std::exchange(waiting, false))
            frames.push_back(double(clock.nsecsElapsed()) / 1e6);
    });
    for (int round = 0; round < 21; ++round) {
        state.setRoute({Route::Kind::Explore, {}});
        wait(300);
        waiting = true;
        clock.start();
        state.setRoute({Route::Kind::Home, {}});
        while (waiting)
            wait(1);
        wait(300);
    }
    frames.erase(frames.begin()); // the first showing builds the shelves' types
    BenchLibrary::print("Home: route to first frame", frames);
    BenchLibrary::report("engine refresh (sections rebuilt, nothing counted)", 20,
                         [&state] { state.engine().refresh(false); });
    std::printf("sections: %lld\n", qlonglong(state.engine().sections().size()));
    return 0;
}
