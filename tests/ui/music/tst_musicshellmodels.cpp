#include "MusicShellRig.h"
#include "TestToolMirror.h"
#include "engine/DownloadTask.h"
#include "ui/KeyboardAccess.h"
#include "ui/music/MusicShellModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <utility>

namespace {
using Kind = Route::Kind;

Route to(Kind kind)
{
    return Route{kind, {}};
}

QStringList column(const QAbstractItemModel &model, int role)
{
    QStringList values;
    for (int row = 0; row < model.rowCount(); ++row)
        values.append(model.index(row, 0).data(role).toString());
    return values;
}

QString playlistKey(int number)
{
    return QStringLiteral("playlist:") + MusicShellRig::playlistID(number).toString(QUuid::WithoutBraces).toUpper();
}

int rowOf(const SidebarModel &sidebar, const QString &key)
{
    return int(column(sidebar, SidebarModel::KeyRole).indexOf(key));
}

// Every signal by which a list model tells its view that rows changed.
struct ModelSignals
{
    explicit ModelSignals(QAbstractItemModel *model)
        : data(model, &QAbstractItemModel::dataChanged)
        , inserted(model, &QAbstractItemModel::rowsInserted)
        , removed(model, &QAbstractItemModel::rowsRemoved)
        , reset(model, &QAbstractItemModel::modelReset)
        , layout(model, &QAbstractItemModel::layoutChanged)
    {}
    [[nodiscard]] qsizetype total() const
    {
        return data.size() + inserted.size() + removed.size() + reset.size() + layout.size();
    }
    QSignalSpy data, inserted, removed, reset, layout;
};

Track song(const char *id)
{
    Track track;
    track.id = QString::fromLatin1(id);
    track.title = QStringLiteral("Song ") + track.id;
    track.artist = QStringLiteral("Artist");
    return track;
}

const QStringList fixedKeys{QStringLiteral("home"),      QStringLiteral("search"),          QStringLiteral("explore"),
                            QStringLiteral("header"),    QStringLiteral("liked"),           QStringLiteral("recent"),
                            QStringLiteral("playlists"), QStringLiteral("libraryDownloads")};
// An item of a list as the keyboard meets it, one that only acts: what it was asked to do.
class ActOnly : public QObject
{
    Q_OBJECT

public:
    QStringList calls;
    Q_INVOKABLE void activate() { calls.append(QStringLiteral("activate")); }
};

// An item that also has a menu.
class KeyTarget : public ActOnly
{
    Q_OBJECT

public:
    Q_INVOKABLE void openMenu() { calls.append(QStringLiteral("openMenu")); }
};

const QStringList manageKeys{QStringLiteral("header"), QStringLiteral("downloads"), QStringLiteral("settings")};
} // namespace

