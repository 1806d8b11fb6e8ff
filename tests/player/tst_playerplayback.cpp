#include "FakeAudioBackend.h"
#include "FakeCatalog.h"
#include "FakeYtDlp.h"
#include "RealPlayer.h"
#include "TestEnvironment.h"
#include "TestHttpServer.h"
#include "TestLog.h"
#include "TestMedia.h"
#include "core/AppPaths.h"
#include "core/SettingsStore.h"
#include "music/ArtworkManager.h"
#include "music/LibraryStore.h"
#include "player/PlayerManager.h"
#include "player/YTMusicCatalog.h"
#include "recommend/RecommendationEngine.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

namespace {

Track song(const char *id, const char *title = "Song")
{
    return Track{QString::fromLatin1(id), QString::fromUtf8(title), QStringLiteral("Band"), {}, {}, {}};
}

QString mixLink(const QString &id)
{
    return QStringLiteral("https://www.youtube.com/watch?v=%1&list=RD%1").arg(id);
}

QJsonObject entry(const QString &id)
{
    return QJsonObject{{QStringLiteral("id"), id},
                       {QStringLiteral("title"), QStringLiteral("Song ") + id},
                       {QStringLiteral("channel"), QStringLiteral("Band")},
                       {QStringLiteral("duration"), 200}};
}

StreamInfo stream(const QUrl &url, const Track &track)
{
    return StreamInfo{url, {}, track, QDateTime::currentDateTimeUtc()};
}

// The first half of the restart test, in a process of its own: plays the long song from disk,
// seeks to 95 s, pauses and quits the way the application does, saving on the way out twice.
int playSeekPauseAndQuit(const QString &file)
{
    FakeCatalog catalog;
    RealPlayer real(&catalog);
    PlayerManager &player = real.player;
    const Track long0 = song("longsong000");
    real.library.recordDownload(long0.id, file);
    player.play({long0, song("longsong001")}, 0, false);
    if (!QTest::qWaitFor([&] { return !player.isLoading(); }, 20000))
        return 3;
    player.seek(95);
    if (!QTest::qWaitFor([&] { return real.audio.position() >= 95; }, 20000))
        return 4;
    player.togglePlay();
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &player, &PlayerManager::persistNow);
    player.persistNow();
    QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    return QCoreApplication::exec();
}

} // namespace

// The road of one song on real things: Debian's yt-dlp against the local server, mpv playing
// what it is given, the saved state across a restart of the process.
class TestPlayerPlayback : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_environment;
    std::unique_ptr<TestHttpServer> m_server;

