#include "MprisClient.h"
#include "PlayerRig.h"
#include "TestHttpServer.h"
#include "TestLog.h"
#include "TestMedia.h"
#include "core/SettingsStore.h"
#include "platform/MprisService.h"
#include "platform/MpvAudio.h"
#include "player/YTMusicCatalog.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(Track)
Q_DECLARE_METATYPE(RepeatMode)

namespace {

const QString &rootInterface = MprisClient::rootInterface;
const QString &playerInterface = MprisClient::playerInterface;
using Change = MprisClient::Change;

} // namespace

class TestMprisService : public QObject
{
    Q_OBJECT

    std::unique_ptr<PlayerRig> m_rig;
    std::unique_ptr<MprisService> m_service;
    std::unique_ptr<MprisClient> m_client;

    PlayerManager &player() { return *m_rig->player; }
    MprisClient &client() { return *m_client; }
    QString trackId(int row) const
    {
        return QStringLiteral("/org/morvane/Morvane/track/") +
               QString::fromLatin1(m_rig->player->queue().at(row).uid().toByteArray(QUuid::Id128));
    }
    QVariantMap readMetadata() { return client().get(QStringLiteral("Metadata")).toMap(); }

private Q_SLOTS:
    void init()
    {
        m_rig = std::make_unique<PlayerRig>();
        m_rig->player->setPersistDelay(50);
        m_service = std::make_unique<MprisService>(m_rig->player.get());
        QVERIFY(m_service->isExported());
        m_client = std::make_unique<MprisClient>();
    }
    void cleanup()
    {
        m_client.reset();
        m_service.reset();
        m_rig.reset();
    }

