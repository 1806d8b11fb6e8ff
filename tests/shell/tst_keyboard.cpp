#include "FakeCatalog.h"
#include "FakeYtDlp.h"
#include "PlayerRig.h"
#include "QmlHarness.h"
#include "TestApp.h"
#include "TestRequests.h"
#include "core/Json.h"
#include "core/SettingsStore.h"
#include "engine/DownloadTask.h"
#include "shell/QuitDialog.h"
#include "ui/downloader/HistoryViewModel.h"
#include "ui/root/CommandController.h"

#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>
#include <QQuickItem>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

namespace {
QString focused(QQuickWindow *window)
{
    const QQuickItem *item = window->activeFocusItem();
    return item ? item->objectName() : QString();
}

// Presses Tab (Shift+Tab with `back`) until the keyboard is on an item whose name starts with
// `name`; the names passed on the way when it never gets there.
QStringList tabTo(QQuickWindow *window, const QString &name, bool back = false)
{
    QStringList passed;
    for (int press = 0; press < 60; ++press) {
        QTest::keyClick(window, back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
        if (focused(window).startsWith(name))
            return {};
        passed.append(window->activeFocusItem()
                          ? QString::fromLatin1(window->activeFocusItem()->metaObject()->className()) +
                                QLatin1Char(':') + focused(window)
                          : QStringLiteral("nothing"));
    }
    return passed;
}

// The accent outline on `item` is shown.
bool ringShown(const QQuickItem *item)
{
    for (const QQuickItem *child : item->findChildren<QQuickItem *>()) {
        if (QString::fromLatin1(child->metaObject()->className()).startsWith(QLatin1String("FocusRing")))
            return child->isVisible();
    }
    return false;
}

// What a screen reader reads for the control with the keyboard (offscreen, with no bridge to one, its
// object name); empty when the keyboard is on the window, a panel or anything else that is not a
// shown Tab stop.
QString controlName(QQuickWindow *window)
{
    QQuickItem *item = window->activeFocusItem();
    if (!item || !item->isVisible() || !item->activeFocusOnTab())
        return {};
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(item);
    return face ? face->text(QAccessible::Name) : item->objectName();
}

// The shown item named `name` in the window's scene (list rows are no QObject children).
QQuickItem *shownIn(QQuickItem *item, const QString &name)
{
    if (!item->isVisible())
        return nullptr;
    if (item->objectName() == name)
        return item;
    for (QQuickItem *child : item->childItems()) {
        if (QQuickItem *found = shownIn(child, name))
            return found;
    }
    return nullptr;
}

QQuickItem *shown(QQuickWindow *window, const char *name)
{
    return shownIn(window->contentItem(), QLatin1String(name));
}

// The names a screen reader reads for the item with the keyboard and those Tab (or `key`) goes on to.
QStringList reached(QWindow *window, int key = Qt::Key_Tab)
{
    QStringList names;
    QList<QQuickItem *> seen;
    for (QQuickItem *item; (item = qobject_cast<QQuickWindow *>(window)->activeFocusItem()) && !seen.contains(item);
         QTest::keyClick(window, Qt::Key(key))) {
        seen.append(item);
        // A spin box's keyboard is in its text, which its box names.
        for (QQuickItem *named : {item, item->parentItem()}) {
            if (QAccessibleInterface *face = named ? QAccessible::queryAccessibleInterface(named) : nullptr)
                names.append(face->text(QAccessible::Name));
        }
    }
    return names;
}

// The application with three search results for "lofi" and a playlist of two songs, its window
// active, its shell shown.
struct KeyboardApp
{
    KeyboardApp()
    {
        if (!test.app.start() || !test.finishSetup())
            return;
        auto &catalog = static_cast<FakeCatalog &>(test.app.state().catalog());
        catalog.listings.insert(QStringLiteral("search lofi"),
                                {QList<Track>{PlayerRig::track(1), PlayerRig::track(2), PlayerRig::track(3)}});
        playlist = test.app.state().library().createPlaylist(QStringLiteral("Road Songs"),
                                                             {PlayerRig::track(4), PlayerRig::track(5)});
        window = test.window();
        window->show();
        window->requestActivate();
        ready = QTest::qWaitForWindowActive(window);
    }

    TestApp test;
    Playlist playlist;
    QQuickWindow *window = nullptr;
    bool ready = false;
};
// The menu named `name`, or the one its loader holds, is open.
bool menuOpen(QQuickWindow *window, const char *name)
{
    QObject *menu = window->findChild<QObject *>(QLatin1String(name));
    if (menu && menu->property("item").isValid())
        menu = menu->property("item").value<QObject *>();
    return menu && menu->property("opened").toBool();
}

// Two paused tasks, "First" and "Second", and two finished downloads, the newest a failed one.
void fillDownloads(KeyboardApp &app)
{
    AppState &state = app.test.app.state();
    const QString folder = app.test.env.root() + QStringLiteral("/Downloads");
    for (const QString &title : {QStringLiteral("First"), QStringLiteral("Second")}) {
        DownloadOptions options = TestRequests::defaultRequest(QStringLiteral("http://127.0.0.1:9/") + title, folder);
        options.title = title;
        state.downloads().pause(state.downloads().enqueue(options));
    }
    for (const QString &name : {QStringLiteral("walk"), QStringLiteral("talk")}) {
        DownloadTask task(TestRequests::defaultRequest(QStringLiteral("https://media.test/") + name, folder));
        task.setStatus(name == u"talk" ? TaskStatus::Failed : TaskStatus::Completed);
        state.history().record(task);
    }
}
} // namespace

// The music window with the keyboard alone, and as a screen reader reads it over AT-SPI.
class TestKeyboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    // From start: a search, a song of its results played, its menu, a playlist opened from
    // Playlists, the volume, and Now Playing opened and closed.
    void keyboardOnly()
    {
        KeyboardApp app;
        QVERIFY(app.ready);
        AppState &state = app.test.app.state();
        QQuickWindow *window = app.window;

        QCOMPARE(tabTo(window, QStringLiteral("searchInput")), QStringList());
        for (const char key : {'l', 'o', 'f', 'i'})
            QTest::keyClick(window, key);
        QTest::keyClick(window, Qt::Key_Return);
        QCOMPARE(state.route(), (Route{Route::Kind::Search, {}}));
        QTRY_VERIFY(shown(window, "trackRow2"));
        QCOMPARE(tabTo(window, QStringLiteral("trackRow")), QStringList());
        QCOMPARE(focused(window), QStringLiteral("trackRow0"));
        QTest::keyClick(window, Qt::Key_Down);
        QCOMPARE(focused(window), QStringLiteral("trackRow1"));
        QVERIFY(ringShown(window->activeFocusItem()));
        QTest::keyClick(window, Qt::Key_Return);
        QTRY_VERIFY(state.player().current());
        QCOMPARE(state.player().current()->id, PlayerRig::track(2).id);
        QCOMPARE(state.player().queue().size(), 3);

        // The menu opens at the row, the keyboard in it; Escape gives the keyboard back to the row.
        QTest::keyClick(window, Qt::Key_Menu);
        QQuickItem *row = window->activeFocusItem();
        QObject *menu = window->findChild<QObject *>(QStringLiteral("trackMenu"));
        QVERIFY(menu);
        QTRY_VERIFY(menu->property("opened").toBool());
        const double rowBottom = row->mapToScene(QPointF(0, row->height())).y();
        const double menuTop =
            menu->property("parent").value<QQuickItem *>()->mapToScene(QPointF(0, menu->property("y").toReal())).y();
        // Below the row, or above it where the window ends too soon.
        const double menuBottom = menuTop + menu->property("height").toReal();
        QVERIFY2(qAbs(menuTop - rowBottom) < 40 || qAbs(menuBottom - rowBottom) < 40,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(menuTop).arg(menuBottom).arg(rowBottom)));
        QTest::keyClick(window, Qt::Key_Escape);
        QTRY_VERIFY(!window->findChild<QObject *>(QStringLiteral("trackMenu")));
        QCOMPARE(focused(window), QStringLiteral("trackRow1"));

