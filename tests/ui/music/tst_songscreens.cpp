#include "MusicShellRig.h"
#include "TestRecommender.h"
#include "music/LibraryStore.h"
#include "player/PlayerManager.h"
#include "search/SearchManager.h"
#include "ui/music/LibrarySongsModel.h"
#include "ui/music/PlaylistDetailModel.h"
#include "ui/music/RouteViewModel.h"
#include "ui/music/SearchScreenModel.h"
#include "ui/music/TrackMenu.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

// The view models of the song lists, the playlist detail and the Search screen, over a real
// library and player (fake catalogue and audio).
namespace {
using Source = LibrarySongsModel::Source;

Track song(int n)
{
    return TestRecommender::song(n, QStringLiteral("Artist"));
}

QList<Track> songs(int count)
{
    QList<Track> tracks;
    for (int n = 1; n <= count; ++n)
        tracks.append(song(n));
    return tracks;
}

void play(LibraryStore &library, const Track &track)
{
    library.registerTracks({track});
    library.record(TestRecommender::play(track.id, 0, 200, true));
}

QStringList ids(SongListScreenModel &model)
{
    return TestRecommender::ids(model.tracks()->tracks());
}

// Row edits a view hears; a reset counts apart.
struct Edits
{
    explicit Edits(QAbstractItemModel *model)
        : removed(model, &QAbstractItemModel::rowsRemoved)
        , moved(model, &QAbstractItemModel::rowsMoved)
        , reset(model, &QAbstractItemModel::modelReset)
    {}
    QSignalSpy removed, moved, reset;
};
} // namespace

class TestSongScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void headers_data()
    {
        QTest::addColumn<Source>("source");
        QTest::addColumn<QString>("lead"); // before the count
        QTest::newRow("liked") << Source::Liked << "";
        QTest::newRow("recent") << Source::Recent << "";
        QTest::newRow("downloaded") << Source::Downloaded << "Available offline · ";
    }
    // Empty, then with one song ("1 songs", no singular), each list's count line and cover.
    void headers()
    {
        QFETCH(Source, source);
        QFETCH(QString, lead);
        MusicShellRig rig;
        LibraryStore &library = rig.state->library();
        LibrarySongsModel model(rig.state.get(), source);
        QVERIFY(model.empty());
        QCOMPARE(model.detail(), lead + QStringLiteral("0 songs"));
        QVERIFY(model.cover().isEmpty());

        const Track one = song(1);
        play(library, one);
        library.toggleLike(one);
        const QString path = rig.env.root() + QStringLiteral("/one.m4a");
        QFile(path).open(QIODevice::WriteOnly);
        library.recordDownload(one.id, path);
        QCOMPARE(ids(model), QStringList{one.id});
        QCOMPARE(model.detail(), lead + QStringLiteral("1 songs"));
        QCOMPARE(model.cover(), one.artwork(false));
    }

    // Liked: newest like first, an unlike removes its row only. Recent: a replay moves one row,
    // Clear History empties it at once and keeps likes and playlists.
    void libraryEdits()
    {
        MusicShellRig rig;
        LibraryStore &library = rig.state->library();
        const QList<Track> tracks = songs(3);
        for (const Track &track : tracks) {
            play(library, track);
            library.toggleLike(track);
        }
        LibrarySongsModel liked(rig.state.get(), Source::Liked);
        LibrarySongsModel recent(rig.state.get(), Source::Recent);
        QAbstractItemModelTester likedTester(liked.tracks());
        QAbstractItemModelTester recentTester(recent.tracks());
        const QStringList newestFirst{tracks[2].id, tracks[1].id, tracks[0].id};
        QCOMPARE(ids(liked), newestFirst);
        QCOMPARE(ids(recent), newestFirst);

        Edits likedEdits(liked.tracks());
        Edits recentEdits(recent.tracks());
        liked.tracks()->toggleLike(1);
        play(library, tracks[0]);
        QCOMPARE(ids(liked), (QStringList{tracks[2].id, tracks[0].id}));
        QCOMPARE(ids(recent), (QStringList{tracks[0].id, tracks[2].id, tracks[1].id}));
        QCOMPARE(likedEdits.removed.size(), 1);
        QCOMPARE(recentEdits.moved.size(), 1);
        QCOMPARE(likedEdits.reset.size() + recentEdits.reset.size(), 0);

        QSignalSpy saved(&library, &LibraryStore::saved);
        recent.clearHistory();
        QVERIFY(recent.empty());
        QCOMPARE(recent.detail(), QStringLiteral("0 songs"));
        QCOMPARE(liked.tracks()->rowCount(), 2);
        QCOMPARE(library.playlists().size(), 3);
        QVERIFY(saved.wait());
        recent.clearHistory(); // an empty log is saved all the same
        QVERIFY(saved.wait());
    }

    // The downloaded list looks at the disk when shown: a deleted file leaves at the next showing.
    void downloadedFollowsFiles()
    {
        MusicShellRig rig;
        LibraryStore &library = rig.state->library();
        const QList<Track> tracks = songs(2);
        library.registerTracks(tracks);
        for (const Track &track : tracks) {
            const QString path = rig.env.root() + QLatin1Char('/') + track.id + QStringLiteral(".m4a");
            QFile(path).open(QIODevice::WriteOnly);
            library.recordDownload(track.id, path);
        }
        QVERIFY(QFile::remove(rig.env.root() + QLatin1Char('/') + tracks[0].id + QStringLiteral(".m4a")));
        LibrarySongsModel shown(rig.state.get(), Source::Downloaded);
        QCOMPARE(ids(shown), QStringList{tracks[1].id});
    }

    // Play and Shuffle start at the first song; Download hands the whole list to the coordinator.
    void buttons()
    {
        MusicShellRig rig;
        LibraryStore &library = rig.state->library();
        PlayerManager &player = rig.state->player();
        for (const Track &track : songs(4))
            library.toggleLike(track);
        library.registerTracks(songs(4));
        LibrarySongsModel liked(rig.state.get(), Source::Liked);
        liked.play();
        QCOMPARE(player.current()->id, liked.tracks()->track(0).id);
        QVERIFY(!player.shuffle());
        liked.shuffle();
        QCOMPARE(player.current()->id, liked.tracks()->track(0).id);
        QVERIFY(player.shuffle());
        liked.download(); // the tools are not installed here: the coordinator says so once
        QCOMPARE(rig.state->toastText(), QStringLiteral("Tools are still being installed."));
    }

    void playlistDetail()
    {
        MusicShellRig rig;
        AppState &state = *rig.state;
        LibraryStore &library = state.library();
        const QUuid id = MusicShellRig::playlistID(2);
        const QList<Track> tracks = songs(2);
        library.add(tracks, id);
        PlaylistDetailModel detail(&state, id);
        QAbstractItemModelTester tester(detail.tracks());
        QVERIFY(detail.found());
        QCOMPARE(detail.title(), QStringLiteral("Evening"));
        QCOMPARE(detail.detail(), QStringLiteral("Playlist · 2 songs"));

        // The last row dragged to the top survives a restart.
        detail.move(1, 0);
        QCOMPARE(ids(detail), (QStringList{tracks[1].id, tracks[0].id}));
        QSignalSpy saved(&library, &LibraryStore::saved);
        library.saveNow();
        QVERIFY(saved.wait());
        QCOMPARE(TestRecommender::ids(LibraryStore().playlist(id)->tracks), (QStringList{tracks[1].id, tracks[0].id}));

        // Rename opens filled in; the name follows once done, even after the screen went.
        detail.rename();
        QVERIFY(state.namePrompt());
        QCOMPARE(state.namePrompt()->initial, QStringLiteral("Evening"));
        const std::function<void(const QString &)> done = state.namePrompt()->done;
        done(QStringLiteral("Late"));
        QCOMPARE(detail.title(), QStringLiteral("Late"));

        // A menu on its rows offers the removal; another playlist's edits leave it alone.
        QCOMPARE(detail.tracks()->menu(0, &detail)->entries().constLast().toMap().value(QStringLiteral("key")),
                 QStringLiteral("remove"));
        library.add(tracks, MusicShellRig::playlistID(1));
        QCOMPARE(detail.tracks()->rowCount(), 2);

        // An imported playlist says so; a playlist deleted elsewhere is not found.
        PlaylistDetailModel imported(
            &state,
            library.createPlaylist(QStringLiteral("Mix"), tracks, QStringLiteral("https://example.com/list")).id);
        QCOMPARE(imported.detail(), QStringLiteral("Imported playlist · 2 songs"));
        library.deletePlaylist(id);
        QVERIFY(!detail.found());
        QVERIFY(detail.empty());

        // Delete acts at once and lands on the playlists.
        imported.deletePlaylist();
        QVERIFY(!imported.found());
        QCOMPARE(state.route().kind, Route::Kind::Playlists);
    }

    // The route view makes the screen's model for its kind of route, and follows a playlist id.
    void routeScreens()
    {
        MusicShellRig rig;
        AppState &state = *rig.state;
        RouteViewModel routes(&state);
        QCOMPARE(routes.screenModel(), nullptr); // home: not a song screen
        state.setRoute(Route{Route::Kind::Search, {}});
        QVERIFY(qobject_cast<SearchScreenModel *>(routes.screenModel()));
        state.setRoute(Route{Route::Kind::Recent, {}});
        QCOMPARE(qobject_cast<LibrarySongsModel *>(routes.screenModel())->title(), QStringLiteral("Recently Played"));
        state.setRoute(Route::playlist(MusicShellRig::playlistID(2)));
        auto *detail = qobject_cast<PlaylistDetailModel *>(routes.screenModel());
        QCOMPARE(detail->title(), QStringLiteral("Evening"));
        state.setRoute(Route::playlist(MusicShellRig::playlistID(1)));
        QCOMPARE(routes.screenModel(), detail);
        QCOMPARE(detail->title(), QStringLiteral("Road Songs"));
    }

    void searchFaces()
    {
        MusicShellRig rig;
        AppState &state = *rig.state;
        SearchManager &search = state.search();
        const Route route{Route::Kind::Search, {}};
        state.setRoute(route);
        SearchScreenModel model(&state);
        QAbstractItemModelTester tester(model.playlists());
        QCOMPARE(model.face(), QStringLiteral("idle"));
        QVERIFY(model.recents().isEmpty());

        // 30 searches show the newest 12; Clear brings the hint back.
        for (int n = 1; n <= 30; ++n)
            state.library().recordSearch(QStringLiteral("search %1").arg(n));
        QCOMPARE(model.recents().size(), 12);
        QCOMPARE(model.recents().constFirst(), QStringLiteral("search 30"));
        model.clearRecents();
        QVERIFY(model.recents().isEmpty());

        rig.catalog->holding = true;
        rig.catalog->listings[QStringLiteral("search lofi")] = {songs(3)};
        const QString link = QStringLiteral("https://www.youtube.com/playlist?list=PLlofi");
        rig.catalog->playlists[QStringLiteral("lofi playlist")] = {
            PlaylistRef{QStringLiteral("PLlofi"), QStringLiteral("Lofi & Chill"), QStringLiteral("Beats"), link, {}},
            PlaylistRef{QStringLiteral("PLrain"), QStringLiteral("Rain"), QString(), link + QStringLiteral("2"), {}}};
        search.submit(QStringLiteral("  lofi "), &state.player());
        QCOMPARE(model.face(), QStringLiteral("loading"));
        QCOMPARE(model.notice(), QStringLiteral("Searching YouTube for “lofi”…"));
        rig.catalog->holding = false;
        rig.catalog->release();
        QTRY_COMPARE(model.face(), QStringLiteral("done"));
        QCOMPARE(model.title(), QStringLiteral("Results for “lofi”"));
        QCOMPARE(model.count(), QStringLiteral("3 songs"));
        QVERIFY(!model.fromLink());
        QCOMPARE(model.tracks()->rowCount(), 3);
        QVERIFY(model.hasPlaylists());
        QCOMPARE(model.playlists()->rowCount(), 2);
        QCOMPARE(model.playlists()->index(0).data(CardListModel::TitleRole).toString(), QStringLiteral("Lofi & Chill"));
        QCOMPARE(model.playlists()->index(0).data(CardListModel::SubtitleRole).toString(), QStringLiteral("Beats"));
        model.startRadio();
        QCOMPARE(state.player().current()->id, song(1).id);
        QVERIFY(state.player().nonStop());

        // Nothing found: the message, and Try again searches the same text again.
        rig.catalog->listings[QStringLiteral("search lofi")] = {MusicResult<QList<Track>>(QList<Track>())};
        const qsizetype before = rig.catalog->calls.size();
        model.tryAgain();
        QTRY_COMPARE(model.face(), QStringLiteral("failed"));
        QCOMPARE(model.message(), QStringLiteral("No results for “lofi”."));
        QVERIFY2(rig.catalog->calls.mid(before).contains(QStringLiteral("search lofi 25")),
                 qPrintable(rig.catalog->calls.join(QLatin1Char('|'))));

        // A found playlist's card expands it on this screen, under its title; a link finds no
        // playlists.
        rig.catalog->expansions[link] = YTMusic::Expansion{QStringLiteral("Lofi & Chill"), songs(2)};
        model.playlists()->activate(0);
        QCOMPARE(state.search().submitted(), link);
        QVERIFY(!model.hasPlaylists());
        QTRY_COMPARE(model.face(), QStringLiteral("done"));
        QCOMPARE(model.title(), QStringLiteral("Lofi & Chill"));
        QCOMPARE(model.playlists()->rowCount(), 0);
        QCOMPARE(state.route(), route);
    }

    // A playlist link: its title, Save as Playlist (an empty title saves "New Playlist") and
    // Download All.
    void searchLink()
    {
        MusicShellRig rig;
        AppState &state = *rig.state;
        const QString link = QStringLiteral("https://www.youtube.com/playlist?list=PL1");
        YTMusic::Expansion expansion;
        expansion.title = QString();
        expansion.tracks = songs(2);
        rig.catalog->expansions[link] = expansion;
        SearchScreenModel model(&state);
        state.search().submit(link, &state.player());
        QTRY_COMPARE(model.face(), QStringLiteral("done"));
        QVERIFY(model.fromLink());
        QCOMPARE(model.title(), QString());
        QVERIFY(!state.player().current()); // nothing plays until chosen
        model.saveAsPlaylist();
        const Playlist saved = state.library().playlists().constLast();
        QCOMPARE(saved.name, QStringLiteral("New Playlist"));
        QCOMPARE(saved.tracks, songs(2));
        QCOMPARE(saved.sourceURL, std::optional<QString>(link));
        QCOMPARE(state.toastText(), QStringLiteral("Saved “New Playlist”"));
        model.downloadAll();
        QCOMPARE(state.toastText(), QStringLiteral("Tools are still being installed."));
    }
};

QTEST_GUILESS_MAIN(TestSongScreens)
#include "tst_songscreens.moc"
