#include "AppStateRig.h"
#include "FakeAudioBackend.h"
#include "FakeCatalog.h"
#include "PlayerRig.h"
#include "core/AppPaths.h"
#include "ui/music/HomeModel.h"

#include <QAbstractItemModelTester>
#include <QQuickWindow>
#include <QtConcurrent>

#include <sys/stat.h>
#include <QSignalSpy>
#include <QTest>

namespace {
using Kind = Route::Kind;

QStringList column(const QAbstractItemModel &model, int role)
{
    QStringList values;
    for (int row = 0; row < model.rowCount(); ++row)
        values.append(model.index(row, 0).data(role).toString());
    return values;
}

// A finished play of the song, now.
void played(LibraryStore &library, const Track &track)
{
    library.registerTracks({track});
    library.record(PlayEvent{track.id, QDateTime::currentDateTimeUtc(), *track.duration, track.duration, true, false});
}

// Every signal by which a list model tells its view that something changed.
struct Edits
{
    explicit Edits(QAbstractItemModel *model)
        : data(model, &QAbstractItemModel::dataChanged)
        , inserted(model, &QAbstractItemModel::rowsInserted)
        , removed(model, &QAbstractItemModel::rowsRemoved)
        , moved(model, &QAbstractItemModel::rowsMoved)
        , reset(model, &QAbstractItemModel::modelReset)
        , layout(model, &QAbstractItemModel::layoutChanged)
    {}
    [[nodiscard]] qsizetype count() const
    {
        return data.size() + inserted.size() + removed.size() + moved.size() + reset.size() + layout.size();
    }
    QSignalSpy data, inserted, removed, moved, reset, layout;
};
} // namespace

class TestHomeModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { qputenv("MORVANE_IMAGE_HOST", "http://127.0.0.1:9"); }

    // The greeting is read from the clock each time the screen shows.
    void greeting_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("text");
        QTest::newRow("04:59") << QTime(4, 59) << QStringLiteral("Late night listening");
        QTest::newRow("05:00") << QTime(5, 0) << QStringLiteral("Good morning");
        QTest::newRow("11:59") << QTime(11, 59) << QStringLiteral("Good morning");
        QTest::newRow("12:00") << QTime(12, 0) << QStringLiteral("Good afternoon");
        QTest::newRow("17:59") << QTime(17, 59) << QStringLiteral("Good afternoon");
        QTest::newRow("18:00") << QTime(18, 0) << QStringLiteral("Good evening");
        QTest::newRow("00:00") << QTime(0, 0) << QStringLiteral("Late night listening");
    }
    void greeting()
    {
        QFETCH(QTime, time);
        QFETCH(QString, text);
        AppStateRig rig;
        QDateTime now(QDate(2026, 12, 9), QTime(12, 30));
        HomeModel home(*rig.state, [&now] { return now; });
        QSignalSpy changed(&home, &HomeModel::greetingChanged);
        now.setTime(time);
        QCOMPARE(home.greeting(), QStringLiteral("Good afternoon")); // no timer: only a showing reads it
        home.shown();
        QCOMPARE(home.greeting(), text);
        QCOMPARE(changed.size(), text == QStringLiteral("Good afternoon") ? 0 : 1);
    }

    // The newest ten searches show while the engine offers only genres, and go once it offers more.
    void recentSearches()
    {
        AppStateRig rig;
        LibraryStore &library = rig.state->library();
        HomeModel home(*rig.state);
        QCOMPARE(column(*home.sections(), HomeSectionsModel::KeyRole), QStringList{QStringLiteral("genres")});
        QVERIFY(!home.searchesShown());
        QStringList typed;
        for (int n = 1; n <= 14; ++n) {
            typed.prepend(QStringLiteral("search %1").arg(n));
            library.recordSearch(typed.constFirst());
        }
        QVERIFY(home.searchesShown());
        QCOMPARE(column(*home.recentSearches(), CardListModel::TitleRole), typed.mid(0, 10));
        home.recentSearches()->activate(3);
        QCOMPARE(rig.state->route(), (Route{Kind::Search, {}}));
        QCOMPARE(rig.state->search().submitted(), typed.at(3));

        library.createPlaylist(QStringLiteral("Road"), PlayerRig::tracks(2));
        rig.state->engine().refresh(false);
        QVERIFY(column(*home.sections(), HomeSectionsModel::KeyRole).contains(QStringLiteral("playlists")));
        QVERIFY(!home.searchesShown());
        QCOMPARE(home.recentSearches()->rowCount(), 0);
        QCOMPARE(library.searches().size(), 14);
    }

    // Sections are kept by id: an unchanged refresh announces nothing, a changed one keeps the
    // shelves that stay; a playlist deleted meanwhile leaves its shelf's title with no cards.
    void sectionsInPlace()
    {
        AppStateRig rig;
        LibraryStore &library = rig.state->library();
        const Playlist road = library.createPlaylist(QStringLiteral("Road"), PlayerRig::tracks(3));
        rig.state->engine().refresh(false);
        HomeModel home(*rig.state);
        HomeSectionsModel &sections = *home.sections();
        QAbstractItemModelTester tester(&sections);
        CardListModel *genres = sections.cards(QStringLiteral("genres"));
        CardListModel *playlists = sections.cards(QStringLiteral("playlists"));
        QVERIFY(genres && playlists);
        QCOMPARE(column(*playlists, CardListModel::TitleRole), QStringList{QStringLiteral("Road")});
        Edits shelves(&sections), genreCards(genres), playlistCards(playlists);

        home.shown();
        home.shown();
        QCOMPARE(shelves.count() + genreCards.count() + playlistCards.count(), 0);

        library.renamePlaylist(road.id, QStringLiteral("Long Road"));
        QCOMPARE(column(*playlists, CardListModel::TitleRole), QStringList{QStringLiteral("Long Road")});
        QCOMPARE(playlistCards.count(), 1);

        library.deletePlaylist(road.id);
        const int row = int(column(sections, HomeSectionsModel::KeyRole).indexOf(QStringLiteral("playlists")));
        QVERIFY(row >= 0);
        QCOMPARE(sections.index(row).data(HomeSectionsModel::TitleRole).toString(), QStringLiteral("Your Playlists"));
        QCOMPARE(playlists->rowCount(), 0);

        played(library, PlayerRig::track(7));
        home.shown();
        QVERIFY(!column(sections, HomeSectionsModel::KeyRole).contains(QStringLiteral("playlists")));
        QCOMPARE(sections.cards(QStringLiteral("genres")), genres);
        QCOMPARE(shelves.reset.size(), 0);
    }

    // At a start the stored library may come in after Home has shown and ranked an empty one;
    // Home ranks again once the window next draws, whether or not anything else on it changed.
    void ranksTheStoredLibraryWhenItArrives()
    {
        AppStateRig rig;
        rig.state->library().createPlaylist(QStringLiteral("Road"), PlayerRig::tracks(2));
        rig.state.reset(); // written out, as at a quit
        // The reader waits on a pipe until the test hands it the file.
        const QString path = AppPaths::support() + QStringLiteral("/library.json");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray stored = file.readAll();
        file.close();
        QVERIFY(file.remove() && ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);

        QQuickWindow window;
        window.resize(200, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        AppState state({std::make_unique<FakeCatalog>(), std::make_unique<FakeAudioBackend>()});
        HomeModel home(state);
        QSignalSpy frames(&window, &QQuickWindow::frameSwapped);
        home.shown(&window);
        QVERIFY(frames.wait(20000));
        QTest::qWait(20);
        QVERIFY(!home.sections()->cards(QStringLiteral("playlists")));

        QFuture<void> handing = QtConcurrent::run([&path, &stored] {
            QFile pipe(path);
            if (pipe.open(QIODevice::WriteOnly))
                pipe.write(stored);
        });
        QTRY_VERIFY_WITH_TIMEOUT(home.sections()->cards(QStringLiteral("playlists")), 20000);
        QCOMPARE(column(*home.sections()->cards(QStringLiteral("playlists")), CardListModel::TitleRole),
                 QStringList{QStringLiteral("Road")});
        handing.waitForFinished();
    }

    // The card explaining Home shows while there is neither a play nor a like.
    void intro()
    {
        AppStateRig rig;
        LibraryStore &library = rig.state->library();
        library.createPlaylist(QStringLiteral("Road"), PlayerRig::tracks(2));
        library.recordSearch(QStringLiteral("lofi"));
        HomeModel home(*rig.state);
        QVERIFY(home.introShown());
        library.toggleLike(PlayerRig::track(1));
        QVERIFY(!home.introShown());
        library.toggleLike(PlayerRig::track(1));
        QVERIFY(home.introShown());
        played(library, PlayerRig::track(2));
        QVERIFY(!home.introShown());
        home.openSearch();
        QCOMPARE(rig.state->route(), (Route{Kind::Search, {}}));
    }

    // "Play Non-Stop" always switches Non-Stop on, then seeds from the best there is.
    void playNonStop_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QStringList>("queue");
        QTest::addColumn<QString>("call");
        QTest::addColumn<Route>("route");
        QTest::addColumn<QString>("toast");
        const Route home{Kind::Home, {}};
        QTest::newRow("a candidate") << QStringLiteral("liked") << QStringList{PlayerRig::track(1).id} << QString()
                                     << home << QString();
        // A song of 25 minutes is never a candidate, but it is a recent play.
        QTest::newRow("a recent play only")
            << QStringLiteral("long play") << QStringList{PlayerRig::track(2).id} << QString() << home << QString();
        QTest::newRow("searches only") << QStringLiteral("searches") << QStringList()
                                       << QStringLiteral("search newest 25") << home << QString();
        QTest::newRow("nothing") << QString() << QStringList() << QString() << Route{Kind::Search, {}}
                                 << QStringLiteral("Search for a song first to seed your station.");
    }
    void playNonStop()
    {
        QFETCH(QString, library);
        QFETCH(QStringList, queue);
        QFETCH(QString, call);
        QFETCH(Route, route);
        QFETCH(QString, toast);
        AppStateRig rig;
        LibraryStore &store = rig.state->library();
        if (library == QLatin1String("liked"))
            store.toggleLike(PlayerRig::track(1));
        if (library == QLatin1String("long play"))
            played(store, PlayerRig::track(2, 25 * 60));
        if (library == QLatin1String("searches")) {
            store.recordSearch(QStringLiteral("oldest"));
            store.recordSearch(QStringLiteral("newest"));
        }
        HomeModel home(*rig.state);
        home.playNonStop();
        QVERIFY(rig.player().nonStop());
        QStringList ids;
        for (const QueueItem &item : rig.player().queue())
            ids.append(item.track.id);
        QCOMPARE(ids, queue);
        if (!call.isEmpty())
            QTRY_VERIFY(rig.catalog->calls.contains(call));
        QCOMPARE(rig.state->route(), route);
        QCOMPARE(rig.state->toastText(), toast);
    }
};

QTEST_MAIN(TestHomeModel)
#include "tst_homemodel.moc"
