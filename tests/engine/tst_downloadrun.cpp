#include "TestDownloads.h"
#include "TestEnvironment.h"
#include "TestHttpServer.h"
#include "TestMedia.h"
#include "TestNotificationServer.h"
#include "TestRequests.h"
#include "coordinator/DownloadRequests.h"
#include "core/LogManager.h"
#include "core/ManagedProcess.h"
#include "core/SettingsStore.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadTask.h"
#include "engine/HistoryStore.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

// Real downloads: Debian's yt-dlp and ffmpeg in the "Tools" folder, media from the local server.
namespace {

constexpr int downloadTimeoutMs = 60000;

QString statusOf(const DownloadTask *task)
{
    return TaskStatuses::rawValue(task->status());
}

// Stream types of a media file ("video", "audio"), as ffprobe lists them.
QStringList streamTypes(const QString &file)
{
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"),
                  {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                   QStringLiteral("stream=codec_type"), QStringLiteral("-of"), QStringLiteral("csv=p=0"), file});
    ffprobe.waitForFinished(30000);
    QStringList types = QString::fromUtf8(ffprobe.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    types.sort();
    return types;
}

// Whether ffmpeg decodes every frame of the file without a complaint.
bool decodesWhole(const QString &file)
{
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(QStringLiteral("ffmpeg"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), file,
                                            QStringLiteral("-f"), QStringLiteral("null"), QStringLiteral("-")});
    return ffmpeg.waitForFinished(30000) && ffmpeg.exitCode() == 0 && ffmpeg.readAll().isEmpty();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// yt-dlp and ffmpeg installed, challenge scripts off (the 2023 build knows no such option), and
// the test media on a local server.
struct Setup
{
    TestEnvironment env;
    TestHttpServer server;
    TestNotificationServer notifications;
    HistoryStore history;
    DownloadManager manager{&history};
    QString folder = env.root() + QStringLiteral("/Downloads");

    Setup()
    {
        TestDownloads::installDebianTools(env);
        TestMedia::serve(server);
    }

