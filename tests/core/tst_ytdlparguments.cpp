#include "TestEnvironment.h"
#include "TestRequests.h"
#include "core/AppPaths.h"
#include "core/SettingsStore.h"
#include "core/YTDLPManager.h"

#include <QFile>
#include <QTest>

#include <functional>

namespace {

QStringList list(std::initializer_list<const char *> items)
{
    QStringList result;
    for (const char *item : items)
        result << QString::fromUtf8(item);
    return result;
}

DownloadOptions defaultRequest()
{
    return TestRequests::defaultRequest(QStringLiteral("https://example.com/watch?v=abc"),
                                        QStringLiteral("/home/u/Downloads"));
}

QStringList fixedBase()
{
    return {QStringLiteral("--ignore-config"),   QStringLiteral("--no-colors"),
            QStringLiteral("--ffmpeg-location"), AppPaths::sub(QStringLiteral("Tools")),
            QStringLiteral("--cache-dir"),       AppPaths::sub(QStringLiteral("Cache/yt-dlp"))};
}

const QStringList markerTemplates = list({
    "--progress-template",
    "download:MVPROG|%(progress.downloaded_bytes)s|%(progress.total_bytes)s|%(progress.total_bytes_estimate)"
    "s|"
    "%(progress.speed)s|%(progress.eta)s|%(progress.filename)s",
    "--progress-template",
    "postprocess:MVPP|%(progress.postprocessor)s|%(progress.status)s",
    "--print",
    "before_dl:MVITEM|%(playlist_index|1)s|%(playlist_count|1)s|%(title)s",
    "--print",
    "before_dl:MVDEST|%(format_id)s|%(_filename)s",
    "--print",
    "after_move:MVFILE|%(filepath)s",
    "--no-simulate",
});

using Change = std::function<void(DownloadOptions &)>;

} // namespace

Q_DECLARE_METATYPE(Change)

