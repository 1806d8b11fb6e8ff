// Playing a 192 kb/s MP3 without a sound card (ao=null) and without a window: the process CPU of
// a bare libmpv playing the file, then of the player (PlayerManager over MpvAudio) playing it,
// and how often the player wakes the main thread (its time ticks and its mpv event drains).
// Usage: bench_playback [seconds]   (default 60)
#include "music/ArtworkManager.h"
#include "music/LibraryStore.h"
#include "platform/MpvAudio.h"
#include "player/PlayerManager.h"
#include "player/YTMusicCatalog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <mpv/client.h>

#include <clocale>
#include <cstdio>
#include <ctime>

namespace {

double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// CPU seconds per wall second over one measured stretch.
struct Meter
{
    double cpu = processCpuSeconds();
    QElapsedTimer wall;
    Meter() { wall.start(); }
    [[nodiscard]] double percent() const
    {
        return 100.0 * (processCpuSeconds() - cpu) / (double(wall.nsecsElapsed()) / 1e9);
    }
};

// Counts what reaches objects on the main thread: timer events and queued calls.
class WakeupCounter : public QObject
{
public:
    int timers = 0;
    int queuedCalls = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Timer)
            ++timers;
        else if (event->type() == QEvent::MetaCall)
            ++queuedCalls;
        return false;
    }
};

QString makeSong(const QString &folder, int seconds)
{
    const QString path = folder + QStringLiteral("/bench.mp3");
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                  QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                  QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds + 2),
                  QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-b:a"), QStringLiteral("192k"), path});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0)
        qFatal("ffmpeg failed: %s", ffmpeg.readAllStandardError().constData());
    return path;
}

// The baseline: libmpv alone, its events waited for on this thread, for `seconds` of playback.
double bareMpv(const QString &path, int seconds)
{
    mpv_handle *mpv = mpv_create();
    mpv_set_option_string(mpv, "ao", "null");
    mpv_set_option_string(mpv, "vid", "no");
    mpv_set_option_string(mpv, "config", "no");
    mpv_set_option_string(mpv, "load-scripts", "no");
    mpv_initialize(mpv);
    const QByteArray file = path.toUtf8();
    const char *command[] = {"loadfile", file.constData(), nullptr};
    mpv_command(mpv, command);
    const Meter meter;
    while (meter.wall.elapsed() < seconds * 1000)
        mpv_wait_event(mpv, 0.25);
    const double percent = meter.percent();
    mpv_terminate_destroy(mpv);
    return percent;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(5, atoi(argv[1])) : 60;
    qputenv("MORVANE_AO", "null");
    qputenv("MORVANE_IMAGE_HOST", "http://127.0.0.1:9"); // no thumbnails from the network
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    const QString song = makeSong(home.path(), seconds);

    const double baseline = bareMpv(song, seconds);

    LibraryStore library;
    library.recordDownload(QStringLiteral("benchsong01"), song);
    MpvAudio audio;
    YTMusicCatalog catalog;
    QNetworkAccessManager network;
    ArtworkManager artwork(&network);
    PlayerManager player(&library, &audio, &catalog, &artwork, PlayerManager::steadyClock(),
                         QRandomGenerator::global());
    player.play(Track{QStringLiteral("benchsong01"), QStringLiteral("Bench"), QStringLiteral("Bench"), {}, {}, {}});
    QEventLoop wait;
    QObject::connect(&player, &PlayerManager::playingChanged, &wait, [&] {
        if (!player.isLoading())
            wait.quit();
    });
    wait.exec();

    WakeupCounter counter;
    app.installEventFilter(&counter);
    const Meter meter;
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    const double playerPercent = meter.percent();
    const double wall = double(meter.wall.elapsed()) / 1000.0;
    app.removeEventFilter(&counter);

    std::printf("bare libmpv:     %.2f %% of one core\n", baseline);
    std::printf("player:          %.2f %% of one core (%.2f above the baseline)\n", playerPercent,
                playerPercent - baseline);
    std::printf("main thread:     %.2f wakeups/s (%d ticks, %d queued calls incl. mpv drains, in %.1f s)\n",
                (counter.timers + counter.queuedCalls) / wall, counter.timers, counter.queuedCalls, wall);
    std::printf("position:        %.1f s after %.1f s of playing\n", player.position(), wall);
    return 0;
}
