// Idle cost of the music window: the shell shown at 1 280 × 800 over a library with playlists and
// a queue of waiting downloads, nothing playing or downloading. Prints the process CPU time over
// 10 s after a second to settle; no timer or animation should run. Run under xvfb-run (or with
// QT_QPA_PLATFORM=offscreen); build with `cmake --build build --target benchmarks`.
#include "MusicShellScreen.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QTimer>

#include <time.h>

#include <cstdio>

namespace {
double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

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
    MusicShellScreen screen({1280, 800});
    if (!screen.window)
        return 1;
    for (const char *title : {"one", "two", "three"})
        screen.rig.addDownload(QString::fromLatin1(title));
    screen.window->show();
    wait(1000);

    const double start = processCpuSeconds();
    wait(10'000);
    std::printf("idle shell: %.1f ms process CPU over 10 s\n", (processCpuSeconds() - start) * 1000);
    return 0;
}
