#include "GalleryPage.h"
#include "MusicShellScreen.h"
#include "TestHttpServer.h"
#include "TestImages.h"
#include "TestRecommender.h"
#include "core/AppPaths.h"
#include "music/LibraryData.h"
#include "music/LibraryStore.h"
#include "player/PlayerManager.h"
#include "search/SearchManager.h"

#include <QFile>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

// The song rows, their menu and the song screens in the music window: what only the views wire
// (double click, hover, secondary click, drag, the faces), and the gallery's pictures of them.
namespace {
using Kind = Route::Kind;

QList<Track> songs(int count)
{
    QList<Track> tracks;
    for (int n = 1; n <= count; ++n) {
        Track track = TestRecommender::song(n, QStringLiteral("Artist ") + QString::number(n));
        track.duration = n == 2 ? std::optional<double>() : std::optional<double>(150 + 17 * n);
        tracks.append(track);
    }
    return tracks;
}

void like(LibraryStore &library, const QList<Track> &tracks)
{
    library.registerTracks(tracks);
    for (auto track = tracks.crbegin(); track != tracks.crend(); ++track)
        library.toggleLike(*track);
}

// Three playlists found by a search, the first at `link`; none has a thumbnail.
QList<PlaylistRef> playlistsFound(const QString &link)
{
    return {PlaylistRef{QStringLiteral("PLlofi"),
                        QStringLiteral("Lofi Beats to Study & Relax"),
                        QStringLiteral("Chillhop Music"),
                        link,
                        {}},
            PlaylistRef{QStringLiteral("PLrain"),
                        QStringLiteral("Rainy Day Jazz"),
                        QStringLiteral("Café Sessions"),
                        link + QStringLiteral("rain"),
                        {}},
            PlaylistRef{QStringLiteral("PLlate"),
                        QStringLiteral("A playlist whose title runs over two lines"),
                        QString(),
                        link + QStringLiteral("late"),
                        {}}};
}

QStringList ids(const QList<Track> &tracks)
{
    return TestRecommender::ids(tracks);
}

// The songs of playlist `id` as library.json holds them now.
QStringList savedPlaylist(const QUuid &id)
{
    QFile file(AppPaths::support() + QStringLiteral("/library.json"));
    const std::optional<LibraryData> data =
        file.open(QIODevice::ReadOnly) ? LibraryData::fromJson(file.readAll()) : std::nullopt;
    for (const Playlist &playlist : data ? data->playlists : QList<Playlist>()) {
        if (playlist.id == id)
            return ids(playlist.tracks);
    }
    return {};
}

struct Screen : MusicShellScreen
{
    Screen()
    {
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

    QQuickItem *row(int index) const { return item(QStringLiteral("trackRow%1").arg(index)); }
    // Playlist 2 holding `tracks`, shown; its id.
    QUuid showPlaylist(const QList<Track> &tracks) const
    {
        const QUuid id = MusicShellRig::playlistID(2);
        rig.state->library().add(tracks, id);
        rig.state->setRoute(Route::playlist(id));
        return id;
    }
    [[nodiscard]] double scrolled() const { return item(QStringLiteral("songList"))->property("contentY").toDouble(); }
    // Presses at `from` and moves to `to` in ten steps, keeping the button down.
    void dragTo(QPoint from, QPoint to) const
    {
        QTest::mousePress(window, Qt::LeftButton, {}, from);
        for (int step = 1; step <= 10; ++step)
            QTest::mouseMove(window, from + (to - from) * step / 10);
    }
    QPoint centre(const QQuickItem *of) const { return sceneRect(of).center().toPoint(); }
    void hover(const QQuickItem *of) const { QTest::mouseMove(window, centre(of)); }
    // The menu of the row, opened by a secondary click; its entry of `key`.
    QQuickItem *menuEntry(int index, const QString &key) const
    {
        QTest::mouseClick(window, Qt::RightButton, {}, centre(row(index)));
        QQuickItem *entry = nullptr;
        for (int wait = 0; wait < 50 && !(entry = item(QStringLiteral("entry:") + key)); ++wait)
            QTest::qWait(20);
        // A frame lays the menu out around its entries: until then one found may lie outside it.
        window->grabWindow();
        return entry;
    }
    // The picture of the artwork view inside `of` (its first one), once it is drawn.
    static bool pictureShown(const QQuickItem *of)
    {
        const auto *picture = of ? of->findChild<QQuickItem *>(QStringLiteral("artworkPicture")) : nullptr;
        return picture && picture->property("status").toInt() == 1 && picture->opacity() == 1.0 &&
               !picture->property("source").toUrl().isEmpty();
    }
    void save(const QString &name) const
    {
        GalleryPage::settle(rig.state->artwork());
        QTest::qWait(200); // the pictures' fade
        GalleryPage::record(window, QStringLiteral("songs-") + name);
    }
};
} // namespace

class TestSongViews : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;

private Q_SLOTS:
    // Every song of these tests has its picture on the local server.
    void initTestCase()
    {
        QmlHarness::prepareApplication();
        TestImages::serveArtwork(m_server, ids(songs(30)));
    }
    void init() { QmlHarness::failOnWarnings(); }