    void introspectionListsBothInterfaces()
    {
        const QString xml =
            client()
                .call(QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"))
                .arguments()
                .value(0)
                .toString();
        for (const char *expected :
             {R"(<interface name="org.mpris.MediaPlayer2">)", R"(<interface name="org.mpris.MediaPlayer2.Player">)",
              R"(<property name="Metadata" type="a{sv}" access="read")", R"(<property name="Position" type="x")",
              R"(<property name="LoopStatus" type="s" access="readwrite")",
              R"(<property name="Volume" type="d" access="readwrite")", R"(<arg name="TrackId" type="o")",
              R"(<signal name="Seeked">)"})
            QVERIFY2(xml.contains(QLatin1String(expected)), expected);
    }

    void rootProperties()
    {
        const QVariantMap expected{
            {QStringLiteral("CanQuit"), true},
            {QStringLiteral("CanRaise"), true},
            {QStringLiteral("Fullscreen"), false},
            {QStringLiteral("CanSetFullscreen"), false},
            {QStringLiteral("HasTrackList"), false},
            {QStringLiteral("Identity"), QStringLiteral("Morvane")},
            {QStringLiteral("DesktopEntry"), QStringLiteral("org.morvane.Morvane")},
            {QStringLiteral("SupportedUriSchemes"),
             QStringList{QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("morvane")}},
            {QStringLiteral("SupportedMimeTypes"), QStringList()},
        };
        QCOMPARE(client().getAll(rootInterface), expected);
    }

    void nothingCurrent()
    {
        const QVariantMap properties = client().getAll(playerInterface);
        QCOMPARE(properties.value(QStringLiteral("PlaybackStatus")), QVariant(QStringLiteral("Stopped")));
        QCOMPARE(properties.value(QStringLiteral("Metadata")), QVariant(QVariantMap()));
        for (const char *name : {"CanPlay", "CanPause", "CanSeek", "CanGoPrevious", "CanGoNext"})
            QCOMPARE(properties.value(QString::fromLatin1(name)), QVariant(false));
        QCOMPARE(properties.value(QStringLiteral("CanControl")), QVariant(true));
        QCOMPARE(properties.value(QStringLiteral("Rate")), QVariant(1.0));
        QCOMPARE(properties.value(QStringLiteral("Position")), QVariant(qlonglong(0)));
    }

    // The values and their D-Bus types: an object path, strings, a list of strings, a 64-bit length.
    void metadata_data()
    {
        QTest::addColumn<Track>("track");
        QTest::addColumn<QVariantMap>("expected"); // without the track id
        const Track full{QStringLiteral("abcdefghijk"), QStringLiteral("Song"),
                         QStringLiteral("Artist"),      215.0,
                         QStringLiteral("Album"),       std::nullopt};
        QTest::newRow("album and length")
            << full
            << QVariantMap{{QStringLiteral("xesam:title"), QStringLiteral("Song")},
                           {QStringLiteral("xesam:artist"), QStringList{QStringLiteral("Artist")}},
                           {QStringLiteral("xesam:album"), QStringLiteral("Album")},
                           {QStringLiteral("mpris:length"), qlonglong(215000000)}};
        Track bare = full;
        bare.album.reset();
        bare.duration.reset();
        QTest::newRow("neither") << bare
                                 << QVariantMap{
                                        {QStringLiteral("xesam:title"), QStringLiteral("Song")},
                                        {QStringLiteral("xesam:artist"), QStringList{QStringLiteral("Artist")}}};
    }
    void metadata()
    {
        QFETCH(Track, track);
        QFETCH(QVariantMap, expected);
        player().play(track);
        m_rig->audio.becomeReady(track.duration.value_or(NAN));
        QVariantMap got = readMetadata();
        QCOMPARE(got.take(QStringLiteral("mpris:trackid")), QVariant::fromValue(QDBusObjectPath(trackId(0))));
        QCOMPARE(got, expected);
        for (auto it = got.cbegin(); it != got.cend(); ++it)
            QCOMPARE(it.value().metaType(), expected.value(it.key()).metaType());
        QCOMPARE(client().get(QStringLiteral("CanSeek")), QVariant(track.duration.has_value()));
    }

    void sameSongTwiceHasTwoIds()
    {
        player().play(QList<Track>{PlayerRig::track(1), PlayerRig::track(1)}, 0, false);
        const QVariant first = readMetadata().value(QStringLiteral("mpris:trackid"));
        player().advance(true);
        const QVariant second = readMetadata().value(QStringLiteral("mpris:trackid"));
        QCOMPARE(first, QVariant::fromValue(QDBusObjectPath(trackId(0))));
        QCOMPARE(second, QVariant::fromValue(QDBusObjectPath(trackId(1))));
        QVERIFY(first != second);
    }

    void propertiesChanged()
    {
        m_rig->playing(3);
        client().forget();

        client().command(QStringLiteral("Pause"));
        QCOMPARE(client().changes.size(), 1);
        QCOMPARE(client().changes.first().interface, playerInterface);
        QCOMPARE(client().changes.first().changed,
                 (QVariantMap{{QStringLiteral("PlaybackStatus"), QStringLiteral("Paused")}}));
        QCOMPARE(client().changes.first().invalidated, QStringList());

        client().forget();
        player().setRepeatMode(RepeatMode::All);
        client().settle();
        QCOMPARE(client().changes.size(), 1);
        QCOMPARE(client().changes.first().changed,
                 (QVariantMap{{QStringLiteral("LoopStatus"), QStringLiteral("Playlist")}}));

        // A song change is announced once as its load begins.
        client().forget();
        client().command(QStringLiteral("Next"));
        m_rig->ready();
        client().settle();
        QCOMPARE(client().changes.size(), 1);
        const QVariantMap changed = client().changes.first().changed;
        QCOMPARE(changed.value(QStringLiteral("PlaybackStatus")), QVariant(QStringLiteral("Playing")));
        QCOMPARE(changed.value(QStringLiteral("Metadata")).toMap().value(QStringLiteral("xesam:title")),
                 QVariant(PlayerRig::track(1).title));

        // Sound coming out moves the position without a word.
        client().forget();
        m_rig->audio.currentPosition = 5;
        m_rig->listen(3);
        client().settle();
        QVERIFY(player().position() > 0);
        QCOMPARE(client().changes.size(), 0);
        QCOMPARE(client().seeks.size(), 0);
    }

    // The saved place comes back with the next start; Play starts the song there and says so.
    void playAfterRestoreStartsAtTheSavedPlace()
    {
        m_rig->playing(3, 1);
        player().seek(95);
        player().pause();
        player().persistNow();
        m_service.reset();
        m_rig->restart();
        m_rig->audio.stop(); // as the back end of a new process holds nothing
        m_service = std::make_unique<MprisService>(m_rig->player.get());
        QVERIFY(m_service->isExported());
        const qsizetype loads = m_rig->audio.loads.size();
        client().forget();

        client().command(QStringLiteral("Play"));
        QCOMPARE(m_rig->audio.loads.size(), loads + 1);
        QCOMPARE(m_rig->audio.loads.last().start, 95.0);
        QCOMPARE(client().get(QStringLiteral("Position")), QVariant(qlonglong(95000000)));
        m_rig->ready();
        client().settle();
        QCOMPARE(client().seeks, QList<qlonglong>{95000000});
    }

    void playAndPlayPause()
    {
        m_rig->playing(2);
        client().command(QStringLiteral("PlayPause"));
        QVERIFY(!player().isPlaying());
        QVERIFY(!m_rig->audio.isRunning());
        QCOMPARE(client().get(QStringLiteral("PlaybackStatus")), QVariant(QStringLiteral("Paused")));
        client().command(QStringLiteral("Play"));
        QVERIFY(player().isPlaying());
        QVERIFY(m_rig->audio.isRunning());
        client().command(QStringLiteral("PlayPause"));
        QVERIFY(!player().isPlaying());
        client().command(QStringLiteral("PlayPause"));
        QVERIFY(m_rig->audio.isRunning());
    }

    void pauseSaves()
    {
        m_rig->playing(2);
        QTRY_VERIFY(!player().persistPending());
        QSignalSpy saved(&m_rig->library, &LibraryStore::saved);
        client().command(QStringLiteral("Pause"));
        QVERIFY(player().persistPending());
        QVERIFY(saved.wait());
        // The save announced may be one the play began before the pause; the pause's own follows.
        QTRY_VERIFY(!player().persistPending());
    }

    // A seek stays inside the song and is told with Seeked, in microseconds.
    void seek_data()
    {
        QTest::addColumn<double>("from");
        QTest::addColumn<qlonglong>("offset");
        QTest::addColumn<double>("to");
        QTest::newRow("forward past the end") << 190.0 << qlonglong(15000000) << 200.0;
        QTest::newRow("back past the start") << 10.0 << qlonglong(-15000000) << 0.0;
        QTest::newRow("forward") << 20.0 << qlonglong(15000000) << 35.0;
    }
    void seek()
    {
        QFETCH(double, from);
        QFETCH(qlonglong, offset);
        QFETCH(double, to);
        m_rig->playing(2);
        player().seek(from);
        client().forget();
        client().command(QStringLiteral("Seek"), {QVariant::fromValue(offset)});
        QCOMPARE(player().position(), to);
        QCOMPARE(m_rig->audio.seeks.last(), to);
        QCOMPARE(client().seeks, QList<qlonglong>{qlonglong(to * 1e6)});
        QCOMPARE(client().get(QStringLiteral("Position")), QVariant(qlonglong(to * 1e6)));
        QCOMPARE(player().index(), std::optional<int>(0));
    }

    void stopPausesAtTheTop()
    {
        m_rig->playing(2);
        player().seek(50);
        client().forget();
        client().command(QStringLiteral("Stop"));
        QCOMPARE(client().get(QStringLiteral("PlaybackStatus")), QVariant(QStringLiteral("Paused")));
        QCOMPARE(client().get(QStringLiteral("Position")), QVariant(qlonglong(0)));
        QCOMPARE(client().seeks, QList<qlonglong>{0});
        QVERIFY(!m_rig->audio.isRunning());
        client().command(QStringLiteral("Play"));
        QVERIFY(m_rig->audio.isRunning());
        QCOMPARE(m_rig->audio.currentPosition, 0.0);
    }

    void setPosition_data()
    {
        QTest::addColumn<bool>("currentId");
        QTest::addColumn<qlonglong>("microseconds");
        QTest::addColumn<double>("expected");
        QTest::newRow("current song") << true << qlonglong(120500000) << 120.5;
        QTest::newRow("its very end") << true << qlonglong(200000000) << 200.0;
        QTest::newRow("stale track id") << false << qlonglong(120000000) << 30.0;
        QTest::newRow("past the end") << true << qlonglong(200000001) << 30.0;
        QTest::newRow("negative") << true << qlonglong(-1) << 30.0;
    }
    void setPosition()
    {
        QFETCH(bool, currentId);
        QFETCH(qlonglong, microseconds);
        QFETCH(double, expected);
        m_rig->playing(2);
        const QString stale = trackId(0);
        player().play(PlayerRig::tracks(2), 0, false); // the same songs, queued afresh
        m_rig->ready();
        player().seek(30);
        client().forget();
        const QDBusObjectPath id(currentId ? trackId(0) : stale);
        client().command(QStringLiteral("SetPosition"), {QVariant::fromValue(id), QVariant::fromValue(microseconds)});
        QCOMPARE(player().position(), expected);
        QCOMPARE(client().seeks.size(), expected == 30.0 ? 0 : 1);
    }

    void nextAndPrevious()
    {
        m_rig->playing(3);
        client().command(QStringLiteral("Next"));
        QCOMPARE(player().index(), std::optional<int>(1));
        client().command(QStringLiteral("Next"));
        QCOMPARE(player().index(), std::optional<int>(2));
        QCOMPARE(client().get(QStringLiteral("CanGoNext")), QVariant(false));
        client().command(QStringLiteral("Previous"));
        QCOMPARE(player().index(), std::optional<int>(1));
        QCOMPARE(client().get(QStringLiteral("CanGoNext")), QVariant(true));
    }

    void loopStatus_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<RepeatMode>("mode");
        QTest::addColumn<QString>("read");
        QTest::newRow("Track") << QStringLiteral("Track") << RepeatMode::One << QStringLiteral("Track");
        QTest::newRow("Playlist") << QStringLiteral("Playlist") << RepeatMode::All << QStringLiteral("Playlist");
        QTest::newRow("None") << QStringLiteral("None") << RepeatMode::Off << QStringLiteral("None");
        QTest::newRow("bogus") << QStringLiteral("bogus") << RepeatMode::All << QStringLiteral("Playlist");
        QTest::newRow("wrong case") << QStringLiteral("track") << RepeatMode::All << QStringLiteral("Playlist");
    }
    void loopStatus()
    {
        QFETCH(QString, written);
        QFETCH(RepeatMode, mode);
        QFETCH(QString, read);
        player().setRepeatMode(RepeatMode::All);
        client().forget();
        client().set(QStringLiteral("LoopStatus"), written);
        QCOMPARE(player().repeatMode(), mode);
        QCOMPARE(client().get(QStringLiteral("LoopStatus")), QVariant(read));
        QCOMPARE(client().changes.size(), mode == RepeatMode::All ? 0 : 1);
    }

