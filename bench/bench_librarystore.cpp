// A music library at every size limit at once: how long loading, saving and a history change take,
// on the main thread and on the writer thread, and the peak memory of the process.
// Usage: bench_librarystore [rounds]
#include "core/AppPaths.h"
#include "music/LibraryStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

QString idOf(int n)
{
    return QStringLiteral("id%1").arg(n, 9, 10, QLatin1Char('0'));
}

LibraryData fullLibrary()
{
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-400);
    LibraryData data;
    auto trackOf = [](int n) {
        return Track{
            idOf(n),         QStringLiteral("Song title number %1").arg(n), QStringLiteral("Artist %1").arg(n % 300),
            180.0 + n % 120, QStringLiteral("Album %1").arg(n % 500),       QStringLiteral("pop")};
    };
    for (int i = 0; i < 4000; ++i)
        data.catalog.insert(idOf(i), trackOf(i));
    for (int i = 0; i < 6000; ++i)
        data.plays.append(PlayEvent{idOf(i % 4000), start.addSecs(i * 600), 95.5, 212.0, i % 3 == 0, i % 7 == 0});
    for (int i = 0; i < 40; ++i)
        data.searches.append(QStringLiteral("search text %1").arg(i));
    for (int p = 0; p < 50; ++p) {
        Playlist playlist{QUuid::createUuid(), QStringLiteral("Playlist %1").arg(p), {}, start, std::nullopt};
        for (int t = 0; t < 100; ++t)
            playlist.tracks.append(trackOf((p * 100 + t) % 4000));
        data.playlists.append(playlist);
    }
    for (int d = 0; d < 60; ++d) {
        Discovery discovery{
            Discovery::Kind::Radio, idOf(d), QStringLiteral("Because you played %1").arg(d), {}, start.addDays(d)};
        for (int t = 0; t < 25; ++t)
            discovery.ids.append(idOf((d * 25 + t) % 4000));
        data.discoveries.append(discovery);
    }
    for (int i = 0; i < 1500; ++i)
        data.shown.insert(idOf(i), 1 + i % 6);
    for (int i = 0; i < 300; ++i)
        data.downloads.insert(idOf(i), QStringLiteral("/home/user/Music/Morvane Music/Song %1.m4a").arg(i));
    return data;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds of each of `rounds` runs of `work`, median and worst.
void report(const char *what, int rounds, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("%-44s median %7.2f ms   worst %7.2f ms\n", what, median(times),
                *std::max_element(times.begin(), times.end()));
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 20;
    const long baseline = peakKilobytes();

    const LibraryData data = fullLibrary();
    const QByteArray bytes = data.toJson();
    const QString path = AppPaths::support() + QStringLiteral("/library.json");
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    std::printf("library.json: %.2f MB, %lld plays, %lld catalog tracks, %lld playlist tracks\n", bytes.size() / 1e6,
                static_cast<long long>(data.plays.size()), static_cast<long long>(data.catalog.size()), 50LL * 100);

    report("encode (writer thread)", rounds, [&] { (void)data.toJson(); });
    report("decode", rounds, [&] { (void)LibraryData::fromJson(bytes); });
    report("load: construct the store", rounds, [&] { LibraryStore store; });
    report("write encoded bytes (QSaveFile, synced)", rounds, [&] {
        QSaveFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        file.commit();
    });
    report("encode and write synchronously", rounds, [&] {
        QSaveFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(data.toJson());
        file.commit();
    });

    LibraryStore store;
    {
        std::vector<double> mainThread, wholeSave;
        for (int i = 0; i < rounds; ++i) {
            QEventLoop loop;
            QObject::connect(&store, &LibraryStore::saved, &loop, &QEventLoop::quit);
            QElapsedTimer timer;
            timer.start();
            store.saveNow();
            mainThread.push_back(timer.nsecsElapsed() / 1e6);
            loop.exec();
            wholeSave.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::printf("%-44s median %7.2f ms   worst %7.2f ms\n", "saveNow() call, main thread", median(mainThread),
                    *std::max_element(mainThread.begin(), mainThread.end()));
        std::printf("%-44s median %7.2f ms   worst %7.2f ms\n", "saveNow() until written", median(wholeSave),
                    *std::max_element(wholeSave.begin(), wholeSave.end()));
    }
    report("record() a play (statistics rebuilt)", rounds, [&] {
        store.record(PlayEvent{idOf(1), QDateTime::currentDateTimeUtc(), 100, 200.0, true, false});
    });
    QStringList someIDs;
    for (int i = 0; i < 25; ++i)
        someIDs.append(idOf(i * 7));
    const QList<Track> known = store.tracks(someIDs);
    report("registerTracks() of 25 known tracks", rounds, [&] { store.registerTracks(known); });

    std::printf("peak memory: %.1f MB (%.1f MB above start)\n", peakKilobytes() / 1024.0,
                (peakKilobytes() - baseline) / 1024.0);
    return 0;
}
