#include "TestEnvironment.h"
#include "core/AppPaths.h"
#include "music/LibraryStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>

using Operation = std::function<void(LibraryStore &)>;
Q_DECLARE_METATYPE(Operation)

namespace {

const QDateTime epoch(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);

// Eleven characters, like every video id; `n` picks a distinct one.
QString idOf(int n)
{
    return QStringLiteral("id%1").arg(n, 9, 10, QLatin1Char('0'));
}

Track track(const QString &id, const QString &title = QStringLiteral("Song"))
{
    return Track{id, title, QStringLiteral("Artist"), std::nullopt, std::nullopt, std::nullopt};
}

PlayEvent play(const QString &id, double listened, bool completed = false, bool skipped = false,
               const QDateTime &date = epoch)
{
    return PlayEvent{id, date, listened, std::nullopt, completed, skipped};
}

Discovery discovery(const QString &key, const QDateTime &date, Discovery::Kind kind = Discovery::Kind::Radio)
{
    return Discovery{kind, key, QStringLiteral("Label ") + key, {idOf(1)}, date};
}

QString libraryPath()
{
    return AppPaths::support() + QStringLiteral("/library.json");
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// What the file on disk holds now, decoded the way the store decodes it.
LibraryData stored()
{
    return LibraryData::fromJson(readFile(libraryPath())).value_or(LibraryData());
}

QTimer *saveTimer(LibraryStore &store)
{
    return store.findChild<QTimer *>();
}

QJsonObject libraryObject(const LibraryData &data)
{
    return QJsonDocument::fromJson(data.toJson()).object();
}

// One record of each kind, so a loading test sees every nested codec at work.
LibraryData sampleLibrary()
{
    LibraryData data;
    Track full = track(idOf(1), QStringLiteral("Full"));
    full.duration = 215.5;
    full.album = QStringLiteral("Album");
    full.genre = QStringLiteral("pop");
    data.likes = {idOf(1)};
    data.plays = {play(idOf(1), 30, true)};
    data.plays[0].duration = 215.5;
    data.searches = {QStringLiteral("lofi")};
    data.playlists = {
        Playlist{QUuid::createUuid(), QStringLiteral("Mine"), {full}, epoch, QStringLiteral("https://x")}};
    data.catalog = {{idOf(1), full}};
    data.downloads = {{idOf(1), QStringLiteral("/music/song.m4a")}};
    data.discoveries = {discovery(QStringLiteral("seed"), epoch)};
    data.shown = {{idOf(1), 3}};
    return data;
}

} // namespace

class TestLibraryStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadRules_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<bool>("loads");

        const QJsonObject good = libraryObject(sampleLibrary());
        auto bytes = [](const QJsonObject &object) { return QJsonDocument(object).toJson(); };
        auto with = [&](const QString &key, const QJsonValue &value) {
            QJsonObject object = good;
            object.insert(key, value);
            return bytes(object);
        };
        auto withPlay = [&](const QString &key, const QJsonValue &value) {
            QJsonArray plays = good.value(QStringLiteral("plays")).toArray();
            QJsonObject event = plays.at(0).toObject();
            event.insert(key, value);
            plays.replace(0, event);
            return with(QStringLiteral("plays"), plays);
        };
        QJsonObject withoutDiscoveries = good;
        withoutDiscoveries.remove(QStringLiteral("discoveries"));

