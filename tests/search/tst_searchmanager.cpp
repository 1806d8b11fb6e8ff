#include "OfflineYtDlp.h"
#include "PlayerRig.h"
#include "TestLog.h"
#include "player/YTMusicCatalog.h"
#include "search/SearchManager.h"

#include <QSignalSpy>
#include <QTest>

using Phase = SearchManager::SearchPhase;
using Answers = QList<MusicResult<QList<Track>>>;

namespace {

const QString videoLink = QStringLiteral("https://www.youtube.com/watch?v=abcdefghijk");
const QString listLink = QStringLiteral("https://www.youtube.com/playlist?list=PLxyz");
const QString trendingQuery = QStringLiteral("top music hits this week");

QStringList idsOf(const QList<Track> &tracks)
{
    QStringList ids;
    for (const Track &track : tracks)
        ids.append(track.id);
    return ids;
}

MusicError failure(const char *message)
{
    return MusicError{QString::fromUtf8(message)};
}

PlaylistRef playlist(const QString &id)
{
    return PlaylistRef{id, id + QStringLiteral(" Hits"), QStringLiteral("Owner"),
                       QStringLiteral("https://www.youtube.com/playlist?list=") + id, std::nullopt};
}

Track placeholder()
{
    return Track{QStringLiteral("abcdefghijk"),
                 QStringLiteral("Loading\u2026"),
                 QString(),
                 std::nullopt,
                 std::nullopt,
                 std::nullopt};
}

} // namespace

class TestSearchManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void submit_data()
    {
        QTest::addColumn<QString>("query");               // the search field before submitting
        QTest::addColumn<std::optional<QString>>("text"); // submitted text; none submits the query
        QTest::addColumn<Answers>("searches");            // answers for "search q"
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<Phase>("phase");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("tracks");
        QTest::addColumn<int>("playlists");
        QTest::addColumn<std::optional<QString>>("linkTitle");
        QTest::addColumn<QStringList>("recent");
        QTest::addColumn<QStringList>("queue");

        const QList<Track> two = PlayerRig::tracks(2);
        const QStringList twoIDs = idsOf(two);
        const QStringList searchCalls{QStringLiteral("playlists q playlist"), QStringLiteral("search q 25"),
                                      QStringLiteral("search q 25")};
        const QStringList q{QStringLiteral("q")};
        const std::optional<QString> none;

        QTest::newRow("padded query is trimmed and recorded")
            << QStringLiteral("  q \t\n") << none << Answers{two} << searchCalls.mid(0, 2) << Phase::Done << QString()
            << twoIDs << 1 << none << q << QStringList();
        QTest::newRow("single-video link plays at once")
            << QString() << std::optional(videoLink) << Answers()
            << QStringList{QStringLiteral("expand ") + videoLink + QStringLiteral(" 200")} << Phase::Done << QString()
            << QStringList{placeholder().id} << 0 << none << QStringList() << QStringList{placeholder().id};
        QTest::newRow("playlist link is listed under its title")
            << QString() << std::optional(listLink) << Answers()
            << QStringList{QStringLiteral("expand ") + listLink + QStringLiteral(" 200")} << Phase::Done << QString()
            << twoIDs << 0 << std::optional(QStringLiteral("Road Trip")) << QStringList() << QStringList();
        QTest::newRow("a rejected link fails with the catalogue's message")
            << QString() << std::optional(videoLink + QStringLiteral("x")) << Answers()
            << QStringList{QStringLiteral("expand ") + videoLink + QStringLiteral("x 200")} << Phase::Failed
            << QStringLiteral("That link isn\u2019t a playlist.") << QStringList() << 0 << none << QStringList()
            << QStringList();
        QTest::newRow("an error, then a good retry")
            << QString() << std::optional(QStringLiteral("q")) << Answers{failure("Boom."), two} << searchCalls
            << Phase::Done << QString() << twoIDs << 1 << none << q << QStringList();
        QTest::newRow("an error, then an empty retry keeps the first message")
            << QString() << std::optional(QStringLiteral("q")) << Answers{failure("Boom."), QList<Track>()}
            << searchCalls << Phase::Failed << QStringLiteral("Boom.") << QStringList() << 1 << none << q
            << QStringList();
        QTest::newRow("an empty retry's error replaces the first")
            << QString() << std::optional(QStringLiteral("q")) << Answers{failure("Boom."), failure("Bang.")}
            << searchCalls << Phase::Failed << QStringLiteral("Bang.") << QStringList() << 1 << none << q
            << QStringList();
        QTest::newRow("two empty attempts: no results, playlists shown")
            << QString() << std::optional(QStringLiteral(" q ")) << Answers() << searchCalls << Phase::Failed
            << QStringLiteral("No results for \u201Cq\u201D.") << QStringList() << 1 << none << q << QStringList();
    }

    void submit()
    {
        QFETCH(QString, query);
        QFETCH(std::optional<QString>, text);
        QFETCH(Answers, searches);
        QFETCH(QStringList, calls);

        PlayerRig rig;
        rig.catalog.listings.insert(QStringLiteral("search q"), searches);
        rig.catalog.playlists.insert(
            QStringLiteral("q playlist"),
            {PlaylistRef{QStringLiteral("PL1"), QStringLiteral("Hits"), QString(),
                         QStringLiteral("https://www.youtube.com/playlist?list=PL1"), std::nullopt}});
        rig.catalog.expansions.insert(videoLink, YTMusic::Expansion{QString(), {placeholder()}});
        rig.catalog.expansions.insert(listLink, YTMusic::Expansion{QStringLiteral("Road Trip"), PlayerRig::tracks(2)});
        SearchManager search(&rig.library, &rig.catalog);
        search.setQuery(query);

        // The fake answers at once, so the task ends within the call.
        search.submit(text, rig.player.get());
        QTRY_VERIFY(search.phase() != Phase::Loading);

        const QString submitted = text.value_or(query).trimmed();
        QCOMPARE(search.query(), submitted);
        QCOMPARE(search.submitted(), submitted);
        QCOMPARE(rig.catalog.calls, calls);
        QTEST(search.phase(), "phase");
        QTEST(search.message(), "message");
        QTEST(idsOf(search.tracks()), "tracks");
        QTEST(int(search.playlists().size()), "playlists");
        QTEST(search.linkTitle(), "linkTitle");
        QTEST(rig.library.searches(), "recent");
        QTEST(rig.queueIds(), "queue");
        // Results other than the placeholder reach the catalog.
        for (const Track &track : search.tracks())
            QCOMPARE(rig.library.catalog().contains(track.id), track.id != placeholder().id);
    }

    void blankTextChangesNothing()
    {
        PlayerRig rig;
        rig.catalog.listings.insert(QStringLiteral("search q"), {PlayerRig::tracks(1)});
        rig.catalog.holding = true;
        SearchManager search(&rig.library, &rig.catalog);
        search.submit(QStringLiteral("q"), rig.player.get());
        QSignalSpy changes(&search, &SearchManager::phaseChanged);

        search.submit(QStringLiteral(" \n\t "), rig.player.get());
        search.setQuery(QStringLiteral("  "));
        search.submit(std::nullopt, rig.player.get());
        QCOMPARE(search.submitted(), QStringLiteral("q"));
        QCOMPARE(rig.library.searches(), QStringList{QStringLiteral("q")});
        QVERIFY(rig.catalog.cancelled.isEmpty());
        QCOMPARE(changes.count(), 0);

        rig.catalog.release();
        QTRY_COMPARE(search.phase(), Phase::Done);
        QCOMPARE(search.tracks().size(), 1);
    }

    void onlyTheLatestSubmissionPublishes()
    {
        PlayerRig rig;
        rig.catalog.listings.insert(QStringLiteral("search first"), {PlayerRig::tracks(1)});
        rig.catalog.listings.insert(QStringLiteral("search second"), {PlayerRig::tracks(3)});
        rig.catalog.playlists.insert(QStringLiteral("first playlist"), {playlist(QStringLiteral("PLfirst"))});
        rig.catalog.playlists.insert(QStringLiteral("second playlist"), {playlist(QStringLiteral("PLsecond"))});
        rig.catalog.holding = true;
        SearchManager search(&rig.library, &rig.catalog);
        QSignalSpy results(&search, &SearchManager::resultsChanged);

        search.submit(QStringLiteral("first"), rig.player.get());
        search.submit(QStringLiteral("second"), rig.player.get());
        // The first submission's children are killed, before anything is released.
        QTRY_COMPARE(rig.catalog.cancelled,
                     (QStringList{QStringLiteral("playlists first playlist"), QStringLiteral("search first 25")}));
        rig.catalog.release();
        QTRY_COMPARE(search.phase(), Phase::Done);
        QCOMPARE(search.tracks().size(), 3);
        QCOMPARE(search.playlists(), QList<PlaylistRef>{playlist(QStringLiteral("PLsecond"))});
        // Two clearings and the second's results: nothing of the first ever showed.
        QCOMPARE(results.count(), 3);
        QCOMPARE(rig.library.searches(), (QStringList{QStringLiteral("second"), QStringLiteral("first")}));

        // A link clears the playlists found before, at once, and finds none of its own.
        rig.catalog.holding = false;
        rig.catalog.expansions.insert(listLink, YTMusic::Expansion{QStringLiteral("Road Trip"), PlayerRig::tracks(2)});
        search.submit(listLink, rig.player.get());
        QVERIFY(search.playlists().isEmpty());
        QTRY_COMPARE(search.phase(), Phase::Done);
        QVERIFY(search.playlists().isEmpty());
    }

    // The playlists are searched beside the songs, and the results show once both are in, in the
    // order the site gave them, whichever answer comes first.
    void playlistsComeWithTheSongs_data()
    {
        QTest::addColumn<bool>("songsFirst");
        QTest::newRow("songs answer first") << true;
        QTest::newRow("playlists answer first") << false;
    }
    void playlistsComeWithTheSongs()
    {
        QFETCH(bool, songsFirst);
        PlayerRig rig;
        const QList<PlaylistRef> found{playlist(QStringLiteral("PLb")), playlist(QStringLiteral("PLa"))};
        rig.catalog.listings.insert(QStringLiteral("search q"), {PlayerRig::tracks(2)});
        rig.catalog.playlists.insert(QStringLiteral("q playlist"), found);
        rig.catalog.holding = true;
        SearchManager search(&rig.library, &rig.catalog);
        search.submit(QStringLiteral("q"), rig.player.get());
        // Both asked before either answers.
        QCOMPARE(rig.catalog.heldCount(), 2);

        if (songsFirst) {
            // The songs' answer comes on the next turn of the event loop.
            rig.catalog.releaseNewest();
            QCoreApplication::processEvents();
            QCOMPARE(rig.catalog.heldCount(), 1);
            QCOMPARE(search.phase(), Phase::Loading);
            QVERIFY(search.tracks().isEmpty());
        }
        rig.catalog.release();
        QTRY_COMPARE(search.phase(), Phase::Done);
        QCOMPARE(search.tracks().size(), 2);
        QCOMPARE(search.playlists(), found);
    }

    void trending()
    {
        PlayerRig rig;
        rig.catalog.listings.insert(QStringLiteral("search ") + trendingQuery,
                                    {failure("Offline."), PlayerRig::tracks(2)});
        SearchManager search(&rig.library, &rig.catalog);

        search.loadTrending();
        QTRY_COMPARE(search.trendingPhase(), Phase::Failed);
        QCOMPARE(search.trendingMessage(), QStringLiteral("Offline."));
        QVERIFY(search.trending().isEmpty());

        // A failure allows another attempt; a submission meanwhile does not cancel it.
        rig.catalog.holding = true;
        search.loadTrending();
        QCOMPARE(search.trendingPhase(), Phase::Loading);
        search.loadTrending();
        search.submit(QStringLiteral("q"), rig.player.get());
        search.submit(QStringLiteral("r"), rig.player.get());
        rig.catalog.release();
        QTRY_COMPARE(search.trendingPhase(), Phase::Done);
        QCOMPARE(search.trending().size(), 2);
        QVERIFY(rig.library.catalog().contains(search.trending().first().id));

        // Loaded is final.
        search.loadTrending();
        QCOMPARE(search.trendingPhase(), Phase::Done);
        QCOMPARE(rig.catalog.calls.count(QStringLiteral("search ") + trendingQuery + QStringLiteral(" 20")), 2);
    }

    // Debian's yt-dlp cannot reach the site: the search is tried twice, then the reason shows.
    void realSearchWithoutNetwork()
    {
        PlayerRig rig;
        OfflineYtDlp::install(rig.environment);
        YTMusicCatalog catalog;
        SearchManager search(&rig.library, &catalog);
        search.submit(QStringLiteral("lofi"), rig.player.get());
        QTRY_COMPARE_WITH_TIMEOUT(search.phase(), Phase::Failed, 60000);
        QCOMPARE(search.message(), OfflineYtDlp::networkMessage());
        QVERIFY(search.tracks().isEmpty());
        QVERIFY(search.playlists().isEmpty());
        const QStringList errors = TestLog::appLogLines().filter(QStringLiteral("music list error ytsearch25:lofi: "));
        QCOMPARE(errors.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSearchManager)
#include "tst_searchmanager.moc"
