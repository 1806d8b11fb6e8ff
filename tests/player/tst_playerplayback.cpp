#include "TestEnvironment.h"
#include "TestHttpServer.h"
#include "TestMedia.h"
#include "music/LibraryStore.h"
#include "platform/MpvAudio.h"
#include "player/PlayerManager.h"
#include "player/YTMusicCatalog.h"
#include "recommend/RecommendationEngine.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTest>

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
};

QTEST_MAIN(TestPlayerPlayback)
#include "tst_playerplayback.moc"
