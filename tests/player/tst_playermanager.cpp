#include "PlayerRig.h"
#include "TestLog.h"
#include "core/SettingsStore.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <functional>

using Operation = std::function<void(PlayerRig &)>;
Q_DECLARE_METATYPE(Operation)

namespace {

QStringList ids(std::initializer_list<int> numbers)
{
    QStringList list;
    for (int n : numbers)
        list.append(PlayerRig::track(n).id);
    return list;
}

} // namespace

class TestPlayerManager : public QObject
{
    Q_OBJECT

    std::unique_ptr<PlayerRig> m_rig;

private Q_SLOTS:
    void init()
    {
        m_rig = std::make_unique<PlayerRig>();
        new QAbstractItemModelTester(m_rig->player->queueModel(),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest, m_rig->player.get());
    }
    void cleanup() { m_rig.reset(); }

    // Queue edits: the queue and current item they leave. Every case starts from songs 0…4
    // with song 2 current.
    void queueEdits_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QStringList>("queue");
        QTest::addColumn<int>("index");
        const auto list = [](std::initializer_list<int> numbers) {
            QList<Track> tracks;
            for (int n : numbers)
                tracks.append(PlayerRig::track(n));
            return tracks;
        };

        QTest::newRow("play within list") << Operation([&](PlayerRig &r) {
            r.player->play(PlayerRig::track(8), list({7, 8, 9}));
        }) << ids({7, 8, 9}) << 1;
        QTest::newRow("play outside list") << Operation([&](PlayerRig &r) {
            r.player->play(PlayerRig::track(8), list({7, 9}));
        }) << ids({8}) << 0;
        QTest::newRow("unshuffled start past the end is ignored") << Operation([&](PlayerRig &r) {
            r.player->play(list({7, 8}), 2, false);
        }) << ids({0, 1, 2, 3, 4}) << 2;
        QTest::newRow("unshuffled negative start is ignored") << Operation([&](PlayerRig &r) {
            r.player->play(list({7, 8}), -1, false);
        }) << ids({0, 1, 2, 3, 4}) << 2;
        QTest::newRow("empty list changes nothing")
            << Operation([](PlayerRig &r) { r.player->play(QList<Track>(), 0, false); }) << ids({0, 1, 2, 3, 4}) << 2;
        QTest::newRow("play next") << Operation([](PlayerRig &r) { r.player->playNext(PlayerRig::track(9)); })
                                   << ids({0, 1, 2, 9, 3, 4}) << 2;
        QTest::newRow("enqueue") << Operation([&](PlayerRig &r) {
            r.player->enqueue(list({8, 9}));
        }) << ids({0, 1, 2, 3, 4, 8, 9})
                                 << 2;
        QTest::newRow("clear upcoming") << Operation([](PlayerRig &r) { r.player->clearUpcoming(); }) << ids({0, 1, 2})
                                        << 2;
        QTest::newRow("move above current") << Operation([](PlayerRig &r) {
            r.player->moveQueue({3, 4}, 0);
        }) << ids({3, 4, 0, 1, 2}) << 4;
        QTest::newRow("move current down")
            << Operation([](PlayerRig &r) { r.player->moveQueue({2}, 5); }) << ids({0, 1, 3, 4, 2}) << 4;
        QTest::newRow("move drops outside offsets, clamps destination") << Operation([](PlayerRig &r) {
            r.player->moveQueue({-1, 0, 9}, 99);
        }) << ids({1, 2, 3, 4, 0}) << 1;
        QTest::newRow("move with a negative destination")
            << Operation([](PlayerRig &r) { r.player->moveQueue({4}, -3); }) << ids({4, 0, 1, 2, 3}) << 3;
        QTest::newRow("remove before current")
            << Operation([](PlayerRig &r) { r.player->removeFromQueue(r.player->queue().at(0)); }) << ids({1, 2, 3, 4})
            << 1;
        QTest::newRow("remove after current")
            << Operation([](PlayerRig &r) { r.player->removeFromQueue(r.player->queue().at(4)); }) << ids({0, 1, 2, 3})
            << 2;
        QTest::newRow("remove current does nothing")
            << Operation([](PlayerRig &r) { r.player->removeFromQueue(r.player->queue().at(2)); })
            << ids({0, 1, 2, 3, 4}) << 2;
        QTest::newRow("remove an item whose details changed") << Operation([](PlayerRig &r) {
            QueueItem stale = r.player->queue().at(0);
            stale.track.title = QStringLiteral("Other");
            r.player->removeFromQueue(stale);
        }) << ids({0, 1, 2, 3, 4}) << 2;
    }

    void queueEdits()
    {
        QFETCH(Operation, operation);
        QFETCH(QStringList, queue);
        QFETCH(int, index);
        m_rig->playing(5, 2);
        const QUuid currentUid = m_rig->player->queue().at(2).uid();
        const int loads = int(m_rig->audio.loads.size());
        operation(*m_rig);
        QCOMPARE(m_rig->queueIds(), queue);
        QCOMPARE(m_rig->player->index(), std::optional<int>(index));
        // Only a new queue interrupts the song playing.
        if (m_rig->audio.loads.size() == loads)
            QCOMPARE(m_rig->player->queue().at(index).uid(), currentUid);
    }

    void editsWithNothingCurrent()
    {
        auto &player = *m_rig->player;
        player.enqueue({PlayerRig::track(1), PlayerRig::track(2)});
        QCOMPARE(player.index(), std::optional<int>(0));
        QCOMPARE(m_rig->audio.loads.size(), 1);

        m_rig->restart();
        m_rig->player->playNext(PlayerRig::track(3));
        QCOMPARE(m_rig->player->index(), std::optional<int>(0));
        QCOMPARE(m_rig->audio.loads.size(), 2);
        QCOMPARE(m_rig->audio.loads.last().url.path(), QLatin1Char('/') + PlayerRig::track(3).id);
    }

    void shuffle()
    {
        auto &player = *m_rig->player;
        const QList<Track> eight = PlayerRig::tracks(8);
        player.play(eight, 2, true);
        QVERIFY(player.shuffle());
        QCOMPARE(player.index(), std::optional<int>(0));
        QStringList queue = m_rig->queueIds();
        QCOMPARE(queue.first(), eight.at(2).id);
        QStringList sorted = queue;
        sorted.sort();
        QCOMPARE(sorted, ids({0, 1, 2, 3, 4, 5, 6, 7}));
        QVERIFY(queue != ids({2, 0, 1, 3, 4, 5, 6, 7}));

        // A start past the end (or before the start) takes the nearest song.
        player.play(eight, 99, true);
        QCOMPARE(m_rig->queueIds().first(), eight.last().id);
        player.play(eight, -4, true);
        QCOMPARE(m_rig->queueIds().first(), eight.first().id);

        // On: only the songs after the current one move. Off: nothing moves.
        player.setShuffle(false);
        player.play(eight, 3, false);
        player.setShuffle(true);
        queue = m_rig->queueIds();
        QCOMPARE(queue.mid(0, 4), ids({0, 1, 2, 3}));
        sorted = queue.mid(4);
        sorted.sort();
        QCOMPARE(sorted, ids({4, 5, 6, 7}));
        player.setShuffle(false);
        QCOMPARE(m_rig->queueIds(), queue);
    }

    void previousAndSeek()
    {
        auto &player = *m_rig->player;
        m_rig->playing(5, 3);
        m_rig->listen(3.5);
        m_rig->audio.currentPosition = 3.5;
        m_rig->listen(0.5);
        QCOMPARE(player.position(), 3.5);
        player.previous();
        QCOMPARE(player.index(), std::optional<int>(3));
        QCOMPARE(m_rig->audio.seeks.last(), 0.0);

        m_rig->audio.currentPosition = 2;
        m_rig->listen(0.5);
        player.previous();
        QCOMPARE(player.index(), std::optional<int>(2));
        QCOMPARE(m_rig->library.plays().size(), 1);
        QVERIFY(m_rig->library.plays().first().skipped);
        QCOMPARE(m_rig->library.plays().first().trackID, PlayerRig::track(3).id);

        player.play(PlayerRig::tracks(2), 0, false);
        m_rig->ready();
        player.previous();
        QCOMPARE(player.index(), std::optional<int>(0));
        QCOMPARE(m_rig->audio.loads.size(), 3);

        // Held inside the song.
        const QList<std::pair<double, double>> seeks{{500, 200}, {-5, 0}, {qQNaN(), 0}, {42, 42}};
        for (const auto &[asked, reached] : seeks) {
            player.seek(asked);
            QCOMPARE(player.position(), reached);
            QCOMPARE(m_rig->audio.seeks.last(), reached);
        }

        // A failure retries at once, from where the sound broke off.
        m_rig->audio.fail(QStringLiteral("Loading failed."));
        QCOMPARE(m_rig->audio.loads.last().start, 42.0);
        m_rig->ready();

        // With nothing loaded a seek waits for the next load, which starts there.
        m_rig->audio.stop();
        player.seek(95);
        QCOMPARE(player.position(), 95.0);
        player.resume();
        QCOMPARE(m_rig->audio.loads.last().start, 95.0);
        QVERIFY(m_rig->audio.loads.last().play);
    }

    void volume()
    {
        auto &player = *m_rig->player;
        QCOMPARE(player.volume(), 0.8);
        QVERIFY(!SettingsStore::isStored(QStringLiteral("musicVolume")));
        QCOMPARE(m_rig->audio.lastVolume, 0.8);

        const QList<std::tuple<double, double, double>> steps{{0.95, 0.1, 1.0}, {0.05, -0.1, 0.0}, {0.5, 0.25, 0.75}};
        for (const auto &[from, step, to] : steps) {
            player.setVolume(from);
            player.changeVolume(step);
            QCOMPARE(player.volume(), to);
            QCOMPARE(m_rig->audio.lastVolume, to);
            QCOMPARE(SettingsStore::number(QStringLiteral("musicVolume")), to);
        }
        m_rig->restart();
        QCOMPARE(m_rig->player->volume(), 0.75);
    }

    // At the natural end of the last song.
    void endOfQueue_data()
    {
        QTest::addColumn<bool>("nonStop");
        QTest::addColumn<QString>("repeat");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("playing");
        QTest::newRow("stops") << false << "off" << 2 << false;
        QTest::newRow("repeat all wraps") << false << "all" << 0 << true;
        QTest::newRow("non-stop with nothing found stops") << true << "off" << 2 << false;
        QTest::newRow("non-stop is asked before repeat all") << true << "all" << 2 << false;
    }

    void endOfQueue()
    {
        QFETCH(bool, nonStop);
        QFETCH(QString, repeat);
        QFETCH(int, index);
        QFETCH(bool, playing);
        auto &player = *m_rig->player;
        player.setNonStop(nonStop);
        player.setRepeatModeText(repeat);
        m_rig->playing(3, 2);
        m_rig->audio.currentPosition = 200;
        m_rig->listen(1);
        QSignalSpy nowPlaying(&player, &PlayerManager::nowPlayingChanged);
        m_rig->audio.end();
        QCOMPARE(player.index(), std::optional<int>(index));
        QCOMPARE(player.isPlaying(), playing);
        QCOMPARE(m_rig->audio.loads.size(), playing ? 2 : 1);
        QVERIFY(!nowPlaying.isEmpty());
        if (!playing) {
            QCOMPARE(player.position(), 0.0);
            QVERIFY(!player.isLoading());
            QCOMPARE(m_rig->audio.seeks.last(), 0.0);
            QVERIFY(!m_rig->audio.isRunning());
        }
        QCOMPARE(m_rig->library.plays().size(), 1);
        QVERIFY(m_rig->library.plays().first().completed);
    }

    void repeatOne()
    {
        auto &player = *m_rig->player;
        player.setRepeatMode(RepeatMode::One);
        m_rig->playing(3, 1);
        m_rig->listen(10);
        player.persistNow();
        m_rig->audio.end();
        // The same item again: no reload, no save, and a new play to count.
        QCOMPARE(player.index(), std::optional<int>(1));
        QCOMPARE(m_rig->audio.loads.size(), 1);
        QCOMPARE(m_rig->audio.seeks.last(), 0.0);
        QVERIFY(m_rig->audio.isRunning());
        QVERIFY(!player.persistPending());
        m_rig->listen(3);
        m_rig->audio.end();
        QCOMPARE(m_rig->library.plays().size(), 2);
        QCOMPARE(m_rig->library.plays().last().listened, 3.0);

        player.advance(true);
        QCOMPARE(player.index(), std::optional<int>(2));
    }

    // What schedules a save and what refreshes the media controls. Every case starts from
    // songs 0…4 with song 2 current and ready, nothing pending.
    void savesAndNowPlaying_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<bool>("saves");
        QTest::addColumn<bool>("nowPlaying");
        const auto op = [](std::function<void(PlayerManager &)> f) {
            return Operation([f](PlayerRig &r) { f(*r.player); });
        };
        QTest::newRow("play list") << op([](PlayerManager &p) { p.play(PlayerRig::tracks(2), 1, false); }) << true
                                   << true;
        QTest::newRow("play next") << op([](PlayerManager &p) { p.playNext(PlayerRig::track(7)); }) << true << false;
        QTest::newRow("enqueue") << op([](PlayerManager &p) { p.enqueue({PlayerRig::track(7)}); }) << true << false;
        QTest::newRow("clear upcoming") << op([](PlayerManager &p) { p.clearUpcoming(); }) << true << false;
        QTest::newRow("move") << op([](PlayerManager &p) { p.moveQueue({0}, 3); }) << true << false;
        QTest::newRow("move nothing") << op([](PlayerManager &p) { p.moveQueue({7}, 0); }) << false << false;
        QTest::newRow("remove") << op([](PlayerManager &p) { p.removeFromQueue(p.queue().at(4)); }) << true << false;
        QTest::newRow("shuffle on") << op([](PlayerManager &p) { p.setShuffle(true); }) << true << false;
        QTest::newRow("shuffle set again") << op([](PlayerManager &p) { p.setShuffle(false); }) << true << false;
        QTest::newRow("repeat") << op([](PlayerManager &p) { p.setRepeatMode(RepeatMode::All); }) << true << false;
        QTest::newRow("next") << op([](PlayerManager &p) { p.advance(true); }) << true << true;
        QTest::newRow("pause") << op([](PlayerManager &p) { p.togglePlay(); }) << true << true;
        QTest::newRow("resume") << op([](PlayerManager &p) {
            p.togglePlay();
            p.persistNow();
            p.togglePlay();
        }) << false << true;
        QTest::newRow("seek") << op([](PlayerManager &p) { p.seek(10); }) << false << true;
        QTest::newRow("previous early") << op([](PlayerManager &p) { p.previous(); }) << true << true;
        QTest::newRow("volume") << op([](PlayerManager &p) { p.changeVolume(0.1); }) << false << false;
    }

    void savesAndNowPlaying()
    {
        QFETCH(Operation, operation);
        QFETCH(bool, saves);
        QFETCH(bool, nowPlaying);
        m_rig->playing(5, 2);
        m_rig->player->persistNow();
        QSignalSpy spy(m_rig->player.get(), &PlayerManager::nowPlayingChanged);
        operation(*m_rig);
        QCOMPARE(m_rig->player->persistPending(), saves);
        QCOMPARE(!spy.isEmpty(), nowPlaying);
    }

    void delayedSaveWritesTheLibrary()
    {
        auto &player = *m_rig->player;
        player.setPersistDelay(20);
        player.enqueue(PlayerRig::tracks(3));
        QVERIFY(player.persistPending());
        QSignalSpy saved(&m_rig->library, &LibraryStore::saved);
        QVERIFY(saved.wait(2000));
        QVERIFY(!player.persistPending());
    }

    // An emptied queue with nothing current is saved too, or it would come back at the next start.
    void clearingWithNothingCurrentSaves()
    {
        m_rig->player->clearUpcoming();
        QVERIFY(m_rig->player->persistPending());
    }

    // Where the sound comes from, and what the resolution teaches the queue.
    void sources()
    {
        auto &player = *m_rig->player;
        const QString folder = m_rig->environment.root();
        for (const QString &name : {QStringLiteral("one.MP3"), QStringLiteral("two.opus")}) {
            QFile file(folder + QLatin1Char('/') + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        m_rig->library.recordDownload(PlayerRig::track(1).id, folder + QStringLiteral("/one.MP3"));
        m_rig->library.recordDownload(PlayerRig::track(2).id, folder + QStringLiteral("/two.opus"));
        Track richer = PlayerRig::track(2, 215.0);
        richer.album = QStringLiteral("Album");
        m_rig->catalog.answers.insert(richer.id, StreamInfo{QUrl(QStringLiteral("http://127.0.0.1:9/two")),
                                                            {{QStringLiteral("User-Agent"), QStringLiteral("UA")}},
                                                            richer,
                                                            QDateTime::currentDateTimeUtc()});
        Track queued = PlayerRig::track(2, std::nullopt);
        queued.genre = QStringLiteral("rock");
        player.play({PlayerRig::track(1), queued, queued}, 0, false);

        // A downloaded mp3 plays from disk, without headers or resolution.
        QCOMPARE(m_rig->audio.loads.last().url, QUrl::fromLocalFile(folder + QStringLiteral("/one.MP3")));
        QVERIFY(m_rig->audio.loads.last().headers.isEmpty());
        QVERIFY(m_rig->catalog.resolved.isEmpty());

        // Another download kind is streamed; both copies of the song learn its details.
        player.advance(true);
        QCOMPARE(m_rig->catalog.resolved, QStringList{richer.id + QStringLiteral("#0")});
        QCOMPARE(m_rig->audio.loads.last().url, QUrl(QStringLiteral("http://127.0.0.1:9/two")));
        QCOMPARE(m_rig->audio.loads.last().headers.value(QStringLiteral("User-Agent")), QStringLiteral("UA"));
        Track merged = richer;
        merged.genre = QStringLiteral("rock");
        QCOMPARE(player.queue().at(1).track, merged);
        QCOMPARE(player.queue().at(2).track, merged);
        QCOMPARE(player.duration(), 215.0);
        QCOMPARE(m_rig->library.tracks({richer.id}).value(0).album, richer.album);

        // A fresh stream is reused.
        player.advance(true);
        QCOMPARE(m_rig->catalog.resolved.size(), 1);
        QCOMPARE(m_rig->audio.loads.size(), 3);
    }

    // What the queue panel lists, and that edits announce rows rather than resetting the list.
    void queueModelRows()
    {
        QueueModel *model = m_rig->player->queueModel();
        QSignalSpy resets(model, &QAbstractItemModel::modelReset);
        QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
        QSignalSpy moved(model, &QAbstractItemModel::rowsInserted);
        Track unknownLength = PlayerRig::track(9, std::nullopt);
        m_rig->player->play({PlayerRig::track(0), unknownLength}, 1, false);
        QCOMPARE(model->rowCount(), 2);
        const auto data = [model](int row, int role) { return model->data(model->index(row), role).toString(); };
        QCOMPARE(data(0, QueueModel::TitleRole), QStringLiteral("Song 0"));
        QCOMPARE(data(0, QueueModel::ArtistRole), QStringLiteral("Band"));
        QCOMPARE(data(0, QueueModel::DurationTextRole), QStringLiteral("3:20"));
        QCOMPARE(data(1, QueueModel::DurationTextRole), QStringLiteral("—"));
        QCOMPARE(data(1, QueueModel::TrackIdRole), unknownLength.id);
        QCOMPARE(data(1, QueueModel::UidRole),
                 m_rig->player->queue().at(1).uid().toString(QUuid::WithoutBraces).toUpper());
        // The resolved details of the current song reach its row.
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().first().value<QModelIndex>().row(), 1);

        m_rig->player->moveQueue({1}, 0);
        m_rig->player->enqueue({PlayerRig::track(3)});
        m_rig->player->play(PlayerRig::tracks(2), 0, false);
        QCOMPARE(resets.size(), 0);
        QCOMPARE(moved.size(), 4);
    }

    void loadingAndReady()
    {
        auto &player = *m_rig->player;
        player.play(PlayerRig::tracks(2), 0, false);
        QVERIFY(player.isPlaying());
        QVERIFY(player.isLoading());
        QVERIFY(m_rig->audio.loads.last().play);
        m_rig->ready(201.5);
        QVERIFY(!player.isLoading());
        QVERIFY(!player.isBuffering());
        QCOMPARE(player.duration(), 201.5);

        // Paused, the next song loads paused.
        player.togglePlay();
        QVERIFY(!player.isPlaying());
        player.advance(true);
        QVERIFY(player.isPlaying());
    }

    void lateResultIsDropped()
    {
        auto &player = *m_rig->player;
        m_rig->catalog.delay = std::chrono::milliseconds(30);
        player.play(PlayerRig::tracks(3), 0, false);
        player.advance(true);
        QVERIFY(QTest::qWaitFor([this] { return !m_rig->audio.loads.isEmpty(); }));
        QTest::qWait(100);
        QCOMPARE(m_rig->audio.loads.size(), 1);
        QCOMPARE(m_rig->audio.loads.first().url.path(), QLatin1Char('/') + PlayerRig::track(1).id);
    }

    // Songs from `start` on fail every attempt (the first `failing` of them), in a queue of
    // `count`: where the player ends up.
    void giveUp_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("failing");
        QTest::addColumn<QString>("repeat");
        QTest::addColumn<bool>("nonStop");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("playing");

        QTest::newRow("middle skips on") << 5 << 1 << 1 << "off" << false << 2 << true;
        QTest::newRow("last stops") << 3 << 2 << 1 << "off" << false << 2 << false;
        QTest::newRow("last with repeat all stops") << 3 << 2 << 1 << "all" << false << 2 << false;
        // Repeat-one would restart the broken song: a skip moves on as without repeat.
        QTest::newRow("repeat one skips on") << 3 << 1 << 1 << "one" << false << 2 << true;
        QTest::newRow("repeat one at the end stops") << 3 << 2 << 1 << "one" << false << 2 << false;
        // Non-stop asks for more songs; none come here, so it stops at the end after the refill.
        QTest::newRow("non-stop at the end") << 3 << 2 << 1 << "off" << true << 2 << false;
        QTest::newRow("four in a row skip on") << 7 << 0 << 4 << "off" << false << 4 << true;
        QTest::newRow("the fifth stops") << 7 << 0 << 5 << "off" << false << 4 << false;
    }

    void giveUp()
    {
        QFETCH(int, count);
        QFETCH(int, start);
        QFETCH(int, failing);
        QFETCH(QString, repeat);
        QFETCH(bool, nonStop);
        QFETCH(int, index);
        QFETCH(bool, playing);
        auto &player = *m_rig->player;
        player.setRepeatModeText(repeat);
        player.setNonStop(nonStop);
        for (int n = start; n < start + failing; ++n)
            m_rig->catalog.answers.insert(PlayerRig::track(n).id, MusicError{QStringLiteral("Video unavailable.")});
        player.play(PlayerRig::tracks(count), start, false);

        QCOMPARE(player.index(), std::optional<int>(index));
        QCOMPARE(player.isPlaying(), playing);
        QCOMPARE(player.isLoading(), playing);
        const Track last = PlayerRig::track(start + failing - 1);
        // The message stays while the next song loads.
        QCOMPARE(player.errorMessage(), QStringLiteral("Couldn\u2019t play \u201c") + last.title +
                                            QStringLiteral("\u201d: Video unavailable."));
        // Three attempts per song, each with the next format, each logged.
        const QString first = PlayerRig::track(start).id;
        QCOMPARE(
            m_rig->catalog.resolved.mid(0, 3),
            QStringList({first + QStringLiteral("#0"), first + QStringLiteral("#1"), first + QStringLiteral("#2")}));
        const QStringList lines = TestLog::appLogLines().filter(QStringLiteral("playback failure ") + first);
        QCOMPARE(lines.size(), 3);
        for (int attempt = 0; attempt < 3; ++attempt)
            QCOMPARE(lines.at(attempt),
                     QStringLiteral("playback failure %1 attempt %2: Video unavailable.").arg(first).arg(attempt));
    }

    // Retries resume where the sound broke off past 3 s, else from the start; the song given up
    // after them was not heard to its end, so its play is not completed.
    void retries()
    {
        auto &player = *m_rig->player;
        m_rig->playing(3, 0);
        const QString id = PlayerRig::track(0).id;

        // An end well short of the known length is a cut stream.
        m_rig->audio.currentPosition = 60;
        m_rig->listen(1);
        m_rig->audio.end(60);
        QCOMPARE(TestLog::appLogLines().last(),
                 QStringLiteral("playback failure %1 attempt 0: Playback was interrupted.").arg(id));
        QCOMPARE(player.index(), std::optional<int>(0));
        QCOMPARE(m_rig->audio.loads.last().start, 60.0);
        QVERIFY(player.errorMessage().isEmpty());
        QVERIFY(player.isLoading());

        m_rig->ready(200);
        m_rig->audio.currentPosition = 2.5;
        m_rig->listen(1);
        m_rig->audio.fail(QStringLiteral("Loading failed."));
        QCOMPARE(m_rig->audio.loads.last().start, 0.0);

        m_rig->ready(200);
        m_rig->listen(10);
        m_rig->audio.fail(QStringLiteral("Loading failed."));
        QCOMPARE(player.index(), std::optional<int>(1));
        QCOMPARE(m_rig->library.plays().size(), 1);
        QVERIFY(!m_rig->library.plays().first().completed);
        QVERIFY(!m_rig->library.plays().first().skipped);
    }

    // An end short of the length is a cut stream, tried again from there, only when the back end
    // itself knows that length: the catalogue's is an estimate.
    void songEnd_data()
    {
        QTest::addColumn<double>("catalogue"); // 0: none
        QTest::addColumn<double>("reported");  // NaN: the back end knows none
        QTest::addColumn<double>("endedAt");
        QTest::addColumn<bool>("interrupted");
        QTest::newRow("no length from the back end") << 200.0 << double(NAN) << 150.0 << false;
        QTest::newRow("short of the back end's length") << 200.0 << 200.0 << 150.0 << true;
        QTest::newRow("within 5 s of it") << 200.0 << 200.0 << 195.5 << false;
        QTest::newRow("the back end's length is shorter") << 200.0 << 150.0 << 149.0 << false;
        QTest::newRow("only the back end knows a length") << 0.0 << 200.0 << 100.0 << true;
    }

    void songEnd()
    {
        QFETCH(double, catalogue);
        QFETCH(double, reported);
        QFETCH(double, endedAt);
        QFETCH(bool, interrupted);
        auto &player = *m_rig->player;
        const std::optional<double> length = catalogue > 0 ? std::optional<double>(catalogue) : std::nullopt;
        player.play({PlayerRig::track(0, length), PlayerRig::track(1)}, 0, false);
        m_rig->ready(reported);
        m_rig->audio.end(endedAt);
        QCOMPARE(player.index(), std::optional<int>(interrupted ? 0 : 1));
        QCOMPARE(TestLog::appLogLines().filter(QStringLiteral("Playback was interrupted.")).size(),
                 interrupted ? 1 : 0);
        QCOMPARE(m_rig->audio.loads.last().start, interrupted ? endedAt : 0.0);
    }

    // When non-stop playback refills at the end of the queue, what the user started meanwhile
    // stands; the refill adds nothing here.
    void endOfQueueAfterRefill()
    {
        auto &player = *m_rig->player;
        player.setNonStop(true);
        m_rig->playing(2, 1);
        QVERIFY(player.hasNext());
        player.advance(true);
        QCOMPARE(player.index(), std::optional<int>(1));
        QVERIFY(!player.isPlaying());
        QVERIFY(!player.isLoading());
    }
};

QTEST_MAIN(TestPlayerManager)
#include "tst_playermanager.moc"