        QTest::newRow("no file") << QByteArray() << false;
        QTest::newRow("every key") << bytes(good) << true;
        QTest::newRow("a ninth key") << with(QStringLiteral("extra"), 1) << true;
        QTest::newRow("shown is an array") << with(QStringLiteral("shown"), QJsonArray()) << false;
        QTest::newRow("no discoveries") << bytes(withoutDiscoveries) << false;
        QTest::newRow("likes null") << with(QStringLiteral("likes"), QJsonValue::Null) << false;
        QTest::newRow("shown count with a fraction")
            << with(QStringLiteral("shown"), QJsonObject{{idOf(1), 2.5}}) << false;
        QTest::newRow("download path not a string")
            << with(QStringLiteral("downloads"), QJsonObject{{idOf(1), 7}}) << false;
        QTest::newRow("catalog track without artist")
            << with(QStringLiteral("catalog"),
                    QJsonObject{{idOf(1), QJsonObject{{QStringLiteral("id"), idOf(1)}, {QStringLiteral("title"), 1}}}})
            << false;
        QTest::newRow("unknown discovery kind")
            << with(QStringLiteral("discoveries"),
                    QJsonArray{QJsonObject{{QStringLiteral("kind"), QStringLiteral("mix")},
                                           {QStringLiteral("key"), QStringLiteral("k")},
                                           {QStringLiteral("label"), QStringLiteral("l")},
                                           {QStringLiteral("ids"), QJsonArray()},
                                           {QStringLiteral("date"), QStringLiteral("2026-01-01T00:00:00Z")}}})
            << false;
        QTest::newRow("play date with a fraction")
            << withPlay(QStringLiteral("date"), QStringLiteral("2026-01-01T00:00:00.5Z")) << false;
        QTest::newRow("play date with an offset")
            << withPlay(QStringLiteral("date"), QStringLiteral("2026-01-01T01:00:00+01:00")) << true;
        QTest::newRow("play date without seconds")
            << withPlay(QStringLiteral("date"), QStringLiteral("2026-01-01T00:00Z")) << false;
        QTest::newRow("play date with a letter for a digit")
            << withPlay(QStringLiteral("date"), QStringLiteral("2O26-01-01T00:00:00Z")) << false;
        QTest::newRow("play duration null") << withPlay(QStringLiteral("duration"), QJsonValue::Null) << true;
        QTest::newRow("not JSON") << QByteArray("{\"likes\": [") << false;
    }

    void loadRules()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, loads);
        TestEnvironment env;
        if (!content.isEmpty())
            writeFile(libraryPath(), content);

        LibraryStore store;
        if (loads) {
            const LibraryData sample = sampleLibrary();
            QCOMPARE(store.likes(), sample.likes);
            QCOMPARE(store.plays().size(), 1);
            QCOMPARE(store.playlists().value(0).tracks, sample.playlists[0].tracks);
            QCOMPARE(store.tracks({idOf(1)}), QList<Track>{sample.catalog.value(idOf(1))});
            QCOMPARE(store.discoveries(), sample.discoveries);
            QCOMPARE(store.shown(), sample.shown);
            QCOMPARE(store.stats().value(idOf(1)).plays, 1);
            QVERIFY(!QFile::exists(libraryPath() + QStringLiteral(".bad")));
            return;
        }

        QVERIFY(store.likes().isEmpty());
        QVERIFY(store.plays().isEmpty());
        QVERIFY(store.playlists().isEmpty());
        QVERIFY(store.stats().isEmpty());
        QCOMPARE(store.historyVersion(), 0);
        if (content.isEmpty()) {
            QVERIFY(!QFile::exists(libraryPath() + QStringLiteral(".bad")));
            return;
        }
        // An unreadable library is kept aside, so the first save cannot destroy it.
        QCOMPARE(readFile(libraryPath() + QStringLiteral(".bad")), content);
        QSignalSpy saved(&store, &LibraryStore::saved);
        store.recordSearch(QStringLiteral("after"));
        store.saveNow();
        QVERIFY(saved.wait());
        QCOMPARE(stored().searches, QStringList{QStringLiteral("after")});
        QCOMPARE(readFile(libraryPath() + QStringLiteral(".bad")), content);
    }

    void loadingOnAWorker()
    {
        TestEnvironment env;
        const LibraryData sample = sampleLibrary();
        const QByteArray content = sample.toJson();
        writeFile(libraryPath(), content);
        {
            // Gone before the file is in: nothing of the empty stand-in is written over it.
            LibraryStore store(LibraryStore::Load::Later);
        }
        QCOMPARE(readFile(libraryPath()), content);

        LibraryStore store(LibraryStore::Load::Later);
        QSignalSpy loaded(&store, &LibraryStore::loaded);
        QSignalSpy history(&store, &LibraryStore::historyVersionChanged);
        QVERIFY(store.likes().isEmpty());
        // An edit made before the file is in applies to the stored library, not to an empty one.
        store.toggleLike(track(idOf(2)));
        QCOMPARE(store.likes(), (QStringList{idOf(2), idOf(1)}));
        QCOMPARE(store.playlists(), sample.playlists);
        QCOMPARE(store.shown(), sample.shown);
        // Playlists name tracks the catalogue holds: one copy of each text serves both.
        const Track listed = store.playlists()[0].tracks[0];
        QCOMPARE(listed.title.constData(), store.tracks({listed.id})[0].title.constData());
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(history.size(), 2);
        QSignalSpy saved(&store, &LibraryStore::saved);
        store.saveNow();
        QVERIFY(saved.wait());
        QCOMPARE(stored().likes, store.likes());
        QCOMPARE(stored().plays, sample.plays);
        QCOMPARE(stored().downloads, sample.downloads);
        QTest::qWait(50);
        QCOMPARE(loaded.size(), 1);
    }

    void savedFileRoundTrips()
    {
        TestEnvironment env;
        const LibraryData sample = sampleLibrary();
        {
            LibraryStore store;
            QSignalSpy saved(&store, &LibraryStore::saved);
            store.createPlaylist(sample.playlists[0].name, sample.playlists[0].tracks, sample.playlists[0].sourceURL);
            store.toggleLike(sample.catalog.value(idOf(1)));
            PlayEvent event = sample.plays[0];
            event.date = epoch.addMSecs(999); // the fraction is not stored
            store.record(event);
            store.recordSearch(sample.searches[0]);
            store.recordDownload(idOf(1), sample.downloads.value(idOf(1)));
            store.setDiscovery(sample.discoveries[0]);
            store.markShown({idOf(1), idOf(1), idOf(1)});
            store.registerTracks({track(idOf(2))});
            store.saveNow();
            QVERIFY(saved.wait());
        }
        const QByteArray bytes = readFile(libraryPath());
        QVERIFY(!bytes.contains('\n'));
        QVERIFY(!bytes.contains("null"));
        QVERIFY(bytes.contains("\"date\":\"2026-01-01T00:00:00Z\""));

        LibraryStore reloaded;
        QCOMPARE(reloaded.likes(), sample.likes);
        QCOMPARE(reloaded.plays(), sample.plays);
        QCOMPARE(reloaded.searches(), sample.searches);
        QCOMPARE(reloaded.playlists().size(), 1);
        QCOMPARE(reloaded.playlists()[0].tracks, sample.playlists[0].tracks);
        QCOMPARE(reloaded.playlists()[0].sourceURL, sample.playlists[0].sourceURL);
        QCOMPARE(reloaded.tracks({idOf(1)}), reloaded.playlists()[0].tracks);
        QCOMPARE(reloaded.discoveries(), sample.discoveries);
        QCOMPARE(reloaded.shown(), sample.shown);
        QCOMPARE(stored().downloads, sample.downloads);
        // The catalogue holds an artist named twice once.
        const QList<Track> known = reloaded.tracks({idOf(1), idOf(2)});
        QCOMPARE(known.size(), 2);
        QCOMPARE(known[0].artist.constData(), known[1].artist.constData());
    }

    // A live stream or an unknown length must not poison every later save.
    void nonFinitePlayValuesAreStoredSafely_data()
    {
        QTest::addColumn<double>("listened");
        QTest::addColumn<double>("duration");
        QTest::newRow("NaN listened, infinite length")
            << std::numeric_limits<double>::quiet_NaN() << std::numeric_limits<double>::infinity();
        QTest::newRow("infinite listened, NaN length")
            << std::numeric_limits<double>::infinity() << std::numeric_limits<double>::quiet_NaN();
    }

    void nonFinitePlayValuesAreStoredSafely()
    {
        QFETCH(double, listened);
        QFETCH(double, duration);
        TestEnvironment env;
        LibraryStore store;
        PlayEvent event = play(idOf(1), listened);
        event.duration = duration;
        store.record(event);
        QCOMPARE(store.plays()[0].listened, 0.0);
        QVERIFY(!store.plays()[0].duration);
        QCOMPARE(store.stats().value(idOf(1)).plays, 0);

        QSignalSpy saved(&store, &LibraryStore::saved);
        store.saveNow();
        QVERIFY(saved.wait());
        LibraryStore reloaded;
        QCOMPARE(reloaded.plays(), store.plays());
    }

    void editsInABurstAreWrittenOnce()
    {
        TestEnvironment env;
        LibraryStore store;
        QSignalSpy saved(&store, &LibraryStore::saved);
        store.recordSearch(QStringLiteral("first"));
        QTest::qWait(300);
        QCOMPARE(saved.count(), 0);
        store.recordSearch(QStringLiteral("second"));
        QElapsedTimer sinceSecond;
        sinceSecond.start();
        QVERIFY(saved.wait(3000));
        // Qt's coarse timers may fire up to 5 % early.
        QVERIFY2(sinceSecond.elapsed() >= 570, qPrintable(QString::number(sinceSecond.elapsed())));
        QCOMPARE(stored().searches, (QStringList{QStringLiteral("second"), QStringLiteral("first")}));
        QVERIFY(!saved.wait(800));
        QCOMPARE(saved.count(), 1);
    }

    void saveNowWritesAtOnce()
    {
        TestEnvironment env;
        LibraryStore store;
        QSignalSpy saved(&store, &LibraryStore::saved);
        store.recordSearch(QStringLiteral("now"));
        store.saveNow();
        QVERIFY(saved.wait());
        QCOMPARE(stored().searches, QStringList{QStringLiteral("now")});
        // The delayed save of the edit still follows.
        QVERIFY(saved.wait(3000));
        QCOMPARE(saved.count(), 2);
    }

    void writesKeepTheOrderOfTheirSnapshots()
    {
        TestEnvironment env;
        LibraryStore store;
        QSignalSpy saved(&store, &LibraryStore::saved);
        for (int i = 0; i < 20; ++i) {
            store.recordSearch(QString::number(i));
            store.saveNow();
        }
        // Writes overlap on the worker, yet an older snapshot never lands after a newer one: once
        // the delayed save has also run, the file holds every search, newest first.
        QTRY_COMPARE(stored().searches.value(0), QStringLiteral("19"));
        QTest::qWait(1000);
        QCOMPARE(stored().searches.value(0), QStringLiteral("19"));
        QCOMPARE(stored().searches.size(), 20);
        QCOMPARE(stored().searches.value(19), QStringLiteral("0"));
    }

    void pendingSaveIsFlushedWhenTheStoreGoesAway()
    {
        TestEnvironment env;
        {
            LibraryStore store;
            store.recordSearch(QStringLiteral("last words"));
        }
        QCOMPARE(stored().searches, QStringList{QStringLiteral("last words")});
    }

    void pendingSaveIsFlushedWhenTheApplicationQuits()
    {
        TestEnvironment env;
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), QStringLiteral("quit")});
        QVERIFY(child.waitForFinished(20000));
        QVERIFY2(child.exitCode() == 0, child.readAllStandardError().constData());
        QCOMPARE(stored().searches, QStringList{QStringLiteral("before quit")});
    }

    void killedDuringSavesLeavesALoadableFile()
    {
        TestEnvironment env;
        LibraryData big;
        for (int i = 0; i < 3000; ++i) {
            big.catalog.insert(idOf(i), track(idOf(i), QStringLiteral("Title %1").arg(i)));
            big.plays.append(play(idOf(i), 30, true));
        }
        writeFile(libraryPath(), big.toJson());

        for (int round = 0; round < 6; ++round) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), QStringLiteral("burst")});
            QVERIFY(child.waitForStarted());
            // Kill at a different point of the write cycle each round.
            const int writes = 1 + round % 3;
            int seen = 0;
            while (seen < writes && child.waitForReadyRead(20000)) {
                while (child.canReadLine())
                    seen += child.readLine().startsWith("saved") ? 1 : 0;
            }
            QVERIFY(seen >= writes);
            // Meanwhile a reader never finds the file half written.
            QElapsedTimer reading;
            reading.start();
            while (reading.elapsed() < 20 * (round + 1)) {
                const QByteArray bytes = readFile(libraryPath());
                QVERIFY2(bytes.startsWith('{') && bytes.endsWith('}'), qPrintable(QString::number(bytes.size())));
            }
            child.kill();
            QVERIFY(child.waitForFinished());

            QString error;
            const auto data = LibraryData::fromJson(readFile(libraryPath()), &error);
            QVERIFY2(data, qPrintable(error));
            QVERIFY(data->plays.size() >= 3000);
        }
        LibraryStore survivor;
        QVERIFY(survivor.plays().size() >= 3000);
        QVERIFY(!QFile::exists(libraryPath() + QStringLiteral(".bad")));
    }

    void changeMarks_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<int>("marks");
        QTest::addColumn<int>("historySteps");

        const QUuid nowhere = QUuid::createUuid();
        auto known = [] { return track(idOf(1), QStringLiteral("Known")); };
        auto placeholder = [] {
            return Track{idOf(9), QStringLiteral("Loading…"), QStringLiteral("YouTube"), {}, {}, {}};
        };
        auto mine = [](LibraryStore &store) { return store.playlists().at(0).id; };
        auto row = [](const char *name, Operation operation, int marks, int historySteps) {
            QTest::newRow(name) << operation << marks << historySteps;
        };

        row(
            "register a new track", [](LibraryStore &s) { s.registerTracks({track(idOf(2))}); }, 1, 0);
        row(
            "register a known track as it is", [=](LibraryStore &s) { s.registerTracks({known()}); }, 0, 0);
        row(
            "register a known track with a new title",
            [](LibraryStore &s) { s.registerTracks({track(idOf(1), QStringLiteral("Other"))}); }, 0, 0);
        row(
            "register a known track with its album",
            [=](LibraryStore &s) {
                Track fuller = known();
                fuller.album = QStringLiteral("Album");
                s.registerTracks({fuller});
            },
            1, 0);
        row(
            "register the placeholder", [=](LibraryStore &s) { s.registerTracks({placeholder()}); }, 0, 0);
        row(
            "like a known track", [=](LibraryStore &s) { s.toggleLike(known()); }, 1, 1);
        row(
            "like a new track", [](LibraryStore &s) { s.toggleLike(track(idOf(2))); }, 2, 1);
        row(
            "record a play", [](LibraryStore &s) { s.record(play(idOf(1), 1)); }, 1, 1);
        row(
            "clear the history", [](LibraryStore &s) { s.clearHistory(); }, 1, 1);
        row(
            "record a search", [](LibraryStore &s) { s.recordSearch(QStringLiteral("x")); }, 1, 0);
        row(
            "record a blank search", [](LibraryStore &s) { s.recordSearch(QStringLiteral(" \t\n")); }, 0, 0);
        row(
            "clear the searches", [](LibraryStore &s) { s.clearSearches(); }, 1, 0);
        row(
            "update a track unchanged", [=](LibraryStore &s) { s.update(known()); }, 1, 0);
        row(
            "update the placeholder", [=](LibraryStore &s) { s.update(placeholder()); }, 0, 0);
        row(
            "create a playlist", [](LibraryStore &s) { s.createPlaylist(QString(), {}); }, 1, 0);
        row(
            "rename a missing playlist", [=](LibraryStore &s) { s.renamePlaylist(nowhere, QStringLiteral("New")); }, 0,
            0);
        row(
            "rename to blanks", [=](LibraryStore &s) { s.renamePlaylist(mine(s), QStringLiteral(" \t ")); }, 0, 0);
        row(
            "rename", [=](LibraryStore &s) { s.renamePlaylist(mine(s), QStringLiteral("New")); }, 1, 0);
        row(
            "add to a missing playlist", [=](LibraryStore &s) { s.add({track(idOf(2))}, nowhere); }, 0, 0);
        row(
            "add only held tracks", [=](LibraryStore &s) { s.add({known()}, mine(s)); }, 1, 0);
        row(
            "remove from a missing playlist", [=](LibraryStore &s) { s.remove(idOf(1), nowhere); }, 0, 0);
        row(
            "remove a track not held", [=](LibraryStore &s) { s.remove(idOf(5), mine(s)); }, 1, 0);
        row(
            "move in a missing playlist", [=](LibraryStore &s) { s.move(nowhere, {0}, 1); }, 0, 0);
        row(
            "move nothing", [=](LibraryStore &s) { s.move(mine(s), {}, 0); }, 1, 0);
        row(
            "delete a missing playlist", [=](LibraryStore &s) { s.deletePlaylist(nowhere); }, 1, 0);
        row(
            "record a download", [](LibraryStore &s) { s.recordDownload(idOf(1), QStringLiteral("/nowhere.m4a")); }, 1,
            0);
        row(
            "set a discovery", [](LibraryStore &s) { s.setDiscovery(discovery(QStringLiteral("k"), epoch)); }, 1, 0);
        row(
            "mark nothing shown", [](LibraryStore &s) { s.markShown({}); }, 1, 0);
        row(
            "read everything",
            [=](LibraryStore &s) {
                (void)s.playlist(mine(s));
                (void)s.tracks({idOf(1)});
                (void)s.recentTracks(5);
                (void)s.recentIDs(5);
                (void)s.downloadedTracks();
                (void)s.downloadedPath(idOf(1));
            },
            0, 0);
    }

    void changeMarks()
    {
        QFETCH(Operation, operation);
        QFETCH(int, marks);
        QFETCH(int, historySteps);
        TestEnvironment env;
        LibraryData data;
        data.catalog.insert(idOf(1), track(idOf(1), QStringLiteral("Known")));
        data.playlists = {Playlist{QUuid::createUuid(), QStringLiteral("Mine"), {data.catalog[idOf(1)]}, epoch, {}}};
        writeFile(libraryPath(), data.toJson());
        LibraryStore store;
        QVERIFY(!saveTimer(store)->isActive());
        QSignalSpy changed(&store, &LibraryStore::libraryChanged);
        QSignalSpy history(&store, &LibraryStore::historyVersionChanged);

        operation(store);
        QCOMPARE(changed.count(), marks);
        QCOMPARE(store.historyVersion(), historySteps);
        QCOMPARE(history.count(), historySteps);
        QCOMPARE(saveTimer(store)->isActive(), marks > 0);
    }

    void registerKeepsStoredDetailsAndFillsGaps()
    {
        TestEnvironment env;
        LibraryStore store;
        Track first = track(idOf(1), QStringLiteral("First"));
        first.genre = QStringLiteral("rock");
        store.registerTracks(
            {first, Track{idOf(2), QStringLiteral("Loading…"), QStringLiteral("YouTube"), {}, {}, {}}});
        Track later = track(idOf(1), QStringLiteral("Renamed"));
        later.artist = QStringLiteral("Other");
        later.duration = 200;
        later.album = QStringLiteral("Album");
        later.genre = QStringLiteral("jazz");
        store.registerTracks({later});

        Track expected = first;
        expected.duration = 200;
        expected.album = QStringLiteral("Album");
        QCOMPARE(store.tracks({idOf(1), idOf(2)}), QList<Track>{expected});
    }

    void updateReplacesCatalogAndPlaylistCopies()
    {
        TestEnvironment env;
        LibraryStore store;
        const Playlist a = store.createPlaylist(QStringLiteral("A"), {track(idOf(1)), track(idOf(2))});
        const Playlist b = store.createPlaylist(QStringLiteral("B"), {track(idOf(1))});
        Track resolved = track(idOf(1), QStringLiteral("Real title"));
        resolved.duration = 180;
        store.update(resolved);
        QCOMPARE(store.tracks({idOf(1)}), QList<Track>{resolved});
        QCOMPARE(store.playlist(a.id)->tracks, (QList<Track>{resolved, track(idOf(2))}));
        QCOMPARE(store.playlist(b.id)->tracks, QList<Track>{resolved});
    }

    void likesToggle()
    {
        TestEnvironment env;
        LibraryStore store;
        store.toggleLike(track(idOf(1)));
        store.toggleLike(track(idOf(2)));
        QCOMPARE(store.likes(), (QStringList{idOf(2), idOf(1)}));
        store.toggleLike(track(idOf(2)));
        QCOMPARE(store.likes(), QStringList{idOf(1)});
        QCOMPARE(store.historyVersion(), 3);
        QCOMPARE(store.tracks({idOf(2)}), QList<Track>{track(idOf(2))});
    }

    void playStatistics_data()
    {
        QTest::addColumn<QList<PlayEvent>>("events");
        QTest::addColumn<int>("plays");
        QTest::addColumn<int>("completes");
        QTest::addColumn<int>("skips");
        QTest::addColumn<QDateTime>("last");

        const QDateTime never = TrackStat::distantPast();
        const QDateTime later = epoch.addDays(1);
        QTest::newRow("skipped after 12 s") << QList{play(idOf(1), 12, false, true)} << 1 << 0 << 1 << epoch;
        QTest::newRow("9.9 s, not finished") << QList{play(idOf(1), 9.9)} << 0 << 0 << 0 << never;
        QTest::newRow("exactly 10 s") << QList{play(idOf(1), 10)} << 1 << 0 << 0 << epoch;
        QTest::newRow("finished at once") << QList{play(idOf(1), 0, true)} << 1 << 1 << 0 << epoch;
        QTest::newRow("skipped at once") << QList{play(idOf(1), 1, false, true)} << 0 << 0 << 1 << never;
        QTest::newRow("last is the latest counted play")
            << QList{play(idOf(1), 60, false, false, later), play(idOf(1), 60, true, false, epoch),
                     play(idOf(1), 2, false, false, later.addDays(1))}
            << 2 << 1 << 0 << later;
    }

    void playStatistics()
    {
        QFETCH(QList<PlayEvent>, events);
        QFETCH(int, plays);
        QFETCH(int, completes);
        QFETCH(int, skips);
        QFETCH(QDateTime, last);
        TestEnvironment env;
        LibraryStore store;
        QSignalSpy statsChanged(&store, &LibraryStore::statsChanged);
        for (const PlayEvent &event : events)
            store.record(event);
        QCOMPARE(statsChanged.count(), events.size());
        QCOMPARE(store.stats().size(), 1);
        QCOMPARE(store.stats().value(idOf(1)), (TrackStat{plays, completes, skips, last}));

        store.clearHistory();
        QVERIFY(store.stats().isEmpty());
    }

    void recentTracksAndIDs()
    {
        TestEnvironment env;
        LibraryStore store;
        store.registerTracks({track(idOf(1)), track(idOf(2)), track(idOf(3))});
        store.record(play(idOf(1), 0, true));
        store.record(play(idOf(2), 0, true));
        store.record(play(idOf(4), 0, true)); // not in the catalog
        store.record(play(idOf(1), 0, true));
        store.record(play(idOf(3), 5)); // not counted
        QCOMPARE(store.recentTracks(2), (QList<Track>{track(idOf(1)), track(idOf(2))}));
        QCOMPARE(store.recentTracks(100), (QList<Track>{track(idOf(1)), track(idOf(2))}));
        QCOMPARE(store.recentTracks(1), QList<Track>{track(idOf(1))});
        QCOMPARE(store.recentIDs(0), QSet<QString>());
        QCOMPARE(store.recentIDs(2), (QSet<QString>{idOf(3), idOf(1)}));
        QCOMPARE(store.recentIDs(100), (QSet<QString>{idOf(1), idOf(2), idOf(3), idOf(4)}));
    }

    void searches()
    {
        TestEnvironment env;
        LibraryStore store;
        store.recordSearch(QStringLiteral("Lofi Beats"));
        store.recordSearch(QStringLiteral("jazz"));
        store.recordSearch(QStringLiteral("  lofi beats\n"));
        QCOMPARE(store.searches(), (QStringList{QStringLiteral("lofi beats"), QStringLiteral("jazz")}));
        store.recordSearch(QStringLiteral("café"));
        store.recordSearch(QStringLiteral("CAFE"));
        QCOMPARE(store.searches().size(), 4); // accents still count
        store.clearSearches();
        QVERIFY(store.searches().isEmpty());
    }

    void playlists()
    {
        TestEnvironment env;
        LibraryStore store;
        const QList<Track> three{track(idOf(1)), track(idOf(2)), track(idOf(3))};
        const Playlist unnamed = store.createPlaylist(QString(), three, QStringLiteral("https://link"));
        QCOMPARE(unnamed.name, QStringLiteral("New Playlist"));
        QCOMPARE(unnamed.sourceURL, std::optional(QStringLiteral("https://link")));
        QCOMPARE(store.tracks({idOf(3)}), QList<Track>{track(idOf(3))});
        QCOMPARE(store.createPlaylist(QStringLiteral("   "), {}).name, QStringLiteral("   "));

        store.renamePlaylist(unnamed.id, QStringLiteral("   "));
        QCOMPARE(store.playlist(unnamed.id)->name, QStringLiteral("New Playlist"));
        store.renamePlaylist(unnamed.id, QStringLiteral(" Road trip "));
        QCOMPARE(store.playlist(unnamed.id)->name, QStringLiteral(" Road trip "));
        store.renamePlaylist(unnamed.id, QStringLiteral("\n"));
        QCOMPARE(store.playlist(unnamed.id)->name, QStringLiteral("\n"));

        const QList<Track> more{track(idOf(4)), track(idOf(2)), track(idOf(4), QStringLiteral("Again"))};
        store.add(more, unnamed.id);
        store.add(more, unnamed.id);
        QCOMPARE(store.playlist(unnamed.id)->tracks, three + QList<Track>{track(idOf(4))});

        store.add({track(idOf(1))}, unnamed.id);
        store.remove(idOf(2), unnamed.id);
        QCOMPARE(store.playlist(unnamed.id)->tracks, (QList<Track>{track(idOf(1)), track(idOf(3)), track(idOf(4))}));

        store.deletePlaylist(unnamed.id);
        QVERIFY(!store.playlist(unnamed.id));
        QCOMPARE(store.playlists().size(), 1);
    }

    void move_data()
    {
        QTest::addColumn<QList<int>>("sources");
        QTest::addColumn<int>("destination");
        QTest::addColumn<QString>("order");
        QTest::newRow("first to the end") << QList{0} << 5 << QStringLiteral("BCDEA");
        QTest::newRow("last to the front") << QList{4} << 0 << QStringLiteral("EABCD");
        QTest::newRow("down by one") << QList{0} << 2 << QStringLiteral("BACDE");
        QTest::newRow("onto itself") << QList{1} << 1 << QStringLiteral("ABCDE");
        QTest::newRow("two apart, in the middle") << QList{0, 3} << 2 << QStringLiteral("BADCE");
        QTest::newRow("unsorted offsets keep list order") << QList{4, 1} << 0 << QStringLiteral("BEACD");
        QTest::newRow("offsets outside are ignored") << QList{-1, 2, 9} << 0 << QStringLiteral("CABDE");
        QTest::newRow("destination past the end") << QList{1} << 99 << QStringLiteral("ACDEB");
    }

    void move()
    {
        QFETCH(QList<int>, sources);
        QFETCH(int, destination);
        QFETCH(QString, order);
        TestEnvironment env;
        LibraryStore store;
        QList<Track> tracks;
        for (QChar letter : QStringLiteral("ABCDE"))
            tracks.append(track(idOf(letter.unicode()), QString(letter)));
        const Playlist playlist = store.createPlaylist(QStringLiteral("Letters"), tracks);
        store.move(playlist.id, sources, destination);
        QString result;
        const Playlist after = *store.playlist(playlist.id);
        for (const Track &moved : after.tracks)
            result += moved.title;
        QCOMPARE(result, order);
    }

    void downloadedSongsFollowTheFiles()
    {
        TestEnvironment env;
        QTemporaryDir folder;
        auto file = [&](const QString &name) {
            const QString path = folder.filePath(name);
            writeFile(path, "audio");
            return path;
        };
        LibraryStore store;
        const QString zebra = file(QStringLiteral("zebra.m4a"));
        const QString apple = file(QStringLiteral("apple.m4a"));
        const QString uncatalogued = file(QStringLiteral("other.m4a"));
        store.registerTracks({track(idOf(1), QStringLiteral("apple")), track(idOf(2), QStringLiteral("Zebra")),
                              track(idOf(3), QStringLiteral("Ghost")), track(idOf(5), QStringLiteral("😀 Emoji")),
                              track(idOf(6), QStringLiteral("ｆullwidth"))});
        store.recordDownload(idOf(1), apple);
        store.recordDownload(idOf(2), zebra);
        store.recordDownload(idOf(3), folder.filePath(QStringLiteral("never-written.m4a")));
        store.recordDownload(idOf(4), uncatalogued);
        store.recordDownload(idOf(5), file(QStringLiteral("emoji.m4a")));
        store.recordDownload(idOf(6), file(QStringLiteral("wide.m4a")));

        QCOMPARE(store.downloadedPath(idOf(1)), std::optional(apple));
        QVERIFY(!store.downloadedPath(idOf(3)));
        QVERIFY(!store.downloadedPath(idOf(7)));
        auto titles = [&] {
            QStringList result;
            for (const Track &song : store.downloadedTracks())
                result.append(song.title);
            return result;
        };
        // Code point order: "Z" before "a", U+FF46 before U+1F600 (unlike UTF-16 order).
        QCOMPARE(titles(), (QStringList{QStringLiteral("Zebra"), QStringLiteral("apple"), QStringLiteral("ｆullwidth"),
                                        QStringLiteral("😀 Emoji")}));

        // Equal titles follow their ids, not the order of the downloads' hash.
        QStringList twinIDs;
        for (int n : {14, 11, 13, 12}) {
            store.registerTracks({track(idOf(n), QStringLiteral("Twin"))});
            store.recordDownload(idOf(n), file(QStringLiteral("twin-%1.m4a").arg(n)));
        }
        for (const Track &song : store.downloadedTracks()) {
            if (song.title == QLatin1String("Twin"))
                twinIDs.append(song.id);
        }
        QCOMPARE(twinIDs, (QStringList{idOf(11), idOf(12), idOf(13), idOf(14)}));

        QVERIFY(QFile::remove(zebra));
        QVERIFY(!store.downloadedPath(idOf(2)));
        QVERIFY(!titles().contains(QStringLiteral("Zebra")));
        // The entry stays: the song comes back when its file does.
        file(QStringLiteral("zebra.m4a"));
        QCOMPARE(store.downloadedPath(idOf(2)), std::optional(zebra));

        const QString replacement = file(QStringLiteral("apple-2.m4a"));
        store.recordDownload(idOf(1), replacement);
        QCOMPARE(store.downloadedPath(idOf(1)), std::optional(replacement));
    }

    void discoveriesOneByKindAndKey()
    {
        TestEnvironment env;
        LibraryStore store;
        store.setDiscovery(discovery(QStringLiteral("a"), epoch));
        store.setDiscovery(discovery(QStringLiteral("b"), epoch));
        store.setDiscovery(discovery(QStringLiteral("a"), epoch, Discovery::Kind::NewFrom));
        Discovery replacement = discovery(QStringLiteral("a"), epoch.addDays(1));
        replacement.label = QStringLiteral("Newer");
        store.setDiscovery(replacement);
        const QList<Discovery> kept = store.discoveries();
        QCOMPARE(kept.size(), 3);
        QCOMPARE(kept.last(), replacement);
        QCOMPARE(kept[0].key, QStringLiteral("b"));
        QCOMPARE(kept[1].kind, Discovery::Kind::NewFrom);
    }

    void playLogLimit()
    {
        TestEnvironment env;
        LibraryData data;
        for (int i = 0; i < 5999; ++i)
            data.plays.append(play(idOf(i), 30, false, false, epoch.addSecs(i)));
        writeFile(libraryPath(), data.toJson());
        LibraryStore store;
        store.record(play(idOf(5999), 30, false, false, epoch.addSecs(5999)));
        QCOMPARE(store.plays().size(), 6000);
        store.record(play(idOf(6000), 30, false, false, epoch.addSecs(6000)));
        QCOMPARE(store.plays().size(), 5000);
        QCOMPARE(store.plays().first().trackID, idOf(1001));
        QCOMPARE(store.plays().last().trackID, idOf(6000));
        QCOMPARE(store.stats().size(), 5000);
    }

    void searchLimit()
    {
        TestEnvironment env;
        LibraryStore store;
        for (int i = 1; i <= 40; ++i)
            store.recordSearch(QString::number(i));
        QCOMPARE(store.searches().size(), 40);
        store.recordSearch(QStringLiteral("41"));
        QCOMPARE(store.searches().size(), 40);
        QCOMPARE(store.searches().first(), QStringLiteral("41"));
        QCOMPARE(store.searches().last(), QStringLiteral("2"));
    }

    void discoveryLimit()
    {
        TestEnvironment env;
        LibraryStore store;
        // Dates arrive out of order: day 37 * i mod 61 is a permutation of 0...60.
        for (int i = 0; i < 60; ++i)
            store.setDiscovery(discovery(QString::number(i), epoch.addDays((37 * i) % 61)));
        QCOMPARE(store.discoveries().size(), 60);
        QCOMPARE(store.discoveries()[1].key, QStringLiteral("1")); // arrival order until the limit
        store.setDiscovery(discovery(QStringLiteral("60"), epoch.addDays((37 * 60) % 61)));
        const QList<Discovery> kept = store.discoveries();
        QCOMPARE(kept.size(), 40);
        for (int i = 0; i < 40; ++i)
            QCOMPARE(kept[i].date, epoch.addDays(60 - i));
    }

    void shownLimit()
    {
        TestEnvironment env;
        LibraryData data;
        for (int i = 0; i < 1500; ++i)
            data.shown.insert(idOf(i), 1 + i % 5); // counts 1 to 5
        writeFile(libraryPath(), data.toJson());
        LibraryStore store;
        store.markShown({idOf(0), idOf(0)}); // 1 becomes 3, still 1500 ids
        QCOMPARE(store.shown().size(), 1500);
        QCOMPARE(store.shown().value(idOf(0)), qint64(3));

        store.markShown({idOf(1500)});
        const QHash<QString, qint64> shown = store.shown();
        QCOMPARE(shown.size(), 1501 - 300); // the 299 other counts of 1 and the new one are gone
        QVERIFY(!shown.contains(idOf(1500)));
        QVERIFY(!shown.contains(idOf(5)));
        const qint64 halved[] = {1, 1, 1, 2, 2}; // from 3, 2, 3, 4, 5
        for (int i = 0; i < 5; ++i)
            QCOMPARE(shown.value(idOf(i)), halved[i]);
    }

    void catalogLimitPrunes()
    {
        TestEnvironment env;
        LibraryData data;
        for (int i = 0; i < 3999; ++i)
            data.catalog.insert(idOf(i), track(idOf(i)));
        // Referenced tracks: 0 liked, 1 in a playlist, 2 downloaded, 3 discovered, 4 played lately,
        // 5 played only before the last 1500 plays.
        data.likes = {idOf(0)};
        data.playlists = {Playlist{QUuid::createUuid(), QStringLiteral("P"), {track(idOf(1))}, epoch, {}}};
        data.downloads.insert(idOf(2), QStringLiteral("/gone.m4a"));
        data.discoveries = {
            Discovery{Discovery::Kind::NewFrom, QStringLiteral("k"), QStringLiteral("l"), {idOf(3)}, epoch}};
        data.plays.append(play(idOf(5), 30, true));
        for (int i = 0; i < 1499; ++i)
            data.plays.append(play(idOf(100 + i), 30, true));
        data.plays.append(play(idOf(4), 30, true));
        writeFile(libraryPath(), data.toJson());
        LibraryStore store;

        store.registerTracks({track(idOf(5000))}); // the 4000th: no pruning yet
        QCOMPARE(store.tracks({idOf(5), idOf(3998)}).size(), 2);

        QSignalSpy changed(&store, &LibraryStore::libraryChanged);
        store.registerTracks({track(idOf(5001))}); // the 4001st
        QCOMPARE(changed.count(), 1);
        QStringList kept;
        for (const Track &known : store.tracks({idOf(0), idOf(1), idOf(2), idOf(3), idOf(4), idOf(5), idOf(99),
                                                idOf(100), idOf(1598), idOf(1599), idOf(5000), idOf(5001)}))
            kept.append(known.id);
        // 100…1598 are the other recent plays; 5001 is the track just registered.
        QCOMPARE(kept, (QStringList{idOf(0), idOf(1), idOf(2), idOf(3), idOf(4), idOf(100), idOf(1598), idOf(5001)}));
        QCOMPARE(store.tracks(QStringList(store.recentIDs(6000).values())).size(), 1500);

        // A known track as it is sets no mark.
        store.registerTracks({track(idOf(5001))});
        QCOMPARE(changed.count(), 1);
    }
};

namespace {

// Runs in a child process started by the tests above, with their environment.
int runChild(const QByteArray &mode)
{
    if (mode == "quit") {
        // The store is never destroyed: only the quit signal can save its edit.
        auto *store = new LibraryStore;
        store->recordSearch(QStringLiteral("before quit"));
        QTimer::singleShot(200, QCoreApplication::instance(), &QCoreApplication::quit);
        std::_Exit(QCoreApplication::exec());
    }
    if (mode == "burst") {
        // Edits and saves back to back until killed.
        LibraryStore store;
        int round = 0;
        auto edit = [&] {
            for (int i = 0; i < 20; ++i)
                store.record(play(idOf(round * 20 + i), 30, true));
            store.registerTracks({track(idOf(100000 + round))});
            ++round;
            store.saveNow();
        };
        QObject::connect(&store, &LibraryStore::saved, [&] {
            std::fputs("saved\n", stdout);
            std::fflush(stdout);
            edit();
        });
        edit();
        return QCoreApplication::exec();
    }
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0)
        return runChild(argv[2]);
    TestLibraryStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_librarystore.moc"
