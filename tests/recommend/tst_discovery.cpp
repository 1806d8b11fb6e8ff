#include "OfflineYtDlp.h"
#include "TestLog.h"
#include "TestRecommender.h"
#include "player/YTMusicCatalog.h"

#include <QSignalSpy>
#include <QTest>

using T = TestRecommender;

namespace {

// Tracks 1 to 5 by artists "a1" … "a5", each played once, track 1 newest.
LibraryData fivePlays()
{
    LibraryData data;
    for (int n = 5; n >= 1; --n) {
        data.catalog.insert(T::idOf(n), T::song(n, QStringLiteral("A%1").arg(n)));
        data.plays.append(T::play(T::idOf(n), n, 200, true));
    }
    return data;
}

// A mix of the seed itself followed by two new songs.
QList<Track> mixOf(int seed)
{
    return {T::song(seed, QStringLiteral("A%1").arg(seed)), T::song(seed * 100, QStringLiteral("New")),
            T::song(seed * 100 + 1, QStringLiteral("New"))};
}

// What the library remembers, one line per discovery: "<kind> <key> <ids>".
QStringList remembered(const LibraryStore &store)
{
    QStringList lines;
    for (const Discovery &discovery : store.discoveries()) {
        lines.append(Discovery::rawValue(discovery.kind) + u' ' + discovery.key + u' ' + discovery.ids.join(u','));
        if (discovery.date != T::now)
            lines.append(QStringLiteral("dated ") + discovery.date.toString(Qt::ISODate));
    }
    lines.sort();
    return lines;
}

QStringList callsStarting(const FakeCatalog &catalog, const QString &prefix)
{
    QStringList result;
    for (const QString &call : catalog.calls) {
        if (call.startsWith(prefix))
            result.append(call);
    }
    return result;
}

void installYtdlp(const T &rig)
{
    rig.environment().installScript(QStringLiteral("yt-dlp"), "#!/bin/sh\nexit 1\n");
}

// Runs discovery to its end: isDiscovering goes true, then false.
void runToEnd(T &rig)
{
    QSignalSpy changes(&rig.engine(), &RecommendationEngine::isDiscoveringChanged);
    rig.engine().discover();
    QTRY_COMPARE(changes.count(), 2);
    QVERIFY(!rig.engine().isDiscovering());
}

} // namespace

