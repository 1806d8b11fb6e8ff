// The recommender over a library at its limits: how long the profile, ranking the whole pool, the
// next candidates and a full Home refresh take on the main thread.
// Usage: bench_recommend [rounds]
#include "BenchLibrary.h"
#include "core/AppPaths.h"
#include "music/LibraryStore.h"
#include "player/YTMusicCatalog.h"
#include "recommend/RecommendationEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using BenchLibrary::idOf;
using BenchLibrary::report;

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 50;

    // Plays run up to a few hours ago, so recency, resume and seeds all have work to do.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    LibraryShape shape;
    shape.start = now.addDays(-42);
    shape.playlists = 20;
    shape.tracksPerPlaylist = 100;
    shape.idsPerDiscovery = 30;
    shape.likes = 300;
    shape.downloads = 200;
    shape.downloadFolder = home.path() + QStringLiteral("/Music");
    LibraryData data = BenchLibrary::build(shape);

    QDir().mkpath(shape.downloadFolder);
    for (const QString &path : std::as_const(data.downloads)) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("audio");
    }
    // Plays cover 2500 tracks and discoveries bring the other 1500, unplayed, so every shelf has
    // work: mixes of the latest plays for the "because" shelves, and some newest-upload lists.
    for (int i = 0; i < data.plays.size(); ++i)
        data.plays[i].trackID = idOf(i % 2500);
    for (int d = 0; d < data.discoveries.size(); ++d) {
        Discovery &discovery = data.discoveries[d];
        for (int t = 0; t < discovery.ids.size(); ++t)
            discovery.ids[t] = idOf(2500 + (d * shape.idsPerDiscovery + t) % 1500);
        if (d % 5 == 4)
            discovery.kind = Discovery::Kind::NewFrom;
    }
    data.discoveries[0].key = data.plays.at(data.plays.size() - 2).trackID;
    data.discoveries[1].key = data.plays.at(data.plays.size() - 3).trackID;
    {
        QFile file(AppPaths::support() + QStringLiteral("/library.json"));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(data.toJson());
    }

    LibraryStore store;
    QRandomGenerator random(1);
    YTMusicCatalog catalog;
    RecommendationEngine engine(
        &store, &catalog, [now] { return now; }, &random);
    const QList<Track> pool = engine.pool();
    std::printf("%lld catalog tracks, %lld plays, %lld in the pool, %lld Home sections\n",
                static_cast<long long>(store.catalog().size()), static_cast<long long>(store.plays().size()),
                static_cast<long long>(pool.size()), static_cast<long long>(engine.sections().size()));

    QStringList ids;
    for (const HomeSection &section : engine.sections())
        ids.append(section.id);
    std::printf("sections: %s\n", qPrintable(ids.join(u' ')));

    report("profile()", rounds, [&] { (void)engine.profile(); });
    report("pool()", rounds, [&] { (void)engine.pool(); });
    const ListeningProfile profile = engine.profile();
    report("rank the whole pool (scorer, scores, sort)", rounds,
           [&] { (void)engine.scorer(profile, now).ranked(engine.pool()); });
    const Track near = store.catalog().value(idOf(1999));
    report("nextCandidates(avoid: 0, near, 4)", rounds, [&] { (void)engine.nextCandidates({}, near, 4); });
    report("refresh(countShown: true)", rounds, [&] { engine.refresh(true); });
    report("refresh(countShown: false)", rounds, [&] { engine.refresh(false); });
    return 0;
}
