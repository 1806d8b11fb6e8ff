#include "AppStateRig.h"
#include "PlayerRig.h"
#include "core/SettingsStore.h"
#include "core/TextHelpers.h"
#include "ui/music/NowPlayingModel.h"
#include "ui/music/PlayerBarModel.h"
#include "ui/music/QueuePanelModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {

// Where the player is, as the controls see it.
enum class Playback { Nothing, Loading, LoadingPaused, Buffering, Playing, Paused };

void driveTo(AppStateRig &rig, Playback playback)
{
    if (playback == Playback::Nothing)
        return;
    rig.player().play(PlayerRig::tracks(3), 0, false);
    QTRY_VERIFY(rig.audio->hasItem());
    if (playback == Playback::LoadingPaused)
        rig.player().togglePlay();
    if (playback == Playback::Loading || playback == Playback::LoadingPaused)
        return;
    rig.audio->becomeReady(200);
    if (playback == Playback::Buffering)
        rig.audio->setWaiting(true);
    if (playback == Playback::Paused)
        rig.player().togglePlay();
}

QStringList uids(const UpcomingModel &model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result.append(model.uidAt(row));
    return result;
}

QString uidOf(PlayerManager &player, int position)
{
    return UpcomingModel::uidText(player.queue().at(position).uid());
}

} // namespace

