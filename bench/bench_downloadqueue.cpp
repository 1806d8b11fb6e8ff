// Figures for the download queue:
//   enqueue   1 000 links into an empty queue: wall time until the queue file is current, and
//             the bytes this process wrote meanwhile (queue file and task logs).
//   progress  eight downloads at once, each printing 500 progress lines a second for 20 s, in
//             bursts of five and then line by line: CPU time of this process (all threads)
//             against the wall time.
// Runs in a temporary home of its own; build with `cmake --build build --target benchmarks`.
#include "ProcessIo.h"
#include "core/AppPaths.h"
#include "core/LogManager.h"
#include "core/SettingsStore.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadOptions.h"
#include "engine/DownloadTask.h"
#include "engine/HistoryStore.h"
#include "engine/QueueFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

DownloadOptions request(const QString &url, const QString &folder)
{
    DownloadOptions options;
    options.url = url;
    options.title = QFileInfo(url).fileName();
    options.audioFormat = QStringLiteral("mp3");
    options.container = QStringLiteral("mp4");
    options.folder = folder;
    options.outputTemplate = QStringLiteral("%(title)s [%(id)s].%(ext)s");
    options.subLangs = QStringLiteral("en.*");
    options.network = SettingsStore::networkSnapshot();
    options.presetName = QStringLiteral("Best Quality");
    return options;
}

// Runs the event loop until `done` holds, looking every 100 ms.
template<typename Predicate> void runUntil(Predicate done)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(100);
    loop.exec();
}

void benchEnqueue(const QString &folder)
{
    QFile::remove(QueueFile::path());
    HistoryStore history;
    DownloadManager manager(&history);
    QList<DownloadOptions> requests;
    for (int i = 0; i < 1000; ++i)
        requests.append(request(QStringLiteral("https://example.com/watch?v=%1").arg(i), folder));
    const qint64 writtenBefore = bytesWritten();
    QElapsedTimer clock;
    clock.start();
    for (const DownloadOptions &options : std::as_const(requests))
        manager.enqueue(options);
    const qint64 enqueueMs = clock.elapsed();
    QCoreApplication::processEvents(); // the return to the event loop that writes the file
    const qint64 totalMs = clock.elapsed();
    std::printf("enqueue 1000 links: %lld ms in the calls, %lld ms until queue.json is current; "
                "%lld bytes written (queue.json is %lld bytes)\n",
                enqueueMs, totalMs, bytesWritten() - writtenBefore, qint64(QFileInfo(QueueFile::path()).size()));
}

// Prints 500 progress lines a second for 20 s, flushing every `burst` lines, where the link ends
// in "/burst-N-I" for a burst of N.
const QByteArray chattyDownloader = R"(#!/usr/bin/python3
import sys, time
name = sys.argv[-1].rsplit("/", 1)[-1]
burst = int(name.split("-")[1])
out = sys.argv[sys.argv.index("-P") + 1] + "/" + name + ".mp4"
total = 10000 * 20 * 500
start = time.monotonic()
for i in range(0, 20 * 500, burst):
    for j in range(i, i + burst):
        sys.stdout.write("MVPROG|%d|%d|NA|1048576.5|%d|%s\n" % (j * 10000, total, 20 - j // 500, out))
    sys.stdout.flush()
    delay = start + (i + burst) / 500 - time.monotonic()
    if delay > 0:
        time.sleep(delay)
open(out, "w").close()
print("MVFILE|" + out)
)";

void benchProgress(const QString &folder, int burst)
{
    QFile::remove(QueueFile::path());
    const QString tool = AppPaths::sub(QStringLiteral("Tools")) + QStringLiteral("/yt-dlp");
    QFile script(tool);
    script.open(QIODevice::WriteOnly | QIODevice::Truncate);
    script.write(chattyDownloader);
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    SettingsStore::set(QStringLiteral("maxConcurrent"), 8);

    HistoryStore history;
    DownloadManager manager(&history);
    for (int i = 0; i < 8; ++i)
        manager.enqueue(request(QStringLiteral("https://example.com/burst-%1-%2").arg(burst).arg(i), folder));
    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    manager.start();
    runUntil([&] {
        return std::all_of(manager.tasks().cbegin(), manager.tasks().cend(),
                           [](const DownloadTask *task) { return TaskStatuses::isFinished(task->status()); });
    });
    const double cpu = cpuSeconds() - cpuBefore;
    const double wall = double(clock.elapsed()) / 1000;
    // Every line reached the task log, and the last one the task itself.
    int completed = 0;
    qint64 logged = 0;
    int current = 0;
    for (const DownloadTask *task : manager.tasks()) {
        completed += task->status() == TaskStatus::Completed;
        logged += LogManager::read(task->id()).count(QStringLiteral("] MVPROG|"));
        current += task->currentBytes() == qint64(10000) * (20 * 500 - 1);
    }
    std::printf(
        "8 downloads x 500 lines/s, %d per write: %d completed in %.1f s wall, %.2f s CPU = %.1f%% of one core; "
        "%lld of %d progress lines logged, %d tasks parsed up to the last\n",
        burst, completed, wall, cpu, 100 * cpu / wall, logged, 8 * 20 * 500, current);
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    for (const char *variable : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        const QString path = home.path() + QLatin1Char('/') + QLatin1String(variable);
        QDir().mkpath(path);
        qputenv(variable, QFile::encodeName(path));
    }
    QCoreApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path() + QStringLiteral("/XDG_CONFIG_HOME"));
    SettingsStore::registerDefaults();
    SettingsStore::set(QStringLiteral("notifications"), false);
    const QString folder = home.path() + QStringLiteral("/Downloads");

    const QStringList which = app.arguments().mid(1);
    if (which.isEmpty() || which.contains(QLatin1String("enqueue")))
        benchEnqueue(folder);
    // yt-dlp writes a progress line per block it receives; a fast link gives several per read.
    if (which.isEmpty() || which.contains(QLatin1String("progress"))) {
        benchProgress(folder, 5);
        benchProgress(folder, 1);
    }
    // Lets the log writer finish before the temporary home goes.
    (void)LogManager::read(QUuid());
    return 0;
}