class TestMusicShellModels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The Part's order; the playlists' section only while there are playlists, in stored order.
    void sidebarRows()
    {
        MusicShellRig rig;
        SidebarModel sidebar(rig.state.get());
        QAbstractItemModelTester tester(&sidebar);
        QCOMPARE(column(sidebar, SidebarModel::KeyRole),
                 fixedKeys + (QStringList{QStringLiteral("header"), playlistKey(1), playlistKey(2), playlistKey(3)}) +
                     manageKeys);
        QCOMPARE(
            column(sidebar, SidebarModel::TitleRole),
            (QStringList{QStringLiteral("Home"), QStringLiteral("Search"), QStringLiteral("Explore"),
                         QStringLiteral("LIBRARY"), QStringLiteral("Liked Songs"), QStringLiteral("Recently Played"),
                         QStringLiteral("Playlists"), QStringLiteral("Downloads"), QStringLiteral("YOUR PLAYLISTS"),
                         QStringLiteral("Road Songs"), QStringLiteral("Evening"), QStringLiteral("Road Songs"),
                         QStringLiteral("MANAGE"), QStringLiteral("Downloads"), QStringLiteral("Settings")}));
        // A screen reader tells the two "Downloads" apart by their sections.
        QCOMPARE(column(sidebar, SidebarModel::NameRole).filter(QStringLiteral("Downloads")),
                 (QStringList{QStringLiteral("Downloads, Library"), QStringLiteral("Downloads, Manage")}));
        QCOMPARE(
            column(sidebar, SidebarModel::SymbolRole),
            (QStringList{QStringLiteral("house.fill"), QStringLiteral("magnifyingglass"), QStringLiteral("safari.fill"),
                         QString(), QStringLiteral("heart.fill"), QStringLiteral("clock.fill"),
                         QStringLiteral("music.note.list"), QStringLiteral("arrow.down.circle.fill"), QString(),
                         QStringLiteral("music.note"), QStringLiteral("music.note"), QStringLiteral("music.note"),
                         QString(), QStringLiteral("tray.and.arrow.down.fill"), QStringLiteral("gearshape.fill")}));
        const QStringList headers = column(sidebar, SidebarModel::HeaderRole);
        QCOMPARE(headers.count(QStringLiteral("true")), 3);

        LibraryStore &library = rig.state->library();
        for (int number = 1; number <= 3; ++number)
            library.deletePlaylist(MusicShellRig::playlistID(number));
        QCOMPARE(column(sidebar, SidebarModel::KeyRole), fixedKeys + manageKeys);

        const Playlist created = library.createPlaylist(QStringLiteral("Fresh"), {});
        QCOMPARE(column(sidebar, SidebarModel::TitleRole).mid(8, 2),
                 (QStringList{QStringLiteral("YOUR PLAYLISTS"), QStringLiteral("Fresh")}));
        library.deletePlaylist(created.id);
        QCOMPARE(column(sidebar, SidebarModel::KeyRole), fixedKeys + manageKeys);
    }

    // A rename changes one title; likes, plays and searches change no row.
    void sidebarFollowsOnlyWhatItShows()
    {
        MusicShellRig rig;
        SidebarModel sidebar(rig.state.get());
        QAbstractItemModelTester tester(&sidebar);
        ModelSignals changes(&sidebar);
        LibraryStore &library = rig.state->library();
        library.toggleLike(song("aaaaaaaaaaa"));
        library.recordSearch(QStringLiteral("lofi"));
        library.registerTracks({song("bbbbbbbbbbb")});
        library.add({song("bbbbbbbbbbb")}, MusicShellRig::playlistID(2));
        QCOMPARE(changes.total(), 0);

        library.renamePlaylist(MusicShellRig::playlistID(3), QStringLiteral("Night Drive"));
        QCOMPARE(changes.total(), 1);
        QCOMPARE(changes.data.size(), 1);
        const int row = rowOf(sidebar, playlistKey(3));
        QCOMPARE(changes.data.first().at(0).toModelIndex().row(), row);
        QCOMPARE(changes.data.first().at(2).value<QList<int>>(),
                 (QList<int>{SidebarModel::TitleRole, SidebarModel::NameRole}));
        QCOMPARE(sidebar.index(row).data(SidebarModel::NameRole).toString(),
                 QStringLiteral("Night Drive, Your Playlists"));

        library.move(MusicShellRig::playlistID(2), {0}, 1); // a playlist's songs, not the playlists
        QCOMPARE(changes.total(), 1);
    }

    void sidebarSelection_data()
    {
        QTest::addColumn<Route>("route");
        QTest::addColumn<QString>("selected");
        QTest::newRow("home") << to(Kind::Home) << QStringLiteral("home");
        QTest::newRow("library downloads") << to(Kind::LibraryDownloads) << QStringLiteral("libraryDownloads");
        QTest::newRow("download manager") << to(Kind::Downloads) << QStringLiteral("downloads");
        QTest::newRow("settings") << to(Kind::Settings) << QStringLiteral("settings");
        QTest::newRow("first of two same-named") << Route::playlist(MusicShellRig::playlistID(1)) << playlistKey(1);
        QTest::newRow("second of two same-named") << Route::playlist(MusicShellRig::playlistID(3)) << playlistKey(3);
        QTest::newRow("playlist that is gone") << Route::playlist(QUuid::createUuid()) << QString();
    }
    void sidebarSelection()
    {
        QFETCH(Route, route);
        QFETCH(QString, selected);
        MusicShellRig rig;
        SidebarModel sidebar(rig.state.get());
        QAbstractItemModelTester tester(&sidebar);
        rig.state->setRoute(route);
        QStringList keys;
        for (int row = 0; row < sidebar.rowCount(); ++row) {
            if (sidebar.index(row).data(SidebarModel::SelectedRole).toBool())
                keys.append(sidebar.index(row).data(SidebarModel::KeyRole).toString());
        }
        QCOMPARE(keys, selected.isEmpty() ? QStringList() : QStringList{selected});
    }

    // A click routes and closes Now Playing, never the queue panel; the current route's entry only
    // closes Now Playing; a header does nothing.
    void sidebarActivate()
    {
        MusicShellRig rig;
        AppState &state = *rig.state;
        SidebarModel sidebar(&state);
        state.setShowNowPlaying(true);
        state.setShowQueue(true);
        sidebar.activate(rowOf(sidebar, playlistKey(3)));
        QCOMPARE(state.route(), Route::playlist(MusicShellRig::playlistID(3)));
        QVERIFY(!state.showNowPlaying());
        QVERIFY(state.showQueue());

        QSignalSpy routes(&state, &AppState::routeChanged);
        state.setShowNowPlaying(true);
        sidebar.activate(rowOf(sidebar, playlistKey(3)));
        QVERIFY(!state.showNowPlaying());
        QCOMPARE(routes.size(), 0);

        state.setShowNowPlaying(true);
        sidebar.activate(rowOf(sidebar, QStringLiteral("header")));
        QVERIFY(state.showNowPlaying());
        QCOMPARE(routes.size(), 0);
    }

    // The arrows pass the headers and stop at either end; the keyboard enters on the route's entry.
    void sidebarKeys_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("by");
        QTest::addColumn<int>("expected");
        QTest::newRow("entering") << -1 << 1 << 0;
        QTest::newRow("down within a section") << 0 << 1 << 1;
        QTest::newRow("down over a header") << 2 << 1 << 4;
        QTest::newRow("up over a header") << 4 << -1 << 2;
        QTest::newRow("into the playlists") << 7 << 1 << 9;
        QTest::newRow("out of the playlists") << 11 << 1 << 13;
        QTest::newRow("three down") << 2 << 3 << 6;
        QTest::newRow("two up over a header") << 13 << -2 << 10;
        QTest::newRow("past the last") << 14 << 1 << 14;
        QTest::newRow("before the first") << 0 << -1 << 0;
    }
    void sidebarKeys()
    {
        QFETCH(int, row);
        QFETCH(int, by);
        QFETCH(int, expected);
        MusicShellRig rig;
        SidebarModel sidebar(rig.state.get());
        QCOMPARE(sidebar.step(row, by), expected);
    }

    void sidebarEntry_data()
    {
        QTest::addColumn<Route>("route");
        QTest::addColumn<QString>("entered");
        QTest::newRow("home") << to(Kind::Home) << QStringLiteral("home");
        QTest::newRow("settings") << to(Kind::Settings) << QStringLiteral("settings");
        QTest::newRow("second of two same-named") << Route::playlist(MusicShellRig::playlistID(3)) << playlistKey(3);
        QTest::newRow("playlist that is gone") << Route::playlist(QUuid::createUuid()) << QStringLiteral("home");
    }
    void sidebarEntry()
    {
        QFETCH(Route, route);
        QFETCH(QString, entered);
        MusicShellRig rig;
        SidebarModel sidebar(rig.state.get());
        rig.state->setRoute(route);
        QCOMPARE(sidebar.index(sidebar.selectedRow()).data(SidebarModel::KeyRole).toString(), entered);
    }

    // Return, Enter and Space act; the Menu key and Shift+F10 open the menu; other keys, and the
    // menu keys on an item without a menu, go on to the list.
    void itemKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("call");
        QTest::newRow("return") << int(Qt::Key_Return) << 0 << QStringLiteral("activate");
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << QStringLiteral("activate");
        QTest::newRow("space") << int(Qt::Key_Space) << 0 << QStringLiteral("activate");
        QTest::newRow("ctrl+return") << int(Qt::Key_Return) << int(Qt::ControlModifier) << QString();
        QTest::newRow("menu") << int(Qt::Key_Menu) << 0 << QStringLiteral("openMenu");
        QTest::newRow("shift+f10") << int(Qt::Key_F10) << int(Qt::ShiftModifier) << QStringLiteral("openMenu");
        QTest::newRow("f10") << int(Qt::Key_F10) << 0 << QString();
        QTest::newRow("down") << int(Qt::Key_Down) << 0 << QString();
    }
    void itemKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, call);
        KeyTarget target;
        ActOnly plain;
        const QStringList acted = call.isEmpty() ? QStringList() : QStringList{call};
        QCOMPARE(KeyboardAccess::press(&target, key, modifiers), !acted.isEmpty());
        QCOMPARE(target.calls, acted);
        const QStringList plainActed = call == QLatin1String("activate") ? acted : QStringList();
        QCOMPARE(KeyboardAccess::press(&plain, key, modifiers), !plainActed.isEmpty());
        QCOMPARE(plain.calls, plainActed);
        QVERIFY(!KeyboardAccess::press(nullptr, key, modifiers));
        // What clicks a button: Return and Enter alone.
        QCOMPARE(KeyboardAccess::confirms(key, modifiers), key != Qt::Key_Space && call == QLatin1String("activate"));
    }

    // A mark before a letter, anywhere, or at the end is dropped; a doubled one reads "&".
    void plainMenuText()
    {
        const std::pair<const char *, const char *> cases[]{
            {"&File", "File"}, {"Go &Home", "Go Home"}, {"Paste Link && Fetch", "Paste Link & Fetch"}, {"R&", "R"}};
        for (const auto &[text, plain] : cases)
            QCOMPARE(KeyboardAccess::plainText(QString::fromUtf8(text)), QString::fromUtf8(plain));
    }

    // The count of unfinished downloads: a pause keeps it, a cancel or completion drops it, 0 hides it.
    void sidebarBadge()
    {
        MusicShellRig rig;
        SidebarModel sidebar(rig.state.get());
        QAbstractItemModelTester tester(&sidebar);
        const QModelIndex manager = sidebar.index(rowOf(sidebar, QStringLiteral("downloads")));
        const auto badge = [&] { return manager.data(SidebarModel::BadgeRole).toString(); };
        QCOMPARE(badge(), QString());
        QCOMPARE(column(sidebar, SidebarModel::BadgeRole).join(QString()), QString());

        DownloadTask *first = rig.addDownload(QStringLiteral("one"));
        QCOMPARE(badge(), QStringLiteral("1"));
        DownloadTask *second = rig.addDownload(QStringLiteral("two"));
        DownloadTask *third = rig.addDownload(QStringLiteral("three"));
        QCOMPARE(badge(), QStringLiteral("3"));
        rig.state->downloads().pause(second);
        QCOMPARE(second->status(), TaskStatus::Paused);
        QCOMPARE(badge(), QStringLiteral("3"));
        rig.state->downloads().cancel(third);
        QCOMPARE(badge(), QStringLiteral("2"));
        first->setStatus(TaskStatus::Completed);
        rig.state->downloads().cancel(second);
        QTRY_COMPARE(badge(), QString());
        // Only the download manager's entry ever carries a count.
        rig.addDownload(QStringLiteral("four"));
        QCOMPARE(column(sidebar, SidebarModel::BadgeRole).join(QString()), QStringLiteral("1"));
    }

    void topBarQueryBothWays()
    {
        MusicShellRig rig;
        TopBarModel bar(rig.state.get());
        QSignalSpy changed(&bar, &TopBarModel::queryChanged);
        QVERIFY(!bar.clearVisible());
        bar.setQuery(QStringLiteral("l"));
        QCOMPARE(rig.state->search().query(), QStringLiteral("l"));
        QVERIFY(bar.clearVisible());
        rig.state->search().setQuery(QStringLiteral("lofi"));
        QCOMPARE(bar.query(), QStringLiteral("lofi"));
        QCOMPARE(changed.size(), 2);
    }

    void topBarSubmit_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("searches");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("blank") << QStringLiteral("  \t ") << 0;
        QTest::newRow("text") << QStringLiteral(" lofi beats ") << 1;
    }
    void topBarSubmit()
    {
        QFETCH(QString, query);
        QFETCH(int, searches);
        MusicShellRig rig;
        TopBarModel bar(rig.state.get());
        rig.state->setShowNowPlaying(true);
        bar.setQuery(query);
        bar.submit();
        QCOMPARE(rig.state->route(), to(Kind::Search));
        QVERIFY(rig.state->showNowPlaying());
        QCOMPARE(rig.catalog->calls.filter(QRegularExpression(QStringLiteral("^playlists "))).size(), searches);
        if (searches > 0)
            QCOMPARE(rig.state->search().submitted(), QStringLiteral("lofi beats"));
    }

    // The clear button empties the field and nothing else: route and results stay.
    void topBarClear()
    {
        MusicShellRig rig;
        rig.catalog->listings[QStringLiteral("search lofi")] = {QList<Track>{song("ccccccccccc")}};
        TopBarModel bar(rig.state.get());
        bar.setQuery(QStringLiteral("lofi"));
        bar.submit();
        QTRY_COMPARE(rig.state->search().phase(), SearchManager::SearchPhase::Done);
        rig.state->setRoute(to(Kind::Explore));
        bar.clear();
        QCOMPARE(bar.query(), QString());
        QVERIFY(!bar.clearVisible());
        QCOMPARE(rig.state->route(), to(Kind::Explore));
        QCOMPARE(rig.state->search().tracks().size(), 1);
        QCOMPARE(rig.state->search().submitted(), QStringLiteral("lofi"));
    }

    void topBarMenu()
    {
        QStringList entries;
        for (const QVariant &entry : TopBarModel::menu()) {
            const QVariantMap map = entry.toMap();
            entries.append(map.value(QStringLiteral("divider")).toBool()
                               ? QStringLiteral("-")
                               : map.value(QStringLiteral("text")).toString() + QLatin1Char('=') +
                                     map.value(QStringLiteral("action")).toString());
        }
        QCOMPARE(entries, (QStringList{QStringLiteral("Settings=settings"), QStringLiteral("Downloads=downloads"),
                                       QStringLiteral("-"), QStringLiteral("Tool Diagnostics=diagnostics"),
                                       QStringLiteral("Check for Tool Updates=checkForUpdates")}));
    }

    // No bar action touches Now Playing or the queue panel; the current route is not announced again.
    void topBarRoutes_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<Route>("route");
        QTest::newRow("settings") << QStringLiteral("settings") << to(Kind::Settings);
        QTest::newRow("downloads") << QStringLiteral("downloads") << to(Kind::Downloads);
        QTest::newRow("diagnostics") << QStringLiteral("diagnostics") << to(Kind::Settings);
        QTest::newRow("home") << QStringLiteral("home") << to(Kind::Home);
    }
    void topBarRoutes()
    {
        QFETCH(QString, action);
        QFETCH(Route, route);
        MusicShellRig rig;
        AppState &state = *rig.state;
        TopBarModel bar(&state);
        state.setRoute(to(Kind::Liked));
        state.setShowNowPlaying(true);
        state.setShowQueue(true);
        const auto run = [&] { action == QLatin1String("home") ? bar.goHome() : bar.trigger(action); };
        run();
        QCOMPARE(state.route(), route);
        QVERIFY(state.showNowPlaying());
        QVERIFY(state.showQueue());
        QSignalSpy routes(&state, &AppState::routeChanged);
        run();
        QCOMPARE(routes.size(), 0);
    }

    void topBarChecksForToolUpdates()
    {
        MusicShellRig rig;
        TestToolMirror mirror(rig.env.root());
        mirror.serveRelease(Tool::Ytdlp, QStringLiteral("2026.08.19"));
        TopBarModel bar(rig.state.get());
        bar.trigger(QStringLiteral("checkForUpdates"));
        QVERIFY(rig.state->deps().busy());
        QTRY_VERIFY_WITH_TIMEOUT(!rig.state->deps().busy(), 30000);
        QVERIFY(mirror.releaseLookupCount() > 0);
        QCOMPARE(rig.state->route(), to(Kind::Home));
    }

    void nameTrimming_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");
        QTest::newRow("outer spaces") << QStringLiteral("  a b  ") << QStringLiteral("a b");
        QTest::newRow("tabs") << QStringLiteral("\ta\t") << QStringLiteral("a");
        QTest::newRow("no-break space") << QStringLiteral("\u00a0Mix\u2003") << QStringLiteral("Mix");
        QTest::newRow("line breaks stay") << QStringLiteral(" \nMix\n ") << QStringLiteral("\nMix\n");
        QTest::newRow("blank") << QStringLiteral(" \t ") << QString();
        QTest::newRow("unchanged") << QStringLiteral("Evening") << QStringLiteral("Evening");
    }
    void nameTrimming()
    {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QCOMPARE(NamePromptModel::trimmed(text), trimmed);
        MusicShellRig rig;
        NamePromptModel sheet(rig.state.get());
        sheet.setText(text);
        QCOMPARE(sheet.canCommit(), !trimmed.isEmpty());
    }

    // `done` runs once, after the prompt is cleared, with the trimmed text; blank text, cancel
    // and a second commit never call it.
    void namePromptCommit()
    {
        MusicShellRig rig;
        AppState &state = *rig.state;
        NamePromptModel sheet(&state);
        QVERIFY(!sheet.shown());
        QStringList calls;
        bool clearedFirst = false;
        NamePrompt prompt{QUuid::createUuid(), QStringLiteral("Rename Playlist"), QStringLiteral("Evening"),
                          QStringLiteral("Rename"), [&](const QString &name) {
                              calls.append(name);
                              clearedFirst = !state.namePrompt();
                          }};
        QSignalSpy shown(&sheet, &NamePromptModel::promptChanged);
        state.setNamePrompt(prompt);
        QCOMPARE(shown.size(), 1);
        QVERIFY(sheet.shown());
        QCOMPARE(sheet.title(), QStringLiteral("Rename Playlist"));
        QCOMPARE(sheet.action(), QStringLiteral("Rename"));
        QCOMPARE(sheet.text(), QStringLiteral("Evening"));

        sheet.setText(QStringLiteral("   "));
        sheet.commit();
        QVERIFY(state.namePrompt());
        QVERIFY(calls.isEmpty());

        sheet.setText(QStringLiteral("  a b  "));
        sheet.commit();
        sheet.commit();
        QCOMPARE(calls, QStringList{QStringLiteral("a b")});
        QVERIFY(clearedFirst);
        QVERIFY(!sheet.shown());

        state.setNamePrompt(prompt);
        QCOMPARE(sheet.text(), QStringLiteral("Evening")); // a new showing starts from the initial text
        sheet.cancel();
        sheet.commit();
        QVERIFY(!state.namePrompt());
        QCOMPARE(calls.size(), 1);
    }

    // A `done` that asks for the next name keeps it; a prompt replaced while shown is never called.
    void namePromptChain()
    {
        MusicShellRig rig;
        AppState &state = *rig.state;
        NamePromptModel sheet(&state);
        QStringList calls;
        NamePrompt second{QUuid::createUuid(), QStringLiteral("Import Playlist"), QString(), QStringLiteral("Import"),
                          [&](const QString &link) { calls.append(QStringLiteral("second ") + link); }};
        NamePrompt first{QUuid::createUuid(), QStringLiteral("New Playlist"), QString(), QStringLiteral("Create"),
                         [&](const QString &name) {
                             calls.append(QStringLiteral("first ") + name);
                             state.setNamePrompt(second);
                         }};
        state.setNamePrompt(first);
        sheet.setText(QStringLiteral("Mix"));
        sheet.commit();
        QCOMPARE(calls, QStringList{QStringLiteral("first Mix")});
        QVERIFY(sheet.shown());
        QCOMPARE(sheet.title(), QStringLiteral("Import Playlist"));
        QCOMPARE(sheet.text(), QString());
        QVERIFY(!sheet.canCommit());

        NamePrompt replaced = first;
        replaced.id = QUuid::createUuid();
        replaced.done = [&](const QString &) { calls.append(QStringLiteral("replaced")); };
        state.setNamePrompt(replaced);
        state.setNamePrompt(second);
        sheet.setText(QStringLiteral("http://127.0.0.1:9/list"));
        sheet.commit();
        QCOMPARE(calls, (QStringList{QStringLiteral("first Mix"), QStringLiteral("second http://127.0.0.1:9/list")}));
    }

    // The screen changes with the kind of route only; a playlist to another changes just the id.
    void routeScreens_data()
    {
        QTest::addColumn<Route>("from");
        QTest::addColumn<Route>("to");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<int>("screenChanges");
        QTest::addColumn<int>("idChanges");
        const Route first = Route::playlist(MusicShellRig::playlistID(1));
        const Route third = Route::playlist(MusicShellRig::playlistID(3));
        QTest::newRow("home to search") << to(Kind::Home) << to(Kind::Search) << QStringLiteral("search") << 1 << 0;
        QTest::newRow("same route") << to(Kind::Settings) << to(Kind::Settings) << QStringLiteral("settings") << 0 << 0;
        QTest::newRow("playlist to playlist") << first << third << QStringLiteral("playlist") << 0 << 1;
        QTest::newRow("home to playlist") << to(Kind::Home) << first << QStringLiteral("playlist") << 1 << 1;
        QTest::newRow("playlist to liked") << first << to(Kind::Liked) << QStringLiteral("liked") << 1 << 1;
        QTest::newRow("library downloads")
            << to(Kind::Downloads) << to(Kind::LibraryDownloads) << QStringLiteral("libraryDownloads") << 1 << 0;
    }
    void routeScreens()
    {
        QFETCH(Route, from);
        QFETCH(Route, to);
        QFETCH(QString, screen);
        QFETCH(int, screenChanges);
        QFETCH(int, idChanges);
        MusicShellRig rig;
        rig.state->setRoute(from);
        RouteViewModel routes(rig.state.get());
        QSignalSpy screens(&routes, &RouteViewModel::screenChanged);
        QSignalSpy ids(&routes, &RouteViewModel::playlistIdChanged);
        rig.state->setRoute(to);
        QCOMPARE(routes.screen(), screen);
        QCOMPARE(screens.size(), screenChanges);
        QCOMPARE(ids.size(), idChanges);
        QCOMPARE(routes.playlistId(),
                 to.kind == Kind::Playlist ? to.playlistID.toString(QUuid::WithoutBraces).toUpper() : QString());
    }

    void routeNames_data()
    {
        QTest::addColumn<Route>("route");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("symbol");
        QTest::newRow("playlist") << Route::playlist(QUuid::createUuid()) << QStringLiteral("Playlist")
                                  << QStringLiteral("music.note");
        QTest::newRow("liked") << to(Kind::Liked) << QStringLiteral("Liked Songs") << QStringLiteral("heart.fill");
        QTest::newRow("library downloads")
            << to(Kind::LibraryDownloads) << QStringLiteral("Downloads") << QStringLiteral("arrow.down.circle.fill");
        QTest::newRow("download manager")
            << to(Kind::Downloads) << QStringLiteral("Downloads") << QStringLiteral("tray.and.arrow.down.fill");
    }
    void routeNames()
    {
        QFETCH(Route, route);
        QFETCH(QString, title);
        QFETCH(QString, symbol);
        MusicShellRig rig;
        RouteViewModel routes(rig.state.get());
        rig.state->setRoute(route);
        QCOMPARE(routes.title(), title);
        QCOMPARE(routes.symbol(), symbol);
    }

    void exploreMoods()
    {
        QCOMPARE(RouteViewModel::moods(),
                 (QStringList{QStringLiteral("Chill"), QStringLiteral("Workout"), QStringLiteral("Focus"),
                              QStringLiteral("Party"), QStringLiteral("Sleep"), QStringLiteral("Road Trip"),
                              QStringLiteral("Throwbacks"), QStringLiteral("Feel Good"), QStringLiteral("Romance"),
                              QStringLiteral("Study")}));
    }

    // The window's overlays follow the shared state; the banner the player's last failure.
    void shellFollowsState()
    {
        MusicShellRig rig;
        AppState &state = *rig.state;
        MusicShellModel shell(&state);
        QSignalSpy queue(&shell, &MusicShellModel::showQueueChanged);
        QSignalSpy nowPlaying(&shell, &MusicShellModel::showNowPlayingChanged);
        state.setShowQueue(true);
        state.setShowNowPlaying(true);
        QVERIFY(shell.showQueue());
        QVERIFY(shell.showNowPlaying());
        QCOMPARE(queue.size(), 1);
        QCOMPARE(nowPlaying.size(), 1);

        QCOMPARE(shell.errorMessage(), QString());
        const Track broken = song("ddddddddddd");
        rig.catalog->answers.insert(broken.id, MusicError{QStringLiteral("This video is unavailable.")});
        state.player().play(broken, {});
        QTRY_COMPARE(shell.errorMessage(), QStringLiteral("Couldn\u2019t play \u201cSong ddddddddddd\u201d: This video "
                                                          "is unavailable."));
    }
};

QTEST_MAIN(TestMusicShellModels)
#include "tst_musicshellmodels.moc"
