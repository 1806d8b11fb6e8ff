// Throughput of child output through ManagedProcess: a child writes 100 MiB of 80-byte
// progress-like lines; we count the lines delivered and the CPU time our process spent, and
// compare with `wc -l` reading the same bytes from a pipe. First, a child writes 100 MiB without
// a line break, and we report how much our peak memory grew meanwhile.
#include "core/LineBuffer.h"
#include "core/ManagedProcess.h"

#include <QCoreApplication>
#include <QCoroTask>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int lineBytes = 80;
constexpr int linesPerBlock = 13107; // about 1 MiB
constexpr int blocks = 100;

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QByteArray progressBlock()
{
    QByteArray block;
    block.reserve(lineBytes * linesPerBlock);
    for (int i = 0; i < linesPerBlock; ++i) {
        QByteArray line = "MVPROG|" + QByteArray::number(i * 1000) + "|104857600|" + QByteArray::number(i % 997) +
                          "213.5|12|" + QByteArray::number(i % 120) + "|120|";
        line = line.leftJustified(lineBytes - 1, '0', true);
        block += line + '\n';
    }
    return block;
}

struct ShellRun
{
    double wall;
    double cpu; // of every process the shell ran
    QByteArray output;
};

ShellRun runShell(const QString &script)
{
    QProcess shell;
    const double before = cpuSeconds(RUSAGE_CHILDREN);
    QElapsedTimer wall;
    wall.start();
    shell.start(QStringLiteral("/bin/bash"), {QStringLiteral("-c"), script});
    shell.waitForFinished(-1);
    return {double(wall.nsecsElapsed()) / 1e9, cpuSeconds(RUSAGE_CHILDREN) - before,
            shell.readAllStandardOutput().trimmed()};
}

// Peak resident memory of our process so far.
long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

bool endlessLine()
{
    qsizetype lines = 0;
    qsizetype longest = 0;
    ManagedProcess process(QStringLiteral("/bin/sh"),
                           {QStringLiteral("-c"), QStringLiteral("head -c %1 /dev/zero | tr '\\0' x").arg(100 << 20)},
                           std::nullopt, false, [&lines, &longest](const QString &line) {
                               ++lines;
                               longest = std::max(longest, line.size());
                           });
    const long before = peakKiB();
    QElapsedTimer clock;
    clock.start();
    if (!process.start() || QCoro::waitFor(process.wait()) != 0)
        return false;
    std::printf("100 MiB without a line break: %.3f s, %lld line of %lld characters, peak memory +%ld KiB\n",
                double(clock.nsecsElapsed()) / 1e9, qint64(lines), qint64(longest), peakKiB() - before);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Before anything else here raises the peak.
    if (!endlessLine())
        return 1;
    QTemporaryDir dir;
    const QString blockPath = dir.filePath(QStringLiteral("block"));
    QFile block(blockPath);
    if (!block.open(QIODevice::WriteOnly) || block.write(progressBlock()) < 0)
        return 1;
    block.close();
    const QString producer = QStringLiteral("for i in $(seq %1); do cat '%2'; done").arg(blocks).arg(blockPath);
    const qint64 expected = qint64(linesPerBlock) * blocks;
    const double megabytes = double(expected) * lineBytes / (1024.0 * 1024.0);

    // Through ManagedProcess, lines handed to a callback as they arrive.
    qint64 lines = 0;
    qint64 characters = 0;
    ManagedProcess process(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), producer}, std::nullopt, false,
                           [&lines, &characters](const QString &line) {
                               ++lines;
                               characters += line.size();
                           });
    const double cpuBefore = cpuSeconds(RUSAGE_SELF);
    QElapsedTimer clock;
    clock.start();
    if (!process.start())
        return 1;
    const int status = QCoro::waitFor(process.wait());
    const double ours = double(clock.nsecsElapsed()) / 1e9;
    const double ourCpu = cpuSeconds(RUSAGE_SELF) - cpuBefore;
    if (status != 0 || lines != expected) {
        std::fprintf(stderr, "status %d, %lld lines of %lld\n", status, qint64(lines), qint64(expected));
        return 1;
    }

    // The same bytes through `wc -l`, and the producer alone for reference.
    const ShellRun producerAlone = runShell(producer + QStringLiteral(" > /dev/null"));
    const ShellRun wc =
        runShell(QStringLiteral("TIMEFORMAT='%3U %3S'; { ") + producer + QStringLiteral(" | { time wc -l; } ; } 2>&1"));
    const QList<QByteArray> wcFields = wc.output.simplified().split(' '); // count, user, system
    const double wcCpu = wcFields.size() == 3 ? wcFields[1].toDouble() + wcFields[2].toDouble() : -1;

    // Line cutting alone, on the same bytes in memory, in reads of 64 KiB.
    const QByteArray bytes = progressBlock().repeated(blocks);
    LineBuffer buffer;
    qint64 cut = 0;
    clock.restart();
    for (qsizetype at = 0; at < bytes.size(); at += 65536)
        cut += buffer.feed(QByteArrayView(bytes).sliced(at, std::min<qsizetype>(65536, bytes.size() - at))).size();
    cut += buffer.flush().size();
    const double cutting = double(clock.nsecsElapsed()) / 1e9;

    std::printf("%.0f MiB, %lld lines of %d bytes\n", megabytes, qint64(lines), lineBytes);
    std::printf("ManagedProcess: %.3f s wall, %.0f lines/s, %.3f s CPU in our process\n", ours, lines / ours, ourCpu);
    std::printf("wc -l         : %.3f s wall, %.0f lines/s, %.3f s CPU in wc (counted %s)\n", wc.wall,
                expected / wc.wall, wcCpu, wcFields.value(0).constData());
    std::printf("producer alone: %.3f s wall, %.3f s CPU\n", producerAlone.wall, producerAlone.cpu);
    std::printf("LineBuffer    : %.3f s for %lld lines in memory, %.0f lines/s\n", cutting, cut, cut / cutting);
    std::printf("ratio ManagedProcess / wc -l: %.2fx wall, %.2fx CPU\n", ours / wc.wall, ourCpu / wcCpu);
    return 0;
}
