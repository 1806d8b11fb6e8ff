#include "TestDownloads.h"
#include "TestEnvironment.h"
#include "TestHttpServer.h"
#include "TestMedia.h"
#include "TestRequests.h"
#include "core/ErrorInterpreter.h"
#include "core/ManagedProcess.h"
#include "core/ProcessRunner.h"
#include "core/ProgressParser.h"
#include "core/SettingsStore.h"
#include "core/YTDLPManager.h"

#include <QCoroTask>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <memory>

using P = ProgressEvent;

namespace {

// One run of Debian's yt-dlp 2023.03.04 with a command line of ours, as the download queue runs it.
struct Run
{
    int status = -1;
    QStringList lines; // of both streams, in the order written
    QList<P> events;

    [[nodiscard]] QString text() const { return lines.join(QLatin1Char('\n')); }

    template<typename T> [[nodiscard]] QList<T> all() const
    {
        QList<T> found;
        for (const P &event : events) {
            if (const T *payload = event.as<T>())
                found << *payload;
        }
        return found;
    }
};

QString describe(const Run &run)
{
    return QStringLiteral("status %1\n").arg(run.status) + run.text();
}

} // namespace

class TestYTDLPDownload : public QObject
{
    Q_OBJECT

private:
    TestHttpServer m_server;
    std::unique_ptr<TestEnvironment> m_env;

    QString folder() const { return m_env->root() + QStringLiteral("/Downloads"); }

    Run download(const QStringList &arguments)
    {
        Run run;
        ManagedProcess process(m_env->toolsDir() + QStringLiteral("/yt-dlp"), arguments,
                               ProcessRunner::baseEnvironment(), false,
                               [&run](const QString &line) { run.lines << line; });
        QString error;
        if (!process.start(&error))
            qFatal("yt-dlp did not start: %s", qPrintable(error));
        run.status = QCoro::waitFor(process.wait());
        // As the queue does: markers the old build glues together count one by one.
        for (const QString &line : std::as_const(run.lines)) {
            for (const QStringView piece : ProgressParser::splitGlued(line)) {
                const auto event = ProgressParser::parse(piece);
                if (!event)
                    qFatal("malformed marker line from yt-dlp: %s", qPrintable(piece.toString()));
                run.events << *event;
            }
        }
        return run;
    }

