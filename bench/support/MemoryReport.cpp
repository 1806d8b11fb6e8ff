#include "MemoryReport.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTextStream>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace MemoryReport {

namespace {

double megabytes(qint64 kilobytes)
{
    return double(kilobytes) / 1024.0;
}

// The kilobytes of each "Name:   N kB" line of a /proc file.
QHash<QString, qint64> fields(const QString &path)
{
    QHash<QString, qint64> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return values;
    QTextStream in(&file);
    for (QString line; in.readLineInto(&line);) {
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0 && line.endsWith(QLatin1String(" kB")))
            values.insert(line.left(colon), line.mid(colon + 1).chopped(3).trimmed().toLongLong());
    }
    return values;
}

} // namespace

double residentMegabytes()
{
    return megabytes(fields(QStringLiteral("/proc/self/smaps_rollup")).value(QStringLiteral("Rss")));
}

void printStage(const char *stage)
{
    const QHash<QString, qint64> rollup = fields(QStringLiteral("/proc/self/smaps_rollup"));
    const qint64 anonymous = rollup.value(QStringLiteral("Anonymous"));
    const qint64 resident = rollup.value(QStringLiteral("Rss"));
    const struct mallinfo2 heap = mallinfo2();
    const qsizetype threads =
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
    std::printf("%-34s RSS %6.1f MB  anonymous %6.1f  file %6.1f  | heap in use %6.1f  held free %6.1f  | %lld "
                "threads\n",
                stage, megabytes(resident), megabytes(anonymous), megabytes(resident - anonymous),
                double(heap.uordblks + heap.hblkhd) / 1048576.0, double(heap.fordblks) / 1048576.0,
                static_cast<long long>(threads));
    std::fflush(stdout);
}

void printMappings(int count)
{
    QFile file(QStringLiteral("/proc/self/smaps"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    QHash<QString, qint64> resident;
    QString name;
    QTextStream in(&file);
    for (QString line; in.readLineInto(&line);) {
        // A mapping's header: "start-end perms offset dev inode [path]"; its fields follow as "Name: N kB".
        const QString first = line.section(QLatin1Char(' '), 0, 0);
        if (first.contains(QLatin1Char('-')) && !first.endsWith(QLatin1Char(':'))) {
            const QString path = line.section(QLatin1Char(' '), 5).trimmed();
            name = path.isEmpty() ? QStringLiteral("[anonymous]") : path;
        } else if (line.startsWith(QLatin1String("Rss:"))) {
            resident[name] += line.mid(4).chopped(3).trimmed().toLongLong();
        }
    }
    std::vector<std::pair<qint64, QString>> rows;
    for (auto it = resident.cbegin(); it != resident.cend(); ++it)
        rows.emplace_back(it.value(), it.key());
    std::sort(rows.rbegin(), rows.rend());
    for (int n = 0; n < count && n < int(rows.size()); ++n)
        std::printf("    %7.1f MB  %s\n", megabytes(rows[size_t(n)].first), qPrintable(rows[size_t(n)].second));
    std::fflush(stdout);
}

} // namespace MemoryReport
