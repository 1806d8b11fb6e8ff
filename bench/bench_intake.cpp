// Link intake at scale: one text holding 1 000 distinct links handed to the coordinator, with the
// tools not yet ready (the queue is not started), until "queue.json" lists every task. Prints the
// wall time of the call and until the file is committed, the main thread's CPU time over that
// span, and the bytes this process wrote (queue file and the task logs' first lines).
// Runs in a temporary home of its own; build with `cmake --build build --target benchmarks`.
#include "ProcessIo.h"
#include "coordinator/AppState.h"
#include "core/LogManager.h"
#include "engine/DownloadManager.h"
#include "engine/QueueFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QUuid>

#include <clocale>
#include <cstdio>
#include <ctime>

namespace {

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

qsizetype queuedInFile()
{
    QFile file(QueueFile::path());
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return QJsonDocument::fromJson(file.readAll()).array().size();
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
        qputenv(name, home.path().toUtf8());
    qputenv("MORVANE_AO", "null");
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");

    AppState state;
    QString text;
    for (int i = 0; i < 1000; ++i)
        text += QStringLiteral("Part %1: https://media.example/clips/%1.mp4\n").arg(i);

    const qint64 writtenBefore = bytesWritten();
    const double cpuBefore = threadCpuMs();
    QElapsedTimer clock;
    clock.start();
    state.receive(text);
    const qint64 callMs = clock.elapsed();
    while (queuedInFile() < 1000)
        QCoreApplication::processEvents();
    const qint64 totalMs = clock.elapsed();
    const double cpuMs = threadCpuMs() - cpuBefore;
    (void)LogManager::read(QUuid::createUuid()); // waits for the log writer to catch up

    std::printf("receive 1000 links: %lld ms in the call, %lld ms until queue.json lists them all; "
                "main thread CPU %.0f ms; %lld bytes written (queue.json is %lld bytes); %lld tasks\n",
                callMs, totalMs, cpuMs, bytesWritten() - writtenBefore, qint64(QFileInfo(QueueFile::path()).size()),
                qint64(state.downloads().tasks().size()));
    return 0;
}