// The view models of the player controls over the real player (fake catalogue and audio).
class TestPlayerControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void transportAndStatusFollowThePlayer_data()
    {
        QTest::addColumn<Playback>("playback");
        QTest::addColumn<bool>("hasCurrent");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QString>("status");
        QTest::newRow("nothing current") << Playback::Nothing << false << false << "play.fill"
                                         << "";
        QTest::newRow("loading") << Playback::Loading << true << true << "pause.fill"
                                 << "Loading…";
        QTest::newRow("loading, paused") << Playback::LoadingPaused << true << true << "play.fill"
                                         << "Loading…";
        QTest::newRow("buffering") << Playback::Buffering << true << true << "pause.fill"
                                   << "Buffering…";
        QTest::newRow("playing") << Playback::Playing << true << false << "pause.fill"
                                 << "Band";
        QTest::newRow("paused") << Playback::Paused << true << false << "play.fill"
                                << "Band";
    }

    void transportAndStatusFollowThePlayer()
    {
        QFETCH(Playback, playback);
        QFETCH(bool, hasCurrent);
        QFETCH(bool, busy);
        QFETCH(QString, symbol);
        QFETCH(QString, status);
        AppStateRig rig;
        PlayerBarModel bar(*rig.state);
        driveTo(rig, playback);
        QCOMPARE(bar.transport()->hasCurrent(), hasCurrent);
        QCOMPARE(bar.transport()->busy(), busy);
        QCOMPARE(bar.transport()->playSymbol(), symbol);
        QCOMPARE(bar.hasCurrent(), hasCurrent);
        if (hasCurrent)
            QCOMPARE(bar.statusText(), status);
    }

    // With nothing current the song controls do nothing; shuffle and repeat still change.
    void nothingCurrentDisablesOnlyTheSongControls()
    {
        AppStateRig rig;
        PlayerBarModel bar(*rig.state);
        TransportModel &transport = *bar.transport();
        transport.togglePlay();
        transport.next();
        transport.previous();
        bar.open();
        QVERIFY(!rig.player().isPlaying());
        QVERIFY(!rig.state->showNowPlaying());
        QVERIFY(!bar.seek()->enabled());
        QCOMPARE(bar.seek()->durationText(), QStringLiteral("0:00"));

        transport.toggleShuffle();
        QVERIFY(transport.shuffle());
        bar.toggleNonStop();
        QVERIFY(bar.nonStop());
        QCOMPARE(bar.nonStopHelp(), QStringLiteral("Non-Stop Playback is on"));
        bar.toggleQueue();
        QVERIFY(bar.showQueue());
    }

    void repeatCyclesOffAllOneOff()
    {
        AppStateRig rig;
        TransportModel transport(rig.player());
        QStringList seen;
        for (int click = 0; click < 4; ++click) {
            transport.stepRepeat();
            seen.append(rig.player().repeatModeText() + QLatin1Char(' ') + transport.repeatSymbol() +
                        (transport.repeatOn() ? QStringLiteral(" accent") : QStringLiteral(" dim")));
        }
        QCOMPARE(seen, (QStringList{QStringLiteral("all repeat accent"), QStringLiteral("one repeat.1 accent"),
                                    QStringLiteral("off repeat dim"), QStringLiteral("all repeat accent")}));
        QVERIFY(rig.player().persistPending());
    }

    void openTogglesNowPlayingAndLikeFollowsTheLibrary()
    {
        AppStateRig rig;
        PlayerBarModel bar(*rig.state);
        rig.playing(3);
        bar.open();
        QVERIFY(rig.state->showNowPlaying());
        bar.open();
        QVERIFY(!rig.state->showNowPlaying());

        QSignalSpy liked(&bar, &CurrentTrackModel::likedChanged);
        QCOMPARE(bar.likeSymbol(), QStringLiteral("heart"));
        bar.toggleLike();
        QVERIFY(!liked.isEmpty());
        QCOMPARE(bar.likeSymbol(), QStringLiteral("heart.fill"));
        QVERIFY(rig.state->library().likes().contains(QStringLiteral("song0000000")));
    }

    // The download button hands the current song to the coordinator, which answers in the toast.
    void downloadActsOnTheCurrentSongOnly()
    {
        AppStateRig rig;
        PlayerBarModel bar(*rig.state);
        bar.download();
        QCOMPARE(rig.state->toast(), std::nullopt);
        rig.playing(2);
        bar.download();
        QCOMPARE(rig.state->toast(), std::optional<QString>(QStringLiteral("Tools are still being installed.")));
    }

    void volumeIconAndMute_data()
    {
        QTest::addColumn<double>("volume");
        QTest::addColumn<QString>("symbol");
        QTest::newRow("0") << 0.0 << "speaker.slash.fill";
        QTest::newRow("0.01") << 0.01 << "speaker.wave.1.fill";
        QTest::newRow("0.39") << 0.39 << "speaker.wave.1.fill";
        QTest::newRow("0.4") << 0.4 << "speaker.wave.2.fill";
        QTest::newRow("1") << 1.0 << "speaker.wave.2.fill";
    }

    void volumeIconAndMute()
    {
        QFETCH(double, volume);
        QFETCH(QString, symbol);
        AppStateRig rig;
        VolumeModel model(rig.player());
        model.setVolume(volume);
        QCOMPARE(model.symbol(), symbol);
        QCOMPARE(rig.audio->lastVolume, volume);
        model.toggleMute();
        const double expected = volume == 0 ? 0.8 : 0.0;
        QCOMPARE(model.volume(), expected);
        QCOMPARE(SettingsStore::number(QStringLiteral("musicVolume")), expected);
    }

    // Lengths that are no number, or not yet known, give a disabled 0…1 slider and never a seek.
    void seekRange_data()
    {
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("durationText");
        QTest::newRow("200 s") << 200.0 << 30.0 << 200.0 << 30.0 << true << "3:20";
        QTest::newRow("half a second") << 0.5 << 0.25 << 1.0 << 0.25 << true << "0:00";
        QTest::newRow("position past the end") << 100.0 << 130.0 << 100.0 << 100.0 << true << "1:40";
        QTest::newRow("one hour") << 3723.0 << 0.0 << 3723.0 << 0.0 << true << "1:02:03";
        QTest::newRow("NaN") << double(NAN) << 5.0 << 1.0 << 1.0 << false << "0:00";
        QTest::newRow("infinite") << double(INFINITY) << 5.0 << 1.0 << 1.0 << false << "0:00";
        QTest::newRow("negative") << -3.0 << 5.0 << 1.0 << 1.0 << false << "0:00";
    }

    void seekRange()
    {
        QFETCH(double, duration);
        QFETCH(double, position);
        QFETCH(double, maximum);
        QFETCH(double, value);
        QFETCH(bool, enabled);
        QFETCH(QString, durationText);
        AppStateRig rig;
        rig.player().setTickInterval(1);
        SeekModel seek(rig.player());
        // The song's listed length and the back end's both carry the number.
        rig.player().play(QList<Track>{PlayerRig::track(0, duration)}, 0, false);
        QTRY_VERIFY(rig.audio->hasItem());
        rig.audio->currentPosition = position;
        rig.audio->becomeReady(duration);
        QTRY_COMPARE(rig.player().position(), position);
        QCOMPARE(seek.maximum(), maximum);
        QCOMPARE(seek.value(), value);
        QCOMPARE(seek.enabled(), enabled);
        QCOMPARE(seek.durationText(), durationText);
        QCOMPARE(seek.elapsedText(), formatClock(position));

        rig.audio->seeks.clear();
        seek.begin();
        seek.moveTo(0.5);
        seek.end();
        QCOMPARE(rig.audio->seeks.isEmpty(), !enabled);
    }

    // Playback redraws the bar when the clock shows a new second, not at every tick.
    void seekBarStepsWithTheClock()
    {
        AppStateRig rig;
        rig.player().setTickInterval(1);
        SeekModel seek(rig.player());
        rig.playing(2);
        QSignalSpy changed(&seek, &SeekModel::changed);
        const std::pair<double, bool> steps[] = {{10.0, true}, {10.5, false}, {10.9, false},
                                                 {11.0, true}, {3.2, true},   {3.7, false}};
        for (const auto &[position, redraws] : steps) {
            changed.clear();
            rig.audio->currentPosition = position;
            QTRY_COMPARE(rig.player().position(), position);
            QCOMPARE(changed.isEmpty(), !redraws);
            QCOMPARE(seek.elapsedText(), formatClock(position));
        }
        QCOMPARE(seek.value(), 3.7);

        // Held, the thumb alone moves the bar.
        seek.begin();
        changed.clear();
        rig.audio->currentPosition = 30;
        QTRY_COMPARE(rig.player().position(), 30.0);
        QVERIFY(changed.isEmpty());
        seek.end();
    }

    // The thumb held at 1:30 ignores playback and sends one seek at release.
    void dragSendsOneSeekAtRelease()
    {
        AppStateRig rig;
        SeekModel seek(rig.player());
        rig.playing(2);
        rig.player().seek(10);
        rig.audio->seeks.clear();
        seek.begin();
        QCOMPARE(seek.value(), 10.0);
        seek.moveTo(90);
        rig.audio->currentPosition = 20;
        rig.player().seek(20); // playback moves on under the thumb
        rig.audio->seeks.clear();
        QCOMPARE(seek.elapsedText(), QStringLiteral("1:30"));
        QCOMPARE(seek.value(), 90.0);
        seek.end();
        QCOMPARE(rig.audio->seeks, QList<double>{90});
        QCOMPARE(seek.value(), 90.0);
        QVERIFY(!seek.dragging());
    }

    // An arrow key moves the slider with no thumb held: each move seeks at once, within the song.
    void keyMoveSeeksAtOnce()
    {
        AppStateRig rig;
        SeekModel seek(rig.player());
        seek.moveTo(5); // nothing current
        rig.playing(2);
        rig.audio->seeks.clear();
        for (const double seconds : {15.0, -5.0, 250.0, qQNaN()})
            seek.moveTo(seconds);
        QCOMPARE(rig.audio->seeks, (QList<double>{15, 0, 200}));
        QVERIFY(!seek.dragging());
    }

    // The song changes while the thumb is held: the new song plays on from its start.
    void songChangeDuringDragSeeksNothing()
    {
        AppStateRig rig;
        SeekModel seek(rig.player());
        rig.playing(3);
        seek.begin();
        seek.moveTo(90);
        rig.player().advance(true);
        QTRY_VERIFY(rig.audio->hasItem());
        rig.audio->becomeReady(200);
        rig.audio->seeks.clear();
        seek.end();
        QVERIFY(rig.audio->seeks.isEmpty());
        QCOMPARE(rig.player().position(), 0.0);
        QCOMPARE(seek.elapsedText(), QStringLiteral("0:00"));
    }

    // Rows follow the queue by uid through advances, refills, removals and moves, without resets.
    void upcomingFollowsTheQueue()
    {
        AppStateRig rig;
        UpcomingModel upcoming(rig.player(), 4);
        QAbstractItemModelTester tester(&upcoming, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy resets(&upcoming, &QAbstractItemModel::modelReset);
        QCOMPARE(upcoming.rowCount(), 0);
        rig.playing(8, 3);
        QCOMPARE(uids(upcoming), (QStringList{uidOf(rig.player(), 4), uidOf(rig.player(), 5), uidOf(rig.player(), 6),
                                              uidOf(rig.player(), 7)}));
        QCOMPARE(upcoming.data(upcoming.index(0), UpcomingModel::TitleRole).toString(), QStringLiteral("Song 4"));
        QCOMPARE(upcoming.data(upcoming.index(0), UpcomingModel::DurationTextRole).toString(), QStringLiteral("3:20"));

        QSignalSpy removed(&upcoming, &QAbstractItemModel::rowsRemoved);
        rig.player().advance(true);
        QCOMPARE(removed.size(), 1);
        QCOMPARE(upcoming.rowCount(), 3);
        rig.player().enqueue(PlayerRig::tracks(3));
        QCOMPARE(upcoming.rowCount(), 4);
        rig.player().moveQueue({7}, 5);
        rig.player().removeFromQueue(rig.player().queue().at(6));
        QStringList expected;
        for (int position = 5; position < 9; ++position)
            expected.append(uidOf(rig.player(), position));
        QCOMPARE(uids(upcoming), expected);
        QVERIFY(resets.isEmpty());
    }

    // The first Next-Up row dropped below the second, with the current item at 3.
    void dragBelowTheSecondRowMovesOnce()
    {
        AppStateRig rig;
        QueuePanelModel panel(*rig.state);
        rig.playing(8, 3);
        const QStringList before = rig.queueIds();
        panel.upcoming()->moveBefore(panel.upcoming()->uidAt(0), panel.upcoming()->uidAt(2));
        QStringList expected = before;
        expected.move(4, 5); // moveQueue({4}, 6): song 4 now stands before song 6
        QCOMPARE(rig.queueIds(), expected);
        QCOMPARE(rig.player().index(), std::optional<int>(3));
    }

    // Song 5 is dragged to land before song 7, and the queue changes before the drop.
    void dropResolvesUidsAgainstTheQueueOfThatMoment_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("nothing") << "" << QList<int>{0, 1, 2, 3, 4, 6, 5, 7};
        QTest::newRow("an advance") << "advance" << QList<int>{0, 1, 2, 3, 4, 6, 5, 7};
        QTest::newRow("the target removed") << "remove target" << QList<int>{0, 1, 2, 3, 4, 6, 5};
        QTest::newRow("a row above removed") << "remove above" << QList<int>{0, 1, 2, 3, 6, 5, 7};
        QTest::newRow("the dragged song became current") << "advance twice" << QList<int>{0, 1, 2, 3, 4, 5, 6, 7};
    }

    void dropResolvesUidsAgainstTheQueueOfThatMoment()
    {
        QFETCH(QString, change);
        QFETCH(QList<int>, expected);
        AppStateRig rig;
        rig.playing(8, 3);
        QueuePanelModel panel(*rig.state);
        UpcomingModel &upcoming = *panel.upcoming();
        const QString dragged = uidOf(rig.player(), 5);
        const QString target = uidOf(rig.player(), 7);
        if (change.startsWith(QLatin1String("advance")))
            rig.player().advance(true);
        if (change == QLatin1String("advance twice"))
            rig.player().advance(true);
        if (change == QLatin1String("remove target"))
            upcoming.remove(target);
        if (change == QLatin1String("remove above"))
            upcoming.remove(uidOf(rig.player(), 4));
        upcoming.moveBefore(dragged, target);
        QStringList ids;
        for (int n : expected)
            ids.append(PlayerRig::track(n).id);
        QCOMPARE(rig.queueIds(), ids);
    }

    void clearAndNonStopHeader()
    {
        AppStateRig rig;
        QueuePanelModel panel(*rig.state);
        QVERIFY(panel.queueEmpty());
        QVERIFY(!panel.canClear());
        rig.playing(3, 2);
        QVERIFY(!panel.queueEmpty());
        QVERIFY(!panel.canClear()); // the last one is current
        rig.player().playIndex(0, true);
        QVERIFY(panel.canClear());
        QCOMPARE(panel.currentDurationText(), QStringLiteral("3:20"));
        panel.clear();
        QCOMPARE(rig.player().queue().size(), 1);
        QVERIFY(!panel.canClear());
        QCOMPARE(panel.nonStopLabel(), QStringLiteral("Non-Stop"));
        panel.close();
        QVERIFY(!rig.state->showQueue());
    }

    // Two copies of one song: a double click plays the copy clicked; the current row cannot go.
    void rowsActOnTheirOwnCopy()
    {
        AppStateRig rig;
        rig.player().play({PlayerRig::track(1), PlayerRig::track(2), PlayerRig::track(1)}, 0, false);
        QTRY_VERIFY(rig.audio->hasItem());
        rig.audio->becomeReady(200);
        QueuePanelModel panel(*rig.state);
        UpcomingModel &upcoming = *panel.upcoming();
        upcoming.play(upcoming.uidAt(1));
        QCOMPARE(rig.player().index(), std::optional<int>(2));
        upcoming.remove(panel.currentUid());
        QCOMPARE(rig.player().queue().size(), 3);
        upcoming.play(panel.currentUid()); // the current song starts again, as a skip
        QCOMPARE(rig.player().index(), std::optional<int>(2));
        QCOMPARE(rig.player().position(), 0.0);
    }

    void nowPlayingListsFortyAndSaysWhyNoneFollow()
    {
        AppStateRig rig;
        NowPlayingModel model(*rig.state);
        QVERIFY(!model.hasUpcoming());
        QCOMPARE(model.emptyText(),
                 QStringLiteral("Nothing queued. Turn on Non-Stop Playback to keep the music going."));
        QSignalSpy texts(&model, &CurrentTrackModel::nonStopChanged);
        model.toggleNonStop();
        QCOMPARE(texts.size(), 1);
        QCOMPARE(model.emptyText(), QStringLiteral("Finding more songs for you…"));

        rig.playing(101);
        QVERIFY(model.hasUpcoming());
        QCOMPARE(model.upcoming()->rowCount(), 40);
        QCOMPARE(model.subtitle(), QStringLiteral("Band"));
        QCOMPARE(model.likeText(), QStringLiteral("Like"));
        Track withAlbum = PlayerRig::track(500);
        withAlbum.album = QStringLiteral("Record");
        rig.player().play(withAlbum);
        QCOMPARE(model.subtitle(), QStringLiteral("Band · Record"));
        QVERIFY(!model.hasUpcoming());
        model.close();
        QVERIFY(!rig.state->showNowPlaying());
    }

    // Radio starts the current song's station, with Non-Stop on; with nothing current, nothing.
    void nowPlayingRadioQueuesTheStationOfTheSong()
    {
        AppStateRig rig;
        NowPlayingModel model(*rig.state);
        model.startRadio();
        QVERIFY(rig.player().queue().isEmpty());
        QVERIFY(!rig.player().nonStop());

        rig.playing(5, 2);
        QStringList expected{PlayerRig::track(2).id};
        QList<Track> station;
        for (int n = 100; n < 106; ++n)
            expected.append(station.emplace_back(PlayerRig::track(n)).id);
        rig.catalog->listings.insert(QStringLiteral("radio ") + expected.first(), {station});
        model.startRadio();
        QVERIFY(rig.player().nonStop());
        QTRY_COMPARE(rig.queueIds(), expected);
        QCOMPARE(rig.player().index(), std::optional<int>(0));
        QCOMPARE(model.upcoming()->rowCount(), 6);
    }
};

QTEST_MAIN(TestPlayerControls)
#include "tst_playercontrols.moc"
