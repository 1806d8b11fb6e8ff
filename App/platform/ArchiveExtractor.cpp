#include "ArchiveExtractor.h"

#include <QCoroFuture>
#include <QFile>
#include <QtConcurrent>

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace ArchiveExtractor {

namespace {

struct ArchiveDeleter
{
    void operator()(archive *handle) const { archive_read_free(handle); }
};

QString archiveError(archive *handle)
{
    const char *text = archive_error_string(handle);
    return text ? QString::fromUtf8(text) : QStringLiteral("unreadable archive");
}

QString entryPath(archive_entry *entry)
{
    if (const char *utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    const char *raw = archive_entry_pathname(entry);
    return raw ? QString::fromLocal8Bit(raw) : QString();
}

bool isSafePath(const QString &path)
{
    if (path.startsWith(QLatin1Char('/')))
        return false;
    const QStringList parts = path.split(QLatin1Char('/'));
    return !parts.contains(QStringLiteral(".."));
}

bool isWanted(archive_entry *entry, const QString &memberName)
{
    // A hard link in a tar carries no bytes of its own; a symlink is never followed.
    if (archive_entry_filetype(entry) != AE_IFREG || archive_entry_hardlink(entry))
        return false;
    const QString path = entryPath(entry);
    return isSafePath(path) && path.section(QLatin1Char('/'), -1) == memberName;
}

Result copyOut(archive *handle, const QString &destinationPath, qint64 sizeCap)
{
    QFile out(destinationPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {Status::Failed, out.errorString()};
    char buffer[1 << 16];
    qint64 written = 0;
    for (;;) {
        const la_ssize_t count = archive_read_data(handle, buffer, sizeof buffer);
        if (count == 0)
            return {Status::Extracted, {}};
        Result failure{Status::Failed, {}};
        if (count < 0)
            failure.error = archiveError(handle);
        else if ((written += count) > sizeCap)
            failure.error = QStringLiteral("member is larger than %1 bytes").arg(sizeCap);
        else if (out.write(buffer, count) != count)
            failure.error = out.errorString();
        else
            continue;
        out.remove();
        return failure;
    }
}

Result extractBlocking(const QString &archivePath, const QString &memberName, const QString &destinationPath,
                       qint64 sizeCap)
{
    const std::unique_ptr<archive, ArchiveDeleter> handle(archive_read_new());
    archive_read_support_format_zip(handle.get());
    archive_read_support_format_tar(handle.get());
    archive_read_support_filter_xz(handle.get());
    archive_read_support_filter_gzip(handle.get());
    if (archive_read_open_filename(handle.get(), QFile::encodeName(archivePath).constData(), 1 << 16) != ARCHIVE_OK)
        return {Status::Failed, archiveError(handle.get())};

    archive_entry *entry = nullptr;
    for (;;) {
        const int step = archive_read_next_header(handle.get(), &entry);
        if (step == ARCHIVE_EOF)
            return {Status::NotFound, {}};
        if (step != ARCHIVE_OK && step != ARCHIVE_WARN)
            return {Status::Failed, archiveError(handle.get())};
        if (!isWanted(entry, memberName))
            continue; // the next header call skips the member's data
        if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > sizeCap)
            return {Status::Failed, QStringLiteral("member is larger than %1 bytes").arg(sizeCap)};
        return copyOut(handle.get(), destinationPath, sizeCap);
    }
}

} // namespace

QCoro::Task<Result> extractMember(QString archivePath, QString memberName, QString destinationPath, qint64 sizeCap)
{
    co_return co_await QtConcurrent::run(extractBlocking, archivePath, memberName, destinationPath, sizeCap);
}

} // namespace ArchiveExtractor
