#include "PlayerRig.h"

#include <QCoroTask>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using Listings = QHash<QString, QList<int>>;
Q_DECLARE_METATYPE(Listings)
using Found = MusicResult<QList<Track>>;
Q_DECLARE_METATYPE(Found)

namespace {

QString idOf(int n)
{
    return PlayerRig::track(n).id;
}

QStringList idsOf(const QList<int> &numbers)
{
    QStringList ids;
    for (int n : numbers)
        ids.append(idOf(n));
    return ids;
}

QList<Track> tracksOf(const QList<int> &numbers)
{
    QList<Track> tracks;
    for (int n : numbers)
        tracks.append(PlayerRig::track(n));
    return tracks;
}

// A liked song of an artist of its own: the recommender offers it as a candidate.
Track liked(int n)
{
    return Track{QStringLiteral("liked%1").arg(n, 6, 10, QLatin1Char('0')),
                 QStringLiteral("Liked %1").arg(n),
                 QStringLiteral("Artist %1").arg(n),
                 180.0,
                 std::nullopt,
                 std::nullopt};
}

} // namespace

class TestQueueRefill : public QObject
{
    Q_OBJECT

    std::unique_ptr<PlayerRig> m_rig;

    // Answers "radio <id>" and "search <text>" calls with the numbered songs.
    void answer(const Listings &listings)
    {
        for (auto it = listings.cbegin(); it != listings.cend(); ++it)
            m_rig->catalog.listings.insert(it.key(), {tracksOf(it.value())});
    }

    // The ids after the first `count` items.
    [[nodiscard]] QStringList appendedAfter(qsizetype count) const { return m_rig->queueIds().mid(count); }

private Q_SLOTS:
    void init() { m_rig = std::make_unique<PlayerRig>(); }
    void cleanup() { m_rig.reset(); }

    void refills_data()
    {
        QTest::addColumn<QList<int>>("queue");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("nonStop");
        QTest::addColumn<bool>("force");
        QTest::addColumn<Listings>("listings");
        QTest::addColumn<int>("likes");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("appended"); // "*" stands for a recommended candidate

        const QString radio0 = QStringLiteral("radio ") + idOf(0);
        const QString radio3 = QStringLiteral("radio ") + idOf(3);
        const QString radio5 = QStringLiteral("radio ") + idOf(5);
        const QString radio1 = QStringLiteral("radio ") + idOf(1);
        const QString search = QStringLiteral("search Band songs");

        QTest::newRow("non-stop off") << QList<int>{0, 1} << 0 << false << false << Listings{{radio0, {100, 101, 102}}}
                                      << 0 << QStringList() << QStringList();
        QTest::newRow("3 after the current one: a normal request refills")
            << QList<int>{0, 1, 2, 3} << 0 << true << false << Listings{{radio0, {100, 101, 102}}} << 0
            << QStringList{radio0 + QStringLiteral(" 40")} << QStringList{idOf(100), idOf(101), idOf(102)};
        QTest::newRow("3 after the current one: a forced request does not")
            << QList<int>{0, 1, 2, 3} << 0 << true << true << Listings{{radio0, {100, 101, 102}}} << 0 << QStringList()
            << QStringList();
        // Queued and just-played songs are avoided; nine usable radio songs give eight.
        QTest::newRow("8 radio picks plus 4 candidates")
            << QList<int>{0, 1, 2, 3} << 3 << true << true
            << Listings{{radio3, {0, 1, 2, 3, 100, 101, 102, 103, 104, 105, 106, 107, 108}}} << 4
            << QStringList{radio3 + QStringLiteral(" 40")}
            << QStringList{idOf(100), idOf(101), QStringLiteral("*"), idOf(102), idOf(103), QStringLiteral("*"),
                           idOf(104), idOf(105), QStringLiteral("*"), idOf(106), idOf(107), QStringLiteral("*")};
        QTest::newRow("2 radio picks: candidates at 2, 3, 4 and 5")
            << QList<int>{3} << 0 << true << true << Listings{{radio3, {100, 101}}} << 4
            << QStringList{radio3 + QStringLiteral(" 40")}
            << QStringList{idOf(100),           idOf(101),           QStringLiteral("*"),
                           QStringLiteral("*"), QStringLiteral("*"), QStringLiteral("*")};
        QTest::newRow("one item, no usable radio: straight to the artist search")
            << QList<int>{0} << 0 << true << true
            << Listings{{radio0, {0}}, {search, {0, 100, 101, 102, 103, 104, 105, 106}}} << 0
            << QStringList{radio0 + QStringLiteral(" 40"), search + QStringLiteral(" 15")}
            << QStringList{idOf(100), idOf(101), idOf(102), idOf(103), idOf(104), idOf(105)};
        QTest::newRow("the fallback seed is the last earlier song of another id")
            << QList<int>{0, 1, 5, 5} << 2 << true << true
            << Listings{{radio5, {}}, {radio1, {0, 100, 101, 102, 103, 104, 105, 106}}} << 0
            << QStringList{radio5 + QStringLiteral(" 40"), radio1 + QStringLiteral(" 30")}
            << QStringList{idOf(100), idOf(101), idOf(102), idOf(103), idOf(104), idOf(105)};
        QTest::newRow("a song found twice is appended once")
            << QList<int>{0} << 0 << true << false << Listings{{radio0, {100, 100}}, {search, {100, 101, 102}}} << 0
            << QStringList{radio0 + QStringLiteral(" 40"), search + QStringLiteral(" 15")}
            << QStringList{idOf(100), idOf(101), idOf(102)};
        QTest::newRow("three picks are enough")
            << QList<int>{0, 1} << 1 << true << true << Listings{{radio1, {100, 101, 102}}} << 0
            << QStringList{radio1 + QStringLiteral(" 40")} << QStringList{idOf(100), idOf(101), idOf(102)};
        QTest::newRow("nothing found") << QList<int>{0, 1} << 1 << true << true << Listings() << 0
                                       << QStringList{radio1 + QStringLiteral(" 40"), radio0 + QStringLiteral(" 30"),
                                                      search + QStringLiteral(" 15")}
                                       << QStringList();
    }

