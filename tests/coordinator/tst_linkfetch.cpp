#include "AppStateRig.h"
#include "TestHttpServer.h"
#include "TestLog.h"
#include "TestMedia.h"
#include "core/SettingsStore.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// yt-dlp's start alone takes seconds on a loaded machine.
constexpr int ytdlpStartMs = 30000;

const QString invalidLink = u"That doesn’t look like a valid web address."_s;

FetchState loaded()
{
    return {FetchState::Kind::Loaded, {}};
}

} // namespace

class TestLinkFetch : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;
    std::unique_ptr<AppStateRig> m_rig;

    [[nodiscard]] QString link(const QString &path) const { return m_server.url(path).toString(); }

    AppState &state() { return *m_rig->state; }

    // Fetches `text` from the link field and waits for the answer.
    bool fetchAndWait(const QString &text)
    {
        state().setUrlText(text);
        state().fetch();
        return QTest::qWaitFor([this] { return state().fetchState().kind != FetchState::Kind::Loading; }, 60000);
    }

    // Waits until the yt-dlp run for `url` has ended, killed or not.
    static bool runEnded(const QString &url)
    {
        return QTest::qWaitFor([&] { return TestLog::appLogText().contains(u"info "_s + url + u" -> exit"_s); }, 30000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        TestMedia::serve(m_server);
        TestMedia::serveFeed(m_server);
        m_server.stall(u"/stall.mp4"_s);
    }

    void init()
    {
        m_rig = std::make_unique<AppStateRig>();
        QVERIFY(m_rig->makeReady(true));
    }

    void cleanup() { m_rig.reset(); }

    void fetches_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<FetchState>("expected");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QList<int>>("selected");
        QTest::newRow("media file") << u"/video.mp4"_s << loaded() << u"video"_s << QList<int>();
        QTest::newRow("missing page") << u"/nothing.mp4"_s
                                      << FetchState::failed(u"The media could not be found (HTTP 404)."_s) << QString()
                                      << QList<int>();
        QTest::newRow("feed") << u"/feed.xml"_s << loaded() << u"Three Clips"_s << QList<int>{1, 2, 3};
    }

    void fetches()
    {
        QFETCH(QString, path);
        QFETCH(FetchState, expected);
        QFETCH(QString, title);
        QFETCH(QList<int>, selected);
        state().setVideoFormatID(u"137"_s);
        QSignalSpy states(&state(), &AppState::fetchStateChanged);
        QVERIFY(fetchAndWait(u"  "_s + link(path) + u"\n"_s));
        QCOMPARE(state().fetchState(), expected);
        QCOMPARE(states.size(), 2); // loading, then the answer
        QCOMPARE(state().info().has_value(), expected == loaded());
        if (state().info()) {
            QCOMPARE(state().info()->title, title);
            QCOMPARE(state().selectedItems(), QSet<int>(selected.cbegin(), selected.cend()));
            QCOMPARE(state().videoFormatID(), u"auto"_s);
        }
    }

    void rejectedWithoutFetching_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<FetchState>("expected");
        QTest::newRow("blank") << u" \n\t"_s << FetchState();
        QTest::newRow("a word") << u"hello"_s << FetchState::failed(invalidLink);
        QTest::newRow("ftp") << u"ftp://files.example/x"_s << FetchState::failed(invalidLink);
        QTest::newRow("host without a dot") << u"http://localhost/x"_s << FetchState::failed(invalidLink);
        QTest::newRow("space inside") << u"https://a.example/a b"_s << FetchState::failed(invalidLink);
    }

    void rejectedWithoutFetching()
    {
        QFETCH(QString, text);
        QFETCH(FetchState, expected);
        QSignalSpy states(&state(), &AppState::fetchStateChanged);
        state().setUrlText(link(u"/stall.mp4"_s));
        state().fetch();
        state().setUrlText(text);
        state().fetch();
        QCOMPARE(state().fetchState(), expected);
        QCOMPARE(states.size(), 2);
        QVERIFY(!state().info());
        QVERIFY(!state().canDownload());
        // The stalled fetch was stopped, and says nothing when its killed run ends.
        QVERIFY(runEnded(link(u"/stall.mp4"_s)));
        QCOMPARE(state().fetchState(), expected);
    }

    void nothingIsFetchedBeforeSetup()
    {
        AppStateRig fresh;
        fresh.state->setUrlText(link(u"/video.mp4"_s));
        QSignalSpy states(fresh.state.get(), &AppState::fetchStateChanged);
        fresh.state->fetch();
        QCOMPARE(states.size(), 0);
        QCOMPARE(fresh.state->fetchState(), FetchState());
        QVERIFY(!fresh.state->canDownload());
    }

    // The first fetch would fail (its yt-dlp is killed); only the second one's answer shows.
    void newerFetchWins()
    {
        QSignalSpy states(&state(), &AppState::fetchStateChanged);
        state().setUrlText(link(u"/stall.mp4"_s));
        const qsizetype asked = m_server.requestsFor(u"/stall.mp4"_s).size();
        state().fetch();
        QVERIFY(!state().canDownload());
        QTRY_COMPARE_WITH_TIMEOUT(m_server.requestsFor(u"/stall.mp4"_s).size(), asked + 1, ytdlpStartMs);
        QVERIFY(fetchAndWait(link(u"/video.mp4"_s)));
        QCOMPARE(state().fetchState(), loaded());
        QCOMPARE(state().info()->title, u"video"_s);
        QVERIFY(runEnded(link(u"/stall.mp4"_s)));
        QCOMPARE(state().fetchState(), loaded());
        QCOMPARE(states.size(), 2);
        QVERIFY(state().canDownload());
    }

    void resetStopsTheFetch()
    {
        state().setUrlText(link(u"/stall.mp4"_s));
        const qsizetype asked = m_server.requestsFor(u"/stall.mp4"_s).size();
        state().fetch();
        QTRY_COMPARE_WITH_TIMEOUT(m_server.requestsFor(u"/stall.mp4"_s).size(), asked + 1, ytdlpStartMs);
        state().info_reset();
        QCOMPARE(state().fetchState(), FetchState());
        QVERIFY(runEnded(link(u"/stall.mp4"_s)));
        QCOMPARE(state().fetchState(), FetchState());
        QVERIFY(state().canDownload());
    }

    void downloadOfFetchedMedia()
    {
        QVERIFY(fetchAndWait(link(u"/video.mp4"_s) + u" "_s));
        SettingsStore::set(u"defaultPreset"_s, u"720p"_s); // the screen's preset counts, not this
        state().setPreset(Preset::Audio);
        state().downloadPressed();
        const QList<DownloadOptions> requests = m_rig->queued();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].url, link(u"/video.mp4"_s));
        QCOMPARE(requests[0].title, u"video"_s);
        QCOMPARE(requests[0].presetName, u"Audio Only"_s);
        QVERIFY(requests[0].audioOnly);
        QCOMPARE(state().toastText(), u"Added to queue"_s);
        QCOMPARE(state().urlText(), QString());
        QCOMPARE(state().fetchState(), FetchState());
        QVERIFY(!state().info());
    }

    void playlistNeedsAnEntry()
    {
        QVERIFY(fetchAndWait(link(u"/feed.xml"_s)));
        state().setSelectedItems({});
        state().downloadPressed();
        QVERIFY(m_rig->queued().isEmpty());
        QCOMPARE(state().toastText(), u"Select at least one playlist item."_s);
        QCOMPARE(state().fetchState(), loaded());
        QCOMPARE(state().urlText(), link(u"/feed.xml"_s));

        state().setSelectedItems({1, 3});
        state().downloadPressed();
        QCOMPARE(m_rig->queued().size(), 1);
        QVERIFY(m_rig->queued()[0].isPlaylist);
        QCOMPARE(m_rig->queued()[0].playlistItems, u"1,3"_s);
    }

    // The field was edited after its fetch, and the download was pressed before the screen
    // fetched again: the new link goes out on its own, not under the old link's title and items.
    void editedLinkIsNotSentWithTheOldFetch()
    {
        QVERIFY(fetchAndWait(link(u"/feed.xml"_s)));
        state().setSelectedItems({2});
        state().setUrlText(link(u"/audio.m4a"_s));
        state().downloadPressed();
        QCOMPARE(m_rig->queued().size(), 1);
        QCOMPARE(m_rig->queued()[0].url, link(u"/audio.m4a"_s));
        QCOMPARE(m_rig->queued()[0].title, QString());
        QVERIFY(!m_rig->queued()[0].isPlaylist);
        QCOMPARE(m_rig->queued()[0].playlistItems, std::nullopt);
        QCOMPARE(state().toastText(), u"Added to queue"_s);
        QCOMPARE(state().urlText(), QString());
        QVERIFY(!state().info());

        // The form's own button queues what was fetched, under the link it was fetched for.
        QVERIFY(fetchAndWait(link(u"/feed.xml"_s)));
        state().setUrlText(link(u"/audio.m4a"_s));
        state().enqueueCurrent();
        QCOMPARE(m_rig->queued().size(), 2);
        QCOMPARE(m_rig->queued()[1].url, link(u"/feed.xml"_s));
        QVERIFY(m_rig->queued()[1].isPlaylist);
    }

    void downloadWithoutFetchedMedia_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fetchFirst");
        QTest::addColumn<QString>("queuedLink"); // empty: nothing queued
        QTest::newRow("after a failed fetch") << link(u"/nothing.mp4"_s) << true << link(u"/nothing.mp4"_s);
        QTest::newRow("unfetched, encoded")
            << u" https://media.example/a%20b.mp4"_s << false << u"https://media.example/a%20b.mp4"_s;
        QTest::newRow("no link") << u"words"_s << false << QString();
    }

    void downloadWithoutFetchedMedia()
    {
        QFETCH(QString, text);
        QFETCH(bool, fetchFirst);
        QFETCH(QString, queuedLink);
        SettingsStore::set(u"defaultPreset"_s, u"Advanced"_s);
        if (fetchFirst)
            QVERIFY(fetchAndWait(text));
        state().setUrlText(text);
        state().downloadPressed();
        if (queuedLink.isEmpty()) {
            QVERIFY(m_rig->queued().isEmpty());
            QCOMPARE(state().fetchState(), FetchState::failed(u"Enter a valid http(s) link first."_s));
            QCOMPARE(state().toastText(), QString());
            return;
        }
        QCOMPARE(m_rig->queued().size(), 1);
        QCOMPARE(m_rig->queued()[0].url, queuedLink);
        QCOMPARE(m_rig->queued()[0].formatSelector, u"bv*+ba/b"_s);
        QCOMPARE(m_rig->queued()[0].presetName, u"Advanced"_s);
        QCOMPARE(state().toastText(), u"Added to queue"_s);
        QCOMPARE(state().urlText(), QString());
        QCOMPARE(state().fetchState(), FetchState());
    }
};

QTEST_GUILESS_MAIN(TestLinkFetch)
#include "tst_linkfetch.moc"
