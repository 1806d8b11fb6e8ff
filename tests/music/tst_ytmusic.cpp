#include "FakeYtDlp.h"
#include "OfflineYtDlp.h"
#include "TestEnvironment.h"
#include "TestHttpServer.h"
#include "TestLog.h"
#include "TestMedia.h"
#include "core/AppPaths.h"
#include "core/LogManager.h"
#include "core/SettingsStore.h"
#include "core/YTDLPManager.h"
#include "music/YTMusic.h"
#include "player/YTMusicCatalog.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <memory>

using namespace std::chrono_literals;

namespace {

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QJsonObject entry(const QString &id, std::optional<double> duration = {})
{
    QJsonObject object{{QStringLiteral("id"), id},
                       {QStringLiteral("title"), QStringLiteral("Song ") + id},
                       {QStringLiteral("channel"), QStringLiteral("Band")}};
    if (duration)
        object.insert(QStringLiteral("duration"), *duration);
    return object;
}

// "track000001" and so on: valid 11-character ids.
QString id(int n)
{
    return QStringLiteral("track%1").arg(n, 6, 10, QLatin1Char('0'));
}

QStringList idsOf(const QList<Track> &tracks)
{
    QStringList ids;
    for (const Track &track : tracks)
        ids.append(track.id);
    return ids;
}

bool processGone(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return true;
    return status.readAll().contains("\nState:\tZ"); // ended, waiting to be reaped by init
}

} // namespace

using Durations = QList<std::optional<double>>;
Q_DECLARE_METATYPE(Durations)