        // "New Playlist…" of the menu's playlists leaves the keyboard in the name sheet's field; Tab
        // goes on to Cancel and Create; Escape, or Create, gives the keyboard back to the row.
        const auto newPlaylist = [window] {
            QTest::keyClick(window, Qt::Key_Menu);
            QTRY_VERIFY(window->findChild<QObject *>(QStringLiteral("trackMenu")));
            for (const char *entry : {"entry:playlists", "entry:newPlaylist"}) {
                for (int down = 0; down < 12 && focused(window) != QLatin1String(entry); ++down)
                    QTest::keyClick(window, Qt::Key_Down);
                QCOMPARE(focused(window), QLatin1String(entry));
                QTest::keyClick(window, Qt::Key_Right);
            }
            QTest::keyClick(window, Qt::Key_Return);
            QTRY_COMPARE(focused(window), QStringLiteral("nameField"));
        };
        newPlaylist();
        QTest::keyClick(window, Qt::Key_Escape);
        QTRY_COMPARE(focused(window), QStringLiteral("trackRow1"));
        newPlaylist();
        for (const char key : {'M', 'i', 'x'})
            QTest::keyClick(window, key);
        QStringList stops;
        for (int press = 0; press < 3; ++press) {
            QTest::keyClick(window, Qt::Key_Tab);
            stops.append(focused(window));
        }
        QCOMPARE(stops, (QStringList{QStringLiteral("cancelButton"), QStringLiteral("commitButton"),
                                     QStringLiteral("nameField")}));
        QCOMPARE(tabTo(window, QStringLiteral("commitButton")), QStringList());
        QTest::keyClick(window, Qt::Key_Return);
        QTRY_COMPARE(state.library().playlists().size(), 2);
        QTRY_COMPARE(focused(window), QStringLiteral("trackRow1"));
        QVERIFY(ringShown(window->activeFocusItem()));

