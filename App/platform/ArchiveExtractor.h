#pragma once

#include <QCoroTask>
#include <QString>

// Takes one executable out of a downloaded zip or tar.xz archive without unpacking the rest:
// nothing but the chosen member's bytes is ever written, so links, absolute paths and ".."
// paths inside an archive cannot reach outside the destination.
namespace ArchiveExtractor {

enum class Status { Extracted, NotFound, Failed };

struct Result
{
    Status status = Status::Failed;
    QString error; // the reason, when Failed

    bool operator==(const Result &) const = default;
};

// Streams the first regular file whose base name is exactly `memberName` (so a folder of that
// name does not count) into `destinationPath`, creating or truncating it. Members lying under an
// absolute or ".." path are never taken. A member larger than `sizeCap` bytes fails. The work
// runs on a worker thread; a failed or missing member leaves no file at `destinationPath`.
QCoro::Task<Result> extractMember(QString archivePath, QString memberName, QString destinationPath, qint64 sizeCap);

} // namespace ArchiveExtractor