class TestYTMusic : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    std::unique_ptr<FakeYtDlp> m_fake;

    // Installs the fake on first use: until then no yt-dlp is installed.
    FakeYtDlp &fake()
    {
        if (!m_fake)
            m_fake = std::make_unique<FakeYtDlp>(*m_env);
        return *m_fake;
    }

    void answer(const QByteArray &out, const QByteArray &err = {}, int exitCode = 0)
    {
        fake().answer(out, err, exitCode);
    }

    QStringList arguments() { return fake().arguments(); }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        // Nothing here may reach the network: fail fast if a real yt-dlp ever tried.
        SettingsStore::set(QStringLiteral("remoteEJS"), false);
    }
    void cleanup()
    {
        m_fake.reset();
        m_env.reset();
    }

    void queriesAndTheirDurationFilters_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("target");
        QTest::addColumn<Durations>("durations");
        QTest::addColumn<QList<int>>("kept");
        const std::optional<double> none;

        QTest::newRow("search") << "search"
                                << "lofi" << 25 << "ytsearch25:lofi" << Durations{none, 0.0, 3600.0, 3599.5, 1.0, 215.0}
                                << QList<int>{3, 4, 5};
        QTest::newRow("search text unchanged") << "search"
                                               << "rock & roll \"live\" -x" << 5 << "ytsearch5:rock & roll \"live\" -x"
                                               << Durations{200.0} << QList<int>{0};
        QTest::newRow("radio") << "radio"
                               << "abcdefghijk" << 40
                               << "https://www.youtube.com/watch?v=abcdefghijk&list=RDabcdefghijk"
                               << Durations{none, 1800.0, 1799.9, 0.0} << QList<int>{0, 2, 3};
        QTest::newRow("newest") << "newest"
                                << "Adele" << 8 << "ytsearchdate8:Adele official audio"
                                << Durations{60.0, 60.5, 899.9, 900.0, none} << QList<int>{1, 2};
    }

    void queriesAndTheirDurationFilters()
    {
        QFETCH(QString, operation);
        QFETCH(QString, text);
        QFETCH(int, count);
        QFETCH(QString, target);
        QFETCH(Durations, durations);
        QFETCH(QList<int>, kept);

        QJsonArray entries;
        for (int i = 0; i < durations.size(); ++i)
            entries.append(entry(id(i), durations[i]));
        answer(FakeYtDlp::listing(entries));

        MusicResult<QList<Track>> result = QList<Track>();
        if (operation == QLatin1String("search"))
            result = QCoro::waitFor(YTMusic::search(text, count));
        else if (operation == QLatin1String("radio"))
            result = QCoro::waitFor(YTMusic::radio(text, count));
        else
            result = QCoro::waitFor(YTMusic::searchNewest(text, count));

        QCOMPARE(arguments(), FakeYtDlp::listingArguments(count, target));
        QVERIFY(result.ok());
        QStringList expected;
        for (int i : kept)
            expected.append(id(i));
        QCOMPARE(idsOf(result.value()), expected);
    }

    void listingsAreCleanedUp()
    {
        // Twice the same video, an entry that is not an object, ids of the wrong length: the
        // failed run (exit 1) still listed songs, and those are the result.
        QJsonArray entries{
            entry(id(1), 100), QJsonValue(),           entry(id(2), 100), entry(QStringLiteral("short"), 100),
            entry(id(1), 999), QStringLiteral("text"), entry(id(3), 100)};
        answer(FakeYtDlp::listing(entries), "ERROR: one item failed\n", 1);
        const auto result = QCoro::waitFor(YTMusic::search(QStringLiteral("q"), 10));
        QVERIFY(result.ok());
        QCOMPARE(idsOf(result.value()), (QStringList{id(1), id(2), id(3)}));
        QCOMPARE(result.value().first().duration, 100.0);
        QCOMPARE(result.value().first().artist, QStringLiteral("Band"));
        QCOMPARE(TestLog::appLogText(), QString());
    }

    void emptyListingIsNoError()
    {
        answer(FakeYtDlp::listing({}));
        const auto result = QCoro::waitFor(YTMusic::radio(QStringLiteral("abcdefghijk"), 10));
        QVERIFY(result.ok());
        QVERIFY(result.value().isEmpty());
    }

    void failedRuns_data()
    {
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        // A request starts over when tried again: nothing is said of resumed progress.
        const QString network = OfflineYtDlp::networkMessage();

        QTest::newRow("last ERROR line explained")
            << QByteArray() << QByteArray("WARNING: slow\nERROR: [youtube] abc: Video unavailable\n") << 1
            << "This video is unavailable (removed, region-locked, or deleted).";
        QTest::newRow("the last of several ERROR lines")
            << QByteArray() << QByteArray("ERROR: Private video\nERROR: unsupported URL\n\n") << 1
            << "This site or link isn’t supported by yt-dlp.";
        QTest::newRow("no ERROR line: whole error output")
            << QByteArray() << QByteArray("\nTraceback: boom\n") << 1 << "Traceback: boom";
        QTest::newRow("nothing at all") << QByteArray() << QByteArray() << 2 << "exit code 2";
        QTest::newRow("offline: only a null entry")
            << QByteArray(R"({"_type":"playlist","entries":[null]})")
            << QByteArray("ERROR: Unable to download API page: <urlopen error [Errno -2] Name or service not known>\n")
            << 1 << network;
        QTest::newRow("failed with a listing of no entries")
            << FakeYtDlp::listing({}) << QByteArray("ERROR: HTTP Error 429: Too Many Requests\n") << 1
            << "The site is rate limiting requests. Wait a while, or lower the speed/concurrency in Settings › "
               "Network.";
        QTest::newRow("output that is no object")
            << QByteArray("[1,2]") << QByteArray("ERROR: HTTP Error 403: Forbidden\n") << 1
            << "The site refused access (HTTP 403). Updating yt-dlp or using browser cookies may help.";
        QTest::newRow("success with unreadable output") << QByteArray("not json") << QByteArray() << 0 << "exit code 0";
    }

    void failedRuns()
    {
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        answer(out, err, exitCode);

        const auto result = QCoro::waitFor(YTMusic::search(QStringLiteral("q"), 5));
        QVERIFY(!result.ok());
        QCOMPARE(result.error().message, message);
        QCOMPARE(result.error().errorDescription(), message);
        const QString log = TestLog::appLogText();
        QCOMPARE(log.count(QStringLiteral("] music list error ")), 1);
        QVERIFY2(log.contains(QStringLiteral("music list error ytsearch5:q: ") + QString::fromUtf8(err)),
                 qPrintable(log));
    }

    void missingYtDlp()
    {
        const QString message = QStringLiteral("yt-dlp isn’t installed yet.");
        QCOMPARE(QCoro::waitFor(YTMusic::search(QStringLiteral("q"), 5)).error().message, message);
        QCOMPARE(QCoro::waitFor(YTMusic::radio(QStringLiteral("abcdefghijk"), 5)).error().message, message);
        QCOMPARE(QCoro::waitFor(YTMusic::searchNewest(QStringLiteral("a"), 5)).error().message, message);
        QCOMPARE(QCoro::waitFor(YTMusic::expand(QStringLiteral("https://www.youtube.com/playlist?list=PL1"), 5))
                     .error()
                     .message,
                 message);
        const Track track{QStringLiteral("abcdefghijk"), QStringLiteral("t"), QStringLiteral("a"), {}, {}, {}};
        QCOMPARE(QCoro::waitFor(YTMusic::resolve(track, 0)).error().message, message);
        QVERIFY(QCoro::waitFor(YTMusic::searchPlaylists(QStringLiteral("q"))).isEmpty());

        // A file that is not executable is no installed tool either.
        QFile plain(m_env->toolsDir() + QStringLiteral("/yt-dlp"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QCOMPARE(QCoro::waitFor(YTMusic::search(QStringLiteral("q"), 5)).error().message, message);
        QCOMPARE(TestLog::appLogText(), QString());
    }

    void timeLimit()
    {
        answer(FakeYtDlp::listing({}));
        fake().setSleeping();
        const auto result =
            QCoro::waitFor(YTMusic::detail::flat(QStringLiteral("ytsearch5:q"), 5, 300ms, CancelToken()));
        QVERIFY(!result.ok());
        QCOMPARE(result.error().message, QStringLiteral("YouTube took too long to respond."));
        QCOMPARE(TestLog::appLogText(), QString()); // a time-out is not a listing error
        // On a busy machine the fake may be killed before it started its child.
        const qint64 child = fake().child();
        QTRY_VERIFY(child <= 0 || processGone(child));
    }

    void cancellingKillsTheChild_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("search") << "search";
        QTest::newRow("playlists") << "playlists";
        QTest::newRow("resolve") << "resolve";
    }

    void cancellingKillsTheChild()
    {
        QFETCH(QString, operation);
        answer(QByteArray());
        fake().setSleeping();
        CancelToken cancel;
        qint64 child = 0;
        bool failed = false;
        // Tasks start at once and run until they wait for the child.
        if (operation == QLatin1String("search")) {
            auto task = YTMusic::search(QStringLiteral("q"), 5, cancel);
            child = fake().waitForChild();
            cancel.cancel();
            failed = !QCoro::waitFor(task).ok();
        } else if (operation == QLatin1String("playlists")) {
            auto task = YTMusic::searchPlaylists(QStringLiteral("q"), cancel);
            child = fake().waitForChild();
            cancel.cancel();
            failed = QCoro::waitFor(task).isEmpty();
        } else {
            const Track track{id(1), QStringLiteral("t"), QStringLiteral("a"), {}, {}, {}};
            auto task = YTMusic::resolve(track, 0, cancel);
            child = fake().waitForChild();
            cancel.cancel();
            failed = !QCoro::waitFor(task).ok();
        }
        QVERIFY(child > 0);
        QVERIFY(failed);
        QTRY_VERIFY(processGone(child));
    }

    // The application's catalogue runs a call made again while it runs only once, for every caller;
    // the child is killed once every caller gave up.
    void sameCallAtOnceRunsOnce()
    {
        answer(json({{QStringLiteral("entries"), QJsonArray{entry(id(2))}}}));
        YTMusicCatalog catalog;
        auto radio = catalog.radio(id(1), 40, CancelToken());
        auto radioAgain = catalog.radio(id(1), 40, CancelToken());
        QCOMPARE(idsOf(QCoro::waitFor(radioAgain).value()), idsOf(QCoro::waitFor(radio).value()));
        QCOMPARE(fake().runs().size(), 1);

        answer(QByteArray());
        fake().setSleeping();
        const CancelToken tokens[3];
        const auto search = [&](int i) { return catalog.search(QStringLiteral("q"), 5, tokens[i]); };
        auto first = search(0), second = search(1);
        const qint64 child = fake().waitForChild();
        tokens[0].cancel();
        auto third = search(2); // joins the run the second caller still waits for
        tokens[1].cancel();
        tokens[2].cancel();
        QVERIFY(!QCoro::waitFor(first).ok() && !QCoro::waitFor(second).ok() && !QCoro::waitFor(third).ok());
        QTRY_VERIFY(processGone(child));
        QCOMPARE(fake().runs().size(), 2);
    }

    void expandWithoutRunning_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("single"); // the id of the placeholder, or empty
        QTest::addColumn<QString>("message");
        const QString notVideo = QStringLiteral("That link isn’t a YouTube video or playlist.");

        QTest::newRow("watch") << "https://www.youtube.com/watch?v=abcdefghijk"
                               << "abcdefghijk" << QString();
        QTest::newRow("watch on any host") << "http://example.org/watch?t=1&v=abcdefghijk&v=x"
                                           << "abcdefghijk" << QString();
        QTest::newRow("empty list id") << "https://www.youtube.com/watch?v=abcdefghijk&list="
                                       << "abcdefghijk" << QString();
        QTest::newRow("short link") << "https://youtu.be/abcdefghijk"
                                    << "abcdefghijk" << QString();
        QTest::newRow("short link upper case") << "https://YOUTU.BE/abcdefghijk?t=3"
                                               << "abcdefghijk" << QString();
        QTest::newRow("shorts") << "https://www.youtube.com/shorts/abcdefghijk"
                                << "abcdefghijk" << QString();
        QTest::newRow("live") << "https://m.youtube.com/live/abcdefghijk?feature=share"
                              << "abcdefghijk" << QString();
        QTest::newRow("embed with trailing slash") << "https://www.youtube.com/embed/abcdefghijk/"
                                                   << "abcdefghijk" << QString();
        QTest::newRow("short link of 10 characters") << "https://youtu.be/abcdefghij" << QString() << notVideo;
        QTest::newRow("short video id") << "https://www.youtube.com/watch?v=abc" << QString() << notVideo;
        QTest::newRow("no ids") << "https://www.youtube.com/feed/trending" << QString() << notVideo;
        QTest::newRow("shorts without id") << "https://www.youtube.com/shorts/" << QString() << notVideo;
        QTest::newRow("unparsable") << "https://www.youtube.com/watch?v=a b" << QString()
                                    << "That doesn’t look like a valid link.";
        QTest::newRow("not a link") << "two words" << QString() << "That doesn’t look like a valid link.";
    }

    void expandWithoutRunning()
    {
        QFETCH(QString, link);
        QFETCH(QString, single);
        QFETCH(QString, message);
        // No yt-dlp is installed: any run would fail with "isn’t installed yet".
        const auto result = QCoro::waitFor(YTMusic::expand(link, 50));
        if (single.isEmpty()) {
            QVERIFY(!result.ok());
            QCOMPARE(result.error().message, message);
            return;
        }
        QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : result.error().message));
        QCOMPARE(result.value().title, QString());
        const Track placeholder{single, QStringLiteral("Loading…"), QStringLiteral("YouTube"), {}, {}, {}};
        QCOMPARE(result.value().tracks, QList<Track>{placeholder});
    }

    void expandLists_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("listTitle");
        QTest::addColumn<QString>("title");

        QTest::newRow("mix") << "https://www.youtube.com/watch?v=abcdefghijk&list=RDabcdefghijk"
                             << "https://www.youtube.com/watch?v=abcdefghijk&list=RDabcdefghijk"
                             << "Mix"
                             << "Mix";
        QTest::newRow("playlist ignores v") << "https://www.youtube.com/watch?v=abcdefghijk&list=PLxyz"
                                            << "https://www.youtube.com/playlist?list=PLxyz"
                                            << "Mine"
                                            << "Mine";
        QTest::newRow("RD list without video") << "https://www.youtube.com/playlist?list=RDxyz"
                                               << "https://www.youtube.com/playlist?list=RDxyz"
                                               << ""
                                               << "YouTube Playlist";
        QTest::newRow("short link with list") << "https://youtu.be/abcdefghijk?list=PLxyz"
                                              << "https://www.youtube.com/playlist?list=PLxyz"
                                              << ""
                                              << "YouTube Playlist";
    }

    void expandLists()
    {
        QFETCH(QString, link);
        QFETCH(QString, target);
        QFETCH(QString, listTitle);
        QFETCH(QString, title);
        answer(FakeYtDlp::listing({entry(id(1)), entry(id(2), 5000)}, listTitle));
        const auto result = QCoro::waitFor(YTMusic::expand(link, 77));
        QCOMPARE(arguments(), FakeYtDlp::listingArguments(77, target));
        QVERIFY(result.ok());
        QCOMPARE(result.value().title, title);
        QCOMPARE(idsOf(result.value().tracks), (QStringList{id(1), id(2)}));
    }

    void expandOfAnUnplayablePlaylist()
    {
        answer(FakeYtDlp::listing({entry(QStringLiteral("PLnotavideo1")), QJsonValue()}, QStringLiteral("Empty")));
        const auto result =
            QCoro::waitFor(YTMusic::expand(QStringLiteral("https://www.youtube.com/playlist?list=PL1"), 5));
        QVERIFY(!result.ok());
        QCOMPARE(result.error().message, QStringLiteral("That playlist has no playable items."));
    }

    void searchPlaylists()
    {
        const auto playlist = [](const QString &id, const QString &title) {
            return QJsonObject{{QStringLiteral("id"), id},
                               {QStringLiteral("url"), QStringLiteral("https://www.youtube.com/playlist?list=") + id},
                               {QStringLiteral("title"), title}};
        };
        QJsonObject full = playlist(QStringLiteral("PL1"), QStringLiteral("First"));
        full.insert(QStringLiteral("uploader"), QStringLiteral("Owner"));
        full.insert(QStringLiteral("channel"), QStringLiteral("Channel"));
        full.insert(QStringLiteral("thumbnails"),
                    QJsonArray{QJsonObject{{QStringLiteral("url"), QStringLiteral("https://i.ytimg.com/small.jpg")}},
                               QJsonObject{{QStringLiteral("url"), QStringLiteral("https://i.ytimg.com/large.jpg")}},
                               7});
        QJsonObject nullUploader = playlist(QStringLiteral("PL2"), QStringLiteral("Second"));
        nullUploader.insert(QStringLiteral("uploader"), QJsonValue());
        nullUploader.insert(QStringLiteral("channel"), QStringLiteral("Channel"));
        nullUploader.insert(QStringLiteral("thumbnails"),
                            QJsonArray{QJsonObject{{QStringLiteral("url"), QStringLiteral("not a url")}}});
        QJsonObject channelOnly = playlist(QStringLiteral("PL3"), QStringLiteral("Third"));
        channelOnly.remove(QStringLiteral("title"));
        channelOnly.insert(QStringLiteral("channel"), QStringLiteral("Channel"));
        channelOnly.insert(QStringLiteral("thumbnails"), QJsonArray{});
        QJsonObject notAList = playlist(QStringLiteral("PL4"), QStringLiteral("Video"));
        notAList.insert(QStringLiteral("url"), QStringLiteral("https://www.youtube.com/watch?v=abcdefghijk"));
        QJsonObject noId = playlist(QStringLiteral("PL5"), QStringLiteral("No id"));
        noId.remove(QStringLiteral("id"));

        answer(FakeYtDlp::listing({full, QJsonValue(), nullUploader, notAList, noId, channelOnly, full}));
        const QList<PlaylistRef> found = QCoro::waitFor(YTMusic::searchPlaylists(QStringLiteral("rock & roll/é")));
        QCOMPARE(arguments(),
                 FakeYtDlp::listingArguments(
                     8, QStringLiteral("https://www.youtube.com/results?search_query=rock%20%26%20roll%2F%C3%"
                                       "A9&sp=EgIQAw%253D%253D")));

        const PlaylistRef first{QStringLiteral("PL1"), QStringLiteral("First"), QStringLiteral("Owner"),
                                QStringLiteral("https://www.youtube.com/playlist?list=PL1"),
                                QUrl(QStringLiteral("https://i.ytimg.com/large.jpg"))};
        const PlaylistRef second{QStringLiteral("PL2"), QStringLiteral("Second"), QString(),
                                 QStringLiteral("https://www.youtube.com/playlist?list=PL2"), std::nullopt};
        const PlaylistRef third{QStringLiteral("PL3"), QStringLiteral("Playlist"), QStringLiteral("Channel"),
                                QStringLiteral("https://www.youtube.com/playlist?list=PL3"), std::nullopt};
        QCOMPARE(found, (QList<PlaylistRef>{first, second, third, first}));
    }

    void searchPlaylistsNeverFails()
    {
        answer(QByteArray(), QByteArray("ERROR: Unable to download webpage: timed out\n"), 1);
        QVERIFY(QCoro::waitFor(YTMusic::searchPlaylists(QStringLiteral("jazz"))).isEmpty());
        QVERIFY(TestLog::appLogText().contains(
            QStringLiteral("] music list error https://www.youtube.com/results?search_query=jazz")));
    }

    void isYouTubeURL_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        QTest::newRow("watch") << "https://www.youtube.com/watch?v=abcdefghijk" << true;
        QTest::newRow("bare domain") << "https://youtube.com/playlist?list=PL1" << true;
        QTest::newRow("music sub-domain") << "https://music.youtube.com/watch?v=abcdefghijk" << true;
        QTest::newRow("short link in upper case") << "https://YOUTU.BE/abcdefghijk" << true;
        QTest::newRow("surrounding blanks") << "  https://youtu.be/abcdefghijk\n" << true;
        QTest::newRow("blank inside") << "https://youtu.be/abc defghijk" << false;
        QTest::newRow("ftp") << "ftp://youtube.com/x" << false;
        QTest::newRow("other site") << "https://vimeo.com/123" << false;
        QTest::newRow("same ending, other site") << "https://notyoutube.com/watch?v=abcdefghijk" << false;
        QTest::newRow("domain as a prefix") << "https://youtube.com.example.org/watch" << false;
        QTest::newRow("plain text") << "youtube" << false;
    }

    void isYouTubeURL()
    {
        QFETCH(QString, text);
        QFETCH(bool, expected);
        QCOMPARE(YTMusic::isYouTubeURL(text), expected);
    }

    void videoSiteHostIsOverridable()
    {
        qputenv("MORVANE_VIDEO_SITE", "http://127.0.0.1:9/");
        answer(FakeYtDlp::listing({}));
        (void)QCoro::waitFor(YTMusic::radio(QStringLiteral("abcdefghijk"), 3));
        qunsetenv("MORVANE_VIDEO_SITE");
        QCOMPARE(arguments().last(), QStringLiteral("http://127.0.0.1:9/watch?v=abcdefghijk&list=RDabcdefghijk"));
    }

    void resolveSelectors_data()
    {
        QTest::addColumn<int>("attempt");
        QTest::addColumn<QString>("selector");
        const QString first = QStringLiteral("bestaudio[ext=m4a]/bestaudio[acodec^=mp4a]/bestaudio[protocol^=m3u8]");
        QTest::newRow("0") << 0 << first;
        QTest::newRow("1") << 1 << "bestaudio/best";
        QTest::newRow("2") << 2 << "best[ext=mp4]/best";
        QTest::newRow("7") << 7 << "best[ext=mp4]/best";
        QTest::newRow("negative as the first") << -1 << first;
    }

    void resolveSelectors()
    {
        QFETCH(int, attempt);
        QFETCH(QString, selector);
        answer(json({{QStringLiteral("url"), QStringLiteral("https://media.example/a.m4a")}}));
        const Track track{QStringLiteral("abcdefghijk"), QStringLiteral("t"), QStringLiteral("a"), {}, {}, {}};
        QVERIFY(QCoro::waitFor(YTMusic::resolve(track, attempt)).ok());
        QCOMPARE(arguments(),
                 (QStringList{QStringLiteral("-f"), selector, QStringLiteral("-j"), QStringLiteral("--no-playlist"),
                              QStringLiteral("--no-warnings"), QStringLiteral("--"),
                              QStringLiteral("https://www.youtube.com/watch?v=abcdefghijk")}));
    }

    void resolveReadsTheFirstLine()
    {
        const QJsonObject info{
            {QStringLiteral("id"), QStringLiteral("abcdefghijk")},
            {QStringLiteral("title"), QStringLiteral("Real Title")},
            {QStringLiteral("channel"), QStringLiteral("Singer - Topic")},
            {QStringLiteral("duration"), 215},
            {QStringLiteral("url"), QStringLiteral("https://media.example/a.m4a?sig=1")},
            {QStringLiteral("http_headers"), QJsonObject{{QStringLiteral("User-Agent"), QStringLiteral("UA/1")},
                                                         {QStringLiteral("X-Count"), 5},
                                                         {QStringLiteral("X-None"), QJsonValue()}}}};
        answer(json(info) + "\n{\"url\":\"https://other.example/b\"}\n", "WARNING: ignored\n");
        const Track placeholder{
            QStringLiteral("abcdefghijk"), QStringLiteral("Loading…"), QStringLiteral("YouTube"), {}, {},
            QStringLiteral("jazz")};
        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        const auto result = QCoro::waitFor(YTMusic::resolve(placeholder, 0));
        QVERIFY(result.ok());
        const StreamInfo &stream = result.value();
        QCOMPARE(stream.url, QUrl(QStringLiteral("https://media.example/a.m4a?sig=1")));
        QCOMPARE(stream.headers, (QMap<QString, QString>{{QStringLiteral("User-Agent"), QStringLiteral("UA/1")}}));
        const Track expected{
            QStringLiteral("abcdefghijk"), QStringLiteral("Real Title"), QStringLiteral("Singer"), 215.0, {},
            QStringLiteral("jazz")};
        QCOMPARE(stream.track, expected);
        QVERIFY(stream.resolved >= before && stream.resolved <= QDateTime::currentDateTimeUtc());
        QCOMPARE(TestLog::appLogText(), QString());
    }

    void resolveKeepsWhatItCannotLearn()
    {
        // No usable id: the song stays as it was passed, genre and all.
        answer(json({{QStringLiteral("url"), QStringLiteral("https://media.example/a.m4a")},
                     {QStringLiteral("title"), QStringLiteral("Other")},
                     {QStringLiteral("tags"), QJsonArray{QStringLiteral("rock")}}}));
        const Track track{QStringLiteral("abcdefghijk"), QStringLiteral("t"), QStringLiteral("a"), 100.0, {}, {}};
        const auto result = QCoro::waitFor(YTMusic::resolve(track, 1));
        QVERIFY(result.ok());
        QCOMPARE(result.value().track, track);
        QVERIFY(result.value().headers.isEmpty());

        // A genre learned from yt-dlp wins over the passed one.
        answer(json({{QStringLiteral("url"), QStringLiteral("https://media.example/a.m4a")},
                     {QStringLiteral("id"), QStringLiteral("abcdefghijk")},
                     {QStringLiteral("tags"), QJsonArray{QStringLiteral("rock")}}}));
        Track jazz = track;
        jazz.genre = QStringLiteral("jazz");
        QCOMPARE(QCoro::waitFor(YTMusic::resolve(jazz, 1)).value().track.genre, QStringLiteral("rock"));
    }

    void resolveFailures_data()
    {
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QByteArray good = json({{QStringLiteral("url"), QStringLiteral("https://media.example/a.m4a")}});

        QTest::newRow("first line is no JSON")
            << QByteArray("oops\n") + good << QByteArray("WARNING: odd\n") << 0 << "WARNING: odd";
        QTest::newRow("no url") << QByteArray(R"({"id":"abcdefghijk"})") << QByteArray() << 0 << "exit code 0";
        QTest::newRow("url not a string") << QByteArray(R"({"url":5})") << QByteArray() << 0 << "exit code 0";
        QTest::newRow("empty url") << QByteArray(R"({"url":""})") << QByteArray() << 0 << "exit code 0";
        QTest::newRow("unparsable url") << json({{QStringLiteral("url"), QStringLiteral("http://a b/")}})
                                        << QByteArray() << 0 << "exit code 0";
        QTest::newRow("no output") << QByteArray() << QByteArray() << 0 << "exit code 0";
        QTest::newRow("failed despite output")
            << good << QByteArray("ERROR: [youtube] abcdefghijk: Requested format is not available\n") << 1
            << "The requested format isn’t available for this video. Pick another quality or use Advanced Formats.";
    }

    void resolveFailures()
    {
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        answer(out, err, exitCode);
        const Track track{QStringLiteral("abcdefghijk"), QStringLiteral("t"), QStringLiteral("a"), {}, {}, {}};
        const auto result = QCoro::waitFor(YTMusic::resolve(track, 3));
        QVERIFY(!result.ok());
        QCOMPARE(result.error().message, message);
        const QString log = TestLog::appLogText();
        QCOMPARE(log.count(QStringLiteral("] resolve ")), 1);
        QVERIFY2(log.contains(QStringLiteral("] resolve abcdefghijk attempt 3: ") + QString::fromUtf8(err)),
                 qPrintable(log));
    }

    void realSearchWithoutNetwork()
    {
        OfflineYtDlp::install(*m_env);
        const auto result = QCoro::waitFor(YTMusic::search(QStringLiteral("lofi"), 3));
        QVERIFY(!result.ok());
        QCOMPARE(result.error().message, OfflineYtDlp::networkMessage());
        QVERIFY(TestLog::appLogText().contains(QStringLiteral("] music list error ytsearch3:lofi: ERROR: ")));
        QVERIFY(QCoro::waitFor(YTMusic::searchPlaylists(QStringLiteral("lofi"))).isEmpty());
    }

    // Debian's yt-dlp resolving a "watch" link that the local server answers with an audio file.
    void realResolveAgainstTheLocalServer()
    {
        m_env->installTool(QStringLiteral("yt-dlp"), QStringLiteral("/usr/bin/yt-dlp"));
        TestHttpServer server;
        server.serveFile(QStringLiteral("/watch"), TestMedia::audioFile(), "application/octet-stream");
        qputenv("MORVANE_VIDEO_SITE", server.base().toUtf8());
        const Track track{QStringLiteral("abcdefghijk"), QStringLiteral("t"), QStringLiteral("a"), {}, {},
                          QStringLiteral("jazz")};
        const auto strict = QCoro::waitFor(YTMusic::resolve(track, 0));
        const auto permissive = QCoro::waitFor(YTMusic::resolve(track, 1));
        qunsetenv("MORVANE_VIDEO_SITE");

        QVERIFY(!strict.ok());
        QCOMPARE(strict.error().message, QStringLiteral("The requested format isn’t available for this video. Pick "
                                                        "another quality or use Advanced Formats."));
        QVERIFY(TestLog::appLogText().contains(QStringLiteral("] resolve abcdefghijk attempt 0: ERROR: ")));

        QVERIFY2(permissive.ok(), qPrintable(permissive.ok() ? QString() : permissive.error().message));
        QCOMPARE(permissive.value().url, server.url(QStringLiteral("/watch?v=abcdefghijk")));
        QVERIFY(permissive.value().headers.contains(QStringLiteral("User-Agent")));
        QCOMPARE(permissive.value().track, track); // yt-dlp's id for a bare file is no video id
    }
};

QTEST_GUILESS_MAIN(TestYTMusic)
#include "tst_ytmusic.moc"
