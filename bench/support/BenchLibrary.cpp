#include "BenchLibrary.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace BenchLibrary {

QString idOf(int n)
{
    return QStringLiteral("id%1").arg(n, 9, 10, QLatin1Char('0'));
}

LibraryData build(const LibraryShape &shape)
{
    LibraryData data;
    auto trackOf = [](int n) {
        return Track{
            idOf(n),         QStringLiteral("Song title number %1").arg(n), QStringLiteral("Artist %1").arg(n % 300),
            180.0 + n % 120, QStringLiteral("Album %1").arg(n % 500),       QStringLiteral("pop")};
    };
    for (int i = 0; i < shape.catalog; ++i)
        data.catalog.insert(idOf(i), trackOf(i));
    for (int i = 0; i < shape.plays; ++i) {
        data.plays.append(
            PlayEvent{idOf(i % shape.catalog), shape.start.addSecs(i * 600), 95.5, 212.0, i % 3 == 0, i % 7 == 0});
    }
    for (int i = 0; i < shape.searches; ++i)
        data.searches.append(QStringLiteral("search text %1").arg(i));
    for (int p = 0; p < shape.playlists; ++p) {
        Playlist playlist{QUuid::createUuid(), QStringLiteral("Playlist %1").arg(p), {}, shape.start, std::nullopt};
        for (int t = 0; t < shape.tracksPerPlaylist; ++t)
            playlist.tracks.append(trackOf((p * shape.tracksPerPlaylist + t) % shape.catalog));
        data.playlists.append(playlist);
    }
    for (int d = 0; d < shape.discoveries; ++d) {
        Discovery discovery{Discovery::Kind::Radio,
                            idOf(d),
                            QStringLiteral("Because you played %1").arg(d),
                            {},
                            shape.start.addDays(d)};
        for (int t = 0; t < shape.idsPerDiscovery; ++t)
            discovery.ids.append(idOf((d * shape.idsPerDiscovery + t) % shape.catalog));
        data.discoveries.append(discovery);
    }
    for (int i = 0; i < shape.shown; ++i)
        data.shown.insert(idOf(i), 1 + i % 6);
    for (int i = 0; i < shape.likes; ++i)
        data.likes.append(idOf(i * 13 % shape.catalog));
    for (int i = 0; i < shape.downloads; ++i)
        data.downloads.insert(idOf(i), shape.downloadFolder + QStringLiteral("/Song %1.m4a").arg(i));
    return data;
}

void print(const char *what, std::vector<double> milliseconds)
{
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("%-44s median %7.2f ms   worst %7.2f ms\n", what, milliseconds[milliseconds.size() / 2],
                milliseconds.back());
}

void report(const char *what, int rounds, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    print(what, times);
}

} // namespace BenchLibrary