class TestDiscovery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void radioMixes_data()
    {
        QTest::addColumn<LibraryData>("data");
        QTest::addColumn<QHash<QString, QList<MusicResult<QList<Track>>>>>("mixes"); // by "radio <seed>"
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("stored");

        auto id = &T::idOf;
        auto radio = [](int n) { return QStringLiteral("radio %1 30").arg(T::idOf(n)); };
        auto stored = [](int n) {
            return QStringLiteral("radio %1 %2,%3").arg(T::idOf(n), T::idOf(n * 100), T::idOf(n * 100 + 1));
        };
        auto mixes = [](const QList<int> &seeds) {
            QHash<QString, QList<MusicResult<QList<Track>>>> answers;
            for (int n : seeds)
                answers.insert(QStringLiteral("radio ") + T::idOf(n), {mixOf(n)});
            return answers;
        };

        LibraryData liked = fivePlays();
        liked.plays.removeLast(); // track 1
        liked.plays.removeLast(); // track 2 (A: 3, B: 4, C: 5 remain, 3 newest)
        liked.catalog.insert(id(11), T::song(11, QStringLiteral("L1")));
        liked.catalog.insert(id(12), T::song(12, QStringLiteral("L2")));
        liked.likes = {id(11), id(12)};
        QTest::newRow("plays A, B, C and likes L1, L2 seed A, B, L1, L2")
            << liked << mixes({}) << QStringList{radio(3), radio(4), radio(11), radio(12)} << QStringList();

        QTest::newRow("four stale seeds store two mixes")
            << fivePlays() << mixes({1, 2, 3, 4}) << QStringList{radio(1), radio(2)}
            << QStringList{stored(1), stored(2)};

        auto failing = mixes({2, 3, 4});
        failing.insert(QStringLiteral("radio ") + id(1), {MusicError{QStringLiteral("No.")}});
        QTest::newRow("a failing mix does not count")
            << fivePlays() << failing << QStringList{radio(1), radio(2), radio(3)} << QStringList{stored(2), stored(3)};

        LibraryData fresh = fivePlays();
        fresh.discoveries = {
            Discovery{Discovery::Kind::Radio, id(1), QStringLiteral("Song 1"), {id(9)}, T::now.addSecs(-19 * 3600)}};
        QTest::newRow("19 h is fresh") << fresh << mixes({1, 2, 3}) << QStringList{radio(2), radio(3)}
                                       << QStringList{QStringLiteral("dated 2026-05-31T17:00:00Z"),
                                                      QStringLiteral("radio %1 %2").arg(id(1), id(9)), stored(2),
                                                      stored(3)};
        LibraryData stale = fresh;
        stale.discoveries.first().date = T::now.addSecs(-20 * 3600);
        QTest::newRow("20 h is stale") << stale << mixes({1, 2, 3}) << QStringList{radio(1), radio(2)}
                                       << QStringList{stored(1), stored(2)};
    }

    void radioMixes()
    {
        QFETCH(LibraryData, data);
        QFETCH(QStringList, calls);
        QFETCH(QStringList, stored);
        T rig(data);
        installYtdlp(rig);
        QFETCH(decltype(rig.catalog().listings), mixes);
        rig.catalog().listings = mixes;

        runToEnd(rig);
        QCOMPARE(callsStarting(rig.catalog(), QStringLiteral("radio ")), calls);
        QStringList radios = remembered(rig.store());
        radios.removeIf([](const QString &line) { return line.startsWith(QLatin1String("newFrom")); });
        QCOMPARE(radios, stored);
    }

    void newestUploads_data()
    {
        QTest::addColumn<QStringList>("artists");  // one liked song each, heaviest first
        QTest::addColumn<QList<Track>>("uploads"); // of the first artist
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("stored");

        const QString artist = QStringLiteral("band");
        auto track = [](int n, const char *by, const char *title) {
            return Track{T::idOf(n),  QString::fromUtf8(title), QString::fromUtf8(by), std::nullopt, std::nullopt,
                         std::nullopt};
        };
        QTest::newRow("the substring filter")
            << QStringList{artist}
            << QList{track(31, "Band feat. Guest", "One"), track(32, "Ban", "Two"), track(33, "Other", "Big BAND"),
                     track(34, "Other", "Three"), track(35, "", "Four")}
            << QStringList{QStringLiteral("newest band 8")}
            << QStringList{QStringLiteral("newFrom band %1,%2,%3").arg(T::idOf(31), T::idOf(32), T::idOf(33))};
        QTest::newRow("one newFrom per run, even when empty")
            << QStringList{artist, QStringLiteral("second")} << QList{track(34, "Other", "Three")}
            << QStringList{QStringLiteral("newest band 8")} << QStringList{QStringLiteral("newFrom band ")};
        QTest::newRow("nothing found moves on")
            << QStringList{artist, QStringLiteral("second"), QStringLiteral("third"), QStringLiteral("fourth")}
            << QList<Track>()
            << QStringList{QStringLiteral("newest band 8"), QStringLiteral("newest second 8"),
                           QStringLiteral("newest third 8")}
            << QStringList();
    }

    void newestUploads()
    {
        QFETCH(QStringList, artists);
        QFETCH(QList<Track>, uploads);
        QFETCH(QStringList, calls);
        QFETCH(QStringList, stored);

        LibraryData data;
        for (qsizetype i = 0; i < artists.size(); ++i) {
            const Track song = T::song(int(i) + 1, artists.at(i));
            data.catalog.insert(song.id, song);
            data.likes.append(song.id);
            // A completed play per place from the end: heavier artists first.
            for (qsizetype extra = i; extra < artists.size(); ++extra)
                data.plays.append(T::play(song.id, 400, 200, true));
        }
        // Skips pull this artist to weight 0.5 or less: never searched.
        const Track skipped = T::song(90, QStringLiteral("Skipped"));
        data.catalog.insert(skipped.id, skipped);
        data.likes.append(skipped.id);
        for (int n = 0; n < 3; ++n)
            data.plays.append(T::play(skipped.id, 0, 300, false, true));
        T rig(data);
        installYtdlp(rig);
        rig.catalog().listings.insert(QStringLiteral("newest band"), {uploads});

        runToEnd(rig);
        QCOMPARE(callsStarting(rig.catalog(), QStringLiteral("newest ")), calls);
        QStringList newest = remembered(rig.store());
        newest.removeIf([](const QString &line) { return line.startsWith(QLatin1String("radio")); });
        QCOMPARE(newest, stored);
    }

    void runs()
    {
        T rig(fivePlays());
        QSignalSpy changes(&rig.engine(), &RecommendationEngine::isDiscoveringChanged);

        // Without an executable yt-dlp nothing is asked and nothing shows.
        rig.environment().installScript(QStringLiteral("yt-dlp"), "#!/bin/sh\n");
        QFile::setPermissions(rig.environment().toolsDir() + QStringLiteral("/yt-dlp"), QFile::ReadOwner);
        rig.engine().discover();
        QTest::qWait(0);
        QVERIFY(rig.catalog().calls.isEmpty());
        QCOMPARE(changes.count(), 0);

        installYtdlp(rig);
        for (int n : {1, 2})
            rig.catalog().listings.insert(QStringLiteral("radio ") + T::idOf(n), {mixOf(n)});
        rig.catalog().holding = true;
        QSignalSpy rebuilt(&rig.engine(), &RecommendationEngine::sectionsChanged);
        rig.engine().discover();
        QVERIFY(rig.engine().isDiscovering());
        QCOMPARE(rig.catalog().heldCount(), 1);
        // A second request while a run is on does nothing.
        rig.engine().discover();
        QCOMPARE(rig.catalog().calls.size(), 1);

        rig.catalog().release();
        QTRY_COMPARE(rig.catalog().heldCount(), 1); // the second mix
        rig.catalog().holding = false;
        rig.catalog().release();
        QTRY_COMPARE(changes.count(), 2);
        QVERIFY(!rig.engine().isDiscovering());
        // Each stored mix rebuilt the sections once, counting nothing as shown.
        QCOMPARE(rebuilt.count(), 2);
        QVERIFY(rig.store().shown().isEmpty());

        // A settled history change starts the next run (everything is fresh now, the artists remain).
        rig.catalog().calls.clear();
        rig.engine().setHistoryDebounceInterval(0);
        rig.store().toggleLike(T::song(1, QStringLiteral("A1")));
        QTRY_VERIFY(!callsStarting(rig.catalog(), QStringLiteral("newest ")).isEmpty());
        QVERIFY(callsStarting(rig.catalog(), QStringLiteral("radio ")).size() == 2);
    }

    // Debian's yt-dlp cannot reach the site: the run stores nothing and says why in the app log.
    void realRunWithoutNetwork()
    {
        LibraryData data;
        data.catalog.insert(T::idOf(1), T::song(1, QStringLiteral("A1")));
        data.plays.append(T::play(T::idOf(1), 1, 200, true));
        T rig(data);
        OfflineYtDlp::install(rig.environment());
        YTMusicCatalog catalog;
        QRandomGenerator random(1);
        RecommendationEngine engine(
            &rig.store(), &catalog, [] { return T::now; }, &random);
        QSignalSpy changes(&engine, &RecommendationEngine::isDiscoveringChanged);

        engine.discover();
        QVERIFY(engine.isDiscovering());
        QTRY_COMPARE_WITH_TIMEOUT(changes.count(), 2, 60000);
        QVERIFY(!engine.isDiscovering());
        QVERIFY(rig.store().discoveries().isEmpty());
        const QString log = TestLog::appLogText();
        QVERIFY2(log.contains(QStringLiteral("] music list error https://www.youtube.com/watch?v=%1&list=RD%1: ERROR: ")
                                  .arg(T::idOf(1))),
                 qPrintable(log));
    }
};

QTEST_GUILESS_MAIN(TestDiscovery)
#include "tst_discovery.moc"
