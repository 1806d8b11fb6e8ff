#include "AppStateRig.h"
#include "PlayerRig.h"
#include "RecordingDesktopServices.h"
#include "core/SettingsStore.h"
#include "ui/root/CommandController.h"
#include "ui/settings/MusicSettingsModel.h"

#include <QSignalSpy>
#include <QTest>

// The Music tab's model over a real player and library: history clearing, the format picker's
// short list, and the non-stop flag that the player owns.
class TestMusicSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clearingHistoryKeepsLikesAndPlaylists_data()
    {
        QTest::addColumn<int>("plays");
        QTest::newRow("empty play log") << 0;
        QTest::newRow("three plays") << 3;
    }

    // Even an empty log counts as a history change: the recommendations refresh and a save follows.
    void clearingHistoryKeepsLikesAndPlaylists()
    {
        QFETCH(int, plays);
        AppStateRig rig;
        LibraryStore &library = rig.state->library();
        const Track liked = PlayerRig::track(1);
        library.registerTracks({liked});
        library.toggleLike(liked);
        library.createPlaylist(QStringLiteral("Mine"), PlayerRig::tracks(2));
        for (int i = 0; i < plays; ++i)
            library.record({liked.id, QDateTime::currentDateTimeUtc(), 30, 200, true, false});
        library.saveNow();
        QCOMPARE(library.plays().size(), plays);
        const int version = library.historyVersion();
        QSignalSpy saved(&library, &LibraryStore::saved);

        MusicSettingsModel model(rig.state->player(), library);
        model.clearHistory();
        QVERIFY(library.plays().isEmpty());
        QCOMPARE(library.historyVersion(), version + 1);
        QVERIFY(saved.wait());
        QCOMPARE(library.likes(), QStringList{liked.id});
        QCOMPARE(library.playlists().size(), 1);
        QCOMPARE(library.playlists().first().tracks.size(), 2);
    }

    void formatPickerOffersThreeFormats_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("row");
        QTest::newRow("unset") << QString() << 0;
        QTest::newRow("m4a") << "m4a" << 1;
        QTest::newRow("opus") << "opus" << 2;
        // Chosen in the Formats tab, which offers more.
        QTest::newRow("flac") << "flac" << -1;
        QTest::newRow("wav") << "wav" << -1;
        QTest::newRow("aac") << "aac" << -1;
        QTest::newRow("vorbis") << "vorbis" << -1;
    }

    void formatPickerOffersThreeFormats()
    {
        QFETCH(QString, stored);
        QFETCH(int, row);
        AppStateRig rig;
        if (!stored.isEmpty())
            SettingsStore::set(QStringLiteral("audioFormat"), stored);
        MusicSettingsModel model(rig.state->player(), rig.state->library());
        SettingPicker *picker = model.audioFormat();
        QStringList texts;
        for (const QVariant &option : picker->options())
            texts.append(option.toMap().value(QStringLiteral("text")).toString());
        QCOMPARE(texts, (QStringList{QStringLiteral("MP3"), QStringLiteral("M4A"), QStringLiteral("OPUS")}));
        QCOMPARE(picker->currentIndex(), row);
        if (!stored.isEmpty())
            QCOMPARE(SettingsStore::string(QStringLiteral("audioFormat")), stored);

        picker->activate(2);
        QCOMPARE(SettingsStore::string(QStringLiteral("audioFormat")), QStringLiteral("opus"));
        QCOMPARE(picker->currentIndex(), 2);
    }

    // The flag lives in the player: the menu command's change shows, and the toggle stores it.
    void nonStopFollowsThePlayer()
    {
        AppStateRig rig;
        PlayerManager &player = rig.state->player();
        MusicSettingsModel model(player, rig.state->library());
        QSignalSpy changed(&model, &MusicSettingsModel::nonStopChanged);
        const bool initial = model.nonStop();
        QCOMPARE(initial, player.nonStop());

        RecordingDesktopServices desktop;
        CommandController commands(rig.state.get(), &desktop);
        commands.toggleNonStop();
        QCOMPARE(model.nonStop(), !initial);
        QCOMPARE(changed.size(), 1);

        model.setNonStop(initial);
        QCOMPARE(player.nonStop(), initial);
        QCOMPARE(SettingsStore::value(QStringLiteral("nonStopPlayback")).toBool(), initial);
        QCOMPARE(changed.size(), 2);
    }
};

QTEST_MAIN(TestMusicSettings)
#include "tst_musicsettings.moc"
