#include "TestEnvironment.h"
#include "TestHttpServer.h"
#include "TestLog.h"
#include "TestMedia.h"
#include "core/LogManager.h"
#include "core/SettingsStore.h"
#include "engine/FormatManager.h"

#include <QCoroTask>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

QString messageOf(const FormatManager::Discovery &result)
{
    const auto *error = std::get_if<InfoError>(&result);
    return error ? error->message : QString();
}

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(MORVANE_FIXTURES_DIR "/ytdlp-2026.08/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

} // namespace

class TestFormatDiscovery : public QObject
{
    Q_OBJECT

private:
    TestHttpServer m_server;
    std::unique_ptr<TestEnvironment> m_env;

    FormatManager::Discovery discover(const QString &url,
                                      std::chrono::milliseconds timeout = FormatManager::infoTimeout,
                                      const CancelToken &cancel = CancelToken())
    {
        return QCoro::waitFor(FormatManager::discover(url, SettingsStore::networkSnapshot(), cancel, timeout));
    }

    // A stand-in yt-dlp for what Debian's build cannot be made to print: it answers with the
    // files beside it and notes its arguments there, one per line.
    void installFake(const QByteArray &out, const QByteArray &err, int status)
    {
        const QString dir = m_env->toolsDir() + u'/';
        const auto write = [&dir](const QString &name, const QByteArray &bytes) {
            QFile file(dir + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        write(u"answer.out"_s, out);
        write(u"answer.err"_s, err);
        m_env->installScript(u"yt-dlp"_s, "#!/bin/sh\n"
                                          "here=$(dirname \"$0\")\n"
                                          "printf '%s\\n' \"$@\" > \"$here/args\"\n"
                                          "cat \"$here/answer.out\"\n"
                                          "cat \"$here/answer.err\" >&2\n"
                                          "exit " +
                                              QByteArray::number(status) + "\n");
    }

    QStringList fakeArguments() const
    {
        QFile file(m_env->toolsDir() + u"/args"_s);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
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
        m_env = std::make_unique<TestEnvironment>();
        m_env->installTool(u"yt-dlp"_s, u"/usr/bin/yt-dlp"_s);
        // Debian's 2023 build rejects the challenge-solving options.
        SettingsStore::set(u"remoteEJS"_s, false);
    }

    void cleanup() { m_env.reset(); }

    void singleVideo()
    {
        const QString url = m_server.url(u"/video.mp4"_s).toString();
        const auto result = discover(url);
        QVERIFY2(std::holds_alternative<MediaInfo>(result), qPrintable(messageOf(result)));
        const MediaInfo &info = std::get<MediaInfo>(result);
        QVERIFY(!info.isPlaylist);
        QCOMPARE(info.title, u"video"_s);
        QCOMPARE(info.webpageURL, url);
        QCOMPARE(info.extractor, u"Generic"_s);
        QCOMPARE(info.formats.size(), 1);
        QVERIFY(info.entries.isEmpty());
        QTRY_COMPARE(TestLog::appLogLines(), QStringList{u"info "_s + url + u" -> exit 0"_s});
    }

    void dashManifest()
    {
        const auto result = discover(m_server.url(u"/dash/manifest.mpd"_s).toString());
        QVERIFY2(std::holds_alternative<MediaInfo>(result), qPrintable(messageOf(result)));
        const MediaInfo &info = std::get<MediaInfo>(result);
        QVERIFY(!info.isPlaylist);
        const QList<FormatInfo> video = info.videoFormats();
        QCOMPARE(video.size(), 1);
        QCOMPARE(video[0].height, 480);
        QCOMPARE(video[0].width, 640);
        QCOMPARE(video[0].acodec, u"none"_s);
        const QList<FormatInfo> audio = info.audioFormats();
        QCOMPARE(audio.size(), 1);
        QVERIFY(audio[0].acodec.startsWith(u"mp4a"_s));
        QCOMPARE(info.heights(), QList<qint64>{480});
    }

    void rssFeedIsAPlaylist()
    {
        const auto result = discover(m_server.url(u"/feed.xml"_s).toString());
        QVERIFY2(std::holds_alternative<MediaInfo>(result), qPrintable(messageOf(result)));
        const MediaInfo &info = std::get<MediaInfo>(result);
        QVERIFY(info.isPlaylist);
        QCOMPARE(info.playlistTitle, u"Three Clips"_s);
        QCOMPARE(info.entries.size(), 3);
        const QStringList titles{u"Clip one"_s, u"Clip «two»: 日本語"_s, u"Clip three"_s};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(info.entries[i].id, i + 1);
            QCOMPARE(info.entries[i].title, titles[i]);
            QVERIFY(info.entries[i].url.has_value());
        }
        QVERIFY(info.entries[1].url->contains(u"/audio.m4a"_s));
    }

    void missingPage()
    {
        const QString url = m_server.url(u"/nothing-here.mp4"_s).toString();
        const auto result = discover(url);
        QCOMPARE(messageOf(result), u"The media could not be found (HTTP 404)."_s);
        QTRY_COMPARE(TestLog::appLogLines().size(), 2);
        const QStringList lines = TestLog::appLogLines();
        QCOMPARE(lines[0], u"info "_s + url + u" -> exit 1"_s);
        QVERIFY2(lines[1].startsWith(u"info error: ERROR: "_s) && lines[1].contains(u"404"_s), qPrintable(lines[1]));
    }

    // A yt-dlp that refuses its command line (the 2023 build predates the challenge-script
    // option): the user reads the refusal, not the usage line before it.
    void refusedOptionIsShownAsSuch()
    {
        SettingsStore::set(u"remoteEJS"_s, true);
        const auto result = discover(m_server.url(u"/video.mp4"_s).toString());
        QCOMPARE(messageOf(result), u"no such option: --remote-components"_s);
    }

    void siteThatNeverAnswers()
    {
        const QString url = m_server.url(u"/stall.mp4"_s).toString();
        const auto result = discover(url, 8s);
        QCOMPARE(messageOf(result), u"Timed out while contacting the site. Check your connection and try again."_s);
        QVERIFY(!m_server.requestsFor(u"/stall.mp4"_s).isEmpty());
        // The kill shows as status 137; nothing but the exit line is logged.
        QTRY_COMPARE(TestLog::appLogLines(), QStringList{u"info "_s + url + u" -> exit 137"_s});
    }

    void linkIsPassedAndLoggedAsGiven()
    {
        const QString url = u"  "_s + m_server.url(u"/video.mp4"_s).toString();
        const auto result = discover(url);
        QVERIFY2(std::holds_alternative<MediaInfo>(result), qPrintable(messageOf(result)));
        QCOMPARE(std::get<MediaInfo>(result).webpageURL, url.trimmed());
        QTRY_COMPARE(TestLog::appLogLines(), QStringList{u"info "_s + url + u" -> exit 0"_s});
    }

    void refusedBeforeRunning_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("message");

        const QString invalid = u"That doesn’t look like a valid web address. Enter a full http(s) URL."_s;
        const QString missing = u"yt-dlp isn’t installed yet."_s;
        QTest::newRow("no link") << u"   "_s << true << invalid;
        QTest::newRow("not the web") << u"ftp://a.b/c"_s << true << invalid;
        QTest::newRow("no dot in the host") << u"https://localhost/x"_s << true << invalid;
        QTest::newRow("a blank inside") << u"https://a.b/x y"_s << true << invalid;
        QTest::newRow("no yt-dlp") << u"https://a.b/watch"_s << false << missing;
    }

