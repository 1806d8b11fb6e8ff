#include "GalleryPage.h"
#include "MusicShellScreen.h"
#include "PlayerRig.h"
#include "TestHttpServer.h"
#include "TestImages.h"
#include "TestRecommender.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

namespace {
using Kind = Route::Kind;

QString playlistKey(int number)
{
    return QStringLiteral("sidebar:playlist:") +
           MusicShellRig::playlistID(number).toString(QUuid::WithoutBraces).toUpper();
}

// The prompt's `done` calls, as "<title>: <text>".
struct PromptCalls
{
    NamePrompt prompt(const QString &title, const QString &initial)
    {
        NamePrompt request;
        request.title = title;
        request.initial = initial;
        request.action = QStringLiteral("Create");
        request.done = [this, title](const QString &text) { calls.append(title + QStringLiteral(": ") + text); };
        return request;
    }
    QStringList calls;
};
} // namespace

// The music shell in a real window: its regions' sizes, the sidebar's and the top bar's clicks and
// keys, the route view's screens and the name sheet's keys.
class TestMusicShell : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;

    static void show(MusicShellScreen &screen)
    {
        QVERIFY(screen.window);
        screen.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.window));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QmlHarness::prepareApplication();
        TestImages::serveArtwork(m_server, TestRecommender::ids(PlayerRig::tracks(6)));
    }
    void init() { QmlHarness::failOnWarnings(); }

    void layout_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("smallest") << QSize(1020, 660);
        QTest::newRow("wide") << QSize(1600, 1000);
    }
    void layout()
    {
        QFETCH(QSize, size);
        MusicShellScreen screen(size);
        show(screen);
        AppState &state = *screen.rig.state;
        QCOMPARE(screen.item(QStringLiteral("topBar"))->height(), 52.0);
        QCOMPARE(screen.item(QStringLiteral("sidebar"))->width(), 216.0);
        QCOMPARE(screen.item(QStringLiteral("playerBarSlot"))->height(), 78.0);
        const double field = screen.item(QStringLiteral("searchField"))->width();
        QVERIFY(field <= 520);
        if (size.width() >= 1600)
            QCOMPARE(field, 520.0);
        QQuickItem *content = screen.item(QStringLiteral("contentArea"));
        QCOMPARE(content->width(), size.width() - 217.0);
        QVERIFY(!screen.item(QStringLiteral("queueArea"))->isVisible());
        // The player bar's groups: the song at the leading edge, the tools at the trailing edge,
        // the transport centred between them at any width.
        const QRectF song = MusicShellScreen::sceneRect(screen.item(QStringLiteral("nowPlayingGroup")));
        const QRectF tools = MusicShellScreen::sceneRect(screen.item(QStringLiteral("toolsGroup")));
        const QRectF transport = MusicShellScreen::sceneRect(screen.item(QStringLiteral("transportGroup")));
        QCOMPARE(song.left(), 16.0);
        QCOMPARE(tools.right(), size.width() - 16.0);
        QVERIFY(transport.width() <= 560);
        QVERIFY(qAbs(transport.center().x() - (song.right() + tools.left()) / 2) <= 1);

        state.setShowQueue(true);
        state.setShowNowPlaying(true);
        QTRY_COMPARE(screen.item(QStringLiteral("queueArea"))->width(), 321.0);
        QCOMPARE(screen.item(QStringLiteral("queuePanelSlot"))->width(), 320.0);
        QCOMPARE(screen.item(QStringLiteral("queueDivider"))->width(), 1.0);
        QCOMPARE(content->width(), size.width() - 217.0 - 321.0);
        QCOMPARE(screen.item(QStringLiteral("sidebar"))->width(), 216.0);
        // Now Playing covers the content area and nothing else, the queue panel stays beside it.
        QQuickItem *nowPlaying = screen.item(QStringLiteral("nowPlayingSlot"));
        QTRY_COMPARE(nowPlaying->y(), 0.0);
        QCOMPARE(MusicShellScreen::sceneRect(nowPlaying), MusicShellScreen::sceneRect(content));
        QVERIFY(content->clip());

        state.setShowQueue(false);
        state.setShowNowPlaying(false);
        QTRY_VERIFY(!screen.item(QStringLiteral("queueArea"))->isVisible());
        QTRY_COMPARE(content->width(), size.width() - 217.0);
        QTRY_VERIFY(!nowPlaying->property("active").toBool());

        // Halfway in, the panel's trailing half shows at the window's edge: it slides, not wipes.
        QQuickItem *shell = screen.item(QStringLiteral("topBar"))->parentItem();
        shell->setProperty("queueShown", 0.5);
        QTRY_COMPARE(shell->property("queueShown").toDouble(), 0.5);
        QCOMPARE(MusicShellScreen::sceneRect(screen.item(QStringLiteral("queuePanelSlot"))).right(),
                 size.width() + 0.0);
    }

    // Now Playing at the window's own sizes, with and without the queue panel: the transport and
    // action rows whole inside the content area, the artwork shrunk to fit but never below 160,
    // "Up Next" narrowed, or gone where it cannot fit.
    void nowPlayingFits_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("queue");
        QTest::addColumn<bool>("upNext");
        QTest::newRow("1020x660") << QSize(1020, 660) << false << true;
        QTest::newRow("1020x660-queue") << QSize(1020, 660) << true << false;
        QTest::newRow("1280x800") << QSize(1280, 800) << false << true;
        QTest::newRow("1280x800-queue") << QSize(1280, 800) << true << true;
    }
    void nowPlayingFits()
    {
        QFETCH(QSize, size);
        QFETCH(bool, queue);
        QFETCH(bool, upNext);
        MusicShellScreen screen(size);
        show(screen);
        AppState &state = *screen.rig.state;
        state.player().play(PlayerRig::tracks(6), 0, false);
        state.setShowQueue(queue);
        state.setShowNowPlaying(true);
        QQuickItem *nowPlaying = screen.item(QStringLiteral("nowPlayingSlot"));
        QTRY_COMPARE(nowPlaying->y(), 0.0);
        QTRY_COMPARE(screen.item(QStringLiteral("queueArea"))->width(), queue ? 321.0 : 0.0);
        QQuickItem *content = screen.item(QStringLiteral("contentArea"));
        for (const char *name :
             {"shuffleButton", "previousButton", "playPauseButton", "nextButton", "repeatButton", "likeAction",
              "radioAction", "downloadAction", "nonStopAction", "largeArtworkFrame", "seekSlider"}) {
            auto *part = nowPlaying->findChild<QQuickItem *>(QLatin1String(name));
            QVERIFY2(part && part->isVisible(), name);
            // The view lays itself out again a frame after the panel's last step.
            QTRY_VERIFY2(MusicShellScreen::sceneRect(content).contains(MusicShellScreen::sceneRect(part)), name);
        }
        const QQuickItem *artwork = nowPlaying->findChild<QQuickItem *>(QStringLiteral("largeArtworkFrame"));
        QVERIFY(artwork->width() >= 160 && artwork->width() <= 380);
        const QQuickItem *upNextColumn = nowPlaying->findChild<QQuickItem *>(QStringLiteral("upNextColumn"));
        QCOMPARE(upNextColumn->isVisible(), upNext);
        if (upNext)
            QVERIFY(MusicShellScreen::sceneRect(content).contains(MusicShellScreen::sceneRect(upNextColumn)));
        GalleryPage::settle(state.artwork());
        QTest::qWait(200); // the pictures' fade
        GalleryPage::record(screen.window,
                            QStringLiteral("music-now-playing-") + QLatin1String(QTest::currentDataTag()));
    }

    // The banner floats below the top bar and moves the page down from under it, so the page's
    // title stays in sight; it wraps a long message onto two lines at most and goes with the
    // message, and the page moves back.
    void errorBanner()
    {
        MusicShellScreen screen;
        show(screen);
        screen.rig.state->setRoute({Kind::Downloads, {}});
        QQuickItem *banner = screen.item(QStringLiteral("errorBanner"));
        QQuickItem *text = screen.item(QStringLiteral("errorText"));
        QVERIFY(!banner->isVisible());
        const QRectF content = MusicShellScreen::sceneRect(screen.item(QStringLiteral("contentArea")));
        QTRY_VERIFY(screen.item(QStringLiteral("downloadsHeader")));
        const auto title = [&screen] {
            return MusicShellScreen::sceneRect(screen.item(QStringLiteral("downloadsHeader")));
        };
        QCOMPARE(title().top(), content.top());

        Track broken;
        broken.id = QStringLiteral("fffffffffff");
        broken.title = QString(QStringLiteral("A very long title ")).repeated(20);
        broken.artist = QStringLiteral("Artist");
        screen.rig.catalog->answers.insert(broken.id, MusicError{QStringLiteral("The stream ended early.")});
        screen.rig.state->player().play(broken);
        QTRY_COMPARE(banner->opacity(), 1.0);
        QVERIFY(banner->isVisible());
        QCOMPARE(text->property("lineCount").toInt(), 2);
        QVERIFY(text->property("truncated").toBool());
        QCOMPARE(MusicShellScreen::sceneRect(banner).top(), 62.0);
        QVERIFY(banner->width() <= 640);
        QCOMPARE(MusicShellScreen::sceneRect(screen.item(QStringLiteral("contentArea"))), content);
        QCOMPARE(title().top(), MusicShellScreen::sceneRect(banner).bottom() + 10);
        GalleryPage::record(screen.window, QStringLiteral("music-shell-banner-downloads"));

        screen.rig.state->player().play(
            Track{QStringLiteral("ggggggggggg"), QStringLiteral("Fine"), QStringLiteral("Artist"), {}, {}, {}});
        QTRY_VERIFY(screen.rig.state->player().errorMessage().isEmpty());
        QTRY_VERIFY(!banner->isVisible());
        QCOMPARE(MusicShellScreen::sceneRect(screen.item(QStringLiteral("contentArea"))), content);
        QCOMPARE(title().top(), content.top());
    }

    // Only the clicked one of two same-named playlists is selected; a click closes Now Playing and
    // leaves the queue panel.
    void sidebarClicks()
    {
        MusicShellScreen screen;
        show(screen);
        AppState &state = *screen.rig.state;
        state.setShowQueue(true);
        state.setShowNowPlaying(true);
        QQuickItem *second = screen.item(playlistKey(3));
        QVERIFY(second);
        screen.click(second);
        QCOMPARE(state.route(), Route::playlist(MusicShellRig::playlistID(3)));
        QVERIFY(!state.showNowPlaying());
        QVERIFY(state.showQueue());
        QTRY_VERIFY(second->property("selected").toBool());
        QVERIFY(!screen.item(playlistKey(1))->property("selected").toBool());

        // The screen stays from one playlist to the next; another kind of route builds it anew.
        QObject *loaded = screen.item(QStringLiteral("routeScreen"))->property("item").value<QObject *>();
        QVERIFY(loaded);
        screen.click(screen.item(playlistKey(1)));
        QCOMPARE(screen.item(QStringLiteral("routeScreen"))->property("item").value<QObject *>(), loaded);
        screen.click(screen.item(QStringLiteral("sidebar:liked")));
        QVERIFY(screen.item(QStringLiteral("routeScreen"))->property("item").value<QObject *>() != loaded);
        QCOMPARE(state.route(), (Route{Kind::Liked, {}}));
        QTRY_COMPARE(screen.item(QStringLiteral("listTitle"))->property("text").toString(),
                     QStringLiteral("Liked Songs"));

        // The badge and the playlist rows follow as they change.
        screen.rig.addDownload(QStringLiteral("one"));
        QQuickItem *manager = screen.item(QStringLiteral("sidebar:downloads"));
        QTRY_VERIFY(manager->findChild<QQuickItem *>(QStringLiteral("badge"))->isVisible());
        state.library().renamePlaylist(MusicShellRig::playlistID(2), QStringLiteral("Late"));
        QTRY_COMPARE(screen.item(playlistKey(2))->property("title").toString(), QStringLiteral("Late"));
    }

    // Return searches (or, blank, only shows the Search screen); the clear button shows with text.
    void searchField()
    {
        MusicShellScreen screen;
        show(screen);
        AppState &state = *screen.rig.state;
        QQuickItem *input = screen.item(QStringLiteral("searchInput"));
        QVERIFY(!input->hasActiveFocus());
        QQuickItem *clear = screen.item(QStringLiteral("clearSearch"));
        QVERIFY(!clear->isVisible());

        screen.click(input);
        screen.type(QStringLiteral("   "));
        QVERIFY(clear->isVisible());
        QTest::keyClick(screen.window, Qt::Key_Return);
        QCOMPARE(state.route(), (Route{Kind::Search, {}}));
        QVERIFY(screen.rig.catalog->calls.isEmpty());

        state.setRoute({Kind::Home, {}});
        screen.click(clear);
        QCOMPARE(state.search().query(), QString());
        QVERIFY(!clear->isVisible());
        screen.click(input);
        screen.type(QStringLiteral("lofi"));
        QCOMPARE(state.search().query(), QStringLiteral("lofi"));
        QTest::keyClick(screen.window, Qt::Key_Return);
        QCOMPARE(state.route(), (Route{Kind::Search, {}}));
        QCOMPARE(screen.rig.catalog->calls.filter(QStringLiteral("playlists lofi")).size(), 1);

        state.search().setQuery(QStringLiteral("from elsewhere"));
        QCOMPARE(input->property("text").toString(), QStringLiteral("from elsewhere"));
    }

    void overflowMenu()
    {
        MusicShellScreen screen;
        show(screen);
        AppState &state = *screen.rig.state;
        QObject *menu = screen.window->findChild<QObject *>(QStringLiteral("overflowMenu"));
        QVERIFY(menu);
        const auto entry = [menu](int index) {
            QQuickItem *item = nullptr;
            QMetaObject::invokeMethod(menu, "itemAt", Q_RETURN_ARG(QQuickItem *, item), Q_ARG(int, index));
            return item;
        };
        QStringList entries;
        for (int i = 0; i < menu->property("count").toInt(); ++i)
            entries.append(entry(i)->property("text").toString());
        QCOMPARE(entries, (QStringList{QStringLiteral("Settings"), QStringLiteral("Downloads"), QString(),
                                       QStringLiteral("Tool Diagnostics"), QStringLiteral("Check for Tool Updates")}));

        state.setShowNowPlaying(true);
        screen.click(screen.item(QStringLiteral("overflowMenuButton")));
        QTRY_VERIFY(menu->property("opened").toBool());
        QTRY_VERIFY(entry(3)->y() > entry(1)->y()); // laid out
        // The entries are made by script: they outlive a collection of its heap.
        screen.harness.engine().collectGarbage();
        screen.click(entry(3));
        QCOMPARE(state.route(), (Route{Kind::Settings, {}}));
        QVERIFY(state.showNowPlaying());
    }

    // Return confirms once with the trimmed text; blank text, Escape and Cancel confirm nothing;
    // a confirmation that asks for the next name shows it.
    void namePrompt()
    {
        MusicShellScreen screen;
        show(screen);
        AppState &state = *screen.rig.state;
        PromptCalls prompts;
        state.setNamePrompt(prompts.prompt(QStringLiteral("Rename"), QStringLiteral("Road Songs")));
        QQuickItem *field = screen.item(QStringLiteral("nameField"));
        QTRY_VERIFY(field && field->hasActiveFocus());
        QCOMPARE(field->property("text").toString(), QStringLiteral("Road Songs"));
        QTest::keyClick(screen.window, Qt::Key_A, Qt::ControlModifier);
        screen.type(QStringLiteral("  a b  "));
        QTest::keyClick(screen.window, Qt::Key_Return);
        QCOMPARE(prompts.calls, QStringList{QStringLiteral("Rename: a b")});
        QVERIFY(!state.namePrompt());

        state.setNamePrompt(prompts.prompt(QStringLiteral("New"), QString()));
        QTRY_VERIFY(field->hasActiveFocus());
        screen.type(QStringLiteral("   "));
        QVERIFY(!screen.item(QStringLiteral("commitButton"))->isEnabled());
        QTest::keyClick(screen.window, Qt::Key_Return);
        QVERIFY(state.namePrompt());
        QTest::keyClick(screen.window, Qt::Key_Escape);
        QVERIFY(!state.namePrompt());

        state.setNamePrompt(prompts.prompt(QStringLiteral("New"), QStringLiteral("x")));
        QTRY_VERIFY(screen.item(QStringLiteral("cancelButton"))->isVisible());
        screen.click(screen.item(QStringLiteral("cancelButton")));
        QVERIFY(!state.namePrompt());
        QCOMPARE(prompts.calls.size(), 1);

        NamePrompt first = prompts.prompt(QStringLiteral("First"), QStringLiteral("one"));
        first.done = [&](const QString &text) {
            prompts.calls.append(QStringLiteral("First: ") + text);
            state.setNamePrompt(prompts.prompt(QStringLiteral("Second"), QStringLiteral("two")));
        };
        state.setNamePrompt(first);
        QTRY_VERIFY(screen.item(QStringLiteral("commitButton"))->isVisible());
        screen.click(screen.item(QStringLiteral("commitButton")));
        QCOMPARE(prompts.calls.last(), QStringLiteral("First: one"));
        QVERIFY(state.namePrompt());
        QTRY_COMPARE(screen.item(QStringLiteral("promptTitle"))->property("text").toString(), QStringLiteral("Second"));
        QTRY_VERIFY(field->isVisible());
        QCOMPARE(field->property("text").toString(), QStringLiteral("two"));
        QTRY_VERIFY(field->hasActiveFocus());
        QTest::keyClick(screen.window, Qt::Key_Return);
        QCOMPARE(prompts.calls.last(), QStringLiteral("Second: two"));
        QCOMPARE(prompts.calls.size(), 3);
    }
};

QTEST_MAIN(TestMusicShell)
#include "tst_musicshell.moc"
