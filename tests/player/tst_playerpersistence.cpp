#include "PlayerRig.h"
#include "core/AppPaths.h"
#include "core/SettingsStore.h"
#include "player/PlaybackStore.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

namespace {

QString path()
{
    return AppPaths::support() + QStringLiteral("/playback.json");
}

QJsonObject savedFile()
{
    QFile file(path());
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
}

void writeSaved(const SavedPlayback &state)
{
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(state.toJson());
}

} // namespace

// The player's state across a restart, on the fake back end.
class TestPlayerPersistence : public QObject
{
    Q_OBJECT

    std::unique_ptr<PlayerRig> m_rig;

private Q_SLOTS:
    void init() { m_rig = std::make_unique<PlayerRig>(); }
    void cleanup() { m_rig.reset(); }

    // A restored queue is shown where it stood, not played and not resolved; the first resume
    // loads the current song at the saved position.
    void restoreShowsWithoutPlaying()
    {
        writeSaved(SavedPlayback{PlayerRig::tracks(3), 1, 95, false, RepeatMode::One});
        m_rig->restart();
        auto &player = *m_rig->player;
        QCOMPARE(m_rig->queueIds(),
                 (QStringList{PlayerRig::track(0).id, PlayerRig::track(1).id, PlayerRig::track(2).id}));
        QCOMPARE(player.index(), std::optional<int>(1));
        QCOMPARE(player.position(), 95.0);
        QCOMPARE(player.duration(), 200.0);
        QCOMPARE(player.repeatMode(), RepeatMode::One);
        QVERIFY(!player.isPlaying());
        QVERIFY(!player.isLoading());
        QVERIFY(m_rig->audio.loads.isEmpty());
        QVERIFY(m_rig->catalog.resolved.isEmpty());
        // The setters of the restore schedule a save, as any change does.
        QVERIFY(player.persistPending());

        // A failure at the start keeps the place for the retry.
        m_rig->catalog.answers.insert(PlayerRig::track(1).id + QStringLiteral("#0"), MusicError{QStringLiteral("No.")});
        QSignalSpy jumped(&player, &PlayerManager::positionJumped);
        player.resume();
        QVERIFY(player.isPlaying());
        QCOMPARE(m_rig->audio.loads.size(), 1);
        QCOMPARE(m_rig->audio.loads.last().start, 95.0);
        QVERIFY(m_rig->audio.loads.last().play);
        QCOMPARE(player.position(), 95.0);
        // Told once, when the song starts there.
        QCOMPARE(jumped.size(), 0);
        m_rig->ready();
        QCOMPARE(jumped.size(), 1);
        QCOMPARE(jumped.first().first().toDouble(), 95.0);
    }

    // A saved shuffle reshuffles what follows the current song at every start.
    void restoreReshuffles()
    {
        const QList<Track> eight = PlayerRig::tracks(8);
        writeSaved(SavedPlayback{eight, 2, 0, true, RepeatMode::Off});
        m_rig->restart();
        QVERIFY(m_rig->player->shuffle());
        const QStringList queue = m_rig->queueIds();
        QStringList saved;
        for (const Track &track : eight)
            saved.append(track.id);
        QCOMPARE(queue.mid(0, 3), saved.mid(0, 3));
        QVERIFY(queue != saved);
        QStringList rest = queue.mid(3);
        rest.sort();
        QCOMPARE(rest, saved.mid(3));
    }

    // Nothing to show: no file, an empty queue, an unreadable file.
    void restoreNothing_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("empty queue") << SavedPlayback{{}, std::nullopt, 5, true, RepeatMode::All}.toJson();
        QTest::newRow("no position") << QByteArray(R"({"queue":[{"id":"aaaaaaaaaaa","title":"t","artist":"a"}],)"
                                                   R"("index":0,"shuffle":false,"repeatMode":"off"})");
    }

    void restoreNothing()
    {
        QFETCH(QByteArray, text);
        if (!text.isEmpty()) {
            QFile file(path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(text);
        }
        m_rig->restart();
        QVERIFY(m_rig->player->queue().isEmpty());
        QCOMPARE(m_rig->player->index(), std::nullopt);
        QVERIFY(!m_rig->player->shuffle());
        QVERIFY(!m_rig->player->persistPending());
    }

    // A burst of changes is saved once, a delay after the last of them, with all of them in it.
    void burstIsSavedOnce()
    {
        auto &player = *m_rig->player;
        auto *store = player.findChild<PlaybackStore *>();
        QVERIFY(store);
        QSignalSpy saved(store, &PlaybackStore::saved);
        player.setPersistDelay(100);
        m_rig->playing(3, 0);
        player.setRepeatMode(RepeatMode::All);
        player.moveQueue({2}, 0);
        QVERIFY(player.persistPending());
        QCOMPARE(saved.size(), 0);
        QVERIFY(saved.wait());
        QTest::qWait(300);
        QCOMPARE(saved.size(), 1);
        const QJsonObject file = savedFile();
        QCOMPARE(file.value(QStringLiteral("repeatMode")).toString(), QStringLiteral("all"));
        QCOMPARE(file.value(QStringLiteral("index")).toInt(), 1);
        QCOMPARE(file.value(QStringLiteral("queue")).toArray().first().toObject().value(QStringLiteral("id")),
                 PlayerRig::track(2).id);
    }

    // An emptied queue is saved as an empty list without a current item, and comes back as
    // nothing. The volume is not part of the file, and an absent one is not written by a start.
    void emptyQueueAndVolume()
    {
        auto &player = *m_rig->player;
        player.clearUpcoming();
        player.persistNow();
        QTRY_VERIFY(!savedFile().isEmpty());
        const QJsonObject file = savedFile();
        QCOMPARE(file.value(QStringLiteral("queue")).toArray(), QJsonArray());
        QVERIFY(!file.contains(QStringLiteral("index")));
        QVERIFY(!file.contains(QStringLiteral("musicVolume")));
        m_rig->restart();
        QVERIFY(m_rig->player->queue().isEmpty());
        QCOMPARE(m_rig->player->volume(), 0.8);
        QVERIFY(!SettingsStore::isStored(QStringLiteral("musicVolume")));
    }
};

QTEST_MAIN(TestPlayerPersistence)
#include "tst_playerpersistence.moc"