    DownloadOptions options(const QString &path) const
    {
        return TestRequests::defaultRequest(server.url(path).toString(), folder);
    }
};

class TestDownloadRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void singleFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << QStringLiteral("/video.mp4") << QStringLiteral("video [video].mp4");
        // Its name looks a little like one of two streams to merge.
        QTest::newRow("dotted") << QStringLiteral("/clip.fhd.mp4") << QStringLiteral("clip.fhd [clip.fhd].mp4");
        // ...or, with a template of the user's that drops the id, just like one.
        QTest::newRow("dotted, own template") << QStringLiteral("/clip.fhd.mp4") << QStringLiteral("clip.fhd.mp4");
        // A template that names a folder outside the download folder.
        QTest::newRow("template with a folder") << QStringLiteral("/video.mp4") << QStringLiteral("~/Videos/video.mp4");
    }
    void singleFile()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        Setup setup;
        setup.server.serveFile(path, TestMedia::videoFile(), "video/mp4");
        QVERIFY(setup.notifications.isRegistered());
        DownloadOptions options = setup.options(path);
        if (name.startsWith(u'~')) {
            SettingsStore::set(QStringLiteral("outputTemplate"), QStringLiteral("~/Videos/%(title)s.%(ext)s"));
            const DownloadOptions placed = DownloadRequests::baseOptions(options.url, QString());
            options.folder = placed.folder;
            options.outputTemplate = placed.outputTemplate;
        } else if (!name.contains(u'[')) {
            options.outputTemplate = QStringLiteral("%(title)s.%(ext)s");
        }
        DownloadTask *task = setup.manager.enqueue(options);
        QStringList stages;
        double mostWhileDownloading = 0;
        connect(task, &DownloadTask::stageChanged, task, [&] { stages.append(task->stage()); });
        connect(task, &DownloadTask::progressChanged, task, [&] {
            if (task->status() == TaskStatus::Downloading)
                mostWhileDownloading = std::max(mostWhileDownloading, task->progress());
        });
        setup.manager.start();
        QTRY_COMPARE_WITH_TIMEOUT(statusOf(task), QStringLiteral("completed"), downloadTimeoutMs);
        QVERIFY2(stages.contains(QStringLiteral("Downloading")) && !stages.join(QString()).contains(u"stream"),
                 qPrintable(stages.join(QLatin1String(", "))));
        QVERIFY2(mostWhileDownloading > 0.9, qPrintable(QString::number(mostWhileDownloading)));

        const QString file = name.startsWith(u'~') ? QDir::homePath() + name.mid(1) : setup.folder + u'/' + name;
        QCOMPARE(task->outputFiles(), QStringList{file});
        QCOMPARE(task->progress(), 1.0);
        QCOMPARE(task->finalSize(), QFileInfo(file).size());
        QVERIFY(!task->error());
        QCOMPARE(setup.history.items().size(), 1);
        QCOMPARE(setup.history.items().first().filePath, file);
        QCOMPARE(setup.history.items().first().folder, QFileInfo(file).path());

        const QString log = LogManager::read(task->id());
        for (const QString &expected :
             {QStringLiteral("] \u2014\u2014 start \u2014\u2014\n"), QStringLiteral("] $ yt-dlp --ignore-config "),
              QStringLiteral("] MVPROG|"), QStringLiteral("] MVPP|"),
              QStringLiteral("] \u2014\u2014 exit 0 \u2014\u2014\n")})
            QVERIFY2(log.contains(expected), qPrintable(expected));

        QTRY_COMPARE(setup.notifications.calls().size(), 1);
        QCOMPARE(setup.notifications.calls().first().summary, QStringLiteral("Download complete"));
        QCOMPARE(setup.notifications.calls().first().body, QFileInfo(path).completeBaseName()); // as the row
    }

    // One file through two links at once, coming slowly so the runs would overlap: the second
    // run waits for the first, and the file stays one.
    void sameLinkTwiceGivesOneFile()
    {
        Setup setup;
        TestHttpServer::Route slow;
        slow.filePath = TestMedia::videoFile();
        slow.headers = {{"Content-Type", "video/mp4"}};
        slow.dripBytes = 4096;
        slow.dripIntervalMs = 30;
        setup.server.serve(QStringLiteral("/video.mp4"), slow);
        SettingsStore::set(QStringLiteral("maxConcurrent"), 2);
        const QList<DownloadTask *> tasks = setup.manager.enqueueAll(
            {setup.options(QStringLiteral("/video.mp4")), setup.options(QStringLiteral("/video.mp4?from=share"))});
        setup.manager.start();
        for (const DownloadTask *task : tasks)
            QTRY_COMPARE_WITH_TIMEOUT(statusOf(task), QStringLiteral("completed"), downloadTimeoutMs);
        QCOMPARE(QDir(setup.folder).entryList(QDir::Files), QStringList{QStringLiteral("video [video].mp4")});
        QCOMPARE(streamTypes(tasks.last()->outputFiles().value(0)),
                 (QStringList{QStringLiteral("audio"), QStringLiteral("video")}));
        QCOMPARE(QFileInfo(tasks.last()->outputFiles().value(0)).size(),
                 QFileInfo(tasks.first()->outputFiles().value(0)).size());
    }

    // Two tasks of one item, one after the other or at once: each keeps its own whole file, and a
    // finished one stays as it was. Best Quality and Audio Only of one link, either way; one video
    // twice; one DASH video in two containers.
    void twoTasksOfOneItem_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("kinds"); // of each task in turn: "audio", or its container
        QTest::addColumn<bool>("atOnce");
        QTest::addColumn<QStringList>("files");
        const QString video = QStringLiteral("/video.mp4");
        const QStringList both{QStringLiteral("video [video].mp3"), QStringLiteral("video [video].mp4")};
        const QStringList videoFirst{QStringLiteral("mp4"), QStringLiteral("audio")};
        QTest::newRow("video, then audio") << video << videoFirst << false << both;
        QTest::newRow("audio, then video")
            << video << QStringList{QStringLiteral("audio"), QStringLiteral("mp4")} << false << both;
        QTest::newRow("video and audio at once") << video << videoFirst << true << both;
        QTest::newRow("video twice") << video << QStringList{QStringLiteral("mp4"), QStringLiteral("mp4")} << false
                                     << QStringList{QStringLiteral("video [video].mp4")};
        QTest::newRow("two containers at once")
            << QStringLiteral("/dash/manifest.mpd") << QStringList{QStringLiteral("mp4"), QStringLiteral("mkv")} << true
            << QStringList{QStringLiteral("manifest [manifest].mkv"), QStringLiteral("manifest [manifest].mp4")};
    }
    void twoTasksOfOneItem()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, kinds);
        QFETCH(bool, atOnce);
        QFETCH(QStringList, files);
        Setup setup;
        SettingsStore::set(QStringLiteral("maxConcurrent"), 2);
        setup.manager.start();
        QList<DownloadTask *> tasks;
        QByteArray firstBytes;
        for (const QString &kind : kinds) {
            // Spellings of the link of their own, so the queue starts both.
            DownloadOptions options = setup.options(path + u'?' + kind);
            options.audioOnly = kind == u"audio";
            options.formatSelector = options.audioOnly ? QStringLiteral("ba/b") : QStringLiteral("bv*+ba/b");
            options.container = options.audioOnly ? QString() : kind;
            tasks.append(setup.manager.enqueue(options));
            if (!atOnce)
                QTRY_COMPARE_WITH_TIMEOUT(statusOf(tasks.last()), QStringLiteral("completed"), downloadTimeoutMs);
            if (!atOnce && tasks.size() == 1)
                firstBytes = fileBytes(tasks.first()->outputFiles().value(0));
        }
        for (const DownloadTask *task : tasks) {
            QTRY_VERIFY_WITH_TIMEOUT(TaskStatuses::isFinished(task->status()), downloadTimeoutMs);
            QCOMPARE(statusOf(task), QStringLiteral("completed"));
            QCOMPARE(task->finalSize(), QFileInfo(task->outputFiles().value(0)).size());
            QVERIFY(decodesWhole(task->outputFiles().value(0)));
        }
        QCOMPARE(QDir(setup.folder).entryList(QDir::Files), files);
        if (!atOnce)
            QCOMPARE(fileBytes(tasks.first()->outputFiles().value(0)), firstBytes);
    }

    // Repeated: the merge's stage line and the last progress lines come a moment apart on two
    // streams, and the stage must never go back to downloading once the merge has begun.
    void dashStreamsAreMerged_data()
    {
        QTest::addColumn<int>("run");
        for (int run = 1; run <= 10; ++run)
            QTest::addRow("run %d", run) << run;
    }
    void dashStreamsAreMerged()
    {
        Setup setup;
        DownloadOptions options = setup.options(QStringLiteral("/dash/manifest.mpd"));
        options.formatSelector = QStringLiteral("bv*+ba/b");
        options.container = QStringLiteral("mkv");
        DownloadTask *task = setup.manager.enqueue(options);
        QStringList stages;
        connect(task, &DownloadTask::stageChanged, task, [&] { stages.append(task->stage()); });
        setup.manager.start();
        QTRY_COMPARE_WITH_TIMEOUT(statusOf(task), QStringLiteral("completed"), downloadTimeoutMs);

        QCOMPARE(task->outputFiles().size(), 1);
        const QString file = task->outputFiles().first();
        QVERIFY(file.endsWith(QLatin1String(".mkv")));
        QCOMPARE(QDir(setup.folder).entryList(QDir::Files), QStringList{QFileInfo(file).fileName()});
        QCOMPARE(streamTypes(file), (QStringList{QStringLiteral("audio"), QStringLiteral("video")}));
        QCOMPARE(task->finalSize(), QFileInfo(file).size());
        for (const QString &stage : {QStringLiteral("Downloading stream 1/2"), QStringLiteral("Downloading stream 2/2"),
                                     QStringLiteral("Merging with FFmpeg")})
            QVERIFY2(stages.contains(stage), qPrintable(stages.join(QLatin1String(", "))));
        const QStringList afterMerge = stages.mid(stages.indexOf(QStringLiteral("Merging with FFmpeg")));
        for (const QString &stage : afterMerge)
            QVERIFY2(!stage.startsWith(QLatin1String("Downloading")), qPrintable(stages.join(QLatin1String(", "))));
    }

    void feedWithAMissingItem()
    {
        Setup setup;
        const QList<TestMedia::FeedItem> items{
            {QStringLiteral("First"), QStringLiteral("/video.mp4"), QStringLiteral("one")},
            {QStringLiteral("Second"), QStringLiteral("/missing.mp4"), QStringLiteral("two")},
            {QStringLiteral("Third"), QStringLiteral("/audio.m4a"), QStringLiteral("three"),
             QStringLiteral("audio/mp4")},
        };
        setup.server.serveText(QStringLiteral("/feed.xml"),
                               TestMedia::rssFeed(setup.server, QStringLiteral("Feed"), items), "application/rss+xml");
        DownloadOptions options = setup.options(QStringLiteral("/feed.xml"));
        options.isPlaylist = true;
        options.outputTemplate =
            QStringLiteral("%(playlist_title|Playlist)s/%(playlist_index)03d - ") + options.outputTemplate;
        DownloadTask *task = setup.manager.enqueue(options);
        setup.manager.start();
        QTRY_COMPARE_WITH_TIMEOUT(statusOf(task), QStringLiteral("completed"), downloadTimeoutMs);

        QCOMPARE(task->error(), QStringLiteral("Some playlist items failed \u2014 see the log."));
        QCOMPARE(task->outputFiles().size(), 2);
        for (const QString &file : task->outputFiles())
            QVERIFY2(QFileInfo(file).isFile() && file.startsWith(setup.folder + QStringLiteral("/Feed/")),
                     qPrintable(file));
        QCOMPARE(task->progress(), 1.0);
        QVERIFY(LogManager::read(task->id()).contains(QStringLiteral("\u2014\u2014 exit 1 \u2014\u2014")));
        QTRY_COMPARE(setup.notifications.summaries(), QStringList{QStringLiteral("Download complete")});
    }

    void missingFileFails()
    {
        Setup setup;
        DownloadTask *task = setup.manager.enqueue(setup.options(QStringLiteral("/missing.mp4")));
        setup.manager.start();
        QTRY_COMPARE_WITH_TIMEOUT(statusOf(task), QStringLiteral("failed"), downloadTimeoutMs);

        const QString message = QStringLiteral("The media could not be found (HTTP 404).");
        QCOMPARE(task->error(), message);
        QCOMPARE(task->stage(), QStringLiteral("Failed"));
        QCOMPARE(setup.history.items().first().error, message);
        QTRY_COMPARE(setup.notifications.calls().size(), 1);
        QCOMPARE(setup.notifications.calls().first().summary, QStringLiteral("Download failed"));
        QCOMPARE(setup.notifications.calls().first().body, message);
    }

    // Typos in the Network settings: the user reads what yt-dlp refused, in its own words.
    void refusedOptionFails_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("exit");
        QTest::newRow("unknown option") << QStringLiteral("extraArgs") << QStringLiteral("--foo")
                                        << QStringLiteral("no such option: --foo") << 2;
        QTest::newRow("rate limit") << QStringLiteral("rateLimit") << QStringLiteral("1 MB")
                                    << QStringLiteral("invalid rate limit \"1 MB\" given") << 2;
        QTest::newRow("time-out") << QStringLiteral("extraArgs") << QStringLiteral("--socket-timeout abc")
                                  << QStringLiteral("option --socket-timeout: invalid floating-point value: 'abc'")
                                  << 2;
        // No ERROR line at all, only a traceback.
        QTest::newRow("format selector") << QStringLiteral("extraArgs") << QStringLiteral("-f \"bv*+\"")
                                         << QStringLiteral(": Expected a selector") << 1;
    }
    void refusedOptionFails()
    {
        QFETCH(QString, setting);
        QFETCH(QString, value);
        QFETCH(QString, error);
        QFETCH(int, exit);
        Setup setup;
        SettingsStore::set(setting, value);
        DownloadTask *task = setup.manager.enqueue(setup.options(QStringLiteral("/video.mp4")));
        setup.manager.start();
        QTRY_COMPARE_WITH_TIMEOUT(statusOf(task), QStringLiteral("failed"), downloadTimeoutMs);
        // yt-dlp's own words, ending as the row says.
        const QString shown = task->error().value_or(QString());
        QVERIFY2(shown.endsWith(error), qPrintable(shown));
        QVERIFY(LogManager::read(task->id()).contains(QStringLiteral("\u2014\u2014 exit %1 \u2014\u2014").arg(exit)));
    }

    // Five slow downloads, two at a time, through every control.
    void controlsOnRealDownloads()
    {
        Setup setup;
        SettingsStore::set(QStringLiteral("maxConcurrent"), 2);
        SettingsStore::set(QStringLiteral("rateLimit"), QStringLiteral("25K"));
        QList<DownloadTask *> tasks;
        for (int i = 1; i <= 5; ++i) {
            const QString path = QStringLiteral("/v%1.mp4").arg(i);
            setup.server.serveFile(path, TestMedia::videoFile(), "video/mp4");
            tasks.append(setup.manager.enqueue(setup.options(path)));
        }
        DownloadTask *a = tasks[0], *b = tasks[1], *c = tasks[2], *d = tasks[3], *e = tasks[4];

        // Watch every change: never more than two children, started in list order.
        int mostRunning = 0;
        QStringList started;
        const auto countRunning = [&] {
            int running = 0;
            for (const DownloadTask *each : setup.manager.tasks())
                running += each->process() && each->process()->isRunning();
            mostRunning = std::max(mostRunning, running);
        };
        for (DownloadTask *task : tasks) {
            connect(task, &DownloadTask::stageChanged, task, [&, task] {
                if (task->stage() == QStringLiteral("Starting\u2026"))
                    started.append(QFileInfo(task->options().url).fileName());
                countRunning();
            });
            connect(task, &DownloadTask::progressChanged, task, countRunning);
        }
        setup.manager.start();
        const auto receiving = [](const DownloadTask *task) { return task->currentBytes() > 0; };

        QTRY_VERIFY_WITH_TIMEOUT(receiving(a), downloadTimeoutMs);
        setup.manager.pause(a);
        QTRY_COMPARE_WITH_TIMEOUT(statusOf(a), QStringLiteral("paused"), downloadTimeoutMs);
        QCOMPARE(a->stage(), QStringLiteral("Paused"));
        // Under the task's own mark until done.
        const QString partial =
            setup.folder + QStringLiteral("/v1 [v1].mv-%1.mp4.part").arg(a->id().toString(QUuid::Id128).left(8));
        QVERIFY(QFileInfo(partial).size() > 0);

        QTRY_VERIFY_WITH_TIMEOUT(receiving(b), downloadTimeoutMs);
        setup.manager.cancel(b);
        QTRY_COMPARE_WITH_TIMEOUT(statusOf(b), QStringLiteral("cancelled"), downloadTimeoutMs);
        QCOMPARE(setup.history.items().first().id, b->id());
        QCOMPARE(TaskStatuses::rawValue(setup.history.items().first().status), QStringLiteral("cancelled"));

        QTRY_VERIFY_WITH_TIMEOUT(receiving(c), downloadTimeoutMs);
        const QUuid removedId = c->id();
        setup.manager.remove(c);
        QCOMPARE(setup.manager.tasks().size(), 4);
        QTRY_COMPARE_WITH_TIMEOUT(statusOf(e), QStringLiteral("downloading"), downloadTimeoutMs);

        setup.manager.resume(a);
        setup.manager.retry(b);
        QTRY_VERIFY_WITH_TIMEOUT(
            std::all_of(setup.manager.tasks().cbegin(), setup.manager.tasks().cend(),
                        [](const DownloadTask *task) { return task->status() == TaskStatus::Completed; }),
            downloadTimeoutMs);

        QCOMPARE(mostRunning, 2);
        QCOMPARE(started, (QStringList{QStringLiteral("v1.mp4"), QStringLiteral("v2.mp4"), QStringLiteral("v3.mp4"),
                                       QStringLiteral("v4.mp4"), QStringLiteral("v5.mp4"), QStringLiteral("v1.mp4"),
                                       QStringLiteral("v2.mp4")}));
        // The resumed download continued where it stopped.
        bool continued = false;
        for (const TestHttpServer::Request &request : setup.server.requestsFor(QStringLiteral("/v1.mp4")))
            continued |=
                request.headers.value("range").startsWith("bytes=") && request.headers.value("range") != "bytes=0-";
        QVERIFY(continued);
        QCOMPARE(a->finalSize(), QFileInfo(a->outputFiles().value(0)).size());
        QVERIFY(!QFileInfo::exists(partial));
        for (const HistoryItem &item : setup.history.items())
            QVERIFY(item.id != removedId);

        // Reordering is saved.
        setup.manager.moveUp(e);
        setup.manager.moveDown(a);
        setup.manager.move({0}, 4);
        const QList<DownloadTask *> order{a, e, d, b};
        QCOMPARE(setup.manager.tasks(), order);
        QList<QUuid> ids;
        for (const DownloadTask *task : order)
            ids.append(task->id());
        const auto savedIds = [] {
            QList<QUuid> ids;
            for (const TaskRecord &record : TestDownloads::readQueueFile().value_or(QList<TaskRecord>()))
                ids.append(record.id);
            return ids;
        };
        QTRY_COMPARE(savedIds(), ids);
    }
};

QTEST_GUILESS_MAIN(TestDownloadRun)
#include "tst_downloadrun.moc"
