#include "TestDownloads.h"
#include "TestEnvironment.h"
#include "TestHttpServer.h"
#include "TestMedia.h"
#include "TestToolMirror.h"
#include "core/AppPaths.h"
#include "core/SettingsStore.h"
#include "engine/TaskRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <csignal>

// The real executable ends on SIGTERM or SIGINT in the middle of real downloads (Debian's yt-dlp
// against the slow local server): at once, with status 0, its downloads queued for the next start
// and its playback state written again.
namespace {

// Debian's yt-dlp (2023) rejects the two options that today's site needs; everything else is its own.
constexpr char ytdlpOfDebian[] = "#!/bin/sh\n"
                                 "first=1 skip=\n"
                                 "for arg do\n"
                                 "  [ \"$first\" ] && { set --; first=; }\n"
                                 "  [ \"$skip\" ] && { skip=; continue; }\n"
                                 "  case \"$arg\" in --remote-components|--js-runtimes) skip=1; continue;; esac\n"
                                 "  set -- \"$@\" \"$arg\"\n"
                                 "done\n"
                                 "exec /usr/bin/yt-dlp \"$@\"\n";

bool partialFileGrows(const QString &folder)
{
    const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.part")}, QDir::Files);
    return std::any_of(files.cbegin(), files.cend(), [](const QFileInfo &file) { return file.size() > 0; });
}

QJsonObject readObject(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
}
} // namespace

class TestTermination : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { SettingsStore::registerDefaults(); }

    void endsOnSignal_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
    }
    void endsOnSignal()
    {
        QFETCH(int, signalNumber);

        TestEnvironment env;
        TestToolMirror mirror(env.root()); // serves nothing: the start-up check finds every tool installed
        env.installScript(QStringLiteral("yt-dlp"), ytdlpOfDebian);
        env.installTool(QStringLiteral("ffmpeg"), QStringLiteral("/usr/bin/ffmpeg"));
        env.installTool(QStringLiteral("ffprobe"), QStringLiteral("/usr/bin/ffprobe"));
        env.installTool(QStringLiteral("deno"), mirror.fakeDeno(QStringLiteral("2.2.0")));
        const QString downloads = env.root() + QStringLiteral("/Downloads");
        SettingsStore::set(QStringLiteral("downloadFolder"), downloads);
        SettingsStore::set(QStringLiteral("autoUpdateTools"), false);
        // A state the application restores (a queue with nothing current: no artwork to fetch) and
        // writes back in its own form, without the extra key.
        const QString playback = AppPaths::support() + QStringLiteral("/playback.json");
        QFile seed(playback);
        QVERIFY(QDir().mkpath(AppPaths::support()) && seed.open(QIODevice::WriteOnly));
        seed.write(R"({"queue": [{"id": "abcdefghijk", "title": "Song", "artist": "Singer"}], "position": 0,
                       "shuffle": false, "repeatMode": "one", "extra": 1})");
        seed.close();

        TestHttpServer server;
        TestHttpServer::Route slow;
        slow.filePath = TestMedia::videoFile();
        slow.headers = {{"Content-Type", "video/mp4"}};
        slow.dripBytes = 2048;
        slow.dripIntervalMs = 100;
        server.serve(QStringLiteral("/a.mp4"), slow);
        server.serve(QStringLiteral("/b.mp4"), slow);

        QProcess morvane;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("MORVANE_AO"), QStringLiteral("null"));
        morvane.setProcessEnvironment(environment);
        morvane.start(QStringLiteral(MORVANE_BINARY),
                      {QStringLiteral("--receive-text"), server.url(QStringLiteral("/a.mp4")).toString() +
                                                             QLatin1Char('\n') +
                                                             server.url(QStringLiteral("/b.mp4")).toString()});
        QVERIFY(morvane.waitForStarted());
        QTRY_VERIFY2_WITH_TIMEOUT(partialFileGrows(downloads) || morvane.state() == QProcess::NotRunning,
                                  "no download under way", 90000);
        QCOMPARE(morvane.state(), QProcess::Running);

        QElapsedTimer ending;
        ending.start();
        QCOMPARE(::kill(pid_t(morvane.processId()), signalNumber), 0);
        QVERIFY(morvane.waitForFinished(30000));
        qInfo("ended %lld ms after the signal", ending.elapsed());
        QCOMPARE(morvane.exitStatus(), QProcess::NormalExit);
        QCOMPARE(morvane.exitCode(), 0);

        QStringList statuses;
        for (const TaskRecord &record : TestDownloads::readQueueFile().value_or(QList<TaskRecord>()))
            statuses.append(TaskStatuses::rawValue(record.status));
        QCOMPARE(statuses, (QStringList{QStringLiteral("queued"), QStringLiteral("queued")}));
        const QJsonObject saved = readObject(playback);
        QVERIFY(!saved.contains(QLatin1String("extra")));
        QCOMPARE(saved.value(QLatin1String("repeatMode")).toString(), QStringLiteral("one"));
        const QJsonArray queue = saved.value(QLatin1String("queue")).toArray();
        QCOMPARE(queue.size(), 1);
        QCOMPARE(queue.first().toObject().value(QLatin1String("id")).toString(), QStringLiteral("abcdefghijk"));
    }
};

QTEST_GUILESS_MAIN(TestTermination)
#include "tst_termination.moc"
