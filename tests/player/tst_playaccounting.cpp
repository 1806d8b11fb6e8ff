#include "PlayerRig.h"

#include <QTest>

// How a play ends.
enum class Close { UserSkip, Ended, NeverReady };
Q_DECLARE_METATYPE(Close)

class TestPlayAccounting : public QObject
{
    Q_OBJECT

    std::unique_ptr<PlayerRig> m_rig;

    // Song 0 of two, heard for `listened` s, then closed as `close` says.
    void playAndClose(std::optional<double> length, double readyDuration, double listened, Close close)
    {
        m_rig->player->play({PlayerRig::track(0, length), PlayerRig::track(1)}, 0, false);
        if (close != Close::NeverReady) {
            m_rig->ready(readyDuration);
            m_rig->listen(listened);
        }
        if (close == Close::Ended)
            m_rig->audio.end();
        else
            m_rig->player->advance(true);
    }

private Q_SLOTS:
    void init() { m_rig = std::make_unique<PlayerRig>(); }
    void cleanup() { m_rig.reset(); }

    void closingAPlay_data()
    {
        QTest::addColumn<std::optional<double>>("length");
        QTest::addColumn<double>("readyDuration"); // NaN: the back end does not know it
        QTest::addColumn<double>("listened");
        QTest::addColumn<Close>("close");
        QTest::addColumn<bool>("recorded");
        QTest::addColumn<bool>("completed");
        QTest::addColumn<bool>("skipped");
        const std::optional<double> none;

        QTest::newRow("175 of 200 skipped: complete")
            << std::optional(200.0) << 200.0 << 175.0 << Close::UserSkip << true << true << false;
        QTest::newRow("60 of 200 skipped: a skip")
            << std::optional(200.0) << 200.0 << 60.0 << Close::UserSkip << true << false << true;
        QTest::newRow("120 of 200 skipped: neither")
            << std::optional(200.0) << 200.0 << 120.0 << Close::UserSkip << true << false << false;
        QTest::newRow("40 of 60 skipped: neither")
            << std::optional(60.0) << 60.0 << 40.0 << Close::UserSkip << true << false << false;
        QTest::newRow("1.5 s: not recorded")
            << std::optional(200.0) << 200.0 << 1.5 << Close::UserSkip << false << false << false;
        QTest::newRow("2 s: recorded") << std::optional(200.0) << 200.0 << 2.0 << Close::UserSkip << true << false
                                       << true;
        QTest::newRow("never ready: not recorded")
            << std::optional(200.0) << 200.0 << 0.0 << Close::NeverReady << false << false << false;
        QTest::newRow("ended after a seek near the end")
            << std::optional(200.0) << 200.0 << 1.0 << Close::Ended << true << true << false;
        QTest::newRow("length from the back end wins")
            << std::optional(400.0) << 200.0 << 175.0 << Close::UserSkip << true << true << false;
        QTest::newRow("unknown length, 20 s skipped")
            << none << qQNaN() << 20.0 << Close::UserSkip << true << false << true;
        QTest::newRow("unknown length, 40 s skipped")
            << none << qQNaN() << 40.0 << Close::UserSkip << true << false << false;
    }

    void closingAPlay()
    {
        QFETCH(std::optional<double>, length);
        QFETCH(double, readyDuration);
        QFETCH(double, listened);
        QFETCH(Close, close);
        QFETCH(bool, recorded);
        QFETCH(bool, completed);
        QFETCH(bool, skipped);
        playAndClose(length, readyDuration, listened, close);

        QCOMPARE(m_rig->player->recentlyPlayed(), QStringList{PlayerRig::track(0).id});
        QCOMPARE(m_rig->library.plays().size(), recorded ? 1 : 0);
        if (!recorded)
            return;
        const PlayEvent event = m_rig->library.plays().first();
        QCOMPARE(event.trackID, PlayerRig::track(0).id);
        QCOMPARE(event.listened, listened);
        QCOMPARE(event.completed, completed);
        QCOMPARE(event.skipped, skipped);
        QCOMPARE(event.duration, std::isnan(readyDuration) ? length : std::optional(readyDuration));
    }

    void aPlayIsClosedOnce()
    {
        m_rig->playing(3);
        m_rig->listen(10);
        m_rig->player->setRepeatMode(RepeatMode::Off);
        m_rig->player->clearUpcoming();
        m_rig->audio.end();           // the end of the queue closes the play...
        m_rig->player->advance(true); // ...and a skip before the next load does not close it again
        QCOMPARE(m_rig->library.plays().size(), 1);
        QCOMPARE(m_rig->player->recentlyPlayed().size(), 1);
    }

    void recentlyPlayedIsCutBack()
    {
        m_rig->player->play(PlayerRig::tracks(102), 0, false);
        for (int i = 0; i < 100; ++i)
            m_rig->player->advance(true);
        QCOMPARE(m_rig->player->recentlyPlayed().size(), 100);
        m_rig->player->advance(true);
        QCOMPARE(m_rig->player->recentlyPlayed().size(), 51);
        QCOMPARE(m_rig->player->recentlyPlayed().first(), PlayerRig::track(50).id);
        QCOMPARE(m_rig->player->recentlyPlayed().last(), PlayerRig::track(100).id);
    }

    void pausesAndGapsAreNotHeard()
    {
        m_rig->playing(2);
        m_rig->listen(5);

        // A pause of any length counts nothing.
        m_rig->player->togglePlay();
        m_rig->now += 600;
        m_rig->player->togglePlay();
        m_rig->listen(0.5);

        // A long gap between two running ticks counts 1.5 s.
        int reads = m_rig->audio.positionReads;
        m_rig->now += 10;
        QVERIFY(QTest::qWaitFor([&] { return m_rig->audio.positionReads > reads; }));

        m_rig->player->advance(true);
        QCOMPARE(m_rig->library.plays().first().listened, 7.0);
    }

    void tickPublishesPositionAndLength()
    {
        m_rig->playing(2);
        QCOMPARE(m_rig->player->duration(), 200.0);
        m_rig->ready(215);
        QCOMPARE(m_rig->player->duration(), 215.0);

        const QList<std::pair<double, double>> lengths{{215.8, 215}, {217, 217}, {qInf(), 217}, {0, 217}};
        for (const auto &[reported, published] : lengths) {
            m_rig->audio.currentDuration = reported;
            m_rig->audio.currentPosition += 1;
            m_rig->listen(0.5);
            QCOMPARE(m_rig->player->duration(), published);
            QCOMPARE(m_rig->player->position(), m_rig->audio.currentPosition);
        }
    }
};

QTEST_MAIN(TestPlayAccounting)
#include "tst_playaccounting.moc"
