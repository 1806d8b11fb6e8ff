#include "FakeAudioBackend.h"
#include "FakeYtDlp.h"
#include "TestEnvironment.h"
#include "TestHttpServer.h"
#include "TestMedia.h"
#include "core/AppPaths.h"
#include "music/LibraryStore.h"
#include "platform/MpvAudio.h"
#include "player/PlayerManager.h"
#include "player/YTMusicCatalog.h"
#include "recommend/RecommendationEngine.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTest>

namespace {

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

} // namespace

// The whole road of one song: the catalogue runs a stand-in for yt-dlp that resolves to the
// local server, and mpv plays the answer without a sound card.
class TestPlayerPlayback : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qputenv("MORVANE_AO", "null"); }

    void songPlaysToItsEndAndRepeats()
    {
        TestEnvironment environment;
        TestHttpServer server;
        server.serveFile(QStringLiteral("/song.mp3"), TestMedia::songFile(QStringLiteral("mp3")), "audio/mpeg");
        const QJsonObject info{
            {QStringLiteral("id"), QStringLiteral("abcdefghijk")},
            {QStringLiteral("title"), QStringLiteral("Real Song")},
            {QStringLiteral("channel"), QStringLiteral("Band")},
            {QStringLiteral("duration"), 12},
            {QStringLiteral("url"), server.base() + QStringLiteral("/song.mp3")},
            {QStringLiteral("http_headers"),
             QJsonObject{{QStringLiteral("User-Agent"), QStringLiteral("Mozilla/5.0 (KHTML, like Gecko)")}}}};
        environment.installScript(QStringLiteral("yt-dlp"),
                                  "#!/bin/sh\necho '" + QJsonDocument(info).toJson(QJsonDocument::Compact) + "'\n");

        LibraryStore library;
        MpvAudio audio;
        YTMusicCatalog catalog;
        RecommendationEngine engine(&library, &catalog, &QDateTime::currentDateTimeUtc, QRandomGenerator::global());
        PlayerManager player(&library, &engine, &audio, &catalog, PlayerManager::steadyClock(),
                             QRandomGenerator::global());
        player.setRepeatMode(RepeatMode::One);
        player.play(
            Track{QStringLiteral("abcdefghijk"), QStringLiteral("Loading…"), QStringLiteral("YouTube"), {}, {}, {}});
        QVERIFY(player.isLoading());
        QTRY_VERIFY_WITH_TIMEOUT(!player.isLoading(), 20000);
        QVERIFY(player.errorMessage().isEmpty());
        QCOMPARE(player.queue().first().track.title, QStringLiteral("Real Song"));
        QVERIFY(std::abs(player.duration() - 12) < 0.1);
        QCOMPARE(server.requestsFor(QStringLiteral("/song.mp3")).first().headers.value("user-agent"),
                 QByteArray("Mozilla/5.0 (KHTML, like Gecko)"));

        // Near the end, so the test waits three seconds rather than twelve.
        player.seek(9);
        QTRY_VERIFY(player.position() > 9.4);
        QTRY_COMPARE_WITH_TIMEOUT(library.plays().size(), 1, 10000);
        const PlayEvent play = library.plays().first();
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
        RecommendationEngine engine(&library, &catalog, &QDateTime::currentDateTimeUtc, QRandomGenerator::global());
        PlayerManager player(&library, &engine, &audio, &catalog, PlayerManager::steadyClock(),
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

QTEST_MAIN(TestPlayerPlayback)
#include "tst_playerplayback.moc"
