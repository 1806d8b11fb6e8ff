#include "AppStateRig.h"
#include "PlayerRig.h"
#include "TestRecommender.h"
#include "ui/music/CardListModel.h"
#include "ui/music/TrackMenu.h"

#include <QAbstractItemModelTester>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace {
using Kind = Route::Kind;

const Route home{Kind::Home, {}};
const QString playlistLink = QStringLiteral("https://www.youtube.com/playlist?list=PLshelf");

Station station(const std::optional<QString> &query)
{
    return Station{QStringLiteral("radio-1"), QStringLiteral("Song 1 Radio"), QStringLiteral("Artist"),
                   PlayerRig::track(1), query};
}

const QStringList genreNames{QStringLiteral("Jazz"), QStringLiteral("R&B"), QStringLiteral("Pop"),
                             QStringLiteral("Électro"), QStringLiteral("K-Pop")};

QString coloursOf(const QStringList &names)
{
    QStringList lines;
    for (const QString &name : names) {
        const auto [from, to] = Card::genreColours(name);
        lines.append(from.name() + QLatin1Char(' ') + to.name());
    }
    return lines.join(QLatin1Char('\n'));
}
} // namespace

class TestCards : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What one click on each kind of card does, and what it leaves alone.
    void click_data()
    {
        QTest::addColumn<Card>("card");
        QTest::addColumn<bool>("inContext");
        QTest::addColumn<Route>("route");
        QTest::addColumn<QString>("submitted");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QStringList>("queue");
        QTest::addColumn<bool>("nonStop");

        Playlist playlist;
        playlist.id = QUuid::createUuid();
        playlist.name = QStringLiteral("Road");
        PlaylistRef ref{
            QStringLiteral("PLshelf"), QStringLiteral("Shelf"), QStringLiteral("Someone"), playlistLink, {}};

        QTest::newRow("song alone") << Card::ofTrack(PlayerRig::track(2)) << false << home << QString() << QString()
                                    << QStringList{PlayerRig::track(2).id} << false;
        QTest::newRow("song in its shelf") << Card::ofTrack(PlayerRig::track(2)) << true << home << QString()
                                           << QString() << TestRecommender::ids(PlayerRig::tracks(4)) << false;
        QTest::newRow("station with a query")
            << Card::ofStation(station(QStringLiteral("Lofi mix"))) << false << home << QString()
            << QStringLiteral("search Lofi mix 25") << QStringList() << true;
        QTest::newRow("station without one") << Card::ofStation(station(std::nullopt)) << false << home << QString()
                                             << QString() << QStringList{PlayerRig::track(1).id} << true;
        QTest::newRow("playlist only opens") << Card::ofPlaylist(playlist) << false << Route::playlist(playlist.id)
                                             << QString() << QString() << QStringList() << false;
        QTest::newRow("found playlist") << Card::ofRef(ref) << false << home << playlistLink
                                        << QStringLiteral("expand %1 200").arg(playlistLink) << QStringList() << false;
        QTest::newRow("genre") << Card::ofGenre(QStringLiteral("Jazz")) << false << Route{Kind::Search, {}}
                               << QStringLiteral("Jazz music") << QStringLiteral("search Jazz music 25")
                               << QStringList() << false;
        QTest::newRow("mood") << Card::ofMood(QStringLiteral("Focus")) << false << home << QString()
                              << QStringLiteral("search Focus music mix 25") << QStringList() << true;
    }
    void click()
    {
        QFETCH(Card, card);
        QFETCH(bool, inContext);
        QFETCH(Route, route);
        QFETCH(QString, submitted);
        QFETCH(QString, call);
        QFETCH(QStringList, queue);
        QFETCH(bool, nonStop);

        AppStateRig rig;
        CardListModel cards(*rig.state);
        QAbstractItemModelTester tester(&cards);
        cards.setCards({card}, inContext ? std::optional(PlayerRig::tracks(4)) : std::nullopt);
        cards.activate(0);

        QCOMPARE(rig.state->route(), route);
        QCOMPARE(rig.state->search().submitted(), submitted);
        if (!call.isEmpty())
            QTRY_VERIFY2(rig.catalog->calls.contains(call), qPrintable(rig.catalog->calls.join(QLatin1Char('|'))));
        QCOMPARE(rig.queueIds(), queue);
        if (!queue.isEmpty())
            QCOMPARE(rig.player().current()->id, card.track.id);
        QCOMPARE(rig.player().nonStop(), nonStop);
    }

    // What each card shows: the two lines, the pictures, the badge and the tooltip.
    void faces()
    {
        AppStateRig rig;
        CardListModel cards(*rig.state);
        Playlist empty;
        empty.id = QUuid::createUuid();
        empty.name = QStringLiteral("Empty");
        Playlist one = empty;
        one.id = QUuid::createUuid();
        one.tracks = {PlayerRig::track(4)};
        PlaylistRef bare{QStringLiteral("PLbare"), QStringLiteral("Bare"), QString(), playlistLink, {}};
        cards.setCards({Card::ofTrack(PlayerRig::track(1)), Card::ofStation(station(std::nullopt)),
                        Card::ofPlaylist(empty), Card::ofPlaylist(one), Card::ofRef(bare),
                        Card::ofMood(QStringLiteral("Focus"))});
        const auto at = [&cards](int row, int role) { return cards.index(row).data(role); };
        QCOMPARE(at(1, CardListModel::BadgeRole).toString(), QStringLiteral("dot.radiowaves.left.and.right"));
        QCOMPARE(at(0, CardListModel::BadgeRole).toString(), QStringLiteral("play.fill"));
        QCOMPARE(at(2, CardListModel::SubtitleRole).toString(), QStringLiteral("0 songs"));
        QCOMPARE(at(3, CardListModel::SubtitleRole).toString(), QStringLiteral("1 songs"));
        // No first song and no thumbnail: the artwork's placeholder.
        QVERIFY(at(2, CardListModel::ArtworkRole).value<QList<QUrl>>().isEmpty());
        QCOMPARE(at(3, CardListModel::ArtworkRole).value<QList<QUrl>>(), PlayerRig::track(4).artwork(false));
        QVERIFY(at(4, CardListModel::ArtworkRole).value<QList<QUrl>>().isEmpty());
        QCOMPARE(at(5, CardListModel::HelpRole).toString(), QStringLiteral("Start a Focus station"));
        QCOMPARE(at(0, CardListModel::HelpRole).toString(), QString());
    }

    // A playlist card's Play and Shuffle play it whole; an empty playlist changes nothing.
    void playlistMenu()
    {
        AppStateRig rig;
        CardListModel cards(*rig.state);
        Playlist empty;
        empty.id = QUuid::createUuid();
        Playlist full = empty;
        full.id = QUuid::createUuid();
        full.tracks = PlayerRig::tracks(5);
        cards.setCards({Card::ofPlaylist(empty), Card::ofPlaylist(full)});
        cards.play(0, false);
        QVERIFY(rig.player().queue().isEmpty());
        cards.play(1, false);
        QCOMPARE(rig.queueIds(), TestRecommender::ids(PlayerRig::tracks(5)));
        QVERIFY(!rig.player().shuffle());
        cards.play(1, true);
        QVERIFY(rig.player().shuffle());
        QCOMPARE(rig.player().queue().size(), 5);
        QCOMPARE(rig.state->route(), home);
    }

    // A right click on a song card opens the song's menu over the shelf's songs; other cards have
    // none.
    void songMenu_data()
    {
        QTest::addColumn<Card>("card");
        QTest::addColumn<bool>("inContext");
        QTest::addColumn<QStringList>("queue"); // after the menu's "Play"; none: no menu

        Playlist playlist;
        playlist.id = QUuid::createUuid();
        playlist.tracks = PlayerRig::tracks(2);
        QTest::newRow("song in its shelf")
            << Card::ofTrack(PlayerRig::track(2)) << true << TestRecommender::ids(PlayerRig::tracks(4));
        QTest::newRow("song alone") << Card::ofTrack(PlayerRig::track(2)) << false
                                    << QStringList{PlayerRig::track(2).id};
        QTest::newRow("station") << Card::ofStation(station(std::nullopt)) << true << QStringList();
        QTest::newRow("playlist") << Card::ofPlaylist(playlist) << false << QStringList();
        QTest::newRow("mood") << Card::ofMood(QStringLiteral("Focus")) << false << QStringList();
    }
    void songMenu()
    {
        QFETCH(Card, card);
        QFETCH(bool, inContext);
        QFETCH(QStringList, queue);

        AppStateRig rig;
        CardListModel cards(*rig.state);
        cards.setCards({card}, inContext ? std::optional(PlayerRig::tracks(4)) : std::nullopt);
        QObject owner;
        TrackMenu *menu = cards.menu(0, &owner);
        QCOMPARE(menu != nullptr, !queue.isEmpty());
        QCOMPARE(cards.menu(1, &owner), nullptr);
        if (!menu)
            return;
        QCOMPARE(menu->parent(), &owner);
        QStringList keys;
        for (const QVariant &entry : menu->entries())
            keys.append(entry.toMap().value(QStringLiteral("key")).toString());
        // Shown outside any playlist: no removal.
        QCOMPARE(keys, QStringLiteral("play radio next queue playlists like download").split(QLatin1Char(' ')));
        menu->choose(QStringLiteral("play"));
        QCOMPARE(rig.queueIds(), queue);
        QCOMPARE(rig.player().current()->id, card.track.id);
    }

    // The current song's card is marked; a new song touches the old and new cards only.
    void currentSong()
    {
        AppStateRig rig;
        CardListModel cards(*rig.state);
        QAbstractItemModelTester tester(&cards);
        QList<Card> shelf;
        for (const Track &track : PlayerRig::tracks(4))
            shelf.append(Card::ofTrack(track));
        cards.setCards(shelf, PlayerRig::tracks(4));
        QSignalSpy changed(&cards, &QAbstractItemModel::dataChanged);
        const auto marked = [&cards] {
            QList<int> rows;
            for (int row = 0; row < cards.rowCount(); ++row) {
                if (cards.index(row).data(CardListModel::CurrentRole).toBool())
                    rows.append(row);
            }
            return rows;
        };

        cards.activate(1);
        QCOMPARE(marked(), QList<int>{1});
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(2).value<QList<int>>(), QList<int>{CardListModel::CurrentRole});
        rig.player().playIndex(3, true);
        QCOMPARE(marked(), QList<int>{3});
        QCOMPARE(changed.size(), 3);
        QSet<int> rows{changed.at(1).at(0).toModelIndex().row(), changed.at(2).at(0).toModelIndex().row()};
        QCOMPARE(rows, (QSet<int>{1, 3}));
    }

    // A new list is brought in by edits; an equal list announces nothing.
    void edits()
    {
        AppStateRig rig;
        CardListModel cards(*rig.state);
        QAbstractItemModelTester tester(&cards);
        const auto songs = [](std::initializer_list<int> numbers) {
            QList<Card> list;
            for (const int n : numbers)
                list.append(Card::ofTrack(PlayerRig::track(n)));
            return list;
        };
        cards.setCards(songs({0, 1, 2, 3}));
        QSignalSpy reset(&cards, &QAbstractItemModel::modelReset);
        QSignalSpy inserted(&cards, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&cards, &QAbstractItemModel::rowsRemoved);
        QSignalSpy moved(&cards, &QAbstractItemModel::rowsMoved);
        QSignalSpy changed(&cards, &QAbstractItemModel::dataChanged);

        cards.setCards(songs({0, 1, 2, 3}));
        QCOMPARE(reset.size() + inserted.size() + removed.size() + moved.size() + changed.size(), 0);

        QList<Card> next = songs({3, 0, 5, 2});
        next[1].track.title = QStringLiteral("Renamed");
        cards.setCards(next);
        QCOMPARE(cards.cards(), next);
        QCOMPARE(reset.size(), 0);
        QCOMPARE(removed.size(), 1);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(cards.index(1).data(CardListModel::TitleRole).toString(), QStringLiteral("Renamed"));

        // A repeated song cannot be followed by key: the list is replaced.
        cards.setCards(songs({1, 1}));
        QCOMPARE(reset.size(), 1);
        QCOMPARE(cards.rowCount(), 2);
    }

    // Genre colours come from the name alone: the same in another process, with another hash seed.
    void genreColours()
    {
        if (qEnvironmentVariableIsSet("MORVANE_PRINT_GENRE_COLOURS")) {
            QTextStream(stdout) << "colours:" << coloursOf(genreNames) << ":end\n";
            return;
        }
        const auto [from, to] = Card::genreColours(QStringLiteral("Jazz"));
        QVERIFY(qAbs(from.hsvSaturationF() - 0.65) < 0.01 && qAbs(from.valueF() - 0.62) < 0.01);
        QVERIFY(qAbs(to.hsvSaturationF() - 0.75) < 0.01 && qAbs(to.valueF() - 0.34) < 0.01);
        // The second hue follows the first by 0.08 of the circle, wrapping past red.
        const double step = to.hsvHueF() - from.hsvHueF();
        QVERIFY(qAbs(step - 0.08) < 0.01 || qAbs(step + 0.92) < 0.01);
        QVERIFY(Card::genreColours(QStringLiteral("Jazz")) != Card::genreColours(QStringLiteral("Rock")));

        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("MORVANE_PRINT_GENRE_COLOURS"), QStringLiteral("1"));
        environment.remove(QStringLiteral("QT_HASH_SEED"));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("genreColours")});
        QVERIFY(child.waitForFinished(30000));
        const QString output = QString::fromUtf8(child.readAllStandardOutput());
        const qsizetype start = output.indexOf(QStringLiteral("colours:"));
        QVERIFY2(start >= 0, qPrintable(output));
        const qsizetype end = output.indexOf(QStringLiteral(":end"), start);
        QCOMPARE(output.mid(start + 8, end - start - 8), coloursOf(genreNames));
    }
};

QTEST_MAIN(TestCards)
#include "tst_cards.moc"