    void refills()
    {
        QFETCH(QList<int>, queue);
        QFETCH(int, current);
        QFETCH(bool, nonStop);
        QFETCH(bool, force);
        QFETCH(Listings, listings);
        QFETCH(int, likes);
        QFETCH(QStringList, calls);
        QFETCH(QStringList, appended);
        auto &player = *m_rig->player;
        answer(listings);
        QSet<QString> likedIDs;
        for (int n = 0; n < likes; ++n) {
            m_rig->library.toggleLike(liked(n));
            likedIDs.insert(liked(n).id);
        }
        player.setNonStop(nonStop); // nothing is current yet: asks for nothing
        player.play(tracksOf(queue), current, false);
        QCOMPARE(m_rig->catalog.calls, QStringList());
        QSignalSpy filling(&player, &PlayerManager::fillingChanged);

        QCoro::waitFor(player.refillIfNeeded(force));
        QCOMPARE(m_rig->catalog.calls, calls);
        QVERIFY(!player.isFillingQueue());
        QCOMPARE(filling.count(), calls.isEmpty() ? 0 : 2);
        QCOMPARE(player.index(), std::optional<int>(current));
        const QStringList added = appendedAfter(queue.size());
        QCOMPARE(added.size(), appended.size());
        QSet<QString> candidates;
        for (qsizetype i = 0; i < added.size(); ++i) {
            if (appended.at(i) == u'*')
                candidates.insert(added.at(i));
            else
                QCOMPARE(added.at(i), appended.at(i));
        }
        QCOMPARE(candidates, likedIDs);
        if (!added.isEmpty())
            QVERIFY(player.persistPending());
        // The next song is resolved ahead, also when the refill put it there.
        if (current + 1 < player.queue().size())
            QVERIFY(m_rig->catalog.resolved.contains(player.queue().at(current + 1).track.id + QStringLiteral("#0")));
    }