    void shuffleReordersOnlyTheUpcoming()
    {
        m_rig->playing(8, 2);
        const QStringList before = m_rig->queueIds();
        client().set(QStringLiteral("Shuffle"), true);
        QVERIFY(player().shuffle());
        QCOMPARE(client().get(QStringLiteral("Shuffle")), QVariant(true));
        const QStringList after = m_rig->queueIds();
        QCOMPARE(after.mid(0, 3), before.mid(0, 3));
        QVERIFY(after.mid(3) != before.mid(3));
        QStringList sorted = after.mid(3);
        sorted.sort();
        QCOMPARE(sorted, before.mid(3));
        QCOMPARE(player().index(), std::optional<int>(2));
    }

    void volume_data()
    {
        QTest::addColumn<double>("written");
        QTest::addColumn<double>("stored");
        QTest::newRow("half") << 0.5 << 0.5;
        QTest::newRow("below silence") << -1.0 << 0.0;
        QTest::newRow("above full") << 2.0 << 1.0;
    }
    void volume()
    {
        QFETCH(double, written);
        QFETCH(double, stored);
        client().forget();
        client().set(QStringLiteral("Volume"), written);
        QCOMPARE(player().volume(), stored);
        QCOMPARE(SettingsStore::number(QStringLiteral("musicVolume")), stored);
        QCOMPARE(client().get(QStringLiteral("Volume")), QVariant(stored));
        QCOMPARE(client().changes.size(), 1);
        QCOMPARE(client().changes.first().changed, (QVariantMap{{QStringLiteral("Volume"), stored}}));
    }

