#include "TestRecommender.h"
#include "core/AppPaths.h"
#include "recommend/SectionBuilders.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

using T = TestRecommender;

namespace {

const QString resumeID = T::idOf(200);
const QString newestLovedID = T::idOf(139);

void addTracks(LibraryData &data, const QList<Track> &tracks)
{
    for (const Track &track : tracks)
        data.catalog.insert(track.id, track);
}

void sortByDate(QList<PlayEvent> &plays)
{
    std::stable_sort(plays.begin(), plays.end(),
                     [](const PlayEvent &a, const PlayEvent &b) { return a.date < b.date; });
}

Discovery radio(const QString &seedID, int first, int count)
{
    Discovery discovery{Discovery::Kind::Radio, seedID, QStringLiteral("Mix"), {}, T::now};
    for (int n = first; n < first + count; ++n)
        discovery.ids.append(T::idOf(n));
    return discovery;
}

// A library that fills every shelf: 40 loved tracks of 8 artists played three times 10 to 49 days
// ago, one track left unfinished yesterday, radio mixes of 30 new tracks for it and for the
// newest loved track, 16 more songs of the loved artists, 5 new uploads already shown often,
// 4 likes, a playlist and 3 downloads.
// `skipped` tracks skipped once each raise the skip rate; `idle` uncatalogued 5 s listens lower
// the repeat factor.
LibraryData richLibrary(int skipped, int idle, const QString &folder)
{
    LibraryData data;
    for (int n = 100; n < 140; ++n) {
        data.catalog.insert(T::idOf(n), T::song(n, QStringLiteral("Artist %1").arg(n % 8)));
        for (double extra : {0.2, 0.1, 0.0})
            data.plays.append(T::play(T::idOf(n), 10 + (139 - n) + extra, 200, true));
    }
    addTracks(data, {T::song(200, QStringLiteral("Resumer"))});
    data.plays.append(T::play(resumeID, 1, 30, false));
    for (int n = 300; n < 360; ++n)
        addTracks(data, {T::song(n, QStringLiteral("New %1").arg(n))});
    data.discoveries = {radio(resumeID, 300, 30), radio(newestLovedID, 330, 30)};
    // Made For You diversifies before it drops what earlier shelves took: songs by the loved artists
    // rank above the mixes' songs and keep it filled even after both "because" shelves.
    for (int n = 600; n < 616; ++n)
        addTracks(data, {T::song(n, QStringLiteral("Artist %1").arg(n % 8))});
    data.discoveries.append(radio(QStringLiteral("elsewhere"), 600, 16));
    Discovery uploads = radio(QStringLiteral("artist 3"), 400, 5);
    uploads.kind = Discovery::Kind::NewFrom;
    data.discoveries.append(uploads);
    for (int n = 400; n < 405; ++n) {
        addTracks(data, {T::song(n, QStringLiteral("Fresh %1").arg(n))});
        data.shown.insert(T::idOf(n), 6);
    }
    data.likes = {T::idOf(136), T::idOf(137), T::idOf(138), T::idOf(139)};
    data.playlists = {Playlist{
        QUuid::createUuid(), QStringLiteral("Mine"), {data.catalog.value(T::idOf(100))}, T::now, std::nullopt}};
    for (int n = 101; n < 104; ++n) {
        const QString path = folder + QStringLiteral("/song-%1.m4a").arg(n);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("audio");
        data.downloads.insert(T::idOf(n), path);
    }
    for (int n = 0; n < skipped; ++n) {
        addTracks(data, {T::song(2000 + n, QStringLiteral("Skipper"))});
        data.plays.append(T::play(T::idOf(2000 + n), 60, 2, false, true));
    }
    for (int n = 0; n < idle; ++n)
        data.plays.append(T::play(T::idOf(5000 + n), 60, 5, false));
    sortByDate(data.plays);
    return data;
}

QString downloadsFolder()
{
    return AppPaths::sub(QStringLiteral("Music"));
}

bool isPlayed(LibraryStore &store, const QString &id)
{
    return store.stats().value(id).plays > 0;
}

// The ids of the tracks Home counts as shown, in shelf order.
QStringList personalTrackIDs(const QList<HomeSection> &sections)
{
    QStringList ids;
    for (const HomeSection &section : sections) {
        if (section.id == QLatin1String("quick") || section.id == QLatin1String("madeforyou") ||
            section.id == QLatin1String("newfav") || section.id.startsWith(QLatin1String("because-")))
            ids.append(T::ids(section.content.tracks));
    }
    return ids;
}

} // namespace