class TestYTDLPArguments : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultRequest()
    {
        TestEnvironment env;
        const QStringList expected = fixedBase() +
                                     list({"--remote-components", "ejs:github", "--socket-timeout", "30", "--newline",
                                           "--progress", "--continue"}) +
                                     markerTemplates +
                                     list({"--retries",
                                           "10",
                                           "--fragment-retries",
                                           "10",
                                           "--concurrent-fragments",
                                           "4",
                                           "--merge-output-format",
                                           "mp4",
                                           "--parse-metadata",
                                           "%(title)S/%(id)S:(?P<mv_title>[^/]*)/(?P<mv_id>[^/]*)",
                                           "-P",
                                           "/home/u/Downloads",
                                           "-o",
                                           "%(mv_title,title).96B [%(mv_id,id).64B].%(ext)s",
                                           "--windows-filenames",
                                           "--no-playlist",
                                           "--embed-metadata",
                                           "--embed-thumbnail",
                                           "--convert-thumbnails",
                                           "jpg",
                                           "--",
                                           "https://example.com/watch?v=abc"});
        QCOMPARE(YTDLPManager::downloadArguments(::defaultRequest()), expected);
    }

    // Everything from "--retries" on, for requests that differ from the default one.
    void downloadOptions_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QStringList>("tail");
        const QStringList retries =
            list({"--retries", "10", "--fragment-retries", "10", "--concurrent-fragments", "4"});
        const QStringList output =
            list({"--parse-metadata", "%(title)S/%(id)S:(?P<mv_title>[^/]*)/(?P<mv_id>[^/]*)", "-P",
                  "/home/u/Downloads", "-o", "%(mv_title,title).96B [%(mv_id,id).64B].%(ext)s", "--windows-filenames"});
        const QStringList link = list({"--", "https://example.com/watch?v=abc"});
        const auto plain = [](DownloadOptions &o) {
            o.embedMetadata = false;
            o.embedThumbnail = false;
        };

        QTest::newRow("selector, sort, rate, retries")
            << Change([&](DownloadOptions &o) {
                   plain(o);
                   o.formatSelector = QStringLiteral("bv*+ba/b");
                   o.formatSort = QStringLiteral("res:1080");
                   o.network.rateLimit = QStringLiteral("300K");
                   o.network.retries = 3;
                   o.network.fragments = 1;
               })
            << list({"--retries", "3", "--fragment-retries", "3", "--concurrent-fragments", "1", "--limit-rate", "300K",
                     "-f", "bv*+ba/b", "-S", "res:1080", "--merge-output-format", "mp4"}) +
                   output + list({"--no-playlist"}) + link;
        QTest::newRow("empty selector and sort are left out") << Change([&](DownloadOptions &o) {
            plain(o);
            o.formatSelector = QString();
            o.formatSort = QString();
        }) << retries + list({"--merge-output-format", "mp4"}) + output + list({"--no-playlist"}) + link;
        QTest::newRow("no container") << Change([&](DownloadOptions &o) {
            plain(o);
            o.container.clear();
        }) << retries + output + list({"--no-playlist"}) + link;
        QTest::newRow("audio only, subtitles to embed become srt")
            << Change([](DownloadOptions &o) {
                   o.formatSelector = QStringLiteral("ba/b");
                   o.audioOnly = true;
                   o.subtitles = true;
                   o.embedSubs = true;
                   o.autoSubs = true;
               })
            << retries + list({"-f", "ba/b", "-x", "--audio-format", "mp3", "--audio-quality", "0"}) + output +
                   list({"--no-playlist", "--embed-metadata", "--embed-thumbnail", "--convert-thumbnails", "jpg",
                         "--write-subs", "--sub-langs", "en.*", "--write-auto-subs", "--convert-subs", "srt"}) +
                   link;
        QTest::newRow("video with embedded subtitles, empty languages")
            << Change([&](DownloadOptions &o) {
                   plain(o);
                   o.subtitles = true;
                   o.embedSubs = true;
                   o.subLangs.clear();
               })
            << retries + list({"--merge-output-format", "mp4"}) + output +
                   list({"--no-playlist", "--write-subs", "--sub-langs", "en.*", "--embed-subs"}) + link;
        QTest::newRow("subtitles kept beside the video")
            << Change([&](DownloadOptions &o) {
                   plain(o);
                   o.subtitles = true;
                   o.subLangs = QStringLiteral("de,fr");
               })
            << retries + list({"--merge-output-format", "mp4"}) + output +
                   list({"--no-playlist", "--write-subs", "--sub-langs", "de,fr", "--convert-subs", "srt"}) + link;
        QTest::newRow("automatic captions and embedding need subtitles on") << Change([&](DownloadOptions &o) {
            plain(o);
            o.autoSubs = true;
            o.embedSubs = true;
        }) << retries + list({"--merge-output-format", "mp4"}) + output + list({"--no-playlist"}) + link;
        QTest::newRow("playlist with items") << Change([&](DownloadOptions &o) {
            plain(o);
            o.isPlaylist = true;
            o.playlistItems = QStringLiteral("1-3,7");
        })
                                             << retries + list({"--merge-output-format", "mp4"}) + output +
                                                    list({"--yes-playlist", "--playlist-items", "1-3,7"}) + link;
        QTest::newRow("playlist with empty items") << Change([&](DownloadOptions &o) {
            plain(o);
            o.isPlaylist = true;
            o.playlistItems = QString();
        }) << retries + list({"--merge-output-format", "mp4"}) + output + list({"--yes-playlist"}) + link;
        QTest::newRow("extra arguments come last, before the link")
            << Change([&](DownloadOptions &o) {
                   plain(o);
                   o.network.extraArgs = QStringLiteral(" --retries 2  --sleep-interval 'one two' ");
                   o.url = QStringLiteral("-looks-like-an-option");
               })
            << retries + list({"--merge-output-format", "mp4"}) + output +
                   list({"--no-playlist", "--retries", "2", "--sleep-interval", "one two", "--",
                         "-looks-like-an-option"});

        // Text fields of templates are cut by bytes once made fit for a name, so names keep their
        // ids; yt-dlp's cut by characters only guards templates with other text fields.
        const auto templated = [&](const char *name, const char *given, const char *fitted, const char *bounded,
                                   bool trimmed) {
            QTest::newRow(name) << Change([=](DownloadOptions &o) {
                plain(o);
                o.outputTemplate = QString::fromUtf8(given);
            })
                                << retries +
                                       list({"--merge-output-format", "mp4", "--parse-metadata", fitted, "-P",
                                             "/home/u/Downloads", "-o", bounded, "--windows-filenames"}) +
                                       (trimmed ? list({"--trim-filenames", "50"}) : QStringList()) +
                                       list({"--no-playlist"}) + link;
        };
        templated("song", "%(artist,uploader)s - %(title)s [%(id)s].%(ext)s",
                  "%(title)S/%(id)S/%(artist,uploader)S:(?P<mv_title>[^/]*)/(?P<mv_id>[^/]*)/(?P<mv_artist>[^/]*)",
                  "%(mv_artist,artist,uploader).40B - %(mv_title,title).96B [%(mv_id,id).64B].%(ext)s", false);
        templated("other text", "%(uploader)s/%(upload_date>%Y)s %(title)s.%(ext)s", "%(title)S:(?P<mv_title>[^/]*)",
                  "%(uploader)s/%(upload_date>%Y)s %(mv_title,title).96B.%(ext)s", true);
    }

    void downloadOptions()
    {
        QFETCH(Change, change);
        QFETCH(QStringList, tail);
        TestEnvironment env;
        DownloadOptions options = ::defaultRequest();
        change(options);
        const QStringList args = YTDLPManager::downloadArguments(options);
        const qsizetype start = args.indexOf(QStringLiteral("--retries"));
        QVERIFY(start > 0);
        QCOMPARE(args.mid(0, start), YTDLPManager::baseArguments(options.network) +
                                         list({"--newline", "--progress", "--continue"}) + markerTemplates);
        QCOMPARE(args.mid(start), tail);
    }

    void baseArguments_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("remoteEJS");
        QTest::addColumn<QStringList>("tail"); // after the six fixed arguments
        QTest::newRow("defaults") << Change([](DownloadOptions &) {}) << true
                                  << list({"--remote-components", "ejs:github", "--socket-timeout", "30"});
        QTest::newRow("remote components off, timeout 0")
            << Change([](DownloadOptions &o) { o.network.timeout = 0; }) << false << QStringList();
        QTest::newRow("empty cookies browser is like none")
            << Change([](DownloadOptions &o) { o.network.cookiesBrowser.clear(); }) << false
            << list({"--socket-timeout", "30"});
        QTest::newRow("network values passed as stored")
            << Change([](DownloadOptions &o) {
                   o.network.cookiesBrowser = QStringLiteral("firefox");
                   o.network.userAgent = QStringLiteral(" Agent/1.0 ");
                   o.network.proxy = QStringLiteral("socks5://127.0.0.1:9050");
                   o.network.timeout = 1;
                   o.network.rateLimit = QStringLiteral("1M"); // download-only
                   o.network.extraArgs = QStringLiteral("--no-part");
               })
            << false
            << list({"--cookies-from-browser", "firefox", "--user-agent", " Agent/1.0 ", "--proxy",
                     "socks5://127.0.0.1:9050", "--socket-timeout", "1"});
    }

    void baseArguments()
    {
        QFETCH(Change, change);
        QFETCH(bool, remoteEJS);
        QFETCH(QStringList, tail);
        TestEnvironment env;
        SettingsStore::set(QStringLiteral("remoteEJS"), remoteEJS);
        DownloadOptions options = ::defaultRequest();
        change(options);
        QCOMPARE(YTDLPManager::baseArguments(options.network), fixedBase() + tail);
    }

    void denoOnlyWhenExecutable()
    {
        TestEnvironment env;
        SettingsStore::set(QStringLiteral("remoteEJS"), false);
        const NetworkOptions net;
        const QString deno = env.toolsDir() + QStringLiteral("/deno");
        QFile file(deno);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(YTDLPManager::baseArguments(net), fixedBase() + list({"--socket-timeout", "30"}));
        env.installScript(QStringLiteral("deno"), "#!/bin/sh\n");
        const QStringList runtime{QStringLiteral("--js-runtimes"), QStringLiteral("deno:") + deno};
        QCOMPARE(YTDLPManager::baseArguments(net), fixedBase() + runtime + list({"--socket-timeout", "30"}));
    }

    void infoArguments()
    {
        TestEnvironment env;
        NetworkOptions net;
        net.proxy = QStringLiteral("http://127.0.0.1:1");
        QCOMPARE(YTDLPManager::infoArguments(QStringLiteral("https://a.b/c"), net),
                 YTDLPManager::baseArguments(net) +
                     list({"-J", "--flat-playlist", "--no-warnings", "--", "https://a.b/c"}));
    }

    void splitArguments_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("words, quotes and escapes") << QStringLiteral("  -N 8   --foo 'a b' \"c\\\"d\" e\\ f '' ")
                                                   << list({"-N", "8", "--foo", "a b", "c\"d", "e f", ""});
        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("blanks only") << QStringLiteral("  \t \n ") << QStringList();
        QTest::newRow("backslash literal in single quotes") << QStringLiteral("'it\\'s") << list({"it\\s"});
        QTest::newRow("trailing backslash dropped") << QStringLiteral("abc\\") << list({"abc"});
        QTest::newRow("lone backslash begins an empty argument") << QStringLiteral("\\") << list({""});
        QTest::newRow("escaped backslash and quote") << QStringLiteral("a\\\\b \\'x") << list({"a\\b", "'x"});
        QTest::newRow("escapes inside double quotes") << QStringLiteral("\"a\\\\b\\ c\"") << list({"a\\b c"});
        QTest::newRow("adjacent quoted parts join") << QStringLiteral("--x='1 2'\"3\"4") << list({"--x=1 234"});
        QTest::newRow("unclosed quote runs to the end") << QStringLiteral("-o \"a b") << list({"-o", "a b"});
        QTest::newRow("quote of the other kind is literal")
            << QStringLiteral("\"it's\" 'say \"hi\"'") << list({"it's", "say \"hi\""});
        QTest::newRow("line breaks and tabs separate") << QStringLiteral("a\nb\r\nc\td") << list({"a", "b", "c", "d"});
        QTest::newRow("unicode whitespace separates")
            << QStringLiteral("a\u00a0b\u3000c\u2028d") << list({"a", "b", "c", "d"});
        QTest::newRow("escaped blank is kept") << QStringLiteral("\\ ") << list({" "});
        QTest::newRow("non-ASCII words") << QStringLiteral("--title 日本語 😀x") << list({"--title", "日本語", "😀x"});
    }

    void splitArguments()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, arguments);
        QCOMPARE(YTDLPManager::splitArguments(text), arguments);
    }
};

QTEST_GUILESS_MAIN(TestYTDLPArguments)
#include "tst_ytdlparguments.moc"