    // A failed mix is remembered as empty: that song's radio is not asked for again.
    void oneRadioCallPerSeed()
    {
        auto &player = *m_rig->player;
        const QString radio = QStringLiteral("radio ") + idOf(0);
        m_rig->catalog.listings.insert(radio, {MusicError{QStringLiteral("Network problem.")}});
        player.setNonStop(true);
        player.play(tracksOf({0}), 0, false);
        QCoro::waitFor(player.refillIfNeeded(true));
        QCoro::waitFor(player.refillIfNeeded(true));
        QCOMPARE(m_rig->catalog.calls.filter(radio).size(), 1);
        QCOMPARE(m_rig->catalog.calls.filter(QStringLiteral("search Band songs")).size(), 2);
        QCOMPARE(m_rig->queueIds(), QStringList{idOf(0)});
    }

    // Removed or cleared songs stay out: the refill brings others from the same mix, or nothing.
    void takenOutSongsStayOut_data()
    {
        QTest::addColumn<QList<int>>("mix");
        QTest::addColumn<QList<int>>("after");
        const QList<int> eight{100, 101, 102, 103, 104, 105, 106, 107};
        QTest::newRow("others") << eight + QList<int>{108, 109} << QList<int>{0, 108, 109};
        QTest::newRow("no others") << eight << QList<int>{0};
    }
    void takenOutSongsStayOut()
    {
        QFETCH(QList<int>, mix);
        QFETCH(QList<int>, after);
        auto &player = *m_rig->player;
        answer({{QStringLiteral("radio ") + idOf(0), mix}});
        player.setNonStop(true);
        player.play(tracksOf({0}), 0, false);
        QCoro::waitFor(player.refillIfNeeded(true));
        player.removeFromQueue(player.queue().at(1)); // one song, then the rest
        player.clearUpcoming();
        QCoro::waitFor(player.refillIfNeeded(false));
        QCOMPARE(m_rig->queueIds(), idsOf(after));
    }

    // A second request while one refill runs waits for that one.
    void requestsJoinTheRunningRefill()
    {
        auto &player = *m_rig->player;
        m_rig->catalog.listings.insert(QStringLiteral("radio ") + idOf(0), {tracksOf({100, 101, 102})});
        m_rig->catalog.holding = true;
        player.play(tracksOf({0}), 0, false);
        player.setNonStop(true);
        QVERIFY(player.isFillingQueue());
        bool joinedDone = false;
        auto joined = [](PlayerManager *player, bool *done) -> QCoro::Task<> {
            co_await player->refillIfNeeded(true);
            *done = true;
        };
        joined(&player, &joinedDone);
        QCOMPARE(m_rig->catalog.heldCount(), 1);
        QVERIFY(!joinedDone);
        // Later calls answer at once: a second refill shows in the calls instead of hanging.
        m_rig->catalog.holding = false;
        m_rig->catalog.release();
        // One pass of the event loop ends the refill; the wake-up of the joined request, posted
        // during that pass, waits for the next one. Deferred deletions flushed in between, as
        // QTest::qWait does after a pass that took long, must not lose it.
        QCoreApplication::sendPostedEvents();
        QVERIFY(!player.isFillingQueue());
        QVERIFY(!joinedDone);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTRY_VERIFY(joinedDone);
        QVERIFY(!player.isFillingQueue());
        QCOMPARE(m_rig->catalog.calls, QStringList{QStringLiteral("radio ") + idOf(0) + QStringLiteral(" 40")});
        QCOMPARE(m_rig->queueIds(), (QStringList{idOf(0), idOf(100), idOf(101), idOf(102)}));
    }

    void startRadio()
    {
        auto &player = *m_rig->player;
        m_rig->playing(3, 1);
        m_rig->catalog.listings.insert(QStringLiteral("radio ") + idOf(7), {tracksOf({100, 101, 102})});
        player.startRadio(PlayerRig::track(7));
        QTRY_VERIFY(!player.isFillingQueue());
        QVERIFY(player.nonStop());
        QCOMPARE(m_rig->catalog.calls, QStringList{QStringLiteral("radio ") + idOf(7) + QStringLiteral(" 40")});
        QCOMPARE(m_rig->queueIds(), (QStringList{idOf(7), idOf(100), idOf(101), idOf(102)}));
        QCOMPARE(player.index(), std::optional<int>(0));
    }

