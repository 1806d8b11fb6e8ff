#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Writes zip and tar.xz archives for tests, the way tool builds are packed.
namespace TestArchive {

// ZipStored keeps the bytes uncompressed, for large members that must be packed quickly.
enum class Format { Zip, ZipStored, TarXz };

struct Member
{
    enum class Kind { File, Directory, Symlink };
    QString path;
    Kind kind = Kind::File;
    QByteArray bytes;   // the content of a file
    QString sourcePath; // or a file to copy the content from
    QString linkTarget; // for a symlink
};

Member file(const QString &path, const QByteArray &bytes);
Member copyOf(const QString &path, const QString &sourcePath);
Member directory(const QString &path);
Member symlink(const QString &path, const QString &target);

// Returns false (and fails the current test) when the archive cannot be written.
bool write(const QString &archivePath, Format format, const QList<Member> &members);

} // namespace TestArchive