        // The sidebar takes the keyboard on the route's entry; the arrows pass its headers.
        QCOMPARE(tabTo(window, QStringLiteral("sidebar:"), true), QStringList());
        QCOMPARE(focused(window), QStringLiteral("sidebar:search"));
        for (int down = 0; down < 4; ++down)
            QTest::keyClick(window, Qt::Key_Down);
        QCOMPARE(focused(window), QStringLiteral("sidebar:playlists"));
        QTest::keyClick(window, Qt::Key_Space);
        QCOMPARE(state.route(), (Route{Route::Kind::Playlists, {}}));
        QTRY_VERIFY(shown(window, "playlistGrid"));
        QCOMPARE(tabTo(window, QStringLiteral("card:")), QStringList());
        QTest::keyClick(window, Qt::Key_Return);
        QCOMPARE(state.route(), Route::playlist(app.playlist.id));
        // The page shown takes the keyboard on its first control.
        QTRY_COMPARE(focused(window), QStringLiteral("play"));

        const double volume = state.player().volume();
        QCOMPARE(tabTo(window, QStringLiteral("volumeSlider")), QStringList());
        QTest::keyClick(window, Qt::Key_Left);
        QTest::keyClick(window, Qt::Key_Left);
        QCOMPARE(qRound(state.player().volume() * 100), qRound(volume * 100) - 10);

