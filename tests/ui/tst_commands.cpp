#include "QmlHarness.h"
#include "RecordingDesktopServices.h"
#include "TestApp.h"
#include "TestRequests.h"
#include "core/SettingsStore.h"
#include "engine/DownloadTask.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QKeySequence>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include <xcb/xcb.h>

#include <memory>

Q_DECLARE_METATYPE(Route::Kind)

namespace {
// A menu title as the menu shows it: "&&" is an ampersand, a lone "&" marks the mnemonic.
QString shownTitle(const QString &text)
{
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && ++i == text.size())
            break;
        shown += text[i];
    }
    return shown;
}

// The menu actions of the main window, shown title to shortcut (empty when it has none).
QMultiMap<QString, QString> menuActions(QQuickWindow *window)
{
    QMultiMap<QString, QString> actions;
    for (QObject *object : window->findChildren<QObject *>()) {
        if (object->inherits("QQuickAction")) {
            actions.insert(shownTitle(object->property("text").toString()),
                           QKeySequence(object->property("shortcut").toString()).toString());
        }
    }
    return actions;
}

QString routeName(Route::Kind kind)
{
    static const char *const names[] = {"Playlist", "Home",      "Search",           "Explore",   "Liked",
                                        "Recent",   "Playlists", "LibraryDownloads", "Downloads", "Settings"};
    return QLatin1String(names[int(kind)]);
}

// Types the Latin-1 `key` (its keysym) through the X server, which Qt reads from the keymap as a typed key.
void pressOnX(QWindow *window, int key, Qt::KeyboardModifiers modifiers)
{
    xcb_connection_t *x = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const xcb_setup_t *setup = xcb_get_setup(x);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&free)> map(
        xcb_get_keyboard_mapping_reply(x, xcb_get_keyboard_mapping(x, setup->min_keycode, count), nullptr), &free);
    xcb_key_press_event_t event{};
    for (int i = 0; i < count && !event.detail; ++i) {
        if (xcb_get_keyboard_mapping_keysyms(map.get())[i * map->keysyms_per_keycode] == xcb_keysym_t(key))
            event.detail = xcb_keycode_t(setup->min_keycode + i);
    }
    event.root = xcb_setup_roots_iterator(setup).data->root;
    event.event = xcb_window_t(window->winId());
    event.state = (modifiers & Qt::ShiftModifier ? XCB_MOD_MASK_SHIFT : 0) |
                  (modifiers & Qt::ControlModifier ? XCB_MOD_MASK_CONTROL : 0);
    event.same_screen = 1;
    for (const uint8_t type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
        event.response_type = type;
        xcb_send_event(x, false, event.event, XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE,
                       reinterpret_cast<const char *>(&event));
    }
    xcb_flush(x);
}

