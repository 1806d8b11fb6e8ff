#include "MusicShellScreen.h"
#include "PlayerRig.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

namespace {
using Kind = Route::Kind;

const QString trendingCall = QStringLiteral("search top music hits this week 20");

void show(MusicShellScreen &screen)
{
    QVERIFY(screen.window);
    screen.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(screen.window));
}

// The item shows: it and every item above it are visible.
bool shown(const QQuickItem *item)
{
    return item && item->isVisible() && item->width() > 0 && item->height() > 0;
}

// Among the items named `name` (a song may have a card on several shelves), one wholly inside
// `window` in scene coordinates.
QQuickItem *inView(QQuickItem *item, const QString &name, const QRectF &window)
{
    if (item->objectName() == name && shown(item) && window.contains(MusicShellScreen::sceneRect(item)))
        return item;
    for (QQuickItem *child : item->childItems()) {
        if (QQuickItem *found = inView(child, name, window))
            return found;
    }
    return nullptr;
}
} // namespace

// Home, Explore and Playlists in the music shell's route view, in a real window.
class TestMusicScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init()
    {
        qputenv("MORVANE_IMAGE_HOST", "http://127.0.0.1:9");
        QmlHarness::failOnWarnings();
    }

    // Each showing of Home ranks the sections once, after the first frame, which shows the sections
    // it had; leaving it ranks nothing.
    void homeRefreshesOncePerShowing()
    {
        MusicShellScreen screen;
        AppState &state = *screen.rig.state;
        state.engine().setHistoryDebounceInterval(3600 * 1000);
        QSignalSpy refreshed(&state.engine(), &RecommendationEngine::sectionsChanged);
        show(screen);
        QVERIFY(shown(screen.item(QStringLiteral("greeting"))));
        QTRY_COMPARE(refreshed.size(), 1); // the window opened on Home
        refreshed.clear();
        // The rankings done when the main thread hears of each frame; a ranking that a frame lets
        // go is queued behind this.
        QList<qsizetype> frames;
        QObject watch;
        connect(
            screen.window, &QQuickWindow::frameSwapped, &watch, [&] { frames.append(refreshed.size()); },
            Qt::QueuedConnection);
        const auto nextFrame = [&] {
            frames.clear();
            screen.window->update(); // also when the route stays
            // Many sanitized windows drawing at once can take seconds over a frame.
            return QTest::qWaitFor([&] { return !frames.isEmpty(); }, 20000);
        };
        for (const Track &track : PlayerRig::tracks(4))
            state.library().toggleLike(track);
        const QList<Kind> trip{Kind::Explore, Kind::Home, Kind::Playlists, Kind::Home, Kind::Home};
        const QList<int> counts{0, 1, 1, 2, 2};
        for (qsizetype step = 0; step < trip.size(); ++step) {
            const qsizetype before = refreshed.size();
            state.setRoute({trip[step], {}});
            QCOMPARE(refreshed.size(), before);
            QVERIFY(nextFrame());
            QCOMPARE(frames.constFirst(), before);
            QTRY_COMPARE(refreshed.size(), counts[step]);
            // Whatever a showing ranks comes before the frame after next.
            QVERIFY(nextFrame());
            QCOMPARE(refreshed.size(), counts[step]);
        }
        // The likes made shelves of songs; a card plays its song.
        const QString name = QStringLiteral("card:") + PlayerRig::track(1).id;
        const QRectF window = MusicShellScreen::sceneRect(screen.item(QStringLiteral("contentArea")));
        QTRY_VERIFY(inView(screen.window->contentItem(), name, window));
        QQuickItem *card = inView(screen.window->contentItem(), name, window);
        screen.click(card);
        QCOMPARE(state.player().current()->id, PlayerRig::track(1).id);
        QTRY_COMPARE(
            card->findChild<QQuickItem *>(QStringLiteral("cardTitle"))->property("color").value<QColor>().name(),
            QStringLiteral("#ff576b")); // the accent
    }

    // The empty Home: its card, and "Play Non-Stop" with nothing to seed from.
    void emptyHome()
    {
        MusicShellScreen screen;
        AppState &state = *screen.rig.state;
        show(screen);
        QTRY_VERIFY(shown(screen.item(QStringLiteral("homeIntro"))));
        QQuickItem *jazz = screen.item(QStringLiteral("genre:Jazz"));
        QVERIFY(shown(jazz));
        screen.click(screen.item(QStringLiteral("playNonStop")));
        QVERIFY(state.player().nonStop());
        QCOMPARE(state.route(), (Route{Kind::Search, {}}));
        QCOMPARE(state.toastText(), QStringLiteral("Search for a song first to seed your station."));
    }

    // A genre tile searches its music on the Search screen; a mood tile starts a station where the
    // user is; a recent search's chip searches again.
    void tiles()
    {
        MusicShellScreen screen(QSize(1280, 1000));
        AppState &state = *screen.rig.state;
        state.library().recordSearch(QStringLiteral("R&B classics"));
        show(screen);
        QTRY_VERIFY(shown(screen.item(QStringLiteral("chip:R&B classics"))));
        screen.click(screen.item(QStringLiteral("chip:R&B classics")));
        QCOMPARE(state.route(), (Route{Kind::Search, {}}));
        QCOMPARE(state.search().submitted(), QStringLiteral("R&B classics"));

        state.setRoute({Kind::Explore, {}});
        QTRY_VERIFY(shown(screen.item(QStringLiteral("mood:Focus"))));
        screen.click(screen.item(QStringLiteral("mood:Focus")));
        QTRY_VERIFY(screen.rig.catalog->calls.contains(QStringLiteral("search Focus music mix 25")));
        QCOMPARE(state.route(), (Route{Kind::Explore, {}}));
        screen.click(screen.item(QStringLiteral("genre:Jazz")));
        QCOMPARE(state.route(), (Route{Kind::Search, {}}));
        QCOMPARE(state.search().submitted(), QStringLiteral("Jazz music"));
    }

    // Trending loads on the first showing only; a failure shows its message and "Retry", an empty
    // answer an empty shelf that stays.
    void trending_data()
    {
        QTest::addColumn<bool>("fails");
        QTest::addColumn<int>("songs");
        QTest::newRow("songs") << false << 3;
        QTest::newRow("none") << false << 0;
        QTest::newRow("failure") << true << 0;
    }
    void trending()
    {
        QFETCH(bool, fails);
        QFETCH(int, songs);
        MusicShellScreen screen;
        AppState &state = *screen.rig.state;
        FakeCatalog &catalog = *screen.rig.catalog;
        const QString key = QStringLiteral("search top music hits this week");
        if (fails)
            catalog.listings[key] = {MusicError{QStringLiteral("The network is down.")}, PlayerRig::tracks(2)};
        else
            catalog.listings[key] = {PlayerRig::tracks(songs)};
        catalog.holding = true;
        show(screen);
        state.setRoute({Kind::Explore, {}});
        QTRY_VERIFY(shown(screen.item(QStringLiteral("genres"))));
        QVERIFY(shown(screen.item(QStringLiteral("trendingLoading"))));
        QTRY_COMPARE(catalog.heldCount(), 1);
        catalog.release();

        QTRY_VERIFY(shown(screen.item(fails ? QStringLiteral("trendingFailed") : QStringLiteral("trending"))));
        QVERIFY(!screen.item(QStringLiteral("trendingLoading"))->isVisible());
        QCOMPARE(state.search().trending().size(), songs);
        state.setRoute({Kind::Home, {}});
        state.setRoute({Kind::Explore, {}});
        QCOMPARE(catalog.calls.count(trendingCall), fails ? 2 : 1);
        if (fails) {
            // Showing the page again retried; "Retry" does the same once that answer is in.
            catalog.release();
            QTRY_VERIFY(shown(screen.item(QStringLiteral("trending"))));
            QCOMPARE(state.search().trending().size(), 2);
        } else {
            QCOMPARE(screen.item(QStringLiteral("trending"))
                         ->findChild<QQuickItem *>(QStringLiteral("shelfItems"))
                         ->property("count")
                         .toInt(),
                     songs);
        }
    }

    // The wheel over a shelf scrolls the page; with Shift it scrolls the shelf sideways, to its end
    // and no further.
    void shelfWheel_data()
    {
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("sideways");
        QTest::newRow("wheel") << Qt::KeyboardModifiers() << false;
        QTest::newRow("shift") << Qt::KeyboardModifiers(Qt::ShiftModifier) << true;
    }
    void shelfWheel()
    {
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, sideways);
        MusicShellScreen screen;
        screen.rig.catalog->listings[trendingCall.chopped(3)] = {PlayerRig::tracks(12)};
        show(screen);
        screen.rig.state->setRoute({Kind::Explore, {}});
        QTRY_VERIFY(shown(screen.item(QStringLiteral("trending"))));
        QQuickItem *shelf =
            screen.item(QStringLiteral("trending"))->findChild<QQuickItem *>(QStringLiteral("shelfItems"));
        QQuickItem *page = screen.item(QStringLiteral("explorePage"));
        QTRY_COMPARE(shelf->property("count").toInt(), 12);
        const QPointF at = MusicShellScreen::sceneRect(shelf).center();
        const auto wheel = [&screen, &at, modifiers](int notches) {
            for (int notch = 0; notch < notches; ++notch) {
                QWheelEvent event(at, screen.window->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, modifiers,
                                  Qt::NoScrollPhase, false);
                QCoreApplication::sendEvent(screen.window, &event);
            }
        };
        wheel(1);
        QTRY_VERIFY(sideways ? shelf->property("contentX").toDouble() > 0 : page->property("contentY").toDouble() > 0);
        QCOMPARE(page->property("contentY").toDouble() > 0, !sideways);
        QCOMPARE(shelf->property("contentX").toDouble() > 0, sideways);
        if (sideways) {
            wheel(40);
            QVERIFY(shelf->property("atXEnd").toBool());
            const double end = shelf->property("contentX").toDouble();
            wheel(1);
            QCOMPARE(shelf->property("contentX").toDouble(), end);
        }
    }

    // A right click on a song card opens the song's menu, whose Play plays the shelf from it.
    void songCardMenu()
    {
        MusicShellScreen screen;
        AppState &state = *screen.rig.state;
        screen.rig.catalog->listings[QStringLiteral("search top music hits this week")] = {PlayerRig::tracks(3)};
        show(screen);
        state.setRoute({Kind::Explore, {}});
        const QString name = QStringLiteral("card:") + PlayerRig::track(1).id;
        QTRY_VERIFY(shown(screen.item(name)));
        QTest::mouseClick(screen.window, Qt::RightButton, {},
                          MusicShellScreen::sceneRect(screen.item(name)).center().toPoint());

        QTRY_VERIFY(shown(screen.item(QStringLiteral("entry:play"))));
        QObject *menu = screen.item(QStringLiteral("entry:play"))->property("menu").value<QObject *>();
        QVERIFY(menu);
        QStringList entries;
        for (int index = 0; index < menu->property("count").toInt(); ++index) {
            QQuickItem *entry = nullptr;
            QMetaObject::invokeMethod(menu, "itemAt", Q_RETURN_ARG(QQuickItem *, entry), Q_ARG(int, index));
            entries.append(entry->objectName().remove(QStringLiteral("entry:")));
        }
        QCOMPARE(entries, QStringLiteral("play radio next queue playlists like download").split(QLatin1Char(' ')));
        QVERIFY(!state.player().current());
        screen.click(screen.item(QStringLiteral("entry:play")));
        QCOMPARE(state.player().current()->id, PlayerRig::track(1).id);
        QCOMPARE(state.player().queue().size(), 3);
        QCOMPARE(state.route(), (Route{Kind::Explore, {}}));
        QTRY_VERIFY(!screen.item(QStringLiteral("entry:play")));
    }

    void retry()
    {
        MusicShellScreen screen;
        AppState &state = *screen.rig.state;
        FakeCatalog &catalog = *screen.rig.catalog;
        catalog.listings[QStringLiteral("search top music hits this week")] = {
            MusicError{QStringLiteral("The network is down.")}, PlayerRig::tracks(2)};
        show(screen);
        state.setRoute({Kind::Explore, {}});
        // Placed after the message once the row is laid out.
        QTRY_VERIFY(shown(screen.item(QStringLiteral("retryTrending"))) &&
                    MusicShellScreen::sceneRect(screen.item(QStringLiteral("retryTrending"))).left() > 300);
        screen.click(screen.item(QStringLiteral("retryTrending")));
        QTRY_VERIFY(shown(screen.item(QStringLiteral("trending"))));
        QCOMPARE(catalog.calls.count(trendingCall), 2);
    }

    // The grid fits as many columns of 164 to 190 points as the width allows; New opens the new
    // playlist; without playlists the empty state shows.
    void playlists_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("columns");
        QTest::newRow("smallest") << QSize(1020, 660) << 4;
        QTest::newRow("wide") << QSize(1600, 1000) << 7;
    }
    void playlists()
    {
        QFETCH(QSize, size);
        QFETCH(int, columns);
        MusicShellScreen screen(size);
        AppState &state = *screen.rig.state;
        show(screen);
        state.setRoute({Kind::Playlists, {}});
        QQuickItem *grid = screen.item(QStringLiteral("playlistGrid"));
        QTRY_VERIFY(shown(grid));
        const qreal cell = grid->property("cellWidth").toReal();
        QVERIFY(cell >= 164 + 18 && cell <= 190 + 18);
        QVERIFY(int((grid->width() - 56 + 18) / cell) == columns);
        QCOMPARE(grid->property("count").toInt(), 3);
        QVERIFY(!screen.item(QStringLiteral("noPlaylists"))->isVisible());

        screen.click(screen.item(QStringLiteral("newPlaylist")));
        QVERIFY(state.namePrompt());
        screen.type(QStringLiteral("Night"));
        QTest::keyClick(screen.window, Qt::Key_Return);
        const Playlist created = state.library().playlists().last();
        QCOMPARE(created.name, QStringLiteral("Night"));
        QCOMPARE(state.route(), Route::playlist(created.id));

        for (const Playlist &playlist : state.library().playlists())
            state.library().deletePlaylist(playlist.id);
        state.setRoute({Kind::Playlists, {}});
        QTRY_VERIFY(shown(screen.item(QStringLiteral("noPlaylists"))));
    }
};

QTEST_MAIN(TestMusicScreens)
#include "tst_musicscreens.moc"
