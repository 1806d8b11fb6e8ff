#include "PlayerRig.h"
#include "TestHttpServer.h"
#include "TestImages.h"
#include "TestLog.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {

QStringList resolvedOf(const PlayerRig &rig, const Track &track)
{
    return rig.catalog.resolved.filter(track.id);
}

} // namespace

// Where a song's sound comes from, what is resolved ahead, and what reaches the player bar
// while it loads.
class TestPlayerLoading : public QObject
{
    Q_OBJECT

    std::unique_ptr<PlayerRig> m_rig;

    // Song `n` downloaded as "song<n>.<extension>".
    void download(int n, const QString &extension)
    {
        const QString path = m_rig->environment.root() + QStringLiteral("/song%1.%2").arg(n).arg(extension);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        m_rig->library.recordDownload(PlayerRig::track(n).id, path);
    }

private Q_SLOTS:
    void init() { m_rig = std::make_unique<PlayerRig>(); }
    void cleanup() { m_rig.reset(); }

    // The first attempt plays an mp3, m4a or aac download from disk as it is; a retry, and any
    // other kind of download, is streamed. Nothing is resolved ahead for a downloaded song.
    void downloads_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("fromDisk");
        QTest::newRow("mp3") << "mp3" << true;
        QTest::newRow("m4a") << "m4a" << true;
        QTest::newRow("aac") << "aac" << true;
        QTest::newRow("upper case") << "M4A" << true;
        QTest::newRow("opus") << "opus" << false;
        QTest::newRow("webm") << "webm" << false;
    }

    void downloads()
    {
        QFETCH(QString, extension);
        QFETCH(bool, fromDisk);
        download(0, extension);
        download(1, extension);
        Track richer = PlayerRig::track(0, 180.0);
        richer.title = QStringLiteral("Richer");
        m_rig->catalog.answers.insert(richer.id, StreamInfo{QUrl(QStringLiteral("http://127.0.0.1:9/richer")),
                                                            {{QStringLiteral("Referer"), QStringLiteral("x")}},
                                                            richer,
                                                            QDateTime::currentDateTimeUtc()});
        auto &player = *m_rig->player;
        player.play(PlayerRig::tracks(2), 0, false);
        const FakeAudioBackend::Load first = m_rig->audio.loads.last();
        QCOMPARE(first.url.isLocalFile(), fromDisk);
        QCOMPARE(first.headers.isEmpty(), fromDisk);
        QCOMPARE(player.queue().first().track.title, fromDisk ? QStringLiteral("Song 0") : QStringLiteral("Richer"));
        QCOMPARE(m_rig->catalog.resolved, fromDisk ? QStringList() : QStringList{richer.id + QStringLiteral("#0")});

        m_rig->audio.fail(QStringLiteral("Loading failed."));
        QCOMPARE(m_rig->audio.loads.last().url, QUrl(QStringLiteral("http://127.0.0.1:9/richer")));
        QCOMPARE(resolvedOf(*m_rig, richer).last(), richer.id + QStringLiteral("#1"));
        QCOMPARE(player.queue().first().track.title, QStringLiteral("Richer"));
        QVERIFY(resolvedOf(*m_rig, PlayerRig::track(1)).isEmpty());
    }

    // A kept stream is used until it is two hours old by the player's clock. The next song is
    // resolved ahead only when it has no kept stream at all, fresh or not.
    void streamCache_data()
    {
        QTest::addColumn<double>("age");
        QTest::addColumn<bool>("reused");
        QTest::newRow("7199 s") << 7199.0 << true;
        QTest::newRow("7200 s") << 7200.0 << false;
    }

    void streamCache()
    {
        QFETCH(double, age);
        QFETCH(bool, reused);
        auto &player = *m_rig->player;
        const Track zero = PlayerRig::track(0);
        const Track one = PlayerRig::track(1);
        player.play(one);
        m_rig->now += age;
        player.play(PlayerRig::tracks(2), 0, false);
        // Song 1 is kept, so it is not resolved ahead however old its stream.
        QCOMPARE(m_rig->catalog.resolved, QStringList({one.id + QStringLiteral("#0"), zero.id + QStringLiteral("#0")}));
        player.advance(true);
        QCOMPARE(resolvedOf(*m_rig, one).size(), reused ? 1 : 2);
        player.previous();
        QCOMPARE(resolvedOf(*m_rig, zero).size(), 1);
    }

    // The next song is resolved while this one plays, once, and a later load, even one that
    // replaces the song being played, does not call that off.
    void prefetch()
    {
        auto &player = *m_rig->player;
        m_rig->catalog.delay = std::chrono::milliseconds(40);
        player.play(PlayerRig::tracks(3), 0, false);
        QTRY_COMPARE(m_rig->catalog.resolved.size(), 2);
        QCOMPARE(m_rig->catalog.resolved.last(), PlayerRig::track(1).id + QStringLiteral("#0"));
        // Replaced while song 1 is still being resolved ahead.
        player.play(QList<Track>{PlayerRig::track(5), PlayerRig::track(1)}, 0, false);
        QTRY_COMPARE(m_rig->audio.loads.size(), 2);
        QTRY_COMPARE(m_rig->catalog.resolved.size(), 3);
        QVERIFY(m_rig->catalog.cancelled.isEmpty());
        QTest::qWait(100);
        player.advance(true);
        QCOMPARE(m_rig->audio.loads.size(), 3);
        QCOMPARE(m_rig->audio.loads.last().url.path(), QLatin1Char('/') + PlayerRig::track(1).id);
        QCOMPARE(resolvedOf(*m_rig, PlayerRig::track(1)).size(), 1);
    }

    // A superseded resolution is called off; what it brings back, failure or stream, is dropped
    // without a retry or a log line.
    void supersededLoadIsDropped()
    {
        auto &player = *m_rig->player;
        m_rig->catalog.delay = std::chrono::milliseconds(30);
        player.play(PlayerRig::tracks(3), 0, false);
        player.advance(true);
        QTRY_COMPARE(m_rig->audio.loads.size(), 1);
        QCOMPARE(m_rig->audio.loads.first().url.path(), QLatin1Char('/') + PlayerRig::track(1).id);
        QCOMPARE(m_rig->catalog.cancelled, QStringList{PlayerRig::track(0).id + QStringLiteral("#0")});
        QTest::qWait(100);
        QCOMPARE(m_rig->audio.loads.size(), 1);
        QVERIFY(player.errorMessage().isEmpty());
        QVERIFY(TestLog::appLogLines().filter(QStringLiteral("playback failure")).isEmpty());
    }

    // A seek made with nothing loaded is where the next load starts, when it is worth it.
    void pendingSeek_data()
    {
        QTest::addColumn<double>("seek");
        QTest::addColumn<double>("start");
        QTest::newRow("1.0 s starts at 0") << 1.0 << 0.0;
        QTest::newRow("1.5 s") << 1.5 << 1.5;
    }

    void pendingSeek()
    {
        QFETCH(double, seek);
        QFETCH(double, start);
        auto &player = *m_rig->player;
        m_rig->playing(2);
        m_rig->audio.stop();
        player.seek(seek);
        player.resume();
        QCOMPARE(m_rig->audio.loads.last().start, start);
        QCOMPARE(player.position(), start);
    }

    // Waiting for data counts only while the user means to play.
    void buffering()
    {
        auto &player = *m_rig->player;
        player.play(PlayerRig::tracks(2), 0, false);
        QVERIFY(!player.isBuffering());
        m_rig->ready();
        m_rig->audio.setWaiting(true);
        QVERIFY(player.isBuffering());
        player.togglePlay();
        QVERIFY(!player.isBuffering());
        player.togglePlay();
        QVERIFY(player.isBuffering());
        player.advance(true);
        QVERIFY(!player.isBuffering());
    }

    // The medium thumbnail already held shows at once and the large one follows; a song
    // without any shows none, not the previous song's.
    void artwork()
    {
        TestHttpServer server;
        qputenv("MORVANE_IMAGE_HOST", server.base().toUtf8());
        const Track song = PlayerRig::track(0);
        const QUrl medium = song.artwork(false).first();
        server.serveText(medium.path(), TestImages::solid(Qt::blue), "image/png");
        QVERIFY(!QCoro::waitFor(m_rig->artwork.image(medium)).isNull());
        server.serveText(song.artwork(true).first().path(), TestImages::solid(Qt::red), "image/png");

        auto &player = *m_rig->player;
        player.play(song);
        QCOMPARE(player.artwork().pixelColor(0, 0), QColor(Qt::blue));
        QTRY_COMPARE(player.artwork().pixelColor(0, 0), QColor(Qt::red));

        QSignalSpy changed(&player, &PlayerManager::artworkChanged);
        player.play(PlayerRig::track(1));
        QVERIFY(player.artwork().isNull());
        QCOMPARE(changed.size(), 1);
        // All three sizes are asked for, and the picture stays empty.
        QTRY_COMPARE(server.requestsFor(PlayerRig::track(1).artwork(true).last().path()).size(), 1);
        QTest::qWait(50);
        QVERIFY(player.artwork().isNull());
    }
};

QTEST_MAIN(TestPlayerLoading)
#include "tst_playerloading.moc"