    // Normal speed through a load, a pause and a resume, with one Seeked as the loaded song
    // starts. Clients cannot change the rate, but 0 pauses.
    void rate()
    {
        player().play(PlayerRig::tracks(2), 0, false);
        player().seek(30);
        client().forget();
        QVERIFY(player().isLoading());
        QCOMPARE(client().get(QStringLiteral("Rate")), QVariant(1.0));
        m_rig->ready();
        client().command(QStringLiteral("Pause"));
        client().set(QStringLiteral("Rate"), 0.5);
        QCOMPARE(client().get(QStringLiteral("Rate")), QVariant(1.0));
        QCOMPARE(client().get(QStringLiteral("MinimumRate")), QVariant(1.0));
        QCOMPARE(client().get(QStringLiteral("MaximumRate")), QVariant(1.0));
        client().command(QStringLiteral("Play"));
        QCOMPARE(client().seeks, QList<qlonglong>{30000000});
        client().set(QStringLiteral("Rate"), 0.0);
        client().settle();
        QVERIFY(!player().isPlaying());
    }

    void applicationHooks()
    {
        QSignalSpy raise(m_service.get(), &MprisService::raiseRequested);
        QSignalSpy quit(m_service.get(), &MprisService::quitRequested);
        QSignalSpy open(m_service.get(), &MprisService::openUriRequested);
        QCOMPARE(client().call(rootInterface, QStringLiteral("Raise")).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(client().call(rootInterface, QStringLiteral("Quit")).type(), QDBusMessage::ReplyMessage);
        client().command(QStringLiteral("OpenUri"), {QStringLiteral("https://example.org/a?b=1")});
        QCOMPARE(raise.size(), 1);
        QCOMPARE(quit.size(), 1);
        QCOMPARE(open.size(), 1);
        QCOMPARE(open.first().first().toString(), QStringLiteral("https://example.org/a?b=1"));
    }

    void nameTakenLeavesThePlayerAlone()
    {
        m_service.reset();
        QVERIFY(client().bus.interface()->registerService(MprisService::serviceName()).value() ==
                QDBusConnectionInterface::ServiceRegistered);
        MprisService second(m_rig->player.get());
        QVERIFY(!second.isExported());
        QVERIFY(TestLog::appLogLines().contains(
            QStringLiteral("Media controls off: the name org.mpris.MediaPlayer2.morvane is taken")));
        m_rig->playing(2);
        QVERIFY(m_rig->audio.isRunning());
        client().bus.interface()->unregisterService(MprisService::serviceName());
    }

    // The real road once: a stand-in yt-dlp, mpv without a sound card, the desktop's client.
    void playPauseStopsRealPlayback()
    {
        qputenv("MORVANE_AO", "null");
        m_service.reset();
        TestHttpServer server;
        server.serveFile(QStringLiteral("/song.mp3"), TestMedia::songFile(QStringLiteral("mp3")), "audio/mpeg");
        const QJsonObject info{{QStringLiteral("id"), QStringLiteral("abcdefghijk")},
                               {QStringLiteral("title"), QStringLiteral("Real Song")},
                               {QStringLiteral("channel"), QStringLiteral("Band")},
                               {QStringLiteral("duration"), 12},
                               {QStringLiteral("url"), server.base() + QStringLiteral("/song.mp3")}};
        m_rig->environment.installScript(
            QStringLiteral("yt-dlp"), "#!/bin/sh\necho '" + QJsonDocument(info).toJson(QJsonDocument::Compact) + "'\n");
        MpvAudio audio;
        YTMusicCatalog catalog;
        PlayerManager real(&m_rig->library, &m_rig->engine, &audio, &catalog, &m_rig->artwork,
                           PlayerManager::steadyClock(), QRandomGenerator::global());
        MprisService service(&real);
        QVERIFY(service.isExported());

        real.play(Track{QStringLiteral("abcdefghijk"), QStringLiteral("Loading…"), QStringLiteral("Band"), {}, {}, {}});
        QTRY_VERIFY_WITH_TIMEOUT(audio.isRunning() && audio.position() > 0.3, 20000);
        client().forget();
        client().command(QStringLiteral("PlayPause"));
        QTRY_VERIFY(!audio.isRunning());
        QCOMPARE(client().changes.size(), 1);
        QCOMPARE(client().changes.first().changed.value(QStringLiteral("PlaybackStatus")),
                 QVariant(QStringLiteral("Paused")));
        const double stopped = audio.position();
        QTest::qWait(300);
        QCOMPARE(audio.position(), stopped);
    }
};

QTEST_MAIN(TestMprisService)
#include "tst_mprisservice.moc"
