// Playing a 192 kb/s MP3 without a sound card (ao=null) and without a window: the process CPU of
// a bare libmpv playing the file, then of the player (PlayerManager over MpvAudio) playing it,
// and how often the player wakes the main thread (its time ticks and its mpv event drains).
// Usage: bench_playback [seconds]   (default 60)
#include "BenchAudio.h"
#include "music/ArtworkManager.h"
#include "music/LibraryStore.h"
#include "platform/MpvAudio.h"
#include "player/PlayerManager.h"
#include "player/YTMusicCatalog.h"
#include "recommend/RecommendationEngine.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <clocale>
#include <cstdio>

using namespace BenchAudio;

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
    RecommendationEngine engine(&library, &catalog, &QDateTime::currentDateTime, QRandomGenerator::global());
    PlayerManager player(&library, &engine, &audio, &catalog, &artwork, PlayerManager::steadyClock(),
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