    // A station started while a refill runs for the queue before it: that refill's songs, from
    // another song's mix, are not the station's; the station's own refill runs.
    void stationWhileARefillRuns_data()
    {
        QTest::addColumn<bool>("radio"); // else a search
        QTest::newRow("radio") << true;
        QTest::newRow("search") << false;
    }

    void stationWhileARefillRuns()
    {
        QFETCH(bool, radio);
        const QList<int> station = radio ? QList<int>{7, 100, 101, 102} : QList<int>{20, 21, 22, 23, 24, 25, 26, 27};
        auto &player = *m_rig->player;
        answer({{QStringLiteral("radio ") + idOf(1), {50, 51, 52}},
                {QStringLiteral("radio ") + idOf(7), {100, 101, 102}},
                {QStringLiteral("search slow jazz"), {20, 21, 22, 23, 24, 25, 26, 27}}});
        m_rig->catalog.holding = true;
        m_rig->playing(3, 1);
        player.setNonStop(true);
        QVERIFY(player.isFillingQueue());
        if (radio) {
            player.startRadio(PlayerRig::track(7));
        } else {
            player.startQuery(QStringLiteral("slow jazz"));
            m_rig->catalog.releaseNewest(); // the station's songs come before the old refill's
            QTRY_COMPARE(m_rig->queueIds().size(), station.size());
        }
        m_rig->catalog.holding = false;
        m_rig->catalog.release();
        // Requests that waited for the old refill run one of their own.
        QTRY_COMPARE(m_rig->catalog.calls,
                     (QStringList{QStringLiteral("radio ") + idOf(1) + QStringLiteral(" 40"),
                                  radio ? QStringLiteral("radio ") + idOf(7) + QStringLiteral(" 40")
                                        : QStringLiteral("search slow jazz 25")}));
        QTRY_VERIFY(!player.isFillingQueue());
        QStringList ids = m_rig->queueIds();
        if (radio)
            QCOMPARE(ids.first(), idOf(7));
        ids.sort();
        QCOMPARE(ids, idsOf(station));
    }

