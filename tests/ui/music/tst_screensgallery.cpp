#include "GalleryPage.h"
#include "MusicShellScreen.h"
#include "PlayerRig.h"
#include "TestHttpServer.h"
#include "TestImages.h"
#include "core/Tool.h"
#include "search/SearchManager.h"

#include <QDir>
#include <QFile>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

namespace {
using Kind = Route::Kind;

const QStringList artists{QStringLiteral("Nova Lane"),   QStringLiteral("The Quiet Hours"),
                          QStringLiteral("Ilse Mar"),    QStringLiteral("Drift Theory"),
                          QStringLiteral("Kofi Asante"), QStringLiteral("Low Tide")};
const QStringList titles{QStringLiteral("Harbour Lights"), QStringLiteral("Paper Moons"),
                         QStringLiteral("Slow Static"),    QStringLiteral("Northbound"),
                         QStringLiteral("Glass Garden"),   QStringLiteral("Late Bloom"),
                         QStringLiteral("Seven Bridges"),  QStringLiteral("Coastline (Live at the Old Mill Sessions)"),
                         QStringLiteral("Copper Sky"),     QStringLiteral("Weightless"),
                         QStringLiteral("Midnight Ferry"), QStringLiteral("Soft Machines")};

// Song n of the gallery: eleven-character id, a title and one of six artists.
Track song(int n)
{
    return Track{QStringLiteral("gallery%1").arg(n, 4, 10, QLatin1Char('0')),
                 titles.value(n % titles.size()),
                 artists.value(n % artists.size()),
                 180.0 + n,
                 std::nullopt,
                 std::nullopt};
}

void played(LibraryStore &library, const Track &track, int daysAgo)
{
    library.registerTracks({track});
    library.record(PlayEvent{track.id, QDateTime::currentDateTimeUtc().addDays(-daysAgo), *track.duration,
                             track.duration, true, false});
}
} // namespace