class TestHomeSections : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyLibrary()
    {
        T rig;
        const QList<HomeSection> sections = rig.engine().sections();
        QCOMPARE(sections.size(), 1);
        QCOMPARE(sections.first().id, QStringLiteral("genres"));
        QCOMPARE(sections.first().title, QStringLiteral("Explore by Genre"));
        QCOMPARE(sections.first().content.kind, SectionContent::Kind::Genres);
        QCOMPARE(sections.first().content.genres,
                 (QStringList{QStringLiteral("Pop"), QStringLiteral("Hip-Hop"), QStringLiteral("Rock"),
                              QStringLiteral("Electronic"), QStringLiteral("Lofi"), QStringLiteral("Jazz"),
                              QStringLiteral("R&B"), QStringLiteral("Latin"), QStringLiteral("Country"),
                              QStringLiteral("Indie"), QStringLiteral("Classical"), QStringLiteral("K-Pop"),
                              QStringLiteral("Metal"), QStringLiteral("Chill")}));
    }

    void priorities_data()
    {
        QTest::addColumn<int>("skipped");
        QTest::addColumn<int>("idle");
        QTest::addColumn<double>("f");
        QTest::addColumn<double>("g");
        QTest::addColumn<QStringList>("expected");

        const QString because1 = QStringLiteral("because-") + resumeID;
        const QString because2 = QStringLiteral("because-") + newestLovedID;
        auto ids = [](const QString &text) { return text.split(u' '); };
        QTest::newRow("f = 1, g = 1")
            << 0 << 0 << 1.0 << 1.0
            << ids(QStringLiteral("resume quick madeforyou %1 newfav mixes %2 recent playlists forgotten radio liked "
                                  "downloads genres")
                       .arg(because1, because2));
        QTest::newRow("f = 0") << 121 << 0 << 0.0 << 121.0 / 162 - 1
                               << ids(QStringLiteral("resume quick %1 %2 madeforyou newfav mixes playlists radio "
                                                     "recent forgotten liked downloads genres")
                                          .arg(because1, because2));
        QTest::newRow("g = -0.5") << 0 << 201 << 1.0 << -0.5
                                  << ids(QStringLiteral("resume quick madeforyou %1 newfav mixes %2 playlists radio "
                                                        "recent liked forgotten downloads genres")
                                             .arg(because1, because2));
    }

    void priorities()
    {
        QFETCH(int, skipped);
        QFETCH(int, idle);
        QFETCH(double, f);
        QFETCH(double, g);
        QFETCH(QStringList, expected);

        T rig(richLibrary(skipped, idle, downloadsFolder()));
        const ListeningProfile profile = rig.engine().profile();
        QCOMPARE(std::max(0.0, 1 - 2 * profile.skipRate), f);
        QCOMPARE(profile.repeatFactor, g);
        QCOMPARE(rig.sectionIDs(), expected);
    }

    void quickPicksOpening_data()
    {
        QTest::addColumn<int>("skips");
        QTest::addColumn<bool>("opensPlayed");

        // Out of 20 events: f = 0.7 and f = 0.6.
        QTest::newRow("f = 0.7 opens with a new song") << 3 << false;
        QTest::newRow("f = 0.6 opens with a known song") << 4 << true;
    }

    void quickPicksOpening()
    {
        QFETCH(int, skips);
        QFETCH(bool, opensPlayed);

        LibraryData data;
        for (int n = 0; n < 20 - skips; ++n) {
            addTracks(data, {T::song(1 + n % 8, QStringLiteral("Played %1").arg(n % 8))});
            data.plays.append(T::play(T::idOf(1 + n % 8), 10, 200, true));
        }
        for (int n = 0; n < skips; ++n) {
            addTracks(data, {T::song(20 + n, QStringLiteral("Skipped %1").arg(n))});
            data.plays.append(T::play(T::idOf(20 + n), 10, 2, false, true));
        }
        addTracks(data, {T::song(30, QStringLiteral("Seed"))});
        data.discoveries = {radio(T::idOf(30), 31, 10)};
        for (int n = 31; n < 41; ++n)
            addTracks(data, {T::song(n, QStringLiteral("New %1").arg(n))});
        T rig(data);

        const QList<Track> quick = rig.section(QStringLiteral("quick")).content.tracks;
        QVERIFY(quick.size() >= 5);
        QCOMPARE(isPlayed(rig.store(), quick.first().id), opensPlayed);
        QCOMPARE(isPlayed(rig.store(), quick.at(1).id), !opensPlayed);
    }

    void becauseNeedsFive_data()
    {
        QTest::addColumn<int>("unplayed");
        QTest::addColumn<int>("shelf"); // 0: no section

        QTest::newRow("20 less the seed and 15 played") << 4 << 0;
        QTest::newRow("five new songs") << 5 << 5;
    }

    void becauseNeedsFive()
    {
        QFETCH(int, unplayed);
        QFETCH(int, shelf);

        // One artist for the played songs and one for the new ones, so Quick Picks (two per artist)
        // stays below its minimum and leaves the new songs to the mix's shelf.
        LibraryData data;
        const QString seed = T::idOf(1);
        for (int n = 1; n <= 16; ++n)
            addTracks(data, {T::song(n, QStringLiteral("Old"))});
        for (int n = 2; n <= 16; ++n)
            data.plays.append(T::play(T::idOf(n), 2, 200, true));
        data.plays.append(T::play(seed, 1, 200, true));
        Discovery mix = radio(seed, 1, 16);
        for (int n = 20; n < 20 + unplayed; ++n) {
            addTracks(data, {T::song(n, QStringLiteral("New"))});
            mix.ids.append(T::idOf(n));
        }
        data.discoveries = {mix};
        T rig(data);

        const HomeSection because = rig.section(QStringLiteral("because-") + seed);
        QCOMPARE(because.content.tracks.size(), shelf);
        if (shelf > 0) {
            QCOMPARE(because.title, QStringLiteral("Because You Played Song 1"));
            QCOMPARE(because.subtitle, std::optional(QStringLiteral("Old")));
        }
    }

    void madeForYouNeedsSix_data()
    {
        QTest::addColumn<int>("discovered");
        QTest::addColumn<bool>("shown");

        QTest::newRow("five") << 5 << false;
        QTest::newRow("six") << 6 << true;
    }

    void madeForYouNeedsSix()
    {
        QFETCH(int, discovered);
        QFETCH(bool, shown);

        // Twelve liked songs outrank the discovered ones and fill Quick Picks before Made For You.
        LibraryData data;
        for (int n = 1; n <= 12; ++n) {
            addTracks(data, {T::song(n, QStringLiteral("Liked %1").arg(n))});
            data.likes.append(T::idOf(n));
        }
        for (int n = 20; n < 20 + discovered; ++n)
            addTracks(data, {T::song(n, QStringLiteral("New %1").arg(n))});
        data.discoveries = {radio(QStringLiteral("elsewhere"), 20, discovered)};
        T rig(data);

        QCOMPARE(rig.section(QStringLiteral("quick")).content.tracks.size(), 12);
        const HomeSection made = rig.section(QStringLiteral("madeforyou"));
        QCOMPARE(made.content.tracks.size(), shown ? discovered : 0);
    }

    void forgotten_data()
    {
        QTest::addColumn<QList<PlayEvent>>("plays");
        QTest::addColumn<bool>("listed");

        const QString id = T::idOf(40);
        QTest::newRow("2 plays, last 8 days ago, 1 skip")
            << QList{T::play(id, 9, 200, true), T::play(id, 8, 30, false, true)} << true;
        QTest::newRow("last play 6 days ago")
            << QList{T::play(id, 9, 200, true), T::play(id, 6, 30, false, true)} << false;
        QTest::newRow("2 skips") << QList{T::play(id, 9, 30, false, true), T::play(id, 8, 30, false, true)} << false;
    }

    void forgotten()
    {
        QFETCH(QList<PlayEvent>, plays);
        QFETCH(bool, listed);

        // One artist throughout keeps Quick Picks away; 20 newer songs fill Recently Played.
        LibraryData data;
        for (int n = 1; n <= 20; ++n)
            data.plays.append(T::play(T::idOf(n), 2, 200, true));
        for (int n = 30; n < 34; ++n)
            data.plays.append({T::play(T::idOf(n), n - 19, 200, true), T::play(T::idOf(n), n - 20, 200, true)});
        data.plays.append(plays);
        sortByDate(data.plays);
        for (const PlayEvent &event : std::as_const(data.plays))
            data.catalog.insert(event.trackID, T::song(event.trackID.right(3).toInt(), QStringLiteral("Same")));
        T rig(data);

        const QStringList forgotten = T::ids(rig.section(QStringLiteral("forgotten")).content.tracks);
        QCOMPARE(forgotten.contains(T::idOf(40)), listed);
        QCOMPARE(forgotten.size(), listed ? 5 : 4);
        // Oldest last play first.
        QCOMPARE(forgotten.first(), T::idOf(33));
    }

    void mixesAndGenres_data()
    {
        QTest::addColumn<int>("artists");
        QTest::addColumn<double>("daysAgo");
        QTest::addColumn<QStringList>("stations"); // empty: no section

        QTest::newRow("one artist mix and a genre mix")
            << 1 << 1.0 << QStringList{QStringLiteral("mix-nova 0"), QStringLiteral("mix-genre-lofi")};
        // Three artists at 0.26 each: none reaches 0.3, their genre reaches 0.79.
        QTest::newRow("genre mix alone") << 3 << 60.0 << QStringList();
    }

    void mixesAndGenres()
    {
        QFETCH(int, artists);
        QFETCH(double, daysAgo);
        QFETCH(QStringList, stations);

        LibraryData data;
        for (int n = 0; n < artists; ++n) {
            addTracks(data, {T::song(n, QStringLiteral("Nova %1").arg(n), QStringLiteral("lofi"))});
            data.plays.append(T::play(T::idOf(n), daysAgo, 200, true));
        }
        T rig(data);

        const QList<Station> made = rig.section(QStringLiteral("mixes")).content.stations;
        QStringList ids;
        for (const Station &station : made)
            ids.append(station.id);
        QCOMPARE(ids, stations);
        if (!made.isEmpty()) {
            QCOMPARE(made.at(0).title, QStringLiteral("Nova 0 Mix"));
            QCOMPARE(made.at(0).subtitle, QStringLiteral("Based on Nova 0"));
            QCOMPARE(made.at(0).query, std::nullopt);
            QCOMPARE(made.at(1).title, QStringLiteral("Lofi Mix"));
            QCOMPARE(made.at(1).subtitle, QStringLiteral("Your top genre"));
            QCOMPARE(made.at(1).query, std::optional(QStringLiteral("lofi music mix")));
            QCOMPARE(made.at(1).seed.id, T::idOf(0));
        }

        // The profile's genre leads the genre shelf once; the defaults follow without it.
        QStringList expectedGenres = SectionBuilders::defaultGenres();
        expectedGenres.removeOne(QStringLiteral("Lofi"));
        expectedGenres.prepend(QStringLiteral("Lofi"));
        QCOMPARE(rig.section(QStringLiteral("genres")).content.genres, expectedGenres);
    }

    void shownCountsThroughTheStore()
    {
        T rig(richLibrary(0, 0, downloadsFolder()));
        LibraryStore &store = rig.store();
        RecommendationEngine &engine = rig.engine();
        const QHash<QString, qint64> loaded = store.shown();
        QCOMPARE(loaded.size(), 5); // building the first sections counted nothing

        engine.refresh(false);
        QCOMPARE(store.shown(), loaded);

        // Plays 100 ms apart against a 1 s debounce: a loaded machine may stretch the gaps a lot
        // before they outlast the debounce.
        const int debounceMs = 1000;
        engine.setHistoryDebounceInterval(debounceMs);
        QSignalSpy refreshes(&engine, &RecommendationEngine::sectionsChanged);
        const quint64 firstSeed = engine.seed();
        for (int i = 0; i < 3; ++i) {
            if (i > 0)
                QTest::qWait(100);
            store.record(T::play(resumeID, 0, 200, true));
        }
        QTRY_COMPARE(refreshes.count(), 1);
        QTest::qWait(debounceMs * 3 / 2);
        QCOMPARE(refreshes.count(), 1);
        QVERIFY(engine.seed() != firstSeed);

        const QList<HomeSection> sections = engine.sections();
        for (const QString &id : {QStringLiteral("quick"), QStringLiteral("madeforyou"), QStringLiteral("newfav"),
                                  QStringLiteral("because-") + resumeID})
            QVERIFY2(!rig.section(id).id.isEmpty(), qPrintable(id));
        QHash<QString, qint64> expected = loaded;
        for (const QString &id : personalTrackIDs(sections))
            ++expected[id];
        QCOMPARE(store.shown(), expected);

        QSignalSpy saved(&store, &LibraryStore::saved);
        store.saveNow();
        QTRY_COMPARE(saved.count(), 1);
        QFile file(AppPaths::support() + QStringLiteral("/library.json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::optional<LibraryData> written = LibraryData::fromJson(file.readAll());
        QVERIFY(written);
        QCOMPARE(written->shown, expected);

        engine.refresh(false);
        QCOMPARE(store.shown(), expected);
    }

    void emptyShownListStillMarked()
    {
        T rig;
        rig.engine().setHistoryDebounceInterval(10);
        QSignalSpy changes(&rig.store(), &LibraryStore::libraryChanged);
        QSignalSpy refreshes(&rig.engine(), &RecommendationEngine::sectionsChanged);
        rig.store().record(T::play(T::idOf(1), 0, 200, true));
        QCOMPARE(changes.count(), 1);
        QTRY_COMPARE(refreshes.count(), 1);
        // The uncatalogued play puts nothing on Home, and the shown counts are still marked once.
        QCOMPARE(changes.count(), 2);
        QVERIFY(rig.store().shown().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestHomeSections)
#include "tst_homesections.moc"