    // Streams of a media file as ffprobe sees them: codec type and, for video, the frame size.
    static QStringList streams(const QString &file)
    {
        const QStringList args{QStringLiteral("-v"),
                               QStringLiteral("error"),
                               QStringLiteral("-show_entries"),
                               QStringLiteral("stream=codec_type,width,height"),
                               QStringLiteral("-of"),
                               QStringLiteral("json"),
                               file};
        const RunResult result =
            QCoro::waitFor(ProcessRunner::run(QStringLiteral("/usr/bin/ffprobe"), args, std::chrono::seconds(30)));
        QStringList found;
        const QJsonArray all = QJsonDocument::fromJson(result.stdoutText.toUtf8())[QLatin1String("streams")].toArray();
        for (const QJsonValue &stream : all) {
            const QString type = stream[QLatin1String("codec_type")].toString();
            found << (type == QLatin1String("video") ? QStringLiteral("video %1x%2")
                                                           .arg(stream[QLatin1String("width")].toInt())
                                                           .arg(stream[QLatin1String("height")].toInt())
                                                     : type);
        }
        return found;
    }

private Q_SLOTS:
    void initTestCase() { TestMedia::serve(m_server); }

    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        // No deno is installed: the 2023 build asks for none.
        TestDownloads::installDebianTools(*m_env);
    }

    void cleanup() { m_env.reset(); }

    void defaultRequestDownloadsTheVideo()
    {
        const DownloadOptions options =
            TestRequests::defaultRequest(m_server.url(QStringLiteral("/video.mp4")).toString(), folder());
        const Run run = download(YTDLPManager::downloadArguments(options));
        QVERIFY2(run.status == 0, qPrintable(describe(run)));

        const QString file = folder() + QStringLiteral("/video [video].mp4");
        QVERIFY(QFileInfo(file).isFile());
        QCOMPARE(streams(file), (QStringList{QStringLiteral("video 640x480"), QStringLiteral("audio")}));

        QCOMPARE(run.all<P::Item>(), QList<P::Item>{(P::Item{1, 1, QStringLiteral("video")})});
        const QList<P::Progress> progress = run.all<P::Progress>();
        QVERIFY(progress.size() >= 2);
        const qint64 served = QFileInfo(TestMedia::videoFile()).size();
        for (const P::Progress &step : progress) {
            QCOMPARE(step.total, served);
            QCOMPARE(step.filename, file);
            QVERIFY(step.downloaded > 0 && step.downloaded <= served);
        }
        QCOMPARE(progress.last().downloaded, served);
        QCOMPARE(run.all<P::FinalFile>(), QList<P::FinalFile>{P::FinalFile{file}});

        // The 2023 build writes its post-processing markers without line breaks, so they reach
        // us glued into one line and are cut apart again. (A current yt-dlp prints one per line.)
        const QList<P::Postprocess> steps = run.all<P::Postprocess>();
        QVERIFY(steps.size() > 1);
        QCOMPARE(steps.first(), (P::Postprocess{QStringLiteral("MetadataParser"), QStringLiteral("started")}));
        QCOMPARE(steps.last(), (P::Postprocess{QStringLiteral("MoveFiles"), QStringLiteral("finished")}));

        QCOMPARE(run.events.size(), progress.size() + steps.size() + 3); // nothing else was printed
    }

    void dashStreamsAreMerged()
    {
        DownloadOptions options =
            TestRequests::defaultRequest(m_server.url(QStringLiteral("/dash/manifest.mpd")).toString(), folder());
        options.formatSelector = QStringLiteral("bv*+ba/b"); // "Best Quality"
        options.formatSort = QStringLiteral("res,vcodec:h264,acodec:aac");
        const Run run = download(YTDLPManager::downloadArguments(options));
        QVERIFY2(run.status == 0, qPrintable(describe(run)));

        // Two streams were fetched one after the other...
        QStringList fetched;
        for (const P::Progress &step : run.all<P::Progress>()) {
            if (!fetched.contains(step.filename))
                fetched << step.filename;
            QVERIFY(step.total.has_value()); // exact or estimated
        }
        QCOMPARE(fetched.size(), 2);
        // ...and merged into one file that holds both, the parts removed.
        const QString merged = folder() + QStringLiteral("/manifest [manifest].mp4");
        QCOMPARE(run.all<P::FinalFile>(), QList<P::FinalFile>{P::FinalFile{merged}});
        QCOMPARE(run.all<P::Target>().value(0).format.count(u'+'), 1); // announced as made of two
        QCOMPARE(streams(merged), (QStringList{QStringLiteral("video 640x480"), QStringLiteral("audio")}));
        for (const QString &part : fetched)
            QVERIFY2(!QFileInfo::exists(part), qPrintable(part));
        QVERIFY(run.text().contains(QLatin1String("MVPP|Merger|started")));
    }

    void missingMediaExplainsHttp404()
    {
        const DownloadOptions options =
            TestRequests::defaultRequest(m_server.url(QStringLiteral("/missing.mp4")).toString(), folder());
        const Run run = download(YTDLPManager::downloadArguments(options));
        QCOMPARE(run.status, 1);
        QStringList errors;
        for (const P::Error &error : run.all<P::Error>())
            errors << error.message;
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QLatin1String("HTTP Error 404")), qPrintable(errors.first()));
        QCOMPARE(ErrorInterpreter::explain(errors.join(QLatin1Char('\n')), run.status),
                 QStringLiteral("The media could not be found (HTTP 404)."));
        QVERIFY(run.all<P::FinalFile>().isEmpty());
    }

    // The 2023 build predates "--remote-components": with the setting on, it rejects the command
    // line before doing anything.
    void remoteComponentsOnAreRejectedByTheOldBuild()
    {
        SettingsStore::set(QStringLiteral("remoteEJS"), true);
        const DownloadOptions options =
            TestRequests::defaultRequest(m_server.url(QStringLiteral("/video.mp4")).toString(), folder());
        const QStringList args = YTDLPManager::downloadArguments(options);
        QVERIFY(args.contains(QStringLiteral("--remote-components")));
        const Run run = download(args);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.text().contains(QLatin1String("no such option: --remote-components")), qPrintable(describe(run)));
        QVERIFY(run.all<P::Item>().isEmpty());
        QVERIFY(!QFileInfo::exists(folder()));
    }

    // Linux limits a file name to 255 bytes while yt-dlp trims by characters: the generated limit
    // must hold for scripts of three and four bytes per character, and keep the id that sets titles
    // which begin alike apart. The title comes from the name
    // of the served file.
    void longTitlesFitTheFileSystem_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("CJK, 3 bytes each") << QStringList{QString::fromUtf8("日本語の長い題名").repeated(12)};
        QTest::newRow("4 bytes each") << QStringList{QString::fromUtf8("𝐋𝐨𝐧𝐠😀").repeated(15)};
        const QString start = QStringLiteral("A long title that goes on and on about the very same thing ");
        QTest::newRow("sharing 60 characters")
            << QStringList{start + QStringLiteral("one"), start + QStringLiteral("two")};
        // Each bar becomes a character of three bytes in a name.
        QTest::newRow("all bars") << QStringList{QStringLiteral("|").repeated(125)};
    }

    void longTitlesFitTheFileSystem()
    {
        QFETCH(QStringList, titles);
        for (const QString &title : std::as_const(titles)) {
            downloadTitled(title);
            if (QTest::currentTestFailed())
                return;
        }
        QCOMPARE(QDir(folder()).entryList(QDir::Files).size(), titles.size());
    }

private:
    void downloadTitled(const QString &title)
    {
        const QString path =
            QStringLiteral("/") + QString::fromLatin1(QUrl::toPercentEncoding(title)) + QStringLiteral(".mp4");
        m_server.serveFile(path, TestMedia::videoFile(), "video/mp4");
        const DownloadOptions options = TestRequests::defaultRequest(m_server.base() + path, folder());
        const QStringList args = YTDLPManager::downloadArguments(options);

        const Run run = download(args);
        QVERIFY2(run.status == 0, qPrintable(describe(run)));
        QCOMPARE(run.all<P::Item>().size(), 1);
        QCOMPARE(run.all<P::Item>().first().title, title);
        const QList<P::FinalFile> files = run.all<P::FinalFile>();
        QCOMPARE(files.size(), 1);
        const QFileInfo file(files.first().path);
        QVERIFY(file.isFile());
        QCOMPARE(file.path(), folder());
        QVERIFY(file.fileName().toUtf8().size() <= 255);
        const QString fitted = QString(title).replace(u'|', QChar(0xff5c)); // as yt-dlp makes it fit
        QVERIFY(file.fileName().startsWith(fitted.left(20)));
        // The id, cut only when it is longer than any site's.
        const QString id = QString::fromUtf8(fitted.toUtf8().left(64)).remove(QChar::ReplacementCharacter);
        QVERIFY2(file.fileName().endsWith(QStringLiteral(" [") + id + QStringLiteral("].mp4")),
                 qPrintable(file.fileName()));
    }
};

QTEST_GUILESS_MAIN(TestYTDLPDownload)
#include "tst_ytdlpdownload.moc"
