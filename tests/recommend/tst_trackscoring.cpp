#include "TestRecommender.h"
#include "recommend/RecommendText.h"

#include <QTest>

#include <cmath>

using T = TestRecommender;

namespace {

// Scores are compared to four decimals, as they are worked out by hand.
qint64 rounded(double value)
{
    return std::llround(value * 10000);
}

// For seed 1 these ids jitter by exactly 0 and 0.5.
const QString calmID = T::idOf(18938);
const QString halfID = T::idOf(22218);

TrackStat stat(int plays, int completes, int skips, double hoursAgo)
{
    return TrackStat{plays, completes, skips, T::now.addSecs(qint64(-hoursAgo * 3600))};
}

} // namespace

class TestTrackScoring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyLibraryProfile()
    {
        T rig;
        const ListeningProfile profile = rig.engine().profile();
        QVERIFY(profile.artists.isEmpty());
        QVERIFY(profile.genres.isEmpty());
        QCOMPARE(profile.maxArtist, 1.0);
        QCOMPARE(profile.maxGenre, 1.0);
        QCOMPARE(profile.skipRate, 0.0);
        QCOMPARE(profile.repeatFactor, -1.0);
        QVERIFY(rig.engine().pool().isEmpty());
        QVERIFY(rig.engine().nextCandidates({}, std::nullopt, 4).isEmpty());
    }

    void profileWeights_data()
    {
        QTest::addColumn<QList<PlayEvent>>("plays");
        QTest::addColumn<bool>("liked");
        QTest::addColumn<std::optional<double>>("artistWeight"); // of "nova"; none when unknown
        QTest::addColumn<double>("skipRate");
        QTest::addColumn<double>("repeatFactor");

        const QString id = T::idOf(1);
        const QString uncatalogued = T::idOf(99);
        using W = std::optional<double>;
        QTest::newRow("completed 45 days ago") << QList{T::play(id, 45, 200, true)} << false << W(0.3679) << 0.0 << 0.0;
        QTest::newRow("15 s listen 22.5 days ago")
            << QList{T::play(id, 22.5, 15, false)} << false << W(0.2426) << 0.0 << 0.0;
        QTest::newRow("skip now") << QList{T::play(id, 0, 3, false, true)} << false << W(-0.6) << 1.0 << -1.0;
        QTest::newRow("completed and skipped")
            << QList{T::play(id, 0, 200, true, true)} << false << W(1.0) << 1.0 << 0.0;
        QTest::newRow("5 s listen makes the artist known")
            << QList{T::play(id, 0, 5, false)} << false << W(0.0) << 0.0 << -1.0;
        QTest::newRow("uncatalogued track counts nowhere")
            << QList{T::play(uncatalogued, 0, 3, false, true)} << false << W() << 0.0 << -1.0;
        QTest::newRow("like never played") << QList<PlayEvent>{} << true << W(2.0) << 0.0 << -1.0;
        QTest::newRow("like played long ago") << QList{T::play(id, 4500, 200, true)} << true << W(2.0) << 0.0 << 0.0;
        QTest::newRow("repeats capped at 1")
            << QList{T::play(id, 1, 200, true), T::play(id, 2, 200, true), T::play(id, 3, 200, true)} << false
            << W(2.8701) << 0.0 << 1.0;
    }

    void profileWeights()
    {
        QFETCH(QList<PlayEvent>, plays);
        QFETCH(bool, liked);
        QFETCH(std::optional<double>, artistWeight);
        QFETCH(double, skipRate);
        QFETCH(double, repeatFactor);

        LibraryData data;
        // Names that differ in case and blanks are one artist.
        data.catalog.insert(T::idOf(1), T::song(1, QStringLiteral(" Nova\t"), QStringLiteral("pop")));
        data.plays = plays;
        if (liked)
            data.likes = {T::idOf(1)};
        T rig(data);
        const ListeningProfile profile = rig.engine().profile();

        QCOMPARE(profile.artists.contains(QStringLiteral("nova")), artistWeight.has_value());
        if (artistWeight) {
            QCOMPARE(rounded(profile.artists.value(QStringLiteral("nova"))), rounded(*artistWeight));
            QCOMPARE(rounded(profile.genres.value(QStringLiteral("pop"))), rounded(*artistWeight));
            QCOMPARE(rounded(profile.maxArtist), rounded(std::max(1.0, *artistWeight)));
        }
        QCOMPARE(profile.artists.size(), artistWeight ? 1 : 0);
        QCOMPARE(profile.skipRate, skipRate);
        QCOMPARE(profile.repeatFactor, repeatFactor);
    }

    void score_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<double>("artistWeight"); // of the track's artist, with a largest weight of 3
        QTest::addColumn<bool>("liked");
        QTest::addColumn<std::optional<TrackStat>>("stat");
        QTest::addColumn<qint64>("shown");
        QTest::addColumn<double>("expected");

        using S = std::optional<TrackStat>;
        QTest::newRow("worked example") << halfID << 3.0 << true << S(stat(4, 2, 1, 5)) << qint64(2) << 1.7575;
        QTest::newRow("no statistics") << calmID << 0.0 << false << S() << qint64(0) << 0.4;
        QTest::newRow("no plays, no skips") << calmID << 0.0 << false << S(stat(0, 0, 0, 1e6)) << qint64(0) << 0.4;
        QTest::newRow("no plays, one skip")
            << calmID << 0.0 << false << S(TrackStat{0, 0, 1, TrackStat::distantPast()}) << qint64(0) << -0.5;
        QTest::newRow("played 2 h ago") << calmID << 0.0 << false << S(stat(1, 0, 0, 2)) << qint64(0) << -2.5;
        QTest::newRow("played 5 h ago") << calmID << 0.0 << false << S(stat(1, 0, 0, 5)) << qint64(0) << -1.0;
        QTest::newRow("played 24 h ago") << calmID << 0.0 << false << S(stat(1, 0, 0, 24)) << qint64(0) << 0.0;
        QTest::newRow("completed 12 times") << calmID << 0.0 << false << S(stat(12, 12, 0, 48)) << qint64(0) << 0.8;
        QTest::newRow("shown 10 times") << calmID << 0.0 << false << S() << qint64(10) << -1.1;
        QTest::newRow("negative artist weight") << calmID << -2.0 << false << S() << qint64(0) << 0.4;
        QTest::newRow("half the top artist") << calmID << 1.5 << false << S() << qint64(0) << 1.4;
    }

    void score()
    {
        QFETCH(QString, id);
        QFETCH(double, artistWeight);
        QFETCH(bool, liked);
        QFETCH(std::optional<TrackStat>, stat);
        QFETCH(qint64, shown);
        QFETCH(double, expected);

        ListeningProfile profile;
        profile.artists = {{QStringLiteral("nova"), artistWeight}, {QStringLiteral("top"), 3.0}};
        profile.maxArtist = 3.0;
        QHash<QString, TrackStat> stats;
        if (stat)
            stats.insert(id, *stat);
        const TrackScorer scorer(profile, liked ? QSet{id} : QSet<QString>(), stats, {{id, shown}}, 1, T::now);
        const Track track{id, QStringLiteral("Song"), QStringLiteral("NOVA "), 200.0, std::nullopt, std::nullopt};
        QCOMPARE(rounded(scorer.score(track)), rounded(expected));
    }

    void genreAffinity_data()
    {
        QTest::addColumn<std::optional<QString>>("genre");
        QTest::addColumn<double>("expected");

        QTest::newRow("no genre") << std::optional<QString>() << 0.4;
        QTest::newRow("half the top genre") << std::optional(QStringLiteral("pop")) << 0.9;
        QTest::newRow("genres keep their case") << std::optional(QStringLiteral("Pop")) << 0.4;
        QTest::newRow("negative genre") << std::optional(QStringLiteral("metal")) << 0.4;
    }

    void genreAffinity()
    {
        QFETCH(std::optional<QString>, genre);
        QFETCH(double, expected);

        ListeningProfile profile;
        profile.genres = {{QStringLiteral("pop"), 2.0}, {QStringLiteral("rock"), 4.0}, {QStringLiteral("metal"), -1.0}};
        profile.maxGenre = 4.0;
        const TrackScorer scorer(profile, {}, {}, {}, 1, T::now);
        const Track track{calmID, QStringLiteral("Song"), QStringLiteral("Nova"), 200.0, std::nullopt, genre};
        QCOMPARE(rounded(scorer.score(track)), rounded(expected));
    }

    void jitter_data()
    {
        QTest::addColumn<quint64>("seed");
        QTest::addColumn<QString>("id");
        QTest::addColumn<double>("expected");

        QTest::newRow("seed 1") << quint64(1) << QStringLiteral("abc") << 0.2236;
        QTest::newRow("seed 2") << quint64(2) << QStringLiteral("abc") << 0.3513;
        QTest::newRow("largest seed") << ~quint64(0) << QStringLiteral("abc") << 0.2958;
        QTest::newRow("UTF-8 bytes") << quint64(1) << QStringLiteral("é") << 0.554;
        QTest::newRow("half") << quint64(1) << halfID << 0.5;
        QTest::newRow("zero") << quint64(1) << calmID << 0.0;
    }

    void jitter()
    {
        QFETCH(quint64, seed);
        QFETCH(QString, id);
        QFETCH(double, expected);
        QCOMPARE(rounded(TrackScorer::jitter(seed, id)), rounded(expected));
    }

    void artistKey_data()
    {
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("key");

        QTest::newRow("case") << QStringLiteral("NOVA") << QStringLiteral("nova");
        QTest::newRow("blank and tab") << QStringLiteral(" nova\t") << QStringLiteral("nova");
        QTest::newRow("no-break space") << QStringLiteral("\u00A0Nova\u2003") << QStringLiteral("nova");
        QTest::newRow("line break kept") << QStringLiteral("Nova\n") << QStringLiteral("nova\n");
        QTest::newRow("inner blanks kept") << QStringLiteral("Nova  Band") << QStringLiteral("nova  band");
    }

    void artistKey()
    {
        QFETCH(QString, artist);
        QFETCH(QString, key);
        QCOMPARE(RecommendText::artistKey(artist), key);
    }

    void capitalized_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("hyphen") << QStringLiteral("hip-hop") << QStringLiteral("Hip-Hop");
        QTest::newRow("ampersand") << QStringLiteral("r&b") << QStringLiteral("R&B");
        QTest::newRow("upper case lowered") << QStringLiteral("LOFI beats") << QStringLiteral("Lofi Beats");
        QTest::newRow("digit ends a word") << QStringLiteral("2step") << QStringLiteral("2Step");
    }

    void capitalized()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(RecommendText::capitalized(text), expected);
    }

    void pool()
    {
        LibraryData data;
        for (int n = 1; n <= 6; ++n)
            data.catalog.insert(T::idOf(n), T::song(n, QStringLiteral("Nova")));
        data.plays = {T::play(T::idOf(5), 1, 3, false), T::play(T::idOf(50), 1, 200, true)};
        data.likes = {T::idOf(4), T::idOf(51)};
        data.discoveries = {Discovery{Discovery::Kind::Radio, T::idOf(5), QStringLiteral("x"), {T::idOf(3)}, T::now}};
        data.playlists = {Playlist{
            QUuid::createUuid(), QStringLiteral("Mine"), {T::song(2, QStringLiteral("Nova"))}, T::now, std::nullopt}};
        T rig(data);
        // Played (even unheard), liked, discovered and listed tracks, uncatalogued ones left out.
        QCOMPARE(T::ids(rig.engine().pool()), (QStringList{T::idOf(2), T::idOf(3), T::idOf(4), T::idOf(5)}));
    }
};

QTEST_GUILESS_MAIN(TestTrackScoring)
#include "tst_trackscoring.moc"
