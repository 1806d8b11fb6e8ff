#include "TestDownloads.h"
#include "TestEnvironment.h"
#include "TestHttpServer.h"
#include "TestMedia.h"
#include "TestRequests.h"
#include "core/LogManager.h"
#include "core/ManagedProcess.h"
#include "core/SettingsStore.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadTask.h"
#include "engine/HistoryStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <csignal>
#include <cstdio>

// The queue across the end of a process: a quit that prepares for it, a process killed in the
// middle of its downloads, and one killed in the middle of a burst of saves. The process that
// ends is this test program itself, started again in a helper mode (see main below).
namespace {

constexpr int downloadTimeoutMs = 60000;

void say(const QByteArray &line)
{
    std::fputs((line + '\n').constData(), stdout);
    std::fflush(stdout);
}

// Helper mode "downloads": starts the two links given and, once both have written some data, either
// prepares for termination and exits ("quit") or reports the children's ids and waits to be
// killed ("crash").
int runDownloads(const QString &mode, const QStringList &links, const QString &folder)
{
    HistoryStore history;
    DownloadManager manager(&history);
    for (const QString &link : links)
        manager.enqueue(TestRequests::defaultRequest(link, folder));
    manager.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        QByteArray pids;
        for (const DownloadTask *task : manager.tasks()) {
            // Past what yt-dlp may still hold in its write buffer.
            if (task->currentBytes() < 20000 || !task->process())
                return;
            pids += ' ' + QByteArray::number(task->process()->processId());
        }
        poll.stop();
        if (mode == QLatin1String("quit")) {
            manager.prepareForTermination();
            say("terminated");
            QCoreApplication::quit();
        } else {
            say("running" + pids);
        }
    });
    poll.start(20);
    return QCoreApplication::exec();
}

// Helper mode "burst": changes the queue at every turn of the event loop, so it is saved over
// and over, until it is killed.
int runBurst(const QString &folder)
{
    HistoryStore history;
    DownloadManager manager(&history);
    QTimer tick;
    const qsizetype loaded = manager.tasks().size();
    bool announced = false;
    QObject::connect(&tick, &QTimer::timeout, &tick, [&] {
        DownloadTask *task = manager.enqueue(TestRequests::defaultRequest(
            QStringLiteral("http://127.0.0.1:9/item-%1").arg(manager.tasks().size()), folder));
        manager.move({int(manager.tasks().size()) - 1},
                     int(QRandomGenerator::global()->bounded(manager.tasks().size())));
        manager.pause(task);
        // The file is written on a thread of its own: the kill may come once this run's changes
        // have begun to reach it.
        if (!announced) {
            const auto records = TestDownloads::readQueueFile();
            announced = records && records->size() > loaded;
            if (announced)
                say("saving");
        }
    });
    tick.start(0);
    return QCoreApplication::exec();
}

struct Helper
{
    QProcess process;

    void start(const QStringList &arguments)
    {
        process.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--helper")} + arguments);
    }
    // The next line the helper printed, waiting for it as long as needed.
    QByteArray line()
    {
        QElapsedTimer clock;
        clock.start();
        while (!process.canReadLine() && clock.elapsed() < downloadTimeoutMs)
            process.waitForReadyRead(100);
        return process.readLine().trimmed();
    }
};

QStringList statuses(const DownloadManager &manager)
{
    QStringList statuses;
    for (const DownloadTask *task : manager.tasks())
        statuses.append(TaskStatuses::rawValue(task->status()));
    return statuses;
}

} // namespace

// Two slow downloads from the local server with the real yt-dlp.
struct Setup
{
    TestEnvironment env;
    TestHttpServer server;
    QString folder = env.root() + QStringLiteral("/Downloads");
    QStringList links;

    Setup()
    {
        TestDownloads::installDebianTools(env);
        SettingsStore::set(QStringLiteral("rateLimit"), QStringLiteral("20K"));
        for (const QString &path : {QStringLiteral("/r1.mp4"), QStringLiteral("/r2.mp4")}) {
            server.serveFile(path, TestMedia::videoFile(), "video/mp4");
            links.append(server.url(path).toString());
        }
    }