    // A double click plays the list from the row; the heart shows under the pointer and unlikes;
    // the menu acts on its row's song.
    void rows()
    {
        Screen screen;
        AppState &state = *screen.rig.state;
        LibraryStore &library = state.library();
        const QList<Track> tracks = songs(4);
        library.registerTracks(tracks);
        for (const Track &track : tracks)
            library.record(TestRecommender::play(track.id, 0, 200, true));
        library.toggleLike(tracks[0]);
        state.setRoute(Route{Kind::Recent, {}}); // newest first: the liked song is the last row
        QTRY_VERIFY(screen.row(3));

        QTest::mouseDClick(screen.window, Qt::LeftButton, {}, screen.centre(screen.row(1)));
        QCOMPARE(state.player().current()->id, tracks[2].id);
        QCOMPARE(state.player().queue().size(), 4);

        const auto heart = [&screen](int index) {
            return screen.row(index)->findChild<QQuickItem *>(QStringLiteral("likeButton"));
        };
        screen.hover(screen.row(3));
        QTRY_COMPARE(heart(0)->opacity(), 0.0);
        screen.hover(screen.row(0));
        QTRY_COMPARE(heart(0)->opacity(), 1.0);
        QCOMPARE(heart(3)->opacity(), 1.0); // liked: shown without the pointer

        QQuickItem *queue = screen.menuEntry(2, QStringLiteral("queue"));
        QVERIFY(queue);
        screen.click(queue);
        QCOMPARE(state.toastText(), QStringLiteral("Added to queue"));
        QCOMPARE(state.player().queue().constLast().track.id, tracks[1].id);

        // Unliked from its heart, the song leaves Liked Songs.
        state.setRoute(Route{Kind::Liked, {}});
        QTRY_VERIFY(screen.row(0));
        screen.hover(screen.row(0));
        screen.click(heart(0));
        QTRY_VERIFY(screen.item(QStringLiteral("emptyMessage"))->isVisible());
        QVERIFY(library.likes().isEmpty());
    }