// Renders Home, Explore and Playlists in the music shell into build/gallery/screens-*.png.
class TestScreensGallery : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;

    // The shell over its fixture library, with pictures from the local server.
    static std::unique_ptr<MusicShellScreen> open(QSize size = {1020, 660})
    {
        auto screen = std::make_unique<MusicShellScreen>(size);
        screen->window->show();
        if (!QTest::qWaitForWindowExposed(screen->window))
            return {};
        return screen;
    }

    // Shows `kind` anew and waits until its pictures are in and its items laid out.
    static void go(MusicShellScreen &screen, Kind kind)
    {
        AppState &state = *screen.rig.state;
        state.setRoute(kind == Kind::Settings ? Route{Kind::Home, {}} : Route{Kind::Settings, {}});
        state.setRoute({kind, {}});
        QTest::qWait(100);
        GalleryPage::settle(state.artwork());
        QTest::qWait(200);
    }

    static void snap(MusicShellScreen &screen, const QString &name)
    {
        GalleryPage::record(screen.window, QStringLiteral("screens-") + name);
    }

    // The pointer over the item named `name` that lies wholly in the content area, or over the first
    // card of a shelf so named (below a heading and a subtitle); then a pause for the hover
    // animation and a tooltip's delay.
    static void hover(MusicShellScreen &screen, const QString &name, bool shelf = false)
    {
        const QRectF area = MusicShellScreen::sceneRect(screen.item(QStringLiteral("contentArea")));
        QQuickItem *item = inView(screen.window->contentItem(), name, area);
        QVERIFY2(item, qPrintable(name));
        const QRectF rect = MusicShellScreen::sceneRect(item);
        const QPoint point = shelf ? QPoint(int(rect.left() + 28 + 82), int(rect.top() + 60 + 82))
                                   : QPoint(int(rect.center().x()), int(rect.top() + 40));
        QTest::mouseMove(screen.window, point);
        QTest::qWait(800);
    }

    static QQuickItem *inView(QQuickItem *item, const QString &name, const QRectF &area)
    {
        if (item->objectName() == name && item->isVisible() && area.contains(MusicShellScreen::sceneRect(item)))
            return item;
        for (QQuickItem *child : item->childItems()) {
            if (QQuickItem *found = inView(child, name, area))
                return found;
        }
        return nullptr;
    }

    static void fill(LibraryStore &library)
    {
        for (int n = 0; n < 12; ++n)
            library.toggleLike(song(n));
        for (int n = 0; n < 18; ++n)
            played(library, song(n), n % 9);
        QList<Track> road;
        for (int n = 3; n < 9; ++n)
            road.append(song(n));
        library.add(road, MusicShellRig::playlistID(1));
        library.add({song(10)}, MusicShellRig::playlistID(2));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QmlHarness::prepareApplication();
        QStringList ids;
        for (int n = 0; n < 20; ++n)
            ids.append(song(n).id);
        TestImages::serveArtwork(m_server, ids);
    }
    void init() { QmlHarness::failOnWarnings(); }

    void home()
    {
        auto screen = open();
        QVERIFY(screen);
        AppState &state = *screen->rig.state;
        state.library().recordSearch(QStringLiteral("R&B classics"));
        state.library().recordSearch(QStringLiteral("lofi beats to study"));
        go(*screen, Kind::Home);
        snap(*screen, QStringLiteral("home-empty"));

        fill(state.library());
        state.player().play(song(1), std::nullopt);
        go(*screen, Kind::Home);
        hover(*screen, QStringLiteral("section:quick"), true);
        snap(*screen, QStringLiteral("home-full"));

        // Discovery runs while the catalogue holds its answers back.
        QDir().mkpath(QFileInfo(Tools::path(Tool::Ytdlp)).path());
        QFile tool(Tools::path(Tool::Ytdlp));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.close();
        tool.setPermissions(tool.permissions() | QFileDevice::ExeOwner);
        screen->rig.catalog->holding = true;
        state.engine().discover();
        QTRY_VERIFY(state.engine().isDiscovering());
        go(*screen, Kind::Home);
        snap(*screen, QStringLiteral("home-discovering"));
        screen->rig.catalog->release();
    }

    void homeWide()
    {
        auto screen = open({1600, 1000});
        QVERIFY(screen);
        fill(screen->rig.state->library());
        go(*screen, Kind::Home);
        hover(*screen, QStringLiteral("section:quick"), true);
        snap(*screen, QStringLiteral("home-wide"));
    }

    void explore()
    {
        auto screen = open();
        QVERIFY(screen);
        FakeCatalog &catalog = *screen->rig.catalog;
        QList<Track> trending;
        for (int n = 0; n < 12; ++n)
            trending.append(song(n));
        catalog.listings[QStringLiteral("search top music hits this week")] = {trending};
        catalog.holding = true;
        go(*screen, Kind::Explore);
        snap(*screen, QStringLiteral("explore-loading"));
        catalog.release();
        QTRY_COMPARE(screen->rig.state->search().trending().size(), 12);
        go(*screen, Kind::Explore);
        hover(*screen, QStringLiteral("trending"), true);
        snap(*screen, QStringLiteral("explore-done"));
    }

    // A song card's menu over the trending shelf.
    void exploreCardMenu()
    {
        auto screen = open();
        QVERIFY(screen);
        QList<Track> trending;
        for (int n = 0; n < 8; ++n)
            trending.append(song(n));
        screen->rig.catalog->listings[QStringLiteral("search top music hits this week")] = {trending};
        go(*screen, Kind::Explore);
        const QRectF area = MusicShellScreen::sceneRect(screen->item(QStringLiteral("contentArea")));
        QQuickItem *card = inView(screen->window->contentItem(), QStringLiteral("card:") + song(1).id, area);
        QVERIFY(card);
        QTest::mouseClick(screen->window, Qt::RightButton, {}, MusicShellScreen::sceneRect(card).center().toPoint());
        QTRY_VERIFY(screen->item(QStringLiteral("entry:download")));
        QTest::qWait(300); // the menu's opening transition
        snap(*screen, QStringLiteral("explore-card-menu"));
    }

    // Text search results: the playlists found on their shelf, then the songs.
    void searchResults()
    {
        auto screen = open();
        QVERIFY(screen);
        AppState &state = *screen->rig.state;
        FakeCatalog &catalog = *screen->rig.catalog;
        QList<Track> found;
        for (int n = 0; n < 10; ++n)
            found.append(song(n));
        const QString list = QStringLiteral("https://www.youtube.com/playlist?list=");
        const auto picture = [this](int n) {
            return QUrl(m_server.base() + QStringLiteral("/vi/%1/mqdefault.jpg").arg(song(n).id));
        };
        catalog.listings[QStringLiteral("search evening jazz")] = {found};
        catalog.playlists[QStringLiteral("evening jazz playlist")] = {
            PlaylistRef{QStringLiteral("PLjazz"), QStringLiteral("Evening Jazz & Soul"), QStringLiteral("Blue Room"),
                        list + QStringLiteral("PLjazz"), picture(3)},
            PlaylistRef{QStringLiteral("PLrain"), QStringLiteral("Rainy Day Jazz for Reading and Long Train Rides"),
                        QStringLiteral("Café Sessions"), list + QStringLiteral("PLrain"), picture(6)},
            PlaylistRef{QStringLiteral("PLlate"), QStringLiteral("Late Night Piano"), QString(),
                        list + QStringLiteral("PLlate"), std::nullopt}};
        state.search().submit(QStringLiteral("evening jazz"), &state.player());
        QTRY_COMPARE(state.search().phase(), SearchManager::SearchPhase::Done);
        state.player().play(found, 2, false);
        go(*screen, Kind::Search);
        hover(*screen, QStringLiteral("card:PLrain"));
        snap(*screen, QStringLiteral("search-results"));
    }

    void exploreFailed()
    {
        auto screen = open({1280, 800});
        QVERIFY(screen);
        screen->rig.catalog->listings[QStringLiteral("search top music hits this week")] = {
            MusicError{QStringLiteral("Couldn’t reach YouTube. Check your internet connection and try again.")}};
        go(*screen, Kind::Explore);
        QTRY_VERIFY(screen->item(QStringLiteral("trendingFailed"))->isVisible());
        hover(*screen, QStringLiteral("mood:Focus"));
        snap(*screen, QStringLiteral("explore-failed"));
    }

    void playlists_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("empty");
        QTest::newRow("narrow") << QSize(1020, 660) << false;
        QTest::newRow("wide") << QSize(1600, 1000) << false;
        QTest::newRow("empty") << QSize(1020, 660) << true;
    }
    void playlists()
    {
        QFETCH(QSize, size);
        QFETCH(bool, empty);
        auto screen = open(size);
        QVERIFY(screen);
        LibraryStore &library = screen->rig.state->library();
        for (int number = 1; number <= 3; ++number)
            library.deletePlaylist(MusicShellRig::playlistID(number));
        if (!empty) {
            for (int n = 0; n < 9; ++n) {
                QList<Track> tracks;
                for (int k = 0; k < n % 4; ++k)
                    tracks.append(song(n + k));
                library.createPlaylist(n == 4 ? QStringLiteral("A playlist with a name long enough to wrap twice")
                                              : titles.value(n + 2) + QStringLiteral(" Mix"),
                                       tracks);
            }
        }
        go(*screen, Kind::Playlists);
        if (!empty)
            hover(*screen, QStringLiteral("card:") + library.playlists().value(1).id.toString(QUuid::WithoutBraces));
        snap(*screen, QStringLiteral("playlists-") + QString::fromLatin1(QTest::currentDataTag()));
    }
};

QTEST_MAIN(TestScreensGallery)
#include "tst_screensgallery.moc"