int countWithStatus(DownloadManager &downloads, TaskStatus status)
{
    int count = 0;
    for (const DownloadTask *task : downloads.tasks())
        count += task->status() == status;
    return count;
}
} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    // Whatever was shown and fetched before: the downloader's empty link field, nothing fetched.
    void newDownload()
    {
        TestApp test;
        AppState &state = test.app.state();
        state.setSelection(SidebarItem::History);
        state.setUrlText(QStringLiteral("not a link"));
        state.fetch();
        QCOMPARE(state.fetchState().kind, FetchState::Kind::Failed);
        CommandController commands(&state, nullptr);
        commands.newDownload();
        QCOMPARE(state.selection(), SidebarItem::Download);
        QCOMPARE(state.route(), (Route{Route::Kind::Downloads, {}}));
        QCOMPARE(state.urlText(), QString());
        QCOMPARE(state.fetchState().kind, FetchState::Kind::Idle);
        QVERIFY(!state.info());
    }

    // The clipboard's text takes link intake's roads; without text nothing at all happens.
    void pasteLinkAndFetch_data()
    {
        QTest::addColumn<QString>("text"); // empty: an image only
        QTest::addColumn<QString>("urlText");
        QTest::addColumn<int>("queued");
        QTest::addColumn<QString>("toast");
        QTest::addColumn<Route::Kind>("route");

        const QString link = QStringLiteral("http://127.0.0.1:9/a.mp4");
        QTest::newRow("one link: the link field") << link << link << 0 << QString() << Route::Kind::Downloads;
        QTest::newRow("two links: both queued") << link + QStringLiteral(" http://127.0.0.1:9/b.mp4") << QString() << 2
                                                << QString() << Route::Kind::Downloads;
        QTest::newRow("no link: the toast") << QStringLiteral("just words") << QString() << 0
                                            << QStringLiteral("No valid link found.") << Route::Kind::Home;
        QTest::newRow("an image: nothing") << QString() << QString() << 0 << QString() << Route::Kind::Home;
    }
    void pasteLinkAndFetch()
    {
        QFETCH(QString, text);
        QFETCH(QString, urlText);
        QFETCH(int, queued);
        QFETCH(QString, toast);
        QFETCH(Route::Kind, route);
        TestApp test;
        AppState &state = test.app.state();
        state.setRoute(Route{Route::Kind::Home, {}});
        if (text.isEmpty()) {
            auto *image = new QMimeData;
            QImage pixel(1, 1, QImage::Format_RGB32);
            pixel.fill(Qt::red);
            image->setImageData(pixel);
            QGuiApplication::clipboard()->setMimeData(image);
        } else {
            QGuiApplication::clipboard()->setText(text);
        }
        CommandController commands(&state, nullptr);
        commands.pasteLinkAndFetch();
        QCOMPARE(state.urlText(), urlText);
        QCOMPARE(state.downloads().tasks().size(), queued);
        QCOMPARE(state.toastText(), toast);
        QCOMPARE(state.route().kind, route);
        QCOMPARE(state.fetchState().kind, FetchState::Kind::Idle); // the download screen fetches, later
    }

    // Three presses come back to the mode they started from, each one a change of its own.
    void cycleRepeat()
    {
        TestApp test;
        PlayerManager &player = test.app.state().player();
        CommandController commands(&test.app.state(), nullptr);
        QSignalSpy changes(&player, &PlayerManager::repeatModeChanged);
        QList<RepeatMode> seen;
        for (int press = 0; press < 3; ++press) {
            commands.cycleRepeat();
            seen.append(player.repeatMode());
        }
        QCOMPARE(seen, (QList<RepeatMode>{RepeatMode::All, RepeatMode::One, RepeatMode::Off}));
        QCOMPARE(changes.size(), 3);
    }

    void go_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<Route::Kind>("route");
        QTest::newRow("1") << 1 << Route::Kind::Home;
        QTest::newRow("2") << 2 << Route::Kind::Search;
        QTest::newRow("3") << 3 << Route::Kind::Explore;
        QTest::newRow("4") << 4 << Route::Kind::Liked;
        QTest::newRow("5") << 5 << Route::Kind::Playlists;
        QTest::newRow("6") << 6 << Route::Kind::Downloads;
        QTest::newRow("0 does nothing") << 0 << Route::Kind::Settings;
        QTest::newRow("7 does nothing") << 7 << Route::Kind::Settings;
    }
    void go()
    {
        QFETCH(int, screen);
        QFETCH(Route::Kind, route);
        TestApp test;
        test.app.state().setRoute(Route{Route::Kind::Settings, {}});
        CommandController commands(&test.app.state(), nullptr);
        commands.go(screen);
        QCOMPARE(test.app.state().route().kind, route);
    }

    void openDownloadFolder_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QUrl>("opened");
        QTest::newRow("stored") << QVariant(QStringLiteral("/srv/media")) << QUrl(QStringLiteral("file:///srv/media"));
        QTest::newRow("default") << QVariant()
                                 << QUrl::fromLocalFile(
                                        SettingsStore::value(QStringLiteral("downloadFolder")).toString());
        QTest::newRow("empty text, passed on") << QVariant(QString()) << QUrl();
    }
    void openDownloadFolder()
    {
        QFETCH(QVariant, stored);
        QFETCH(QUrl, opened);
        TestApp test;
        if (stored.isValid())
            SettingsStore::set(QStringLiteral("downloadFolder"), stored);
        RecordingDesktopServices desktop;
        CommandController commands(&test.app.state(), &desktop);
        if (!stored.isValid())
            opened = QUrl::fromLocalFile(SettingsStore::value(QStringLiteral("downloadFolder")).toString());
        commands.openDownloadFolder();
        QCOMPARE(desktop.opened, QList<QUrl>{opened});
    }

    // Every command of the menus, with its key; no key twice, and none a Ctrl+Alt+arrow (those
    // switch workspaces on most desktops).
    void menus()
    {
        TestApp test;
        QVERIFY(test.app.start());
        const QMultiMap<QString, QString> expected{
            {QStringLiteral("New Download"), QStringLiteral("Ctrl+N")},
            {QStringLiteral("Paste Link & Fetch"), QStringLiteral("Ctrl+Shift+V")},
            {QStringLiteral("Settings…"), QStringLiteral("Ctrl+,")},
            {QStringLiteral("Check for Tool Updates"), QString()},
            // Offered where no tray is, as on the test's platform.
            {QStringLiteral("Mini Player"), QString()},
            {QStringLiteral("Quit"), QStringLiteral("Ctrl+Q")},
            {QStringLiteral("Play"), QStringLiteral("Ctrl+P")},
            {QStringLiteral("Next"), QStringLiteral("Ctrl+Alt+PgDown")},
            {QStringLiteral("Previous"), QStringLiteral("Ctrl+Alt+PgUp")},
            {QStringLiteral("Skip Forward 15s"), QStringLiteral("Ctrl+Shift+Right")},
            {QStringLiteral("Skip Back 15s"), QStringLiteral("Ctrl+Shift+Left")},
            {QStringLiteral("Volume Up"), QStringLiteral("Ctrl+Alt+=")},
            {QStringLiteral("Volume Down"), QStringLiteral("Ctrl+Alt+-")},
            {QStringLiteral("Toggle Shuffle"), QStringLiteral("Ctrl+Alt+S")},
            {QStringLiteral("Cycle Repeat"), QStringLiteral("Ctrl+Alt+R")},
            {QStringLiteral("Toggle Non-Stop Playback"), QStringLiteral("Ctrl+Alt+N")},
            {QStringLiteral("Like Current Song"), QStringLiteral("Ctrl+L")},
            {QStringLiteral("Show Queue"), QStringLiteral("Ctrl+Alt+Q")},
            {QStringLiteral("Pause All"), QStringLiteral("Ctrl+Shift+.")},
            {QStringLiteral("Resume All"), QStringLiteral("Ctrl+Shift+R")},
            {QStringLiteral("Clear Finished"), QString()},
            {QStringLiteral("Open Download Folder"), QStringLiteral("Ctrl+Shift+O")},
            {QStringLiteral("Home"), QStringLiteral("Ctrl+1")},
            {QStringLiteral("Search"), QStringLiteral("Ctrl+2")},
            {QStringLiteral("Explore"), QStringLiteral("Ctrl+3")},
            {QStringLiteral("Liked Songs"), QStringLiteral("Ctrl+4")},
            {QStringLiteral("Playlists"), QStringLiteral("Ctrl+5")},
            {QStringLiteral("Downloads"), QStringLiteral("Ctrl+6")},
        };
        const QMultiMap<QString, QString> actions = menuActions(test.window());
        QCOMPARE(actions, expected);

        QStringList keys = actions.values();
        keys.removeAll(QString());
        QCOMPARE(QSet<QString>(keys.cbegin(), keys.cend()).size(), keys.size());
        for (const char *arrow : {"Left", "Right", "Up", "Down"})
            QVERIFY(!keys.contains(QStringLiteral("Ctrl+Alt+") + QLatin1String(arrow)));
    }

    // Keys pressed in the main window reach the coordinator and the queue. A row "on X" is typed through
    // the X server, whose Ctrl+Shift+. on a US keymap is ">" with Ctrl and Shift: Qt must not find it ambiguous.
    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("after"); // see observe() below

        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
        const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        QTest::newRow("Ctrl+1") << int(Qt::Key_1) << ctrl << "Home, 0 paused, queue hidden, ''";
        QTest::newRow("Ctrl+6") << int(Qt::Key_6) << ctrl << "Downloads, 0 paused, queue hidden, ''";
        QTest::newRow("Ctrl+Shift+.") << int(Qt::Key_Period) << ctrlShift << "Settings, 1 paused, queue hidden, ''";
        QTest::newRow("Ctrl+Shift+. on X")
            << int(Qt::Key_Period) << ctrlShift << "Settings, 1 paused, queue hidden, ''";
        QTest::newRow("Ctrl+Alt+Q") << int(Qt::Key_Q) << (ctrl | Qt::AltModifier)
                                    << "Settings, 0 paused, queue shown, ''";
        QTest::newRow("Ctrl+Shift+V") << int(Qt::Key_V) << ctrlShift
                                      << "Downloads, 0 paused, queue hidden, 'http://127.0.0.1:9/a.mp4'";
    }
    void keys()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, after);
        const bool onX = QByteArray(QTest::currentDataTag()).endsWith(" on X");
        if (onX && QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("typed through an X server");
        TestApp test;
        QVERIFY(test.app.start());
        AppState &state = test.app.state();
        test.app.shell().showMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(test.window()));
        // The tools are missing, so the one task stays queued until Pause All.
        state.downloads().enqueue(
            TestRequests::defaultRequest(QStringLiteral("http://127.0.0.1:9/b.mp4"), test.env.root()));
        QGuiApplication::clipboard()->setText(QStringLiteral("http://127.0.0.1:9/a.mp4"));
        state.setRoute(Route{Route::Kind::Settings, {}});
        const auto observe = [&state] {
            return QStringLiteral("%1, %2 paused, queue %3, '%4'")
                .arg(routeName(state.route().kind))
                .arg(countWithStatus(state.downloads(), TaskStatus::Paused))
                .arg(state.showQueue() ? QStringLiteral("shown") : QStringLiteral("hidden"), state.urlText());
        };
        QCOMPARE(observe(), QStringLiteral("Settings, 0 paused, queue hidden, ''"));

        if (onX) {
            pressOnX(test.window(), key, modifiers);
            QTRY_COMPARE(observe(), after);
            return;
        }
        QTest::keyClick(test.window(), Qt::Key(key), modifiers);
        QCOMPARE(observe(), after);
    }

    // File → Settings… opens the settings window, and brings the open one forward rather than a second.
    void settingsWindow()
    {
        TestApp test;
        QVERIFY(test.app.start());
        test.app.shell().showMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(test.window()));
        const auto settingsWindows = [] {
            QList<QWindow *> found;
            for (QWindow *window : QGuiApplication::topLevelWindows()) {
                if (window->isVisible() && window->title() == QLatin1String("Settings"))
                    found.append(window);
            }
            return found;
        };
        QVERIFY(settingsWindows().isEmpty());
        QTest::keyClick(test.window(), Qt::Key_Comma, Qt::ControlModifier);
        QCOMPARE(settingsWindows().size(), 1);
        QWindow *settings = settingsWindows().constFirst();
        QVERIFY(QTest::qWaitForWindowExposed(settings));
        QCOMPARE(settings->size(), QSize(560, 460));

        test.window()->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(test.window()));
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
        QTest::keyClick(test.window(), Qt::Key_Comma, Qt::ControlModifier);
        QCOMPARE(settingsWindows(), QList<QWindow *>{settings});
        settings->close();
        QTRY_VERIFY(settingsWindows().isEmpty());
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
