#include "AppStateRig.h"
#include "MusicShellRig.h"
#include "PlayerRig.h"
#include "coordinator/PlaylistImporter.h"
#include "player/YTMusicCatalog.h"
#include "ui/music/PlaylistsModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

namespace {
using Kind = Route::Kind;

const QString mixLink = QStringLiteral("https://www.youtube.com/watch?v=song0000001&list=RDmix");
const QString listLink = QStringLiteral("https://www.youtube.com/playlist?list=PLroad");

QStringList names(const QList<Playlist> &playlists)
{
    QStringList list;
    for (const Playlist &playlist : playlists)
        list.append(playlist.name);
    return list;
}

QStringList titles(const CardListModel &cards)
{
    QStringList list;
    for (int row = 0; row < cards.rowCount(); ++row)
        list.append(cards.index(row).data(CardListModel::TitleRole).toString());
    return list;
}

// Answers the name sheet as the user would: the prompt is taken off, then given the text.
void answer(AppState &state, const QString &text)
{
    const std::optional<NamePrompt> prompt = state.namePrompt();
    QVERIFY(prompt);
    state.setNamePrompt(std::nullopt);
    prompt->done(text);
}
} // namespace

class TestPlaylistsModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { qputenv("MORVANE_IMAGE_HOST", "http://127.0.0.1:9"); }

    // One card per playlist in stored order; the empty state once the last one goes.
    void grid()
    {
        MusicShellRig rig;
        LibraryStore &library = rig.state->library();
        PlaylistsModel model(*rig.state);
        QAbstractItemModelTester tester(model.cards());
        QSignalSpy emptied(&model, &PlaylistsModel::emptyChanged);
        QCOMPARE(titles(*model.cards()),
                 (QStringList{QStringLiteral("Road Songs"), QStringLiteral("Evening"), QStringLiteral("Road Songs")}));
        QVERIFY(!model.empty());
        library.add(PlayerRig::tracks(2), MusicShellRig::playlistID(2));
        QCOMPARE(model.cards()->index(1).data(CardListModel::SubtitleRole).toString(), QStringLiteral("2 songs"));
        for (int number = 1; number <= 3; ++number)
            library.deletePlaylist(MusicShellRig::playlistID(number));
        QVERIFY(model.empty());
        QCOMPARE(emptied.size(), 1);
        library.createPlaylist(QStringLiteral("Fresh"), {});
        QCOMPARE(titles(*model.cards()), QStringList{QStringLiteral("Fresh")});
        QVERIFY(!model.empty());
    }

    // New asks for a name and opens the new, empty playlist, even once the screen is gone.
    void newPlaylist_data()
    {
        QTest::addColumn<QString>("entered");
        QTest::addColumn<QString>("name");
        QTest::newRow("named") << QStringLiteral("Night Drive") << QStringLiteral("Night Drive");
        QTest::newRow("empty") << QString() << QStringLiteral("New Playlist");
    }
    void newPlaylist()
    {
        QFETCH(QString, entered);
        QFETCH(QString, name);
        AppStateRig rig;
        auto model = std::make_unique<PlaylistsModel>(*rig.state);
        model->newPlaylist();
        const std::optional<NamePrompt> &prompt = rig.state->namePrompt();
        QVERIFY(prompt);
        QCOMPARE(prompt->title, QStringLiteral("New Playlist"));
        QCOMPARE(prompt->initial, QString());
        QCOMPARE(prompt->action, QStringLiteral("Create"));
        model.reset();
        answer(*rig.state, entered);
        const QList<Playlist> playlists = rig.state->library().playlists();
        QCOMPARE(names(playlists), QStringList{name});
        QVERIFY(playlists.constFirst().tracks.isEmpty());
        QCOMPARE(rig.state->route(), Route::playlist(playlists.constFirst().id));
        QCOMPARE(rig.state->toastText(), QString());
    }

    // An import runs in the coordinator: the screen may go, the user may move on, and the new
    // playlist opens when the listing arrives.
    void import_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        QTest::newRow("titled") << QStringLiteral("Road Mix") << QStringLiteral("Road Mix");
        QTest::newRow("untitled") << QString() << QStringLiteral("Imported Playlist");
    }
    void import()
    {
        QFETCH(QString, title);
        QFETCH(QString, name);
        AppStateRig rig;
        rig.catalog->expansions.insert(mixLink, YTMusic::Expansion{title, PlayerRig::tracks(3)});
        rig.catalog->holding = true;
        auto model = std::make_unique<PlaylistsModel>(*rig.state);
        model->importPlaylist();
        QCOMPARE(rig.state->namePrompt()->title, QStringLiteral("Paste a YouTube playlist or mix link"));
        QCOMPARE(rig.state->namePrompt()->action, QStringLiteral("Import"));
        model.reset();
        answer(*rig.state, mixLink);
        QCOMPARE(rig.state->toastText(), QStringLiteral("Importing playlist…"));
        rig.state->setRoute({Kind::Home, {}});
        QTRY_COMPARE(rig.catalog->heldCount(), 1);
        QCOMPARE(rig.catalog->calls, QStringList{QStringLiteral("expand %1 200").arg(mixLink)});

        rig.catalog->release();
        QTRY_COMPARE(rig.state->library().playlists().size(), 1);
        const Playlist playlist = rig.state->library().playlists().constFirst();
        QCOMPARE(playlist.name, name);
        QCOMPARE(playlist.tracks, PlayerRig::tracks(3));
        QCOMPARE(playlist.sourceURL, std::optional(mixLink));
        QCOMPARE(rig.state->toastText(), QStringLiteral("Imported 3 songs"));
        QCOMPARE(rig.state->route(), Route::playlist(playlist.id));
    }

    // Two imports run side by side; each makes its own playlist when its answer comes.
    void importsSideBySide()
    {
        AppStateRig rig;
        rig.catalog->expansions.insert(mixLink, YTMusic::Expansion{QStringLiteral("Mix"), PlayerRig::tracks(2)});
        rig.catalog->expansions.insert(listLink, YTMusic::Expansion{QStringLiteral("Road"), PlayerRig::tracks(4)});
        rig.catalog->holding = true;
        PlaylistImporter &importer = rig.state->importer();
        importer.import(mixLink);
        importer.import(listLink);
        QTRY_COMPARE(rig.catalog->heldCount(), 2);
        rig.catalog->releaseNewest();
        QTRY_COMPARE(rig.state->library().playlists().size(), 1);
        QCOMPARE(rig.state->toastText(), QStringLiteral("Imported 4 songs"));
        rig.catalog->release();
        QTRY_COMPARE(rig.state->library().playlists().size(), 2);
        QCOMPARE(names(rig.state->library().playlists()), (QStringList{QStringLiteral("Road"), QStringLiteral("Mix")}));
        QCOMPARE(rig.state->route(), Route::playlist(rig.state->library().playlists().last().id));
    }

    // A link the catalogue cannot list ends with its message, and nothing is made.
    void importFails()
    {
        AppStateRig rig;
        rig.state->setRoute({Kind::Explore, {}});
        rig.state->importer().import(QStringLiteral("https://www.youtube.com/playlist?list=PLgone"));
        QTRY_COMPARE(rig.state->toastText(), QStringLiteral("That link isn’t a playlist."));
        QVERIFY(rig.state->library().playlists().isEmpty());
        QCOMPARE(rig.state->route(), (Route{Kind::Explore, {}}));
    }

    // Through the application's own catalogue: a foreign link is refused before yt-dlp runs; a
    // single video becomes "Imported Playlist" holding its stand-in song.
    void realCatalogue_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("toast");
        QTest::addColumn<QStringList>("playlists");
        QTest::newRow("foreign link") << QStringLiteral("https://example.com/x")
                                      << QStringLiteral("That link isn’t a YouTube video or playlist.")
                                      << QStringList();
        QTest::newRow("single video") << QStringLiteral("https://www.youtube.com/watch?v=song0000001")
                                      << QStringLiteral("Imported 1 songs")
                                      << QStringList{QStringLiteral("Imported Playlist")};
    }
    void realCatalogue()
    {
        QFETCH(QString, link);
        QFETCH(QString, toast);
        QFETCH(QStringList, playlists);
        TestEnvironment environment;
        LibraryStore library;
        YTMusicCatalog catalog;
        PlaylistImporter importer(library, catalog);
        QSignalSpy toasts(&importer, &PlaylistImporter::toast);
        QSignalSpy opened(&importer, &PlaylistImporter::imported);
        importer.import(link);
        QTRY_COMPARE(toasts.size(), 2);
        QCOMPARE(toasts.at(0).at(0).toString(), QStringLiteral("Importing playlist…"));
        QCOMPARE(toasts.at(1).at(0).toString(), toast);
        QCOMPARE(names(library.playlists()), playlists);
        QCOMPARE(opened.size(), playlists.size());
    }
};

QTEST_MAIN(TestPlaylistsModel)
#include "tst_playlistsmodel.moc"