    void refusedBeforeRunning()
    {
        QFETCH(QString, url);
        QFETCH(bool, installed);
        QFETCH(QString, message);
        if (!installed) {
            // A folder by the name is no program, nor is a file without the execute bit.
            QFile::remove(m_env->toolsDir() + u"/yt-dlp"_s);
            QVERIFY(QDir(m_env->toolsDir()).mkdir(u"yt-dlp"_s));
            QCOMPARE(messageOf(discover(url)), message);
            QVERIFY(QDir(m_env->toolsDir() + u"/yt-dlp"_s).removeRecursively());
            QFile plain(m_env->toolsDir() + u"/yt-dlp"_s);
            QVERIFY(plain.open(QIODevice::WriteOnly));
            plain.close();
        }
        QCOMPARE(messageOf(discover(url)), message);
        QVERIFY(TestLog::appLogLines().isEmpty());
    }

    // Answers a current yt-dlp gave, and failures of the kinds a real run can end in.
    void replayedAnswers_data()
    {
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message"); // empty when a MediaInfo is expected
        QTest::addColumn<QString>("logged");  // what follows "info error: "

        QTest::newRow("playlist after a warning")
            << fixture(u"playlist.info.json"_s) << QByteArray("WARNING: [generic] Falling back on generic\n") << 0
            << QString() << QString();
        QTest::newRow("last ERROR line after a multi-line warning")
            << QByteArray() << fixture(u"notfound.stderr"_s) << 1 << u"The media could not be found (HTTP 404)."_s
            << u"ERROR: [generic] nothing-here: Unable to download webpage: HTTP Error 404: File not found "
               "(caused by <HTTPError 404: File not found>)"_s;
        QTest::newRow("of two ERROR lines the last")
            << QByteArray() << QByteArray("ERROR: first\nWARNING: w\nERROR: Unsupported URL: x\nTraceback\n") << 1
            << u"This site or link isn’t supported by yt-dlp."_s << u"ERROR: Unsupported URL: x"_s;
        QTest::newRow("no ERROR line: all of it") << QByteArray() << QByteArray("\nsomething broke\nbadly\n") << 2
                                                  << u"something broke"_s << u"\nsomething broke\nbadly\n"_s;
        QTest::newRow("status 0, not JSON") << QByteArray("Traceback (most recent call last)")
                                            << QByteArray("ERROR: boom\n") << 0 << u"ERROR: boom"_s << u"ERROR: boom"_s;
        QTest::newRow("status 0, a JSON array")
            << QByteArray("[{\"id\": \"x\"}]") << QByteArray() << 0 << u"yt-dlp exited with code 0."_s << QString();
        QTest::newRow("status 0, nothing")
            << QByteArray() << QByteArray() << 0 << u"yt-dlp exited with code 0."_s << QString();
    }

