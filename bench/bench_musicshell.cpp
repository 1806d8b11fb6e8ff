// Idle cost of the music window: the shell shown at 1 280 × 800 over a library with playlists and
// a queue of waiting downloads, nothing playing or downloading, beside a bare window of the same
// size as the yardstick. Prints each one's process CPU time over 10 s after three seconds to
// settle, and the frames drawn meanwhile: no timer or animation should run. Run under xvfb-run
// (or with QT_QPA_PLATFORM=offscreen); build with `cmake --build build --target benchmarks`.
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

void measure(const char *name, QQuickWindow *window)
{
    window->show();
    // The first frames, glyph caches and the X server's answers come in the first seconds.
    wait(3000);
    int frames = 0;
    QObject::connect(window, &QQuickWindow::frameSwapped, window, [&frames] { ++frames; });
    const double start = processCpuSeconds();
    wait(10'000);
    std::printf("%s: %.1f ms process CPU over 10 s, %d frames drawn\n", name, (processCpuSeconds() - start) * 1000,
                frames);
    window->hide();
}
} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QmlHarness::prepareApplication();

    QQuickWindow bare;
    bare.resize(1280, 800);
    bare.setColor(QColor(9, 9, 11));
    measure("bare window", &bare);

    MusicShellScreen screen({1280, 800});
    if (!screen.window)
        return 1;
    for (const char *title : {"one", "two", "three"})
        screen.rig.addDownload(QString::fromLatin1(title));
    measure("idle shell ", screen.window);
    return 0;
}
