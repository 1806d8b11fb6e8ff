#include "TestRecommender.h"

#include <QTest>

using T = TestRecommender;

namespace {

// A library whose tracks are all unplayed, known through one discovery: with an empty profile
// they score alike but for the jitter (below 0.6), so a bonus of 0.7 or more decides.
LibraryData discovered(const QList<Track> &tracks)
{
    LibraryData data;
    Discovery discovery{Discovery::Kind::Radio, T::idOf(999), QStringLiteral("Mix"), {}, T::now};
    for (const Track &track : tracks) {
        data.catalog.insert(track.id, track);
        discovery.ids.append(track.id);
    }
    data.discoveries = {discovery};
    return data;
}

QStringList artists(const QList<Track> &tracks)
{
    QStringList result;
    for (const Track &track : tracks)
        result.append(track.artist);
    return result;
}

} // namespace

class TestNextCandidates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nearArtist_data()
    {
        QTest::addColumn<QString>("nearArtist");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("sameArtistFirst"); // how many leading results are by the near artist
        QTest::addColumn<int>("sameArtistInAll");

        QTest::newRow("three spellings of one artist, two allowed") << QStringLiteral("Nova") << 4 << 2 << 2;
        QTest::newRow("near artist spelled otherwise") << QStringLiteral("\tNOVA ") << 3 << 2 << 2;
        QTest::newRow("line break makes another artist") << QStringLiteral("Nova\n") << 1 << 1 << 1;
    }

    void nearArtist()
    {
        QFETCH(QString, nearArtist);
        QFETCH(int, count);
        QFETCH(int, sameArtistFirst);
        QFETCH(int, sameArtistInAll);

        const QStringList spellings{QStringLiteral("Nova"), QStringLiteral(" nova\t"), QStringLiteral("NOVA "),
                                    QStringLiteral("Nova\n")};
        QList<Track> tracks;
        for (int n = 0; n < spellings.size(); ++n)
            tracks.append(T::song(n, spellings.at(n)));
        for (int n = 10; n < 16; ++n)
            tracks.append(T::song(n, QStringLiteral("Other %1").arg(n)));
        T rig(discovered(tracks));

        const Track near{T::idOf(500), QStringLiteral("Seed"), nearArtist, 200.0, std::nullopt, std::nullopt};
        const QList<Track> result = rig.engine().nextCandidates({}, near, count);
        QCOMPARE(result.size(), count);
        // The near artist's key: the three first spellings share one, the line break keeps its own.
        const QStringList same = nearArtist.endsWith(QLatin1Char('\n')) ? spellings.mid(3) : spellings.mid(0, 3);
        for (int i = 0; i < sameArtistFirst; ++i)
            QVERIFY2(same.contains(result.at(i).artist), qPrintable(artists(result).join(u'|')));
        int inAll = 0;
        for (const Track &track : result)
            inAll += same.contains(track.artist) ? 1 : 0;
        QCOMPARE(inAll, sameArtistInAll);
    }

    void nearGenre_data()
    {
        QTest::addColumn<QString>("nearGenre");
        QTest::addColumn<QString>("expectedGenre");

        QTest::newRow("Pop") << QStringLiteral("Pop") << QStringLiteral("Pop");
        QTest::newRow("pop") << QStringLiteral("pop") << QStringLiteral("pop");
    }

    void nearGenre()
    {
        QFETCH(QString, nearGenre);
        QFETCH(QString, expectedGenre);

        // Genres match only as stored: "Pop" and "pop" earn each other nothing.
        T rig(discovered({T::song(1, QStringLiteral("A"), QStringLiteral("Pop")),
                          T::song(2, QStringLiteral("B"), QStringLiteral("pop"))}));
        const Track near{T::idOf(500), QStringLiteral("Seed"), QStringLiteral("C"), 200.0, std::nullopt, nearGenre};
        const QList<Track> result = rig.engine().nextCandidates({}, near, 1);
        QCOMPARE(result.size(), 1);
        QCOMPARE(result.first().genre, std::optional(expectedGenre));
    }

    void durationsAndAvoid_data()
    {
        QTest::addColumn<QSet<QString>>("avoid");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("1500 s never, no duration and 1199 s may")
            << QSet<QString>() << QStringList{T::idOf(2), T::idOf(3)};
        QTest::newRow("avoided ids dropped") << QSet{T::idOf(2)} << QStringList{T::idOf(3)};
        QTest::newRow("everything avoided") << QSet{T::idOf(2), T::idOf(3)} << QStringList();
    }

    void durationsAndAvoid()
    {
        QFETCH(QSet<QString>, avoid);
        QFETCH(QStringList, expected);

        LibraryData data =
            discovered({T::song(1, QStringLiteral("A"), std::nullopt, 1500.0), T::song(2, QStringLiteral("B")),
                        T::song(3, QStringLiteral("C"), std::nullopt, 1199.0)});
        // Liking lifts the long track above the rest: only its length keeps it out.
        data.likes = {T::idOf(1)};
        T rig(data);
        QStringList result = T::ids(rig.engine().nextCandidates(avoid, std::nullopt, 4));
        result.sort();
        QCOMPARE(result, expected);
    }

    void nearItselfStays()
    {
        T rig(discovered({T::song(1, QStringLiteral("A")), T::song(2, QStringLiteral("B"))}));
        const Track near = T::song(1, QStringLiteral("A"));
        QCOMPARE(T::ids(rig.engine().nextCandidates({}, near, 1)), QStringList{T::idOf(1)});
    }

    void diversified()
    {
        const QList<Track> tracks{T::song(1, QStringLiteral("Nova")),  T::song(2, QStringLiteral(" nova\t")),
                                  T::song(3, QStringLiteral("NOVA ")), T::song(4, QStringLiteral("Nova\n")),
                                  T::song(5, QStringLiteral("Other")), T::song(6, QStringLiteral("Third"))};
        QCOMPARE(T::ids(RecommendationEngine::diversified(tracks, 10, 2)),
                 (QStringList{T::idOf(1), T::idOf(2), T::idOf(4), T::idOf(5), T::idOf(6)}));
        QCOMPARE(T::ids(RecommendationEngine::diversified(tracks, 3, 1)),
                 (QStringList{T::idOf(1), T::idOf(4), T::idOf(5)}));
        QVERIFY(RecommendationEngine::diversified({}, 3, 1).isEmpty());
    }

    void seedTracks_data()
    {
        QTest::addColumn<QList<PlayEvent>>("plays"); // newest last
        QTest::addColumn<QStringList>("likes");      // newest first
        QTest::addColumn<int>("limit");
        QTest::addColumn<QStringList>("expected");

        auto id = &T::idOf;
        QTest::newRow("likes after the two latest plays")
            << QList{T::play(id(3), 3, 200, true), T::play(id(2), 2, 200, true), T::play(id(1), 1, 200, true)}
            << QStringList{id(11), id(12)} << 5 << QStringList{id(1), id(2), id(11), id(12), id(3)};
        QTest::newRow("at most three likes") << QList<PlayEvent>{} << QStringList{id(11), id(12), id(13), id(14)} << 5
                                             << QStringList{id(11), id(12), id(13)};
        QTest::newRow("skipped never, a finished 5 s play does")
            << QList{T::play(id(2), 2, 5, true), T::play(id(1), 1, 300, false, true)} << QStringList() << 4
            << QStringList{id(2)};
        QTest::newRow("one per artist, up to the limit")
            << QList{T::play(id(4), 4, 30, false), T::play(id(5), 3, 30, false), T::play(id(3), 2, 30, false),
                     T::play(id(6), 1, 30, false)}
            << QStringList() << 2 << QStringList{id(6), id(3)};
        QTest::newRow("uncatalogued plays pass") << QList{T::play(id(2), 2, 200, true), T::play(id(77), 1, 200, true)}
                                                 << QStringList() << 3 << QStringList{id(2)};
    }

    void seedTracks()
    {
        QFETCH(QList<PlayEvent>, plays);
        QFETCH(QStringList, likes);
        QFETCH(int, limit);
        QFETCH(QStringList, expected);

        LibraryData data;
        for (int n : {1, 2, 3, 11, 12, 13, 14})
            data.catalog.insert(T::idOf(n), T::song(n, QStringLiteral("Artist %1").arg(n)));
        // Tracks 4, 5 and 6 are by one artist spelled three ways; 3 by another.
        data.catalog.insert(T::idOf(4), T::song(4, QStringLiteral("Echo")));
        data.catalog.insert(T::idOf(5), T::song(5, QStringLiteral("echo ")));
        data.catalog.insert(T::idOf(6), T::song(6, QStringLiteral(" ECHO")));
        data.plays = plays;
        data.likes = likes;
        T rig(data);
        QCOMPARE(T::ids(rig.engine().seedTracks(limit)), expected);
    }
};

QTEST_GUILESS_MAIN(TestNextCandidates)
#include "tst_nextcandidates.moc"