    void replayedAnswers()
    {
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QFETCH(int, status);
        QFETCH(QString, message);
        QFETCH(QString, logged);
        installFake(out, err, status);
        const QString url = u"https://video.example/watch?v=abc"_s;

        const auto result = discover(url);
        const QStringList arguments = fakeArguments();
        QCOMPARE(arguments.mid(arguments.size() - 5),
                 (QStringList{u"-J"_s, u"--flat-playlist"_s, u"--no-warnings"_s, u"--"_s, url}));
        QStringList expectedLog{u"info "_s + url + u" -> exit "_s + QString::number(status)};
        if (message.isEmpty()) {
            QVERIFY2(std::holds_alternative<MediaInfo>(result), qPrintable(messageOf(result)));
            const MediaInfo expected = FormatManager::parse(QJsonDocument::fromJson(out).object(), url);
            QCOMPARE(std::get<MediaInfo>(result) == expected, true);
        } else {
            QCOMPARE(messageOf(result), message);
            expectedLog.append((u"info error: "_s + logged).split(u'\n', Qt::SkipEmptyParts));
        }
        QTRY_COMPARE(TestLog::appLogLines(), expectedLog);
    }

    void launchFailure()
    {
        m_env->installScript(u"yt-dlp"_s, "#!/nonexistent/interpreter\n");
        const QString url = u"https://video.example/watch?v=abc"_s;
        const QString message = messageOf(discover(url));
        QVERIFY2(message.startsWith(u"Failed to launch yt-dlp"_s), qPrintable(message));
        QTRY_COMPARE(TestLog::appLogLines().value(0), u"info "_s + url + u" -> exit -1"_s);
    }

    void cancelledRun()
    {
        m_env->installScript(u"yt-dlp"_s, "#!/bin/sh\nexec sleep 30\n");
        const QString url = u"https://video.example/watch?v=abc"_s;
        const CancelToken cancel;
        QTimer::singleShot(200ms, [cancel] { cancel.cancel(); });
        // Not a time-out: the run ends by SIGTERM and reports what that run gave.
        QCOMPARE(messageOf(discover(url, FormatManager::infoTimeout, cancel)), u"yt-dlp exited with code 143."_s);
        QTRY_COMPARE(TestLog::appLogLines(), (QStringList{u"info "_s + url + u" -> exit 143"_s, u"info error: "_s}));
    }
};

QTEST_GUILESS_MAIN(TestFormatDiscovery)
#include "tst_formatdiscovery.moc"
