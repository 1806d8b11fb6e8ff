#include "TestArchive.h"

#include <QFile>
#include <QTest>

#include <archive.h>
#include <archive_entry.h>

namespace TestArchive {

Member file(const QString &path, const QByteArray &bytes)
{
    return {path, Member::Kind::File, bytes, {}, {}};
}

Member copyOf(const QString &path, const QString &sourcePath)
{
    return {path, Member::Kind::File, {}, sourcePath, {}};
}

Member directory(const QString &path)
{
    return {path, Member::Kind::Directory, {}, {}, {}};
}

Member symlink(const QString &path, const QString &target)
{
    return {path, Member::Kind::Symlink, {}, {}, target};
}

bool write(const QString &archivePath, Format format, const QList<Member> &members)
{
    archive *out = archive_write_new();
    if (format == Format::TarXz) {
        archive_write_set_format_pax_restricted(out);
        archive_write_add_filter_xz(out);
    } else {
        archive_write_set_format_zip(out);
        if (format == Format::ZipStored)
            archive_write_set_options(out, "zip:compression=store");
    }
    bool ok = archive_write_open_filename(out, QFile::encodeName(archivePath).constData()) == ARCHIVE_OK;
    for (const Member &member : members) {
        if (!ok)
            break;
        QByteArray bytes = member.bytes;
        if (!member.sourcePath.isEmpty()) {
            QFile source(member.sourcePath);
            ok = source.open(QIODevice::ReadOnly);
            bytes = source.readAll();
        }
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname(entry, member.path.toUtf8().constData());
        switch (member.kind) {
        case Member::Kind::File:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_perm(entry, 0755);
            archive_entry_set_size(entry, bytes.size());
            break;
        case Member::Kind::Directory:
            archive_entry_set_filetype(entry, AE_IFDIR);
            archive_entry_set_perm(entry, 0755);
            break;
        case Member::Kind::Symlink:
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_perm(entry, 0777);
            archive_entry_set_symlink(entry, member.linkTarget.toUtf8().constData());
            break;
        }
        ok = ok && archive_write_header(out, entry) == ARCHIVE_OK;
        if (ok && !bytes.isEmpty())
            ok = archive_write_data(out, bytes.constData(), bytes.size()) == bytes.size();
        archive_entry_free(entry);
    }
    ok = archive_write_close(out) == ARCHIVE_OK && ok;
    if (!ok)
        QTest::qFail(archive_error_string(out) ? archive_error_string(out) : "archive not written", __FILE__, __LINE__);
    archive_write_free(out);
    return ok;
}

} // namespace TestArchive