    // At the end of the queue the refill's answer comes late, and what the user did meanwhile
    // stands: another list keeps playing, a seek plays the ended song on from there, a pause
    // keeps the next song from playing. What was found still goes to the end of the queue.
    void commandWhileTheRefillRuns_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("none") << QString();
        QTest::newRow("another list") << "list";
        QTest::newRow("seek") << "seek";
        QTest::newRow("pause") << "pause";
        QTest::newRow("pause, then play") << "pause play";
    }

    void commandWhileTheRefillRuns()
    {
        QFETCH(QString, command);
        const bool list = command == QLatin1String("list");
        const bool seek = command == QLatin1String("seek");
        const bool stays = list || seek; // no advance to the found songs
        const bool playing = !command.endsWith(QLatin1String("pause"));
        auto &player = *m_rig->player;
        player.setNonStop(true);
        m_rig->catalog.listings.insert(QStringLiteral("radio ") + idOf(1), {tracksOf({100, 101, 102})});
        m_rig->catalog.holding = true;
        m_rig->playing(2, 1); // the periodic check starts the refill; the end of the queue joins it
        m_rig->audio.end();
        QVERIFY(player.isFillingQueue());
        QVERIFY(player.isLoading());
        QVERIFY(player.isPlaying());

        for (const QString &step : command.split(u' ', Qt::SkipEmptyParts)) {
            if (step == QLatin1String("list"))
                player.play(tracksOf({10, 11, 12}), 1, false);
            else if (step == QLatin1String("seek"))
                player.seek(30);
            else if (step == QLatin1String("pause"))
                player.togglePlay();
            else
                player.resume();
        }
        const QUuid chosen = player.queue().at(1).uid();
        const qsizetype loads = m_rig->audio.loads.size();
        // Refills for the songs after this one find nothing.
        m_rig->catalog.holding = false;
        m_rig->catalog.release();
        QTRY_VERIFY(!player.isFillingQueue());
        QCoreApplication::processEvents(); // the waiting advance resumes after the refill ends

        QCOMPARE(m_rig->queueIds(),
                 idsOf((list ? QList<int>{10, 11, 12} : QList<int>{0, 1}) + QList<int>{100, 101, 102}));
        QCOMPARE(player.index(), std::optional<int>(stays ? 1 : 2));
        QCOMPARE(player.isPlaying(), playing);
        QCOMPARE(player.isLoading(), !seek);
        QCOMPARE(m_rig->audio.isRunning(), seek);
        if (stays) {
            QCOMPARE(player.queue().at(1).uid(), chosen);
            QCOMPARE(m_rig->audio.loads.size(), loads);
        } else {
            QCOMPARE(m_rig->audio.loads.size(), loads + 1);
            QCOMPARE(m_rig->audio.loads.last().url.path(), QLatin1Char('/') + idOf(100));
            QCOMPARE(m_rig->audio.loads.last().play, playing);
        }
    }

    // With nothing to be found, the periodic check does not ask the catalogue again for the same
    // song; switching non-stop on asks once more, and the end of the queue still asks.
    void emptyRefillIsNotRepeatedEveryTick()
    {
        auto &player = *m_rig->player;
        const auto refills = [this] { return m_rig->catalog.calls.filter(QStringLiteral("search Band songs")).size(); };
        const auto ticks = [this](int count) {
            const int from = m_rig->audio.positionReads;
            QVERIFY(QTest::qWaitFor([&] { return m_rig->audio.positionReads >= from + count; }));
        };
        player.setNonStop(true);
        m_rig->playing(1);
        ticks(20);
        QCOMPARE(m_rig->catalog.calls, (QStringList{QStringLiteral("radio ") + idOf(0) + QStringLiteral(" 40"),
                                                    QStringLiteral("search Band songs 15")}));

        player.setNonStop(false);
        player.setNonStop(true);
        ticks(20);
        QCOMPARE(refills(), 2);

        m_rig->audio.end();
        QTRY_VERIFY(!player.isPlaying());
        QCOMPARE(refills(), 3);
        QCOMPARE(m_rig->queueIds(), QStringList{idOf(0)});
    }

    void queryStation_data()
    {
        QTest::addColumn<Found>("found");
        QTest::addColumn<QString>("message");
        QTest::newRow("none") << Found(QList<Track>()) << QStringLiteral("No songs found for \u201cslow jazz\u201d.");
        QTest::newRow("error") << Found(MusicError{QStringLiteral("YouTube took too long.")})
                               << QStringLiteral("YouTube took too long.");
        QTest::newRow("songs") << Found(tracksOf({20, 21, 22, 23, 24, 25, 26, 27})) << QString();
    }

    void queryStation()
    {
        QFETCH(Found, found);
        QFETCH(QString, message);
        auto &player = *m_rig->player;
        m_rig->playing(5, 0); // four songs follow: switching non-stop on asks for nothing
        const QStringList before = m_rig->queueIds();
        m_rig->catalog.listings.insert(QStringLiteral("search slow jazz"), {found});
        m_rig->catalog.holding = true;
        player.startQuery(QStringLiteral("slow jazz"));
        QVERIFY(player.nonStop());
        m_rig->catalog.release();
        QTRY_COMPARE(m_rig->catalog.heldCount(), 0);
        QTRY_VERIFY(player.errorMessage() == message && (!message.isEmpty() || m_rig->queueIds() != before));
        QCOMPARE(m_rig->catalog.calls, QStringList{QStringLiteral("search slow jazz 25")});
        if (!message.isEmpty()) {
            QCOMPARE(m_rig->queueIds(), before);
            return;
        }
        QStringList station = m_rig->queueIds();
        QCOMPARE(player.index(), std::optional<int>(0));
        QVERIFY(!player.shuffle());
        QStringList expected;
        for (const Track &track : found.value())
            expected.append(track.id);
        QVERIFY(station != expected); // shuffled
        station.sort();
        QCOMPARE(station, expected);
    }
};

QTEST_MAIN(TestQueueRefill)
#include "tst_queuerefill.moc"