        QCOMPARE(tabTo(window, QStringLiteral("nowPlayingGroup"), true), QStringList());
        QTest::keyClick(window, Qt::Key_Return);
        QVERIFY(state.showNowPlaying());
        QTRY_VERIFY(shown(window, "upNextList"));
        // Now Playing takes the keyboard on its close button; Escape gives it back to what opened it.
        QCOMPARE(focused(window), QStringLiteral("closeButton"));
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!state.showNowPlaying());
        QTRY_COMPARE(focused(window), QStringLiteral("nowPlayingGroup"));

        // Go ▸ Search selects the old query, so that typing replaces it.
        QTest::keySequence(window, QKeySequence(Qt::CTRL | Qt::Key_2));
        QCOMPARE(focused(window), QStringLiteral("searchInput"));
        QCOMPARE(window->activeFocusItem()->property("selectedText").toString(), QStringLiteral("lofi"));

        // The top bar's menus closed by Escape give the keyboard back to their buttons.
        for (const QString &button : {QStringLiteral("outputPicker"), QStringLiteral("overflowMenuButton")}) {
            QCOMPARE(tabTo(window, button), QStringList());
            QTest::keyClick(window, Qt::Key_Return);
            QTRY_VERIFY(!window->activeFocusItem() || !window->activeFocusItem()->activeFocusOnTab());
            QTest::keyClick(window, Qt::Key_Escape);
            QTRY_COMPARE(focused(window), button);
        }

        // A genre tile opens its search, whose page leaves the keyboard on a control.
        state.setRoute({Route::Kind::Home, {}});
        QTRY_VERIFY(shown(window, "searchForMusic"));
        QCOMPARE(tabTo(window, QStringLiteral("genre:")), QStringList());
        QTest::keyClick(window, Qt::Key_Return);
        QVERIFY(state.route().kind == Route::Kind::Search);
        QTRY_VERIFY(!controlName(window).isEmpty());

        // A menu of the menu bar closed by Escape opens again with one click on its title.
        QObject *fileMenu = window->findChild<QObject *>(QStringLiteral("fileMenu"));
        QQuickItem *fileTitle = nullptr;
        for (QQuickItem *candidate : window->findChildren<QQuickItem *>())
            fileTitle = candidate->property("menu").value<QObject *>() == fileMenu ? candidate : fileTitle;
        QVERIFY(fileTitle);
        const QPoint title = fileTitle->mapToScene(QPointF(fileTitle->width() / 2, fileTitle->height() / 2)).toPoint();
        QTest::mouseMove(window, title);
        for (int round = 0; round < 2; ++round) {
            QTest::mouseClick(window, Qt::LeftButton, {}, title);
            QTRY_VERIFY(fileMenu->property("opened").toBool());
            QTest::keyClick(window, Qt::Key_Escape);
            QTRY_VERIFY(!fileMenu->property("visible").toBool());
        }
        // Read in their drawn order (a screen reader meets a list's items in the order of its children),
        // in their own words.
        QVERIFY(QMetaObject::invokeMethod(fileMenu, "open"));
        QTRY_VERIFY(fileMenu->property("opened").toBool());
        QStringList entries;
        const auto *list = fileMenu->property("contentItem").value<QQuickItem *>();
        for (QQuickItem *entry : list->property("contentItem").value<QQuickItem *>()->childItems()) {
            if (!entry->inherits("QQuickMenuItem"))
                continue;
            // Offscreen, with no bridge to a screen reader, the label as drawn.
            const QAccessibleInterface *face = QAccessible::queryAccessibleInterface(entry);
            entries.append(face ? face->text(QAccessible::Name) : entry->property("shownText").toString());
        }
        QCOMPARE(entries.mid(0, 4), (QStringList{QStringLiteral("New Download"), QStringLiteral("Paste Link & Fetch"),
                                                 QStringLiteral("Mini Player"), QStringLiteral("Settings…")}));
        QTest::keyClick(window, Qt::Key_Escape);

        // The downloader: the segments one stop whose arrows switch; the task rows one stop, a row's
        // menu; the history rows, their selection, menu and log.
        fillDownloads(app);
        auto *history = app.test.model<HistoryViewModel>("history");
        state.setRoute({Route::Kind::Downloads, {}});
        QTRY_VERIFY(shown(window, "taskRow1"));
        QCOMPARE(tabTo(window, QStringLiteral("segments")), QStringList());
        QCOMPARE(tabTo(window, QStringLiteral("taskRow")), QStringList());
        QTest::keyClick(window, Qt::Key_Down);
        QCOMPARE(tabTo(window, QStringLiteral("searchInput")).filter(QStringLiteral("taskRow")), QStringList());
        QCOMPARE(tabTo(window, QStringLiteral("taskRow1"), true), QStringList());
        QTest::keyClick(window, Qt::Key_Menu);
        QTRY_VERIFY(menuOpen(window, "taskMenu"));
        QTest::keySequence(window, QKeySequence(QStringLiteral("Down, Return")));
        QCOMPARE(state.downloads().tasks().first()->options().title, QStringLiteral("Second"));
        QCOMPARE(tabTo(window, QStringLiteral("segments"), true), QStringList());
        QTest::keyClick(window, Qt::Key_Right);
        QTRY_VERIFY(shown(window, "historyRow1"));
        QCOMPARE(tabTo(window, QStringLiteral("historyRow")), QStringList());
        QTest::keySequence(window, QKeySequence(QStringLiteral("Space, Down, Shift+Space")));
        QCOMPARE(history->selectedCount(), 2);
        QTest::keySequence(window, QKeySequence(QStringLiteral("Ctrl+Space")));
        QCOMPARE(history->selectedCount(), 1);
        QTest::keySequence(window, QKeySequence(QStringLiteral("Up, Shift+F10")));
        QTRY_VERIFY(menuOpen(window, "historyMenu"));
        QTest::keySequence(window, QKeySequence(QStringLiteral("Down, Down, Return")));
        QTRY_COMPARE(focused(window), QStringLiteral("historyRow0"));
        QTest::keyClick(window, Qt::Key_Return);
        QCOMPARE(history->logTask(), Json::uuidText(state.history().items().first().id));
        QTest::keyClick(window, Qt::Key_Escape);
        QTRY_COMPARE(focused(window), QStringLiteral("historyRow0"));

        // Remove Selected takes itself out of reach; "Clear all history?" left by Escape or by Return on
        // Cancel, its default.
        QTest::keyClick(window, Qt::Key_Space);
        QCOMPARE(tabTo(window, QStringLiteral("removeSelected"), true), QStringList());
        QTest::keyClick(window, Qt::Key_Return);
        QCOMPARE(state.history().items().size(), 1);
        QTRY_VERIFY(!controlName(window).isEmpty());
        for (const char *leave : {"Escape", "Return"}) {
            QCOMPARE(tabTo(window, QStringLiteral("clearHistory")), QStringList());
            QTest::keyClick(window, Qt::Key_Return);
            QTRY_VERIFY(menuOpen(window, "clearDialog"));
            QTest::keySequence(window, QKeySequence(QString::fromLatin1(leave)));
            QTRY_COMPARE(focused(window), QStringLiteral("clearHistory"));
        }
        QCOMPARE(state.history().items().size(), 1);

        // Right onto "From Link" leaves the keyboard on the segments, which stay the same objects; Tab
        // goes on to the link field. The form added to the queue gives the keyboard back to the field.
        QCOMPARE(tabTo(window, QStringLiteral("segments"), true), QStringList());
        QQuickItem *fromLink = shown(window, "segment2");
        QTest::keyClick(window, Qt::Key_Right);
        QTRY_VERIFY(shown(window, "linkField"));
        QCOMPARE(focused(window), QStringLiteral("segments"));
        QCOMPARE(shown(window, "segment2"), fromLink);
        QVERIFY(fromLink->property("lit").toBool());
        QTest::keyClick(window, Qt::Key_Tab);
        QCOMPARE(focused(window), QStringLiteral("linkField"));
        QFile video(QStringLiteral(MORVANE_TEST_DATA_DIR "/downloadform/video.json"));
        QVERIFY(video.open(QIODevice::ReadOnly));
        FakeYtDlp(app.test.env).answer(video.readAll());
        for (const char key : QByteArrayLiteral("https://media.test/video"))
            QTest::keyClick(window, key);
        QTest::keyClick(window, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(shown(window, "enqueueButton"), 30000);
        QCOMPARE(tabTo(window, QStringLiteral("enqueueButton")), QStringList());
        QTest::keyClick(window, Qt::Key_Return);
        QCOMPARE(state.downloads().tasks().size(), 3);
        QTRY_COMPARE(focused(window), QStringLiteral("linkField"));

        // The quit dialog, opened twice, has Quit with its ring each time; Escape gives the keyboard back.
        QuitDialog quit(app.test.app.shell());
        for (int opening = 0; opening < 2; ++opening) {
            if (QGuiApplication::platformName() == QLatin1String("offscreen"))
                QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
            quit.ask();
            QTRY_COMPARE(focused(window), QStringLiteral("confirmQuit"));
            QVERIFY(window->activeFocusItem()->property("visualFocus").toBool());
            QTest::keyClick(window, opening ? Qt::Key_Escape : Qt::Key_Tab);
            if (!opening)
                QTest::keyClick(window, Qt::Key_Escape);
            QTRY_COMPARE(focused(window), QStringLiteral("linkField"));
        }
    }

    // Tab from the sidebar through the page to the player bar, twice: the same stops both times, in
    // the order they are drawn (a list's buttons before its rows, a page's footer after its
    // shelves), and under Now Playing none of the page's.
    void tabOrder_data()
    {
        QTest::addColumn<QString>("stops");
        QTest::newRow("home") << "playNonStop card: genre: searchForMusic";
        QTest::newRow("search") << "play shuffle startRadio trackRow0";
        QTest::newRow("playlists") << "newPlaylist importPlaylist card:";
        QTest::newRow("playlists, none") << "newPlaylist importPlaylist";
        QTest::newRow("playlist") << "play shuffle download rename delete trackRow0";
        QTest::newRow("nowPlaying") << "closeButton shuffleButton repeatButton nonStopAction";
    }
    void tabOrder()
    {
        const QString screen = QString::fromLatin1(QTest::currentDataTag());
        QFETCH(QString, stops);
        KeyboardApp app;
        QVERIFY(app.ready);
        AppState &state = app.test.app.state();
        QQuickWindow *window = app.window;
        QTRY_VERIFY(shown(window, "searchForMusic"));
        if (screen == QLatin1String("search")) {
            state.setRoute({Route::Kind::Search, {}});
            state.search().submit(QStringLiteral("lofi"), &state.player());
            QTRY_VERIFY(shown(window, "trackRow2"));
        } else if (screen.startsWith(QLatin1String("playlists"))) {
            if (screen.endsWith(QLatin1String("none")))
                state.library().deletePlaylist(app.playlist.id);
            state.setRoute({Route::Kind::Playlists, {}});
            QTRY_VERIFY(shown(window, "playlistGrid"));
        } else if (screen != QLatin1String("home")) {
            state.setRoute(Route::playlist(app.playlist.id));
            QTRY_VERIFY(shown(window, "trackRow1"));
            state.setShowNowPlaying(screen == QLatin1String("nowPlaying"));
            QTRY_COMPARE(!shown(window, "trackRow1"), state.showNowPlaying());
        }
        for (int pass = 0; pass < 2; ++pass) {
            {
                const QStringList p = tabTo(window, QStringLiteral("sidebar:"));
                QVERIFY2(p.isEmpty(), qPrintable(p.join(u" ")));
            }
            QStringList passed;
            for (QTest::keyClick(window, Qt::Key_Tab);
                 focused(window) != QLatin1String("nowPlayingGroup") && passed.size() < 20;
                 QTest::keyClick(window, Qt::Key_Tab))
                passed.append(focused(window));
            QCOMPARE(passed.join(u' ').replace(QRegularExpression(QStringLiteral(":\\S+")), QStringLiteral(":")),
                     stops);
        }
    }

    // No shown button, slider, field or row without a name, and no menu with its mnemonic mark, on
    // Home, search results, a playlist, Now Playing, and the downloader with its menus.
    void accessibilityTree()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("the AT-SPI bridge is the X11 platform's");
        // The test's bus starts no installed service: the accessibility bus is started here, and the
        // application, watching for it, joins it.
        QProcess bus;
        bus.start(QStringLiteral("/usr/libexec/at-spi-bus-launcher"), {QStringLiteral("--launch-immediately")});
        QVERIFY(bus.waitForStarted());
        QTRY_VERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("org.a11y.Bus")));
        const auto stopBus = qScopeGuard([&bus] {
            bus.terminate();
            bus.waitForFinished();
        });
        KeyboardApp app;
        QVERIFY(app.ready);
        AppState &state = app.test.app.state();
        state.player().play(QList<Track>{PlayerRig::track(6), PlayerRig::track(7)}, 0, false);
        QTRY_VERIFY(state.player().current());

        // With a window's title, each shown control of that window must also be among `reach`.
        const auto check = [&](const char *screen, int least, const char *window = nullptr,
                               const QStringList &reach = {}) {
            QProcess walk;
            walk.start(QStringLiteral(MORVANE_TEST_DATA_DIR "/../shell/atspi-unnamed"),
                       QStringList{QString::number(QCoreApplication::applicationPid())} +
                           (window ? QStringList{QString::fromUtf8(window)} : QStringList()));
            // The walk asks this process over the bus: its events must go on being served.
            QVERIFY2(QTest::qWaitFor([&] { return walk.state() == QProcess::NotRunning; }, 120000), screen);
            const QStringList lines = QString::fromUtf8(walk.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
            QVERIFY2(walk.exitCode() == 0 && !lines.isEmpty(),
                     qPrintable(lines.join(u'\n') + QString::fromUtf8(walk.readAllStandardError())));
            QVERIFY2(lines.first().section(u' ', 1).toInt() >= least,
                     qPrintable(QString::fromLatin1(screen) + lines.first()));
            QStringList faults = lines.mid(1);
            faults.removeIf([&](const QString &line) {
                return line.startsWith(QLatin1String("control ")) && reach.contains(line.mid(8));
            });
            QVERIFY2(faults.isEmpty(), qPrintable(QString::fromUtf8(screen) + u'\n' + faults.join(u'\n')));
        };
        QTRY_VERIFY(shown(app.window, "homeList"));
        check("Home", 25);

        state.setRoute({Route::Kind::Search, {}});
        state.search().submit(QStringLiteral("lofi"), &state.player());
        QTRY_VERIFY(shown(app.window, "trackRow2"));
        check("Search results", 30);

        state.setRoute(Route::playlist(app.playlist.id));
        QTRY_VERIFY(shown(app.window, "trackRow1"));
        check("a playlist", 28);

        state.setShowNowPlaying(true);
        QTRY_VERIFY(shown(app.window, "closeButton"));
        check("Now Playing", 30);

        state.setShowNowPlaying(false);
        fillDownloads(app);
        state.setRoute({Route::Kind::Downloads, {}});
        for (const auto &[segment, row, menu, least] :
             {std::tuple{SidebarItem::Queue, "taskRow1", "taskMenu", 44},
              std::tuple{SidebarItem::History, "historyRow0", "historyMenu", 39}}) {
            state.setSelection(segment);
            QTRY_VERIFY(shown(app.window, row));
            check(row, least);
            QVERIFY(QMetaObject::invokeMethod(shown(app.window, row), "openMenu"));
            QTRY_VERIFY(menuOpen(app.window, menu));
            check(menu, least + 4);
            QTest::keyClick(app.window, Qt::Key_Escape);
        }
        state.setSelection(SidebarItem::Download);
        QTRY_VERIFY(shown(app.window, "linkField"));
        check("From Link", 34);

        // The settings window's five tabs, chosen by arrows; subtitles on, so their options show too.
        SettingsStore::set(QStringLiteral("writeSubs"), true);
        QTest::keySequence(app.window, QKeySequence(Qt::CTRL | Qt::Key_Comma));
        QQuickWindow *settings = nullptr;
        QTRY_VERIFY((settings = app.window->property("settingsWindow").value<QQuickWindow *>()));
        QVERIFY(QTest::qWaitForWindowActive(settings));
        QObject *tabs = settings->findChild<QObject *>(QStringLiteral("settingsTabs"));
        QCOMPARE(tabTo(settings, QStringLiteral("tab:")), QStringList());
        const QStringList tabNames = reached(settings, Qt::Key_Right);
        QCOMPARE(tabNames.size(), 5);
        for (int tab = 4; tab >= 0; --tab) {
            QCOMPARE(tabs->property("currentIndex").toInt(), tab);
            const QStringList reach = reached(settings);
            // A picker reads its label, not the value it shows.
            QVERIFY(tab != 0 || reach.contains(QStringLiteral("Format")));
            check(qPrintable(QStringLiteral("Settings, ") + tabNames[tab]), 5, "Settings", tabNames + reach);
            // Left goes on from the tab with the keyboard.
            QCOMPARE(tabTo(settings, QStringLiteral("tab:") + tabNames[tab]), QStringList());
            QTest::keyClick(settings, Qt::Key_Left);
        }
        tabs->setProperty("currentIndex", 1);
        const QQuickItem *choose = QmlHarness::findItem(settings->contentItem(), QStringLiteral("chooseFolder"));
        QTest::mouseClick(settings, Qt::LeftButton, {}, choose->mapToScene(choose->boundingRect().center()).toPoint());
        QTRY_VERIFY(shown(settings, "chooseButton"));
        check("the folder chooser", 20);
        QTest::keySequence(settings, QKeySequence(Qt::CTRL | Qt::Key_W));
        app.test.model<CommandController>("commands")->openMiniPlayer();
        QWindow *mini = app.test.app.tray().miniPlayer();
        QVERIFY(mini && QTest::qWaitForWindowActive(mini));
        check("Mini Player", 10, "Mini Player", reached(mini));
    }

    // Escape and Ctrl+W close the settings window; Ctrl+, and Ctrl+Q do in it what they do in the
    // main window; Right goes on from the tab with the keyboard, not from the one shown. Last: Ctrl+Q
    // ends the application's event loop.
    void settingsWindowKeys()
    {
        KeyboardApp app;
        QVERIFY(app.ready);
        const auto settings = [&] { return app.window->property("settingsWindow").value<QWindow *>(); };
        for (const QKeySequence &close : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
            QTest::keySequence(app.window, QKeySequence(Qt::CTRL | Qt::Key_Comma));
            QTRY_VERIFY(settings());
            QVERIFY(QTest::qWaitForWindowActive(settings()));
            QTest::keySequence(settings(), close);
            QTRY_VERIFY(!settings());
            app.window->requestActivate();
            QVERIFY(QTest::qWaitForWindowActive(app.window));
        }

        QTest::keySequence(app.window, QKeySequence(Qt::CTRL | Qt::Key_Comma));
        QTRY_VERIFY(settings());
        QWindow *open = settings();
        QVERIFY(QTest::qWaitForWindowActive(open));
        QTest::keySequence(open, QKeySequence(Qt::CTRL | Qt::Key_Comma));
        QCOMPARE(settings(), open);
        QVERIFY(open->isVisible());
        auto *settingsWindow = qobject_cast<QQuickWindow *>(open);
        QObject *tabs = open->findChild<QObject *>(QStringLiteral("settingsTabs"));
        tabs->setProperty("currentIndex", 3);
        QCOMPARE(tabTo(settingsWindow, QStringLiteral("tab:Music")), QStringList());
        QTest::keyClick(open, Qt::Key_Right);
        QCOMPARE(focused(settingsWindow), QStringLiteral("tab:General"));
        QCOMPARE(tabs->property("currentIndex").toInt(), 1);
        QSignalSpy quits(app.test.model<CommandController>("commands"), &CommandController::quitRequested);
        QTest::keySequence(open, QKeySequence(Qt::CTRL | Qt::Key_Q));
        QCOMPARE(quits.size(), 1);
    }
};

int main(int argc, char *argv[])
{
    // Read as the application starts: the bridge to AT-SPI runs without a screen reader asking.
    qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    // Covers come from nowhere: no request leaves the machine.
    qputenv("MORVANE_IMAGE_HOST", "http://127.0.0.1:9");
    QApplication application(argc, argv);
    TestKeyboard test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_keyboard.moc"
