// A music library at every size limit at once: how long loading, saving and a history change take,
// on the main thread and on the writer thread, and the peak memory of the process.
// Usage: bench_librarystore [rounds]
#include "BenchLibrary.h"
#include "core/AppPaths.h"
#include "core/StringPool.h"
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
#include <vector>

namespace {

using BenchLibrary::idOf;
using BenchLibrary::report;

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

    const LibraryData data = BenchLibrary::build();
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
    LibraryData arrived = *LibraryData::fromJson(bytes);
    report("pack texts read on a worker (main)", rounds, [&] {
        StringPool fresh(StringPool::Storage::Fresh);
        arrived.shareTexts(fresh);
    });
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
        BenchLibrary::print("saveNow() call, main thread", mainThread);
        BenchLibrary::print("saveNow() until written", wholeSave);
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