    // Every song list draws the pictures of its rows and of its header's cover, fetched from the
    // server; the cover is the first song's.
    void artwork_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::newRow("liked") << Kind::Liked;
        QTest::newRow("playlist") << Kind::Playlist;
        QTest::newRow("search") << Kind::Search;
    }
    void artwork()
    {
        QFETCH(Kind, kind);
        Screen screen;
        AppState &state = *screen.rig.state;
        const QList<Track> tracks = songs(3);
        const QUuid id = MusicShellRig::playlistID(2);
        if (kind == Kind::Liked)
            like(state.library(), tracks);
        if (kind == Kind::Playlist)
            state.library().add(tracks, id);
        if (kind == Kind::Search)
            screen.rig.catalog->listings[QStringLiteral("search evening")] = {tracks};
        state.setRoute(kind == Kind::Playlist ? Route::playlist(id) : Route{kind, {}});
        if (kind == Kind::Search)
            state.search().submit(QStringLiteral("evening"), &state.player());
        QTRY_VERIFY(screen.row(2));
        for (int row = 0; row < 3; ++row)
            QTRY_VERIFY2(Screen::pictureShown(screen.row(row)), qPrintable(QString::number(row)));
        for (const Track &track : tracks)
            QVERIFY(!m_server.requestsFor(QStringLiteral("/vi/%1/mqdefault.jpg").arg(track.id)).isEmpty());
        if (kind != Kind::Search)
            QTRY_VERIFY(Screen::pictureShown(screen.item(QStringLiteral("listCover"))));
    }

    // The playlist names of the submenu show an "&" as typed; a long one ends in "…" inside the menu.
    void menuNames()
    {
        Screen screen;
        AppState &state = *screen.rig.state;
        state.library().renamePlaylist(MusicShellRig::playlistID(1), QStringLiteral("R&B"));
        state.library().renamePlaylist(MusicShellRig::playlistID(2), QStringLiteral("Long name ").repeated(12));
        like(state.library(), songs(1));
        state.setRoute(Route{Kind::Liked, {}});
        QTRY_VERIFY(screen.row(0));
        QVERIFY(screen.menuEntry(0, QStringLiteral("like")));
        QObject *submenu = screen.window->findChild<QObject *>(QStringLiteral("playlistMenu"));
        QVERIFY(submenu);
        QObject *first = submenu->findChild<QObject *>(QStringLiteral("entry:playlist:0"));
        QVERIFY(first);
        QCOMPARE(first->property("label").toString(), QStringLiteral("R&B"));
        auto *second = submenu->findChild<QQuickItem *>(QStringLiteral("entry:playlist:1"));
        QVERIFY(second);
        const QList<QQuickItem *> texts = second->findChildren<QQuickItem *>();
        QVERIFY(std::any_of(texts.begin(), texts.end(), [second](const QQuickItem *text) {
            return text->property("truncated").toBool() &&
                   text->mapToItem(second, QPointF(text->width(), 0)).x() <= second->width();
        }));
    }

    // In a list that cannot be reordered a drag on a row scrolls the list and moves no song.
    void dragScrollsLiked()
    {
        Screen screen;
        AppState &state = *screen.rig.state;
        const QList<Track> tracks = songs(20);
        like(state.library(), tracks);
        state.setRoute(Route{Kind::Liked, {}});
        QTRY_VERIFY(screen.row(5));
        const QStringList likes = state.library().likes();
        const double before = screen.scrolled();
        const QPoint from = screen.centre(screen.row(5));
        screen.dragTo(from, from - QPoint(0, 200));
        QTest::mouseRelease(screen.window, Qt::LeftButton, {}, from - QPoint(0, 200));
        QTRY_VERIFY(screen.scrolled() > before + 100);
        QCOMPARE(state.library().likes(), likes);
    }

    // The first row held near the bottom edge scrolls the list to its end, follows the pointer,
    // and lands where it is let go; library.json keeps the new order.
    void dragNearTheEdgeScrollsAndDrops()
    {
        Screen screen;
        AppState &state = *screen.rig.state;
        const QList<Track> tracks = songs(20);
        const QUuid id = screen.showPlaylist(tracks);
        QTRY_VERIFY(screen.row(0));
        QQuickItem *list = screen.item(QStringLiteral("songList"));
        const QRectF view = MusicShellScreen::sceneRect(list);
        const QPoint from = screen.centre(screen.row(0));
        const QPoint edge(from.x(), int(view.bottom()) - 20);
        screen.dragTo(from, edge);
        QTRY_VERIFY_WITH_TIMEOUT(list->property("atYEnd").toBool(), 10000);
        QVERIFY(screen.scrolled() > 300);
        // The dragged row is under the pointer.
        QVERIFY(MusicShellScreen::sceneRect(screen.row(0)).contains(edge));

        const QRectF target = MusicShellScreen::sceneRect(screen.row(17));
        const QPoint to(from.x(), int(target.top() + target.height() / 4));
        QTest::mouseMove(screen.window, to);
        QTest::mouseRelease(screen.window, Qt::LeftButton, {}, to);
        QStringList expected = ids(tracks);
        expected.move(0, 16);
        QTRY_COMPARE(ids(state.library().playlist(id)->tracks), expected);
        QTRY_COMPARE(savedPlaylist(id), expected);
    }

    // The last row dragged to the top, and the playlist's own buttons.
    void playlistDetail()
    {
        Screen screen;
        AppState &state = *screen.rig.state;
        const QList<Track> tracks = songs(3);
        const QUuid id = screen.showPlaylist(tracks);
        QTRY_VERIFY(screen.row(2));

        GalleryPage::settle(state.artwork());
        QTest::qWait(200); // the pictures' fade
        const QPoint from = screen.centre(screen.row(2));
        const QPoint to = screen.centre(screen.row(0)) - QPoint(0, 20);
        screen.dragTo(from, to);
        // Drawn solid, the dragged row looks the same over whichever rows it passes, but for text smoothing.
        const auto dragged = [&screen] { return GalleryPage::part(screen.window->grabWindow(), screen.row(2), -8); };
        const QImage over = dragged();
        QTest::mouseMove(screen.window, to + QPoint(0, 26));
        const QImage moved = dragged();
        QCOMPARE(moved.size(), over.size());
        for (int y = 0; y < over.height(); ++y) {
            for (int x = 0; x < over.width(); ++x)
                QVERIFY(qAbs(qGray(moved.pixel(x, y)) - qGray(over.pixel(x, y))) <= 8);
        }
        QTest::mouseMove(screen.window, to);
        QTest::mouseRelease(screen.window, Qt::LeftButton, {}, to);
        QTRY_COMPARE(ids(state.library().playlist(id)->tracks),
                     (QStringList{tracks[2].id, tracks[0].id, tracks[1].id}));

        screen.click(screen.item(QStringLiteral("rename")));
        QVERIFY(state.namePrompt());
        QCOMPARE(state.namePrompt()->initial, QStringLiteral("Evening"));
        state.setNamePrompt(std::nullopt);
        screen.click(screen.item(QStringLiteral("delete")));
        QCOMPARE(state.route().kind, Kind::Playlists);
        QVERIFY(!state.library().playlist(id));
    }

    // The search faces: a recent search searches again; Try again repeats the last.
    void search()
    {
        Screen screen;
        AppState &state = *screen.rig.state;
        state.setRoute(Route{Kind::Search, {}});
        QTRY_VERIFY(screen.item(QStringLiteral("searchHint")));
        state.library().recordSearch(QStringLiteral("Rock & Roll"));
        QTRY_VERIFY(screen.item(QStringLiteral("recent:Rock & Roll")));
        screen.click(screen.item(QStringLiteral("recent:Rock & Roll")));
        QTRY_VERIFY(screen.item(QStringLiteral("tryAgain"))); // nothing found
        const QStringList &calls = screen.rig.catalog->calls;
        const qsizetype before = calls.size();
        screen.click(screen.item(QStringLiteral("tryAgain")));
        QTRY_VERIFY(calls.mid(before).contains(QStringLiteral("search Rock & Roll 25")));
    }

    // A text search shows the playlists it found on a shelf above the songs; a playlist's card
    // expands the playlist right here.
    void searchPlaylists()
    {
        Screen screen;
        AppState &state = *screen.rig.state;
        FakeCatalog &catalog = *screen.rig.catalog;
        const QString link = QStringLiteral("https://www.youtube.com/playlist?list=PLlofi");
        catalog.listings[QStringLiteral("search lofi")] = {songs(3)};
        catalog.playlists[QStringLiteral("lofi playlist")] = playlistsFound(link);
        catalog.expansions[link] = YTMusic::Expansion{QStringLiteral("Lofi Girl Radio"), songs(4)};
        state.setRoute(Route{Kind::Search, {}});
        state.search().submit(QStringLiteral("lofi"), &state.player());
        QTRY_VERIFY(screen.row(2));
        QQuickItem *shelf = screen.item(QStringLiteral("playlistShelf"));
        QVERIFY(shelf->isVisible());
        QCOMPARE(shelf->findChild<QQuickItem *>(QStringLiteral("shelfItems"))->property("count").toInt(), 3);
        // Above the first song.
        QVERIFY(MusicShellScreen::sceneRect(shelf).bottom() <= MusicShellScreen::sceneRect(screen.row(0)).top());

        screen.click(screen.item(QStringLiteral("card:PLlofi")));
        QVERIFY(catalog.calls.contains(QStringLiteral("expand ") + link + QStringLiteral(" 200")));
        QTRY_VERIFY(screen.row(3));
        QCOMPARE(screen.item(QStringLiteral("resultsTitle"))->property("text").toString(),
                 QStringLiteral("Lofi Girl Radio"));
        QVERIFY(!screen.item(QStringLiteral("playlistShelf"))->isVisible());
        QCOMPARE(state.route(), (Route{Kind::Search, {}}));
        QVERIFY(!state.player().current()); // a playlist waits to be chosen
    }

    void gallery()
    {
        Screen screen;
        AppState &state = *screen.rig.state;
        LibraryStore &library = state.library();
        SearchManager &search = state.search();
        FakeCatalog &catalog = *screen.rig.catalog;
        const QList<Track> tracks = songs(12);

        state.setRoute(Route{Kind::Search, {}});
        QTRY_VERIFY(screen.item(QStringLiteral("searchHint")));
        screen.save(QStringLiteral("search-hint"));
        for (const char *text : {"lofi beats", "Rock & Roll", "jazz piano", "https://www.youtube.com/watch?v=x"})
            library.recordSearch(QString::fromLatin1(text));
        QTRY_VERIFY(screen.item(QStringLiteral("clearRecents")));
        screen.save(QStringLiteral("search-recents"));

        catalog.holding = true;
        search.submit(QStringLiteral("evening jazz"), &state.player());
        QTRY_VERIFY(screen.item(QStringLiteral("loadingFace")));
        screen.save(QStringLiteral("search-loading"));
        catalog.release();
        catalog.holding = false;
        QTRY_VERIFY(screen.item(QStringLiteral("failedFace")));
        screen.save(QStringLiteral("search-failed"));

        const QString link = QStringLiteral("https://www.youtube.com/playlist?list=PL2");
        catalog.expansions[link] = YTMusic::Expansion{QStringLiteral("Evening Jazz Classics"), tracks};
        search.submit(link, &state.player());
        QTRY_VERIFY(screen.row(5));
        library.toggleLike(tracks[1]);
        const QString file = screen.rig.env.root() + QStringLiteral("/song.m4a");
        QFile(file).open(QIODevice::WriteOnly);
        library.recordDownload(tracks[2].id, file);
        state.player().play(tracks, 3, false);
        screen.hover(screen.row(1));
        QTRY_COMPARE(screen.row(1)->findChild<QQuickItem *>(QStringLiteral("likeButton"))->opacity(), 1.0);
        screen.save(QStringLiteral("search-link-results"));
        state.player().togglePlay();
        QVERIFY(screen.menuEntry(4, QStringLiteral("like")));
        screen.save(QStringLiteral("row-menu-paused"));
        screen.click(screen.item(QStringLiteral("entry:playlists")));
        QObject *submenu = screen.window->findChild<QObject *>(QStringLiteral("playlistMenu"));
        QTRY_VERIFY(submenu->property("opened").toBool());
        screen.save(QStringLiteral("row-submenu"));
        QTest::keyClick(screen.window, Qt::Key_Escape);
        QTest::keyClick(screen.window, Qt::Key_Escape);

        like(library, tracks.mid(2, 6));
        state.setRoute(Route{Kind::Liked, {}});
        QTRY_VERIFY(screen.row(6));
        screen.save(QStringLiteral("liked"));
        state.setRoute(Route{Kind::Recent, {}});
        QTRY_VERIFY(screen.item(QStringLiteral("emptyMessage")));
        screen.save(QStringLiteral("recent-empty"));
        state.setRoute(Route{Kind::LibraryDownloads, {}});
        QTRY_VERIFY(screen.row(0));
        screen.save(QStringLiteral("downloaded"));

        const Playlist imported = library.createPlaylist(QStringLiteral("Evening Jazz Classics"), tracks, link);
        state.setRoute(Route::playlist(imported.id));
        QTRY_VERIFY(screen.item(QStringLiteral("rename")));
        screen.save(QStringLiteral("playlist-imported"));
        library.deletePlaylist(imported.id);
        QTRY_VERIFY(screen.item(QStringLiteral("playlistNotFound"))->isVisible());
        screen.save(QStringLiteral("playlist-not-found"));
    }
};

QTEST_MAIN(TestSongViews)
#include "tst_songviews.moc"