private Q_SLOTS:
    void initTestCase() { qputenv("MORVANE_AO", "null"); }

    void init()
    {
        m_environment = std::make_unique<TestEnvironment>();
        m_server = std::make_unique<TestHttpServer>();
        // Thumbnails are asked of the local server, which has none.
        qputenv("MORVANE_IMAGE_HOST", m_server->base().toUtf8());
    }

    void cleanup()
    {
        m_server.reset();
        m_environment.reset();
    }

    void songPlaysToItsEndAndRepeats()
    {
        m_server->serveFile(QStringLiteral("/song.mp3"), TestMedia::songFile(QStringLiteral("mp3")), "audio/mpeg");
        const QJsonObject info{
            {QStringLiteral("id"), QStringLiteral("abcdefghijk")},
            {QStringLiteral("title"), QStringLiteral("Real Song")},
            {QStringLiteral("channel"), QStringLiteral("Band")},
            {QStringLiteral("duration"), 12},
            {QStringLiteral("url"), m_server->base() + QStringLiteral("/song.mp3")},
            {QStringLiteral("http_headers"),
             QJsonObject{{QStringLiteral("User-Agent"), QStringLiteral("Mozilla/5.0 (KHTML, like Gecko)")}}}};
        m_environment->installScript(QStringLiteral("yt-dlp"),
                                     "#!/bin/sh\necho '" + QJsonDocument(info).toJson(QJsonDocument::Compact) + "'\n");

        YTMusicCatalog catalog;
        RealPlayer real(&catalog);
        PlayerManager &player = real.player;
        player.setRepeatMode(RepeatMode::One);
        player.play(
            Track{QStringLiteral("abcdefghijk"), QStringLiteral("Loading…"), QStringLiteral("YouTube"), {}, {}, {}});
        QVERIFY(player.isLoading());
        QTRY_VERIFY_WITH_TIMEOUT(!player.isLoading(), 20000);
        QVERIFY(player.errorMessage().isEmpty());
        QCOMPARE(player.queue().first().track.title, QStringLiteral("Real Song"));
        QVERIFY(std::abs(player.duration() - 12) < 0.1);
        QCOMPARE(m_server->requestsFor(QStringLiteral("/song.mp3")).first().headers.value("user-agent"),
                 QByteArray("Mozilla/5.0 (KHTML, like Gecko)"));

        // Near the end, so the test waits three seconds rather than twelve.
        player.seek(9);
        QTRY_VERIFY(player.position() > 9.4);
        QTRY_COMPARE_WITH_TIMEOUT(real.library.plays().size(), 1, 10000);
        const PlayEvent play = real.library.plays().first();
        QCOMPARE(play.trackID, QStringLiteral("abcdefghijk"));
        QVERIFY(play.completed);
        QVERIFY(!play.skipped);
        // Three seconds of sound, counted in half-second ticks while it comes out.
        QVERIFY2(play.listened > 1 && play.listened < 4.5, qPrintable(QString::number(play.listened)));

        // Repeat one: the same item from its start, still playing.
        QTRY_VERIFY(player.position() < 2);
        QTRY_VERIFY(player.position() > 0.4);
        QCOMPARE(player.index(), std::optional<int>(0));
        QVERIFY(player.isPlaying());
    }

    // The first stream format is refused for a bare audio file; the second plays, and mpv asks
    // for it as yt-dlp itself did.
    void realYtdlpRetriesWithTheNextFormat()
    {
        m_environment->installTool(QStringLiteral("yt-dlp"), QStringLiteral("/usr/bin/yt-dlp"));
        SettingsStore::set(QStringLiteral("remoteEJS"), false);
        m_server->serveFile(QStringLiteral("/watch"), TestMedia::audioFile(), "audio/mp4");
        qputenv("MORVANE_VIDEO_SITE", m_server->base().toUtf8());
        YTMusicCatalog catalog;
        RealPlayer real(&catalog);
        PlayerManager &player = real.player;
        player.play(song("abcdefghijk"));
        QTRY_VERIFY_WITH_TIMEOUT(!player.isLoading(), 30000);
        qunsetenv("MORVANE_VIDEO_SITE");

        QVERIFY2(player.errorMessage().isEmpty(), qPrintable(player.errorMessage()));
        QVERIFY(player.isPlaying());
        QCOMPARE(player.consecutiveFailures(), 0);
        const QStringList log = TestLog::appLogLines();
        QVERIFY2(!log.filter(QStringLiteral("resolve abcdefghijk attempt 0: ERROR: "))
                      .filter(QStringLiteral("Requested format is not available"))
                      .isEmpty(),
                 qPrintable(log.join(QLatin1Char('\n'))));
        QCOMPARE(log.filter(QStringLiteral("playback failure abcdefghijk attempt 0: ")).size(), 1);
        QVERIFY(log.filter(QStringLiteral("attempt 1")).isEmpty());

        // Each run of yt-dlp picks a browser's User-Agent; mpv sends the one the second run
        // resolved with, whole. mpv's own requests are the ones asking for stream titles.
        const QList<TestHttpServer::Request> requests = m_server->requestsFor(QStringLiteral("/watch"));
        const auto fromMpv = [](const TestHttpServer::Request &request) {
            return request.headers.contains("icy-metadata");
        };
        const auto firstMpv = std::find_if(requests.begin(), requests.end(), fromMpv);
        QVERIFY(firstMpv != requests.begin() && firstMpv != requests.end());
        const QByteArray agent = std::prev(firstMpv)->headers.value("user-agent");
        QVERIFY2(agent.startsWith("Mozilla/5.0 ("), agent.constData());
        for (auto request = firstMpv; request != requests.end(); ++request)
            QCOMPARE(request->headers.value("user-agent"), agent);
    }

    // A stream cut after a third ends early as far as mpv can tell: the song is tried again with
    // the next format, from where the sound stopped.
    void cutStreamResumesWhereItStopped()
    {
        const QString file = TestMedia::songFile(QStringLiteral("mp3"));
        TestHttpServer::Route cut;
        cut.filePath = file;
        cut.headers = {{"Content-Type", "audio/mpeg"}};
        cut.cutAt = QFileInfo(file).size() / 3;
        m_server->serve(QStringLiteral("/cut.mp3"), cut);
        m_server->serveFile(QStringLiteral("/whole.mp3"), file, "audio/mpeg");
        FakeCatalog catalog;
        const Track track = song("cutsong0000");
        catalog.answers.insert(track.id + QStringLiteral("#0"),
                               stream(m_server->url(QStringLiteral("/cut.mp3")), track));
        catalog.answers.insert(track.id + QStringLiteral("#1"),
                               stream(m_server->url(QStringLiteral("/whole.mp3")), track));
        RealPlayer real(&catalog);
        QList<double> readyAt;
        connect(&real.audio, &AudioBackend::ready, this, [&] { readyAt.append(real.audio.position()); });
        real.player.play(track);
        QTRY_COMPARE_WITH_TIMEOUT(readyAt.size(), 2, 20000);

        QCOMPARE(TestLog::appLogLines().filter(QStringLiteral("playback failure")),
                 QStringList{QStringLiteral("playback failure cutsong0000 attempt 0: Playback was interrupted.")});
        QVERIFY2(readyAt.last() >= 3.9, qPrintable(QString::number(readyAt.last())));
    }

    // Three attempts that cannot load: the song is given up with mpv's reason, and the next one
    // plays.
    void missingStreamIsGivenUp()
    {
        m_server->serveFile(QStringLiteral("/song.mp3"), TestMedia::songFile(QStringLiteral("mp3")), "audio/mpeg");
        FakeCatalog catalog;
        const Track missing = song("missing0000", "Gone Song");
        const Track next = song("nextsong000");
        catalog.answers.insert(missing.id, stream(m_server->url(QStringLiteral("/missing.mp3")), missing));
        catalog.answers.insert(next.id, stream(m_server->url(QStringLiteral("/song.mp3")), next));
        RealPlayer real(&catalog);
        PlayerManager &player = real.player;
        player.play({missing, next}, 0, false);
        QTRY_COMPARE_WITH_TIMEOUT(player.index(), std::optional<int>(1), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!player.isLoading(), 20000);
        QVERIFY(player.isPlaying());
        QCOMPARE(player.errorMessage(), QStringLiteral("Couldn\u2019t play \u201cGone Song\u201d: Loading failed."));
        QCOMPARE(m_server->requestsFor(QStringLiteral("/missing.mp3")).size(), 3);
        QCOMPARE(TestLog::appLogLines().filter(QStringLiteral("playback failure missing0000")).size(), 3);
    }

    // Quit in the middle of a song; the next start shows it where it stood, and plays on from
    // there only when asked.
    void restartKeepsThePlace()
    {
        const QString file = TestMedia::longSongFile();
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), file});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);

        FakeCatalog catalog;
        RealPlayer real(&catalog);
        PlayerManager &player = real.player;
        QCOMPARE(player.queue().size(), 2);
        QCOMPARE(player.queue().first().track.id, QStringLiteral("longsong000"));
        QCOMPARE(player.index(), std::optional<int>(0));
        QVERIFY2(player.position() >= 95 && player.position() < 97, qPrintable(QString::number(player.position())));
        QVERIFY(!player.isPlaying());
        QVERIFY(!player.isLoading());
        QVERIFY(!real.audio.hasItem());

        player.resume();
        QTRY_VERIFY_WITH_TIMEOUT(!player.isLoading(), 20000);
        QTRY_VERIFY(real.audio.position() >= 95);
        QVERIFY(player.isPlaying());
    }

    // A refill through the music client: the current song's mix and the earlier song's mix hold
    // nothing new, so the artist's songs are searched, and what is found is kept in the library.
    void refillThroughTheMusicClient()
    {
        TestEnvironment environment;
        FakeYtDlp ytdlp(environment);
        const QString earlier = QStringLiteral("earlier0001");
        const QString seed = QStringLiteral("current0001");
        const QString search = QStringLiteral("ytsearch15:Band songs");
        // Every other run is a stream resolution.
        ytdlp.answer("{\"url\":\"http://127.0.0.1:9/stream\"}");
        ytdlp.answer(mixLink(seed), FakeYtDlp::listing({entry(seed), entry(earlier)}));
        ytdlp.answer(mixLink(earlier), QByteArray(), "ERROR: HTTP Error 429: Too Many Requests\n", 1);
        ytdlp.answer(search, FakeYtDlp::listing({entry(seed), entry(QStringLiteral("found000001")),
                                                 entry(QStringLiteral("found000002"))}));

        LibraryStore library;
        FakeAudioBackend audio;
        YTMusicCatalog catalog;
        QNetworkAccessManager network;
        ArtworkManager artwork(&network);
        RecommendationEngine engine(&library, &catalog, &QDateTime::currentDateTimeUtc, QRandomGenerator::global());
        PlayerManager player(&library, &engine, &audio, &catalog, &artwork, PlayerManager::steadyClock(),
                             QRandomGenerator::global());
        const Track first{earlier, QStringLiteral("Earlier"), QStringLiteral("Band"), 200.0, {}, {}};
        const Track second{seed, QStringLiteral("Current"), QStringLiteral("Band"), 200.0, {}, {}};
        player.play(QList<Track>{first, second}, 1, false);
        player.setNonStop(true);
        QVERIFY(player.isFillingQueue());
        QTRY_VERIFY_WITH_TIMEOUT(!player.isFillingQueue(), 20000);

        QList<QStringList> listings = ytdlp.runs();
        listings.removeIf([](const QStringList &run) { return !run.contains(QStringLiteral("--flat-playlist")); });
        QCOMPARE(listings, (QList<QStringList>{FakeYtDlp::listingArguments(40, mixLink(seed)),
                                               FakeYtDlp::listingArguments(30, mixLink(earlier)),
                                               FakeYtDlp::listingArguments(15, search)}));
        QStringList ids;
        for (const QueueItem &item : player.queue())
            ids.append(item.track.id);
        QCOMPARE(ids, (QStringList{earlier, seed, QStringLiteral("found000001"), QStringLiteral("found000002")}));

        // Saved in the background.
        player.persistNow();
        const auto stored = [](const QString &id) {
            QFile saved(AppPaths::support() + QStringLiteral("/library.json"));
            if (!saved.open(QIODevice::ReadOnly))
                return QJsonObject();
            const QJsonObject library = QJsonDocument::fromJson(saved.readAll()).object();
            return library.value(QStringLiteral("catalog")).toObject().value(id).toObject();
        };
        QTRY_COMPARE(stored(QStringLiteral("found000002")).value(QStringLiteral("title")).toString(),
                     QStringLiteral("Song found000002"));
        QCOMPARE(stored(QStringLiteral("found000001")).value(QStringLiteral("artist")).toString(),
                 QStringLiteral("Band"));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0) {
        qputenv("MORVANE_AO", "null");
        return playSeekPauseAndQuit(QString::fromLocal8Bit(argv[2]));
    }
    TestPlayerPlayback test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_playerplayback.moc"
