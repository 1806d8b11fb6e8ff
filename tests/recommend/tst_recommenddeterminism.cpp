#include "TestRecommender.h"
#include "recommend/SectionBuilders.h"

#include <QHashSeed>
#include <QTest>

#include <map>

using T = TestRecommender;

// Ties between equal weights and equal scores must resolve the same way in every process, whatever
// order Qt's hash containers iterate in. CTest runs this test twice: once with Qt's fixed hash seed
// and once with a random one.
class TestRecommendDeterminism : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tiesResolveInKeyOrder()
    {
        T rig;
        LibraryStore &store = rig.store();
        RecommendationEngine &engine = rig.engine();

        // Twelve liked songs: every artist weighs 2, each genre 8. Liking also lifts them above
        // the discovered songs, so they fill Quick Picks and leave the discovered ones to Made For You.
        const QStringList artists{QStringLiteral("Zed"),   QStringLiteral("alpha"),  QStringLiteral("Émile"),
                                  QStringLiteral("beta"),  QStringLiteral("Ω"),      QStringLiteral("delta"),
                                  QStringLiteral("Gamma"), QStringLiteral("eta"),    QStringLiteral("iota"),
                                  QStringLiteral("kappa"), QStringLiteral("Lambda"), QStringLiteral("mu")};
        const QStringList genres{QStringLiteral("rock"), QStringLiteral("jazz"), QStringLiteral("pop")};
        for (int n = 0; n < artists.size(); ++n)
            store.toggleLike(T::song(n + 1, artists.at(n), genres.at(n % 3)));

        // Six discovered songs whose jitter is equal under the engine's seed score exactly alike.
        std::map<qint64, QStringList> byJitter;
        QStringList tied;
        for (int n = 10000; tied.isEmpty(); ++n) {
            QStringList &bucket = byJitter[std::llround(TrackScorer::jitter(engine.seed(), T::idOf(n)) * 10000)];
            bucket.append(T::idOf(n));
            if (bucket.size() == 6)
                tied = bucket;
        }
        QList<Track> discovered;
        for (auto id = tied.crbegin(); id != tied.crend(); ++id)
            discovered.append(
                Track{*id, QStringLiteral("Tied"), QStringLiteral("Tie ") + *id, 200.0, std::nullopt, std::nullopt});
        store.registerTracks(discovered);
        store.setDiscovery(Discovery{Discovery::Kind::Radio, QStringLiteral("elsewhere"), QStringLiteral("Mix"),
                                     T::ids(discovered), T::now});
        engine.refresh(false);

        // Equal artist weights: the first six keys in code point order, the genre mix second.
        QStringList stations;
        for (const Station &station : rig.section(QStringLiteral("mixes")).content.stations)
            stations.append(station.id);
        QCOMPARE(stations,
                 (QStringList{QStringLiteral("mix-alpha"), QStringLiteral("mix-genre-jazz"), QStringLiteral("mix-beta"),
                              QStringLiteral("mix-delta"), QStringLiteral("mix-eta"), QStringLiteral("mix-gamma"),
                              QStringLiteral("mix-iota")}));

        // Equal genre weights: in key order, ahead of the remaining defaults.
        QStringList expectedGenres{QStringLiteral("Jazz"), QStringLiteral("Pop"), QStringLiteral("Rock")};
        for (const QString &genre : SectionBuilders::defaultGenres()) {
            if (!expectedGenres.contains(genre))
                expectedGenres.append(genre);
        }
        QCOMPARE(rig.section(QStringLiteral("genres")).content.genres, expectedGenres);

        // Equal scores: by id.
        QCOMPARE(rig.section(QStringLiteral("quick")).content.tracks.size(), 12);
        QCOMPARE(T::ids(rig.section(QStringLiteral("madeforyou")).content.tracks), tied);
        QCOMPARE(T::ids(engine.nextCandidates({}, std::nullopt, 20)).mid(12), tied);
    }
};

QTEST_GUILESS_MAIN(TestRecommendDeterminism)
#include "tst_recommenddeterminism.moc"
