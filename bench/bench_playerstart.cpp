// How soon a song is heard after `play`, on mpv without a sound card (ao=null): from the call to
// the first advance of mpv's position, median of 20, for a downloaded MP3 and for a stream kept
// from an earlier resolution (served by a local HTTP server); then one first start through
// Debian's yt-dlp, which resolves the song anew. Also the main thread's share of
// PlayerManager::persistNow() with 1 000 songs in the queue, median of 20.
// Usage: bench_playerstart
#include "FakeCatalog.h"
#include "RealPlayer.h"
#include "TestHttpServer.h"
#include "TestMedia.h"
#include "core/AppPaths.h"
#include "core/SettingsStore.h"
#include "player/PlaybackStore.h"
#include "player/PlayerManager.h"
#include "player/YTMusicCatalog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace {

Track song(int n)
{
    return Track{QStringLiteral("benchsong%1").arg(n, 2, 10, QLatin1Char('0')),
                 QStringLiteral("Bench"),
                 QStringLiteral("Bench"),
                 {},
                 {},
                 {}};
}

// Seconds from play() until mpv's position moves past where the new item became ready;
// negative when it never did.
double startTime(RealPlayer &bench, const Track &track)
{
    bool ready = false;
    const QMetaObject::Connection readied = QObject::connect(&bench.audio, &AudioBackend::ready, [&] { ready = true; });
    QElapsedTimer clock;
    clock.start();
    bench.player.play(track);
    double readyAt = -1;
    const bool heard = QTest::qWaitFor(
        [&] {
            if (!ready)
                return false;
            const double at = bench.audio.position();
            if (readyAt < 0)
                readyAt = at;
            return at > readyAt;
        },
        60000);
    QObject::disconnect(readied);
    return heard ? double(clock.nsecsElapsed()) / 1e9 : -1;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// 20 starts alternating between two songs, so each is a new load.
double medianStart(RealPlayer &bench, const Track &a, const Track &b)
{
    QList<double> times;
    for (int i = 0; i < 20; ++i)
        times.append(startTime(bench, i % 2 ? b : a));
    return median(times);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qputenv("MORVANE_AO", "null");
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    SettingsStore::registerDefaults();
    SettingsStore::set(QStringLiteral("remoteEJS"), false);
    TestHttpServer server;
    qputenv("MORVANE_IMAGE_HOST", server.base().toUtf8()); // no thumbnails from the network
    const QString file = TestMedia::songFile(QStringLiteral("mp3"));
    server.serveFile(QStringLiteral("/song.mp3"), file, "audio/mpeg");

    FakeCatalog catalog;
    RealPlayer bench(&catalog);
    bench.library.recordDownload(song(1).id, file);
    bench.library.recordDownload(song(2).id, file);
    const double local = medianStart(bench, song(1), song(2));

    for (int n : {3, 4}) {
        catalog.answers.insert(song(n).id, StreamInfo{server.url(QStringLiteral("/song.mp3")), {}, song(n), {}});
        startTime(bench, song(n)); // resolved and kept
    }
    const double kept = medianStart(bench, song(3), song(4));

    QFile::link(QStringLiteral("/usr/bin/yt-dlp"), AppPaths::sub(QStringLiteral("Tools")) + QStringLiteral("/yt-dlp"));
    server.serveFile(QStringLiteral("/watch"), TestMedia::audioFile(), "audio/mp4");
    qputenv("MORVANE_VIDEO_SITE", server.base().toUtf8());
    YTMusicCatalog ytdlp;
    RealPlayer real(&ytdlp);
    const double resolved = startTime(real, song(5));

    RealPlayer queue(&catalog);
    QList<Track> thousand;
    for (int n = 0; n < 1000; ++n)
        thousand.append(Track{QStringLiteral("q%1").arg(n, 10, 10, QLatin1Char('0')),
                              QStringLiteral("A song title of average length %1").arg(n), QStringLiteral("An artist"),
                              215.0, QStringLiteral("An album"), QStringLiteral("pop")});
    queue.player.enqueue(thousand);
    auto *store = queue.player.findChild<PlaybackStore *>();
    QSignalSpy saved(store, &PlaybackStore::saved);
    QList<double> persist;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer clock;
        clock.start();
        queue.player.persistNow();
        persist.append(double(clock.nsecsElapsed()) / 1e6);
        saved.wait(5000);
    }

    std::printf("start, downloaded mp3:  %.3f s (median of 20)\n", local);
    std::printf("start, kept stream:     %.3f s (median of 20)\n", kept);
    std::printf("start, Debian's yt-dlp: %.3f s (one first start, two resolutions)\n", resolved);
    std::printf("persistNow, 1000 songs: %.3f ms on the main thread (median of 20)\n", median(persist));
    return 0;
}
