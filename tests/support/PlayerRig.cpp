#include "PlayerRig.h"

#include <QTest>

PlayerRig::PlayerRig()
    : engine(
          &library, &catalog, [] { return QDateTime(QDate(2026, 12, 9), QTime(12, 0), Qt::UTC); }, &random)
{
    qputenv("MORVANE_IMAGE_HOST", "http://127.0.0.1:9");
    restart();
}

void PlayerRig::restart()
{
    player.reset();
    player = makePlayer([this] { return now; });
    player->setTickInterval(1);
}

std::unique_ptr<PlayerManager> PlayerRig::makePlayer(PlayerManager::Clock clock)
{
    return std::make_unique<PlayerManager>(&library, &engine, &audio, &catalog, &artwork, std::move(clock), &random);
}

Track PlayerRig::track(int n, std::optional<double> duration)
{
    return Track{QStringLiteral("song%1").arg(n, 7, 10, QLatin1Char('0')),
                 QStringLiteral("Song %1").arg(n),
                 QStringLiteral("Band"),
                 duration,
                 std::nullopt,
                 std::nullopt};
}

QList<Track> PlayerRig::tracks(int count)
{
    QList<Track> list;
    for (int n = 0; n < count; ++n)
        list.append(track(n));
    return list;
}

QStringList PlayerRig::queueIds() const
{
    QStringList ids;
    for (const QueueItem &item : player->queue())
        ids.append(item.track.id);
    return ids;
}

void PlayerRig::playing(int count, int current)
{
    player->play(tracks(count), current, false);
    ready();
}

void PlayerRig::ready(double duration)
{
    QVERIFY(audio.hasItem());
    audio.currentDuration = duration;
    audio.becomeReady(duration);
}

void PlayerRig::listen(double seconds)
{
    QVERIFY(audio.isRunning());
    // The first tick after sound starts only sets the clock going.
    int reads = audio.positionReads;
    QVERIFY(QTest::qWaitFor([&] { return audio.positionReads > reads; }));
    while (seconds > 1e-9) {
        const double step = std::min(seconds, 1.5);
        now += step;
        seconds -= step;
        reads = audio.positionReads;
        QVERIFY(QTest::qWaitFor([&] { return audio.positionReads > reads; }));
    }
}