    // The restored queue finishes both downloads, continuing the partial files.
    void completeRestored(DownloadManager &manager) const
    {
        manager.start();
        QTRY_VERIFY_WITH_TIMEOUT(statuses(manager) ==
                                     (QStringList{QStringLiteral("completed"), QStringLiteral("completed")}),
                                 downloadTimeoutMs);
        for (const DownloadTask *task : manager.tasks()) {
            QCOMPARE(task->outputFiles().size(), 1);
            QCOMPARE(task->finalSize(), QFileInfo(task->outputFiles().first()).size());
        }
        for (const QString &path : {QStringLiteral("/r1.mp4"), QStringLiteral("/r2.mp4")}) {
            bool continued = false;
            for (const TestHttpServer::Request &request : server.requestsFor(path))
                continued |=
                    request.headers.value("range").startsWith("bytes=") && request.headers.value("range") != "bytes=0-";
            QVERIFY2(continued, qPrintable(path));
        }
    }
};

class TestDownloadRestart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A quit prepared for: the downloads come back queued, as they were saved, and finish.
    void quitAndStartAgain()
    {
        Setup setup;
        Helper helper;
        helper.start(QStringList{QStringLiteral("downloads"), QStringLiteral("quit"), setup.folder} + setup.links);
        QCOMPARE(helper.line(), QByteArray("terminated"));
        QVERIFY(helper.process.waitForFinished(downloadTimeoutMs));
        QCOMPARE(helper.process.exitCode(), 0);
        QCOMPARE(TestDownloads::savedStatuses(), (QStringList{QStringLiteral("queued"), QStringLiteral("queued")}));

        HistoryStore history;
        DownloadManager manager(&history);
        QCOMPARE(statuses(manager), (QStringList{QStringLiteral("queued"), QStringLiteral("queued")}));
        for (const DownloadTask *task : manager.tasks()) {
            QCOMPARE(task->stage(), QString());
            QVERIFY(task->progress() > 0);
            QVERIFY(!LogManager::read(task->id()).contains(QStringLiteral("Recovered")));
        }
        setup.completeRestored(manager);
    }

    // A process killed while it downloads: the file still shows both running, and they come back
    // queued, marked as recovered.
    void killedAndStartedAgain()
    {
        Setup setup;
        Helper helper;
        helper.start(QStringList{QStringLiteral("downloads"), QStringLiteral("crash"), setup.folder} + setup.links);
        const QList<QByteArray> words = helper.line().split(' ');
        QCOMPARE(words.size(), 3);
        QCOMPARE(words.first(), QByteArray("running"));
        ::kill(pid_t(helper.process.processId()), SIGKILL);
        QVERIFY(helper.process.waitForFinished(downloadTimeoutMs));
        // Orphaned children would go on writing into the partial files.
        for (const QByteArray &pid : words.mid(1))
            ::kill(-pid_t(pid.toLongLong()), SIGKILL);
        QCOMPARE(TestDownloads::savedStatuses(), (QStringList{QStringLiteral("downloading"), QStringLiteral("downloading")}));

        HistoryStore history;
        DownloadManager manager(&history);
        QCOMPARE(statuses(manager), (QStringList{QStringLiteral("queued"), QStringLiteral("queued")}));
        for (const DownloadTask *task : manager.tasks()) {
            QCOMPARE(task->stage(), QStringLiteral("Resuming after restart"));
            QCOMPARE(LogManager::read(task->id()).count(QStringLiteral("Recovered after restart; will resume.")), 1);
        }
        setup.completeRestored(manager);
    }

    void killedWhileSaving()
    {
        TestEnvironment env;
        const QString folder = env.root() + QStringLiteral("/Downloads");
        qsizetype saved = 0;
        for (int round = 0; round < 6; ++round) {
            Helper helper;
            helper.start({QStringLiteral("burst"), folder});
            QCOMPARE(helper.line(), QByteArray("saving"));
            QThread::msleep(QRandomGenerator::global()->bounded(10, 150));
            ::kill(pid_t(helper.process.processId()), SIGKILL);
            QVERIFY(helper.process.waitForFinished(downloadTimeoutMs));
            QCOMPARE(helper.process.exitStatus(), QProcess::CrashExit);

            const auto records = TestDownloads::readQueueFile();
            QVERIFY2(records, "queue.json must always decode");
            // Each round starts from what the last one left and adds to it.
            QVERIFY(records->size() > saved);
            saved = records->size();
        }
    }
};

int main(int argc, char **argv)
{
    if (argc > 2 && qstrcmp(argv[1], "--helper") == 0) {
        QCoreApplication app(argc, argv);
        SettingsStore::registerDefaults();
        const QStringList arguments = app.arguments().mid(2);
        if (arguments.first() == QLatin1String("burst"))
            return runBurst(arguments.value(1));
        return runDownloads(arguments.value(1), arguments.mid(3), arguments.value(2));
    }
    QCoreApplication app(argc, argv);
    TestDownloadRestart test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_downloadrestart.moc"
