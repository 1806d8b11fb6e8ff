#include "MusicShellRig.h"
#include "music/LibraryStore.h"
#include "player/PlayerManager.h"
#include "ui/music/TrackListModel.h"
#include "ui/music/TrackMenu.h"

#include <QTest>

namespace {
Track song(const char *id)
{
    Track track;
    track.id = QString::fromLatin1(id);
    track.title = QStringLiteral("Song ") + track.id;
    track.artist = QStringLiteral("Artist");
    return track;
}

const Track a = song("aaaaaaaaaaa");
const Track b = song("bbbbbbbbbbb");

// The entries as their texts, "—" for a divider.
QStringList texts(const QVariantList &entries)
{
    QStringList result;
    for (const QVariant &entry : entries) {
        const QVariantMap map = entry.toMap();
        result.append(map.value(QStringLiteral("key")) == QStringLiteral("divider")
                          ? QStringLiteral("—")
                          : map.value(QStringLiteral("text")).toString());
    }
    return result;
}

QStringList symbols(const QVariantList &entries)
{
    QStringList result;
    for (const QVariant &entry : entries)
        result.append(entry.toMap().value(QStringLiteral("symbol")).toString());
    return result;
}

// Leaves the fixture's first `count` playlists, named "R&B" and "Evening".
void keepPlaylists(LibraryStore &library, int count)
{
    library.renamePlaylist(MusicShellRig::playlistID(1), QStringLiteral("R&B"));
    for (int number = 3; number > count; --number)
        library.deletePlaylist(MusicShellRig::playlistID(number));
}

QList<QString> queueIDs(const PlayerManager &player)
{
    QList<QString> ids;
    for (const QueueItem &item : player.queue())
        ids.append(item.track.id);
    return ids;
}

const QStringList head{QStringLiteral("Play"), QStringLiteral("Start Radio"), QStringLiteral("Play Next"),
                       QStringLiteral("Add to Queue"), QStringLiteral("Add to Playlist")};
} // namespace

class TestTrackMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entries_data()
    {
        QTest::addColumn<bool>("liked");
        QTest::addColumn<int>("playlists");
        QTest::addColumn<bool>("inPlaylist");
        QTest::addColumn<QStringList>("tail");
        QTest::addColumn<QStringList>("submenu");
        const QStringList unliked{QStringLiteral("Add to Liked Songs"), QStringLiteral("Download")};
        const QStringList liked{QStringLiteral("Remove from Liked Songs"), QStringLiteral("Download")};
        const QStringList removal{QStringLiteral("—"), QStringLiteral("Remove from Playlist")};
        const QStringList none{QStringLiteral("New Playlist…")};
        const QStringList two{QStringLiteral("R&B"), QStringLiteral("Evening"), QStringLiteral("—"),
                              QStringLiteral("New Playlist…")};
        QTest::newRow("plain") << false << 0 << false << unliked << none;
        QTest::newRow("liked") << true << 0 << false << liked << none;
        QTest::newRow("two playlists") << false << 2 << false << unliked << two;
        QTest::newRow("inside a playlist") << false << 2 << true << unliked + removal << two;
        QTest::newRow("liked inside a playlist") << true << 0 << true << liked + removal << none;
    }
    void entries()
    {
        QFETCH(bool, liked);
        QFETCH(int, playlists);
        QFETCH(bool, inPlaylist);
        QFETCH(QStringList, tail);
        QFETCH(QStringList, submenu);
        MusicShellRig rig;
        LibraryStore &library = rig.state->library();
        keepPlaylists(library, playlists);
        if (liked)
            library.toggleLike(a);
        const std::optional<QUuid> playlist =
            inPlaylist ? std::optional<QUuid>(MusicShellRig::playlistID(1)) : std::nullopt;
        TrackMenu menu(rig.state.get(), a, std::nullopt, playlist);
        QCOMPARE(texts(menu.entries()), head + tail);
        QCOMPARE(symbols(menu.entries()).at(5), liked ? QStringLiteral("heart.slash") : QStringLiteral("heart"));
        QCOMPARE(texts(menu.playlistEntries()), submenu);
    }

    // Each entry's effect on the player, the library and the toast.
    void effects()
    {
        MusicShellRig rig;
        AppState &state = *rig.state;
        LibraryStore &library = state.library();
        PlayerManager &player = state.player();
        keepPlaylists(library, 2);
        const QUuid rnb = MusicShellRig::playlistID(1);
        TrackMenu menu(&state, b, QList<Track>{a, b}, rnb);

        menu.choose(QStringLiteral("play"));
        QCOMPARE(queueIDs(player), (QList<QString>{a.id, b.id}));
        QCOMPARE(player.index(), std::optional<int>(1));

        menu.choose(QStringLiteral("queue"));
        menu.choose(QStringLiteral("queue")); // already queued: a second item all the same
        QCOMPARE(queueIDs(player), (QList<QString>{a.id, b.id, b.id, b.id}));
        QCOMPARE(state.toastText(), QStringLiteral("Added to queue"));

        menu.choose(QStringLiteral("next"));
        QCOMPARE(queueIDs(player).at(2), b.id);
        QCOMPARE(queueIDs(player).size(), 5);
        QCOMPARE(state.toastText(), QStringLiteral("Will play next"));

        menu.choose(QStringLiteral("like"));
        QVERIFY(library.likes().contains(b.id));
        QCOMPARE(TrackMenu(&state, b).entries().at(5).toMap().value(QStringLiteral("text")),
                 QStringLiteral("Remove from Liked Songs"));

        menu.choose(QStringLiteral("playlist:0"));
        QCOMPARE(state.toastText(), QStringLiteral("Added to R&B"));
        QCOMPARE(library.playlist(rnb)->tracks.count(b), 1);
        menu.choose(QStringLiteral("playlist:0")); // held already: unchanged, still toasted
        QCOMPARE(library.playlist(rnb)->tracks.count(b), 1);

        menu.choose(QStringLiteral("remove"));
        QCOMPARE(library.playlist(rnb)->tracks.count(b), 0);
    }

    // An empty name makes "New Playlist"; the prompt still works after the menu is gone.
    void newPlaylist()
    {
        MusicShellRig rig;
        AppState &state = *rig.state;
        {
            TrackMenu menu(&state, a);
            menu.choose(QStringLiteral("newPlaylist"));
        }
        QVERIFY(state.namePrompt());
        QCOMPARE(state.namePrompt()->title, QStringLiteral("New Playlist"));
        QCOMPARE(state.namePrompt()->action, QStringLiteral("Create"));
        QCOMPARE(state.namePrompt()->initial, QString());
        state.namePrompt()->done(QString());
        const Playlist created = state.library().playlists().constLast();
        QCOMPARE(created.name, QStringLiteral("New Playlist"));
        QCOMPARE(created.tracks, QList<Track>{a});
        QCOMPARE(state.toastText(), QStringLiteral("Added to New Playlist"));
    }

    // A menu opened on a row acts on that row's song even after the list is reordered.
    void menuKeepsItsSong()
    {
        MusicShellRig rig;
        TrackListModel model(rig.state.get());
        model.setTracks({a, b});
        std::unique_ptr<TrackMenu> menu(model.menu(0, nullptr));
        model.setTracks({b, a});
        menu->choose(QStringLiteral("radio"));
        const std::optional<Track> current = rig.state->player().current();
        QVERIFY(current);
        QCOMPARE(current->id, a.id);
    }
};

QTEST_GUILESS_MAIN(TestTrackMenu)
#include "tst_trackmenu.moc"
